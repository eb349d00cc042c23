#pragma once
// The petty-cash floats the treasury advances to the refund account (TANKHAH_TBL):
// the office's request letter, the treasury's letter, the remittance and what is
// left. A float's AMOUNT_MANDEH is always what was remitted less the refunds paid
// from it (SEP_RADH with TIK_AZTANKHAH 1); a float refunds name is not deleted.
#include "core/deposits/ReceivedDeposits.h"

namespace orvak::deposits {

struct PettyFloat {
    int idx = 0;                  // IDX
    QString darkhstLtrNo;         // DARKHSTLTRNO
    QString darkhstLtrDate;       // DARKHSTLTRDATE
    qint64 darkhstAmount = 0;     // DARKHSTAMOUNT
    QString khazanehLtrNo;        // KHAZANEHLTRNO
    QString khazanehLtrDate;      // KHAZANEHLTRDATE
    QString havalehNo;            // HAVALEHNO
    QString havalehDate;          // HAVALEHDATE
    qint64 havalehAmount = 0;     // HAVALEHAMOUNT
    qint64 amountMandeh = 0;      // AMOUNT_MANDEH
    QString descr;                // DESCR
};

class PettyCash {
public:
    explicit PettyCash(startup::Session& session);

    db::Fetched<PettyFloat> read(int idx) const;
    db::Fetched<qint64> proposedKey() const;
    // "ذخيره و جديد(F9)" / "ذخيره و خروج (F10)": every column but the balance, which
    // follows the remittance and the refunds. The saved IDX.
    std::optional<int> save(const PettyFloat& pettyFloat, bool insert, startup::Prompt& prompt);
    // "حذف(DEL)": " مطمئن هستيـــد ؟ ", refused while refunds were paid from the float.
    Outcome remove(int idx, startup::Prompt& prompt);

private:
    startup::Session& session_;
};

} // namespace orvak::deposits
