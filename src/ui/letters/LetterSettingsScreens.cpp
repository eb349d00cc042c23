#include "ui/letters/LetterSettingsScreens.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace orvak::ui::letters {

namespace {

namespace l = orvak::letters;

QLineEdit* line(QWidget* parent, int length)
{
    auto* e = new QLineEdit(parent);
    e->setMaxLength(length);
    return e;
}

void closingButtons(QDialog* dialog, QFormLayout* form, const std::function<bool()>& save)
{
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("ثبت و خروج"), dialog);
    auto* leave = new QPushButton(QStringLiteral("خروج"), dialog);
    for (QPushButton* b : {ok, leave}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    form->addRow(row);
    QObject::connect(ok, &QPushButton::clicked, dialog, [dialog, save] {
        if (save())
            dialog->accept();
    });
    QObject::connect(leave, &QPushButton::clicked, dialog, &QDialog::reject);
}

} // namespace

TFZem_LtrSetting::TFZem_LtrSetting(orvak::startup::Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral(" تنظيمات نامه ها در تضمينات  "));
    auto* form = new QFormLayout(this);
    startNo = line(this, 10);
    prefix = line(this, 10);
    suffix = line(this, 10);
    lastNo = line(this, 10);
    form->addRow(QStringLiteral("شماره شروع نامه ها"), startNo);
    form->addRow(QStringLiteral("پيشوند شماره نامه"), prefix);
    form->addRow(QStringLiteral("پسوند شماره نامه"), suffix);
    form->addRow(QStringLiteral("آخرين شماره نامه"), lastNo);
    closingButtons(this, form, [this] { return save(); });
    const auto s = l::LetterSettings(session).guaranteeSettings();
    if (!s) {
        framework::ShowInfo(s.error(), this);
        return;
    }
    settings_ = *s;
    startNo->setText(s->startNo);
    prefix->setText(s->prefix);
    suffix->setText(s->suffix);
    lastNo->setText(s->lastNo);
}

bool TFZem_LtrSetting::save()
{
    l::GuaranteeLetterSettings s = settings_;
    s.startNo = startNo->text();
    s.prefix = prefix->text();
    s.suffix = suffix->text();
    s.lastNo = lastNo->text();
    framework::MessagePrompt prompt(this);
    return l::LetterSettings(session_).saveGuaranteeSettings(s, prompt);
}

TFSep_LtrSetting::TFSep_LtrSetting(orvak::startup::Session& session, QWidget* parent)
    : QDialog(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("تنظيمات نامه ها در سپرده ها"));
    auto* form = new QFormLayout(this);
    treasuryTitle = line(this, 150);
    treasuryTitle->setMinimumWidth(420);
    form->addRow(QStringLiteral("عنوان اداره تمرکز وجوه سپرده خزانه"), treasuryTitle);
    for (int i = 0; i < 3; ++i) {
        sending[size_t(i)] = line(this, 100);
        form->addRow(QStringLiteral("رونوشت %1 نامه ارسال صورت ريز").arg(i + 1), sending[size_t(i)]);
    }
    for (int i = 0; i < 3; ++i) {
        request[size_t(i)] = line(this, 100);
        form->addRow(QStringLiteral("رونوشت %1 نامه درخواست وجه").arg(i + 1), request[size_t(i)]);
    }
    treasuryHead = line(this, 80);
    form->addRow(QStringLiteral("نام رييس خزانه معين استان"), treasuryHead);
    closingButtons(this, form, [this] { return save(); });
    const auto s = l::LetterSettings(session).depositSettings();
    if (!s) {
        framework::ShowInfo(s.error(), this);
        return;
    }
    treasuryTitle->setText(s->treasuryTitle);
    for (int i = 0; i < 3; ++i) {
        sending[size_t(i)]->setText(s->sendingCopies[size_t(i)]);
        request[size_t(i)]->setText(s->requestCopies[size_t(i)]);
    }
    treasuryHead->setText(s->treasuryHeadName);
}

bool TFSep_LtrSetting::save()
{
    l::DepositLetterSettings s;
    s.treasuryTitle = treasuryTitle->text();
    for (int i = 0; i < 3; ++i) {
        s.sendingCopies[size_t(i)] = sending[size_t(i)]->text();
        s.requestCopies[size_t(i)] = request[size_t(i)]->text();
    }
    s.treasuryHeadName = treasuryHead->text();
    framework::MessagePrompt prompt(this);
    return l::LetterSettings(session_).saveDepositSettings(s, prompt);
}

} // namespace orvak::ui::letters
