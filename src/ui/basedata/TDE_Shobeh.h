#pragma once
// The entry of a branch of the network: the bank's branch code, name, supervising
// office (F7 picks), address, telephone, town, grade and the card-network, pin-pad
// and cash-machine marks.
#include "ui/basedata/CodedEntry.h"
#include "ui/framework/Editors.h"
#include "core/startup/Session.h"

class QCheckBox;

namespace orvak::ui::basedata {

class TDE_Shobeh : public CodedEntry {
    Q_OBJECT
public:
    explicit TDE_Shobeh(orvak::startup::Session& session, QWidget* parent = nullptr);

    QLineEdit* branchCode = nullptr;
    QLineEdit* name = nullptr;
    framework::CodeEdit* office = nullptr;
    QLineEdit* address = nullptr;
    QLineEdit* tel = nullptr;
    QLineEdit* city = nullptr;
    QLineEdit* grade = nullptr;
    QCheckBox* shetab = nullptr;
    QCheckBox* pinPad = nullptr;
    QCheckBox* atm = nullptr;

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::basedata
