#pragma once
// The owners' release requests (SEP_TAFSILREQ): a contractor's letter asking for its
// deposits, registered with its registry entry and the amount approved. A refund
// names the request it answers. Every change is one unit of work under the write
// level of the deposit registers.
#include "core/deposits/ReceivedDeposits.h"

namespace orvak::deposits {

struct OwnerRequest {
    int reqIdx = 0;             // REQ_IDX
    int tafsilNo = -1;          // TAFSILNO
    int paymanNo = -1;          // PAYMANNO
    QString reqSabtDate;        // REQSABTDATE
    QString inLetterNo;         // INLETTERNO
    QString inLetterDate;       // INLETTERDATE
    QString andNo;              // ANDNO
    QString andDate;            // ANDDATE
    qint64 okAmount = 0;        // OK_AMOUNT
    int reqStatuse = 0;         // REQSTATUSE: 1 answered, 0 not
    QString descr;              // DESCR
    int uid = 0;                // UID
};

// The list's answer filter: "همه", "پاسخ داده شده", "پاسخ داده نشده".
QStringList answerTexts();

class OwnerRequests {
public:
    explicit OwnerRequests(startup::Session& session);

    db::Fetched<OwnerRequest> read(int reqIdx) const;
    // The number a new request is shown with (taken afresh as it is written).
    db::Fetched<qint64> proposedKey() const;
    // "ذخيره و جديد(F9)" / "ذخيره و خروج (F10)": an owner is required
    // ("اطلاعات كامل نيست"); the saved REQ_IDX, nullopt when nothing was written.
    std::optional<int> save(const OwnerRequest& request, bool insert, startup::Prompt& prompt);
    // " مطمئن هستيـــد ؟ ", then the row; a request a refund answers is kept.
    Outcome remove(int reqIdx, startup::Prompt& prompt);

private:
    startup::Session& session_;
};

} // namespace orvak::deposits
