#pragma once
// The entry of a contract's deduction: its type, the employer's and the contractor's
// percent, the receiving body, the account it is paid into and the amount.
#include "ui/framework/EntryForm.h"
#include "core/startup/Session.h"

class QComboBox;
class QLineEdit;

namespace orvak::ui::basedata {

class TDE_PaymanKosurat : public framework::EntryForm {
    Q_OBJECT
public:
    TDE_PaymanKosurat(orvak::startup::Session& session, qint64 contract, QWidget* parent = nullptr);

    QComboBox* kind = nullptr;
    QLineEdit* employerPercent = nullptr;
    QLineEdit* contractorPercent = nullptr;
    QComboBox* receiver = nullptr;
    QLineEdit* account = nullptr;
    QLineEdit* amount = nullptr;

protected:
    void clearFields() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::startup::Session& session_;
    qint64 contract_;
};

} // namespace orvak::ui::basedata
