#pragma once
// The entry of a contract's history letter: date, number, subject, description,
// further explanations, the automation number and the letter's text.
#include "ui/framework/EntryForm.h"
#include "ui/framework/Editors.h"
#include "core/startup/Session.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace orvak::ui::basedata {

class TDE_PaymanLetters : public framework::EntryForm {
    Q_OBJECT
public:
    TDE_PaymanLetters(orvak::startup::Session& session, qint64 contract, QWidget* parent = nullptr);

    framework::JalaliDateEdit* date = nullptr;
    QLineEdit* letterNo = nullptr;
    QComboBox* subject = nullptr;
    QLineEdit* description = nullptr;
    QLineEdit* extra = nullptr;
    QLineEdit* automationId = nullptr;
    QPlainTextEdit* letter = nullptr;

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
