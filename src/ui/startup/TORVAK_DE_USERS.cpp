#include "ui/startup/TORVAK_DE_USERS.h"

#include "ui/framework/Editors.h"
#include "core/util/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace orvak::ui::startup {

namespace {
QLineEdit* textEdit(QWidget* parent, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(width);
    return edit;
}

// A typed whole number of the field; 0 when empty, nullopt when it is not one.
std::optional<int> typedNumber(const QLineEdit* edit, qint64 largest)
{
    if (edit->text().trimmed().isEmpty())
        return 0;
    const std::optional<qint64> n = util::parseWholeNumber(edit->text());
    if (!n || *n < 0 || *n > largest)
        return std::nullopt;
    return int(*n);
}
} // namespace

TORVAK_DE_USERS::TORVAK_DE_USERS(Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("مشخصات کاربر اورواک"), parent)
    , session_(session)
{
    code = new QLineEdit(this);
    lastName = textEdit(this, 30);
    name = textEdit(this, 15);
    personCode = textEdit(this, 10);
    madrak = textEdit(this, 30);
    job = textEdit(this, 30);
    post = textEdit(this, 30);
    semat = textEdit(this, 5);
    eskind = new QComboBox(this);
    eskind->addItems(employmentKinds().texts());
    birthDate = new framework::JalaliDateEdit(this);
    employmentDate = new framework::JalaliDateEdit(this);
    manager = new QCheckBox(QStringLiteral("مدير"), this);
    enabled = new QCheckBox(QStringLiteral("مجاز"), this);
    changeOthers = new QCheckBox(QStringLiteral("امکان تغيير اطلاعات ساير کاربران"), this);
    form()->addRow(QStringLiteral("کد"), code);
    form()->addRow(QStringLiteral("نام خانوادگي"), lastName);
    form()->addRow(QStringLiteral("نام"), name);
    form()->addRow(QStringLiteral("شماره پرسنلي"), personCode);
    form()->addRow(QStringLiteral("تاريخ تولد"), birthDate);
    form()->addRow(QStringLiteral("مدرک تحصيلي"), madrak);
    form()->addRow(QStringLiteral("شغل"), job);
    form()->addRow(QStringLiteral("سمت"), post);
    form()->addRow(QStringLiteral("کد سمت"), semat);
    form()->addRow(QStringLiteral("نوع استخدام"), eskind);
    form()->addRow(QStringLiteral("تاريخ استخدام"), employmentDate);
    form()->addRow(QString(), manager);
    form()->addRow(QString(), enabled);
    form()->addRow(QString(), changeOthers);
}

void TORVAK_DE_USERS::setOwnRecord(bool own)
{
    own_ = own;
    for (QCheckBox* box : {manager, enabled, changeOthers})
        box->setEnabled(!own);
    if (saveAndNewButton())
        saveAndNewButton()->setVisible(!own);
}

bool TORVAK_DE_USERS::startOwnRecord()
{
    const int me = session_.currentUserCode();
    if (me <= 0)
        return false;
    setOwnRecord(true);
    if (readFamilyUser(session_, me))
        return startEdit(me);
    startInsert();
    code->setText(QString::number(me));
    return true;
}

void TORVAK_DE_USERS::showUser(const FamilyUser& u)
{
    code->setText(QString::number(u.code));
    code->setReadOnly(true);
    lastName->setText(u.lastName);
    name->setText(u.name);
    personCode->setText(u.personCode > 0 ? QString::number(u.personCode) : QString());
    madrak->setText(u.madrak);
    job->setText(u.job);
    post->setText(u.post);
    semat->setText(u.semat > 0 ? QString::number(u.semat) : QString());
    eskind->setCurrentIndex(std::clamp(u.eskind, 0, eskind->count() - 1));
    birthDate->setDate(u.birthDate);
    employmentDate->setDate(u.employmentDate);
    manager->setChecked(u.manager);
    enabled->setChecked(u.enabled);
    changeOthers->setChecked(u.changeOthers);
}

void TORVAK_DE_USERS::clearFields()
{
    FamilyUser fresh;
    fresh.code = nextFamilyUserCode(session_);
    showUser(fresh);
}

bool TORVAK_DE_USERS::loadRecord(const QVariant& key)
{
    const std::optional<FamilyUser> u = readFamilyUser(session_, key.toInt());
    if (!u)
        return false;
    showUser(*u);
    return true;
}

bool TORVAK_DE_USERS::validate(QString* message)
{
    if (lastName->text().trimmed().isEmpty()) {
        *message = QStringLiteral("اطلاعات کامل نيست");
        return false;
    }
    if (!typedNumber(personCode, 0x7FFFFFFF)) {
        *message = QStringLiteral("شماره پرسنلي بايد يک عدد درست بزرگتر از صفر باشد");
        personCode->setFocus();
        return false;
    }
    if (!typedNumber(semat, 32767)) {
        *message = QStringLiteral("کد سمت بايد يک عدد درست بين 0 و 32767 باشد");
        semat->setFocus();
        return false;
    }
    return true;
}

std::optional<QVariant> TORVAK_DE_USERS::saveRecord(QString* error)
{
    FamilyUser u;
    u.code = code->text().toInt();
    u.lastName = lastName->text();
    u.name = name->text();
    u.personCode = typedNumber(personCode, 0x7FFFFFFF).value_or(0);
    u.madrak = madrak->text();
    u.job = job->text();
    u.post = post->text();
    u.semat = typedNumber(semat, 32767).value_or(0);
    u.eskind = eskind->currentIndex();
    u.birthDate = birthDate->text();
    u.employmentDate = employmentDate->text();
    u.manager = manager->isChecked();
    u.enabled = enabled->isChecked();
    u.changeOthers = changeOthers->isChecked();
    CollectingPrompt collect;
    if (!saveFamilyUser(session_, u, mode() == Mode::Insert, collect)) {
        *error = collect.text();
        return std::nullopt;
    }
    return QVariant(u.code);
}

void TORVAK_DE_USERS::keyPressEvent(QKeyEvent* event)
{
    // The own record is one record: F9 would start another's.
    if (own_ && event->key() == Qt::Key_F9)
        return;
    framework::EntryForm::keyPressEvent(event);
}

} // namespace orvak::ui::startup
