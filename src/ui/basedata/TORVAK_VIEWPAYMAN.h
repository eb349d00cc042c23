#pragma once
// "فهرست قراردادها": the contracts of the current section, of one contractor or of
// all, narrowed to a transfer unit, in three orders, with the searches, the
// contract's payment history, letters and deductions, and the changes of transfer
// unit and contractor. Also the contract picker.
#include "ui/basedata/RegisterList.h"

namespace orvak::ui::basedata {

class TORVAK_VIEWPAYMAN : public RegisterList {
    Q_OBJECT
public:
    explicit TORVAK_VIEWPAYMAN(Session& session, QWidget* parent = nullptr);
    // Shows the contracts of one party (0: of every party).
    void setParty(qint64 party);
    qint64 party() const { return party_; }

private:
    void searchBy(int by, const QString& question);
    qint64 party_ = 0;
};

} // namespace orvak::ui::basedata
