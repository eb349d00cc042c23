#include "ui/startup/TFPass3.h"

#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "core/startup/Login.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace orvak::ui::startup {

TFPass3::TFPass3(Session& session, int userCode, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , user_(userCode)
{
    setObjectName(QStringLiteral("FPass3"));
    setWindowTitle(QStringLiteral("تغيير كلمه رمز كاربر %1").arg(userCode));
    auto* form = new QFormLayout(this);
    fresh = framework::passwordEdit(this);
    repeated = framework::passwordEdit(this);
    form->addRow(QStringLiteral("كلمه رمز جديد"), fresh);
    form->addRow(QStringLiteral("تكرار كلمه رمز"), repeated);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    form->addRow(ok);
    connect(ok, &QPushButton::clicked, this, &TFPass3::change);
}

bool TFPass3::change()
{
    framework::MessagePrompt prompt(this);
    if (!setUserPassword(session_, user_, fresh->text(), repeated->text(), prompt))
        return false;
    accept();
    return true;
}

} // namespace orvak::ui::startup
