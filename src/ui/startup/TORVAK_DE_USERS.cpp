#include "ui/startup/TORVAK_DE_USERS.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <algorithm>

namespace orvak::ui::startup {

TORVAK_DE_USERS::TORVAK_DE_USERS(Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("مشخصات کاربر اورواک"), parent)
    , session_(session)
{
    code = new QLineEdit(this);
    lastName = new QLineEdit(this);
    name = new QLineEdit(this);
    post = new QLineEdit(this);
    eskind = new QComboBox(this);
    eskind->addItems(employmentKinds().texts());
    form()->addRow(QStringLiteral("کد"), code);
    form()->addRow(QStringLiteral("نام خانوادگي"), lastName);
    form()->addRow(QStringLiteral("نام"), name);
    form()->addRow(QStringLiteral("سمت"), post);
    form()->addRow(QStringLiteral("نوع استخدام"), eskind);
}

void TORVAK_DE_USERS::clearFields()
{
    code->setText(QString::number(nextFamilyUserCode(session_)));
    code->setReadOnly(true);
    lastName->clear();
    name->clear();
    post->clear();
    eskind->setCurrentIndex(0);
}

bool TORVAK_DE_USERS::loadRecord(const QVariant& key)
{
    const std::optional<FamilyUser> u = readFamilyUser(session_, key.toInt());
    if (!u)
        return false;
    loaded_ = *u;
    code->setText(key.toString());
    code->setReadOnly(true);
    lastName->setText(u->lastName);
    name->setText(u->name);
    post->setText(u->post);
    eskind->setCurrentIndex(std::clamp(u->eskind, 0, eskind->count() - 1));
    return true;
}

bool TORVAK_DE_USERS::validate(QString* message)
{
    if (lastName->text().trimmed().isEmpty()) {
        *message = QStringLiteral("اطلاعات کامل نيست");
        return false;
    }
    return true;
}

std::optional<QVariant> TORVAK_DE_USERS::saveRecord(QString* error)
{
    // Fields this screen does not show keep their stored values.
    FamilyUser u = mode() == Mode::Edit ? loaded_ : FamilyUser{};
    u.code = code->text().toInt();
    u.lastName = lastName->text();
    u.name = name->text();
    u.post = post->text();
    u.eskind = eskind->currentIndex();
    CollectingPrompt collect;
    if (!saveFamilyUser(session_, u, mode() == Mode::Insert, collect)) {
        *error = collect.text();
        return std::nullopt;
    }
    return QVariant(u.code);
}

} // namespace orvak::ui::startup
