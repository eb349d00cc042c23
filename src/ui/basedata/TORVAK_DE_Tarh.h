#pragma once
// The entry of a plan ("طرح ها "; a programme outside the development section):
// number, account code, name, kind, years and year of the agreement.
#include "ui/basedata/CodedEntry.h"
#include "core/startup/Session.h"

class QComboBox;
class QSpinBox;

namespace orvak::ui::basedata {

class TORVAK_DE_Tarh : public CodedEntry {
    Q_OBJECT
public:
    explicit TORVAK_DE_Tarh(orvak::startup::Session& session, QWidget* parent = nullptr);

    QLineEdit* accountCode = nullptr;
    QLineEdit* name = nullptr;
    QComboBox* kind = nullptr;
    QLineEdit* years = nullptr;
    QLineEdit* agreementYear = nullptr;

protected:
    void clearRow() override;
    bool loadRecord(const QVariant& key) override;
    bool validate(QString* message) override;
    std::optional<QVariant> saveRecord(QString* error) override;

private:
    orvak::startup::Session& session_;
};

} // namespace orvak::ui::basedata
