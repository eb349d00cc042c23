#include "ui/startup/TFPass2.h"

#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/startup/TORVAK_DE_USERS.h"
#include "core/startup/Login.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orvak::ui::startup {

TFPass2::TFPass2(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("FPass2"));
    setWindowTitle(QStringLiteral("تغيير كلمه رمز"));
    auto* form = new QFormLayout(this);
    current = framework::passwordEdit(this);
    fresh = framework::passwordEdit(this);
    repeated = framework::passwordEdit(this);
    form->addRow(QStringLiteral("كلمه رمز فعلي"), current);
    form->addRow(QStringLiteral("كلمه رمز جديد"), fresh);
    form->addRow(QStringLiteral("تكرار كلمه رمز جديد"), repeated);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    form->addRow(ok);
    incomplete_ = new QLabel(incompleteRecordText(), this);
    completeButton = new QPushButton(QStringLiteral("تکميل مشخصات فردي"), this);
    completeButton->setAutoDefault(false);
    form->addRow(incomplete_, completeButton);
    connect(ok, &QPushButton::clicked, this, &TFPass2::change);
    connect(completeButton, &QPushButton::clicked, this, &TFPass2::completeRecord);
    showRecordState();
}

void TFPass2::showRecordState()
{
    incomplete_->setVisible(session_.user().recordIncomplete);
    completeButton->setEnabled(session_.LoggedIn());
}

bool TFPass2::change()
{
    framework::MessagePrompt prompt(this);
    if (!changeOwnPassword(session_, current->text(), fresh->text(), repeated->text(), prompt))
        return false;
    if (offerRecordCompletion(session_, prompt))
        completeRecord();
    accept();
    return true;
}

bool TFPass2::completeRecord()
{
    TORVAK_DE_USERS record(session_, this);
    const bool saved = record.startOwnRecord() && record.exec() == QDialog::Accepted;
    showRecordState();
    return saved;
}

} // namespace orvak::ui::startup
