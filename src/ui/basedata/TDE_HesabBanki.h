#pragma once
// The entry of one account of the short list (HesabBanki): account number, bank
// (F7 picks), branch name and code, telephone.
#include "ui/basedata/CodedEntry.h"
#include "ui/framework/Editors.h"
#include "core/startup/Session.h"

namespace orvak::ui::basedata {

class TDE_HesabBanki : public CodedEntry {
    Q_OBJECT
public:
    explicit TDE_HesabBanki(orvak::startup::Session& session, QWidget* parent = nullptr);

    QLineEdit* accountNo = nullptr;
    framework::CodeEdit* bank = nullptr;
    QLineEdit* branchName = nullptr;
    QLineEdit* branchCode = nullptr;
    QLineEdit* tel = nullptr;

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::basedata
