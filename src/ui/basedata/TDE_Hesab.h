#pragma once
// The entry of one of the office's bank accounts ("تعريف حساب ها"): account number,
// bank (F7 picks), opening date, ledgers (F7 picks from the year's accounting
// database) and detail account, branch, purpose and the
// financial section the account belongs to (0: every section).
#include "ui/basedata/CodedEntry.h"
#include "ui/framework/Editors.h"
#include "core/startup/Session.h"

namespace orvak::ui::basedata {

class TDE_Hesab : public CodedEntry {
    Q_OBJECT
public:
    explicit TDE_Hesab(orvak::startup::Session& session, QWidget* parent = nullptr);

    QLineEdit* accountNo = nullptr;
    framework::CodeEdit* bank = nullptr;
    framework::JalaliDateEdit* startDate = nullptr;
    framework::CodeEdit* kol = nullptr;    // F7: "فهرست حسابهاي كل"
    framework::CodeEdit* moin = nullptr;   // F7: "فهرست معين" under the general ledger given
    framework::CodeEdit* detail = nullptr;
    QLineEdit* branchCode = nullptr;
    QLineEdit* branchName = nullptr;
    QLineEdit* address = nullptr;
    QLineEdit* tel = nullptr;
    QLineEdit* subject = nullptr;
    QLineEdit* section = nullptr;

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::basedata
