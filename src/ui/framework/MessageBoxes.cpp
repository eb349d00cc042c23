#include "ui/framework/MessageBoxes.h"

#include "core/db/DatabaseErrors.h"
#include "core/startup/Program.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace orvak::ui::framework {

namespace {

QWidget* ownerOf(QWidget* parent) { return parent ? parent : QApplication::activeWindow(); }

QMessageBox* makeBox(QMessageBox::Icon icon, const QString& text, QWidget* parent)
{
    // A database's own English text would mean nothing to the office.
    auto* box = new QMessageBox(icon, startup::ApplicationTitle(), db::userText(text), QMessageBox::NoButton, ownerOf(parent));
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    // The application is right-to-left, but a box inherits from its owner, which may
    // be a left-to-right field.
    box->setLayoutDirection(Qt::RightToLeft);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    box->setObjectName(QStringLiteral("OrvakMessageBox"));
    return box;
}

void showWithOk(QMessageBox::Icon icon, const QString& text, QWidget* parent)
{
    QMessageBox* box = makeBox(icon, text, parent);
    box->setObjectName(QStringLiteral("TOkMsgForm"));
    box->addButton(QStringLiteral("تاييد"), QMessageBox::AcceptRole);
    box->exec();
    delete box;
}

} // namespace

void ShowInfo(const QString& text, QWidget* parent) { showWithOk(QMessageBox::Information, text, parent); }

void ShowError(const QString& text, QWidget* parent) { showWithOk(QMessageBox::Critical, text, parent); }

int Ask(const QString& text, QWidget* parent)
{
    QMessageBox* box = makeBox(QMessageBox::Question, text, parent);
    box->setObjectName(QStringLiteral("TFMsg"));
    QPushButton* yes = box->addButton(QStringLiteral("بله"), QMessageBox::YesRole);
    QPushButton* no = box->addButton(QStringLiteral("خير"), QMessageBox::NoRole);
    box->setDefaultButton(no);
    box->setEscapeButton(no);
    box->exec();
    const bool answeredYes = box->clickedButton() == yes;
    delete box;
    return answeredYes ? AskYes : AskNo;
}

bool Confirm(const QString& text, QWidget* parent)
{
    return Ask(text + QStringLiteral(" مطمئن هستيد؟ "), parent) == AskYes;
}

void Refuse(QWidget* parent)
{
    ShowInfo(QStringLiteral("امنيت عبور کاربران : عدم امکان دسترسي به عمليات / منوي مورد نظر"), parent);
}

bool ConfirmExit(QWidget* parent)
{
    return Ask(QStringLiteral(" خروج از نرم افزار «") + startup::SystemTitle() + QStringLiteral("» ")
                   + QStringLiteral(" نسخه ") + startup::EditionTitle(),
               parent)
        == AskYes;
}

} // namespace orvak::ui::framework
