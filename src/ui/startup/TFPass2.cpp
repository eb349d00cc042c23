#include "ui/startup/TFPass2.h"

#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "core/startup/Login.h"

#include <QFormLayout>
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
    connect(ok, &QPushButton::clicked, this, &TFPass2::change);
}

bool TFPass2::change()
{
    framework::MessagePrompt prompt(this);
    if (!changeOwnPassword(session_, current->text(), fresh->text(), repeated->text(), prompt))
        return false;
    accept();
    return true;
}

} // namespace orvak::ui::startup
