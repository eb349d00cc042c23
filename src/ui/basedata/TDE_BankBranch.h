#pragma once
// The entry of a bank's branch: bank (F7 picks), the bank's branch code, name,
// address, telephone and post code.
#include "ui/basedata/CodedEntry.h"
#include "ui/framework/Editors.h"
#include "core/startup/Session.h"

namespace orvak::ui::basedata {

class TDE_BankBranch : public CodedEntry {
    Q_OBJECT
public:
    explicit TDE_BankBranch(orvak::startup::Session& session, QWidget* parent = nullptr);

    framework::CodeEdit* bank = nullptr;
    QLineEdit* branchCode = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* address = nullptr;
    QLineEdit* tel = nullptr;
    QLineEdit* postCode = nullptr;

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::basedata
