#include "ui/startup/TGT_PASS.h"

#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "core/startup/Login.h"
#include "core/util/Numbers.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvak::ui::startup {

TGT_PASS::TGT_PASS(Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("GT_PASS"));
    setWindowTitle(QStringLiteral("قفل / ورودمجدد / تغييرکاربر"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral(" لطفا جهت ورود به برنامه،كد كاربري و كلمه رمز خود را وارد كنيد"), this));
    auto* form = new QFormLayout;
    code = new QLineEdit(this);
    password = framework::passwordEdit(this);
    form->addRow(QStringLiteral("کد کاربري"), code);
    form->addRow(QStringLiteral("کلمه رمز"), password);
    layout->addLayout(form);
    auto* row = new QHBoxLayout;
    auto* in = in_ = new QPushButton(QStringLiteral("ورود  (F10)"), this);
    auto* full = new QPushButton(QStringLiteral("خروج کامل"), this);
    auto* temporary = new QPushButton(QStringLiteral("خروج موقت"), this);
    row->addWidget(in);
    row->addWidget(full);
    row->addWidget(temporary);
    layout->addLayout(row);
    connect(in, &QPushButton::clicked, this, &TGT_PASS::enter);
    connect(code, &QLineEdit::textChanged, this, &TGT_PASS::refreshEnterButton);
    waitOver_.setSingleShot(true);
    connect(&waitOver_, &QTimer::timeout, this, &TGT_PASS::refreshEnterButton);
    connect(full, &QPushButton::clicked, this, [this] {
        if (framework::Ask(QStringLiteral("خروج از برنامه.مطمئن هستيد؟"), this) == framework::AskYes) {
            fullExit_ = true;
            reject();
        }
    });
    connect(temporary, &QPushButton::clicked, this, [this] {
        if (QWidget* top = window()->parentWidget())
            top->window()->showMinimized();
        showMinimized();
    });
}

void TGT_PASS::refreshEnterButton()
{
    const qint64 wait = session_.loginThrottle().waitMs(util::parseWholeNumber(code->text()).value_or(-1));
    in_->setEnabled(wait == 0);
    if (wait > 0)
        waitOver_.start(int(std::min<qint64>(wait, 60000)));
    else
        waitOver_.stop();
}

bool TGT_PASS::enter()
{
    framework::MessagePrompt prompt(this);
    const bool ok = changeUser(session_, code->text(), password->text(), prompt);
    refreshEnterButton();
    if (!ok)
        return false;
    accept();
    return true;
}

void TGT_PASS::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F10) {
        enter();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvak::ui::startup
