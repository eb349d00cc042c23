#include "ui/startup/TGT_PASS.h"

#include "ui/framework/Doing.h"
#include "ui/framework/Editors.h"
#include "ui/framework/MessageBoxes.h"
#include "core/startup/Login.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::startup {

namespace {
int& failedAttempts()
{
    // Counted over the whole run, across every opening of the dialog.
    static int failures = 0;
    return failures;
}
} // namespace

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
    auto* in = new QPushButton(QStringLiteral("ورود  (F10)"), this);
    auto* full = new QPushButton(QStringLiteral("خروج کامل"), this);
    auto* temporary = new QPushButton(QStringLiteral("خروج موقت"), this);
    row->addWidget(in);
    row->addWidget(full);
    row->addWidget(temporary);
    layout->addLayout(row);
    connect(in, &QPushButton::clicked, this, &TGT_PASS::enter);
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

bool TGT_PASS::enter()
{
    framework::MessagePrompt prompt(this);
    if (!changeUser(session_, code->text(), password->text(), failedAttempts(), prompt))
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
