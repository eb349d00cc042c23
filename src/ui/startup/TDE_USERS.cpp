#include "ui/startup/TDE_USERS.h"

#include "ui/framework/Editors.h"
#include "core/startup/Users.h"
#include "core/util/Numbers.h"

#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::startup {

TDE_USERS::TDE_USERS(Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("معرفي کاربر اين نرم افزار"), parent)
    , session_(session)
{
    code = new QLineEdit(this);
    manager = new QCheckBox(QStringLiteral("مدير"), this);
    enabled = new QCheckBox(QStringLiteral("مجاز"), this);
    password = framework::passwordEdit(this);
    form()->addRow(QStringLiteral("کد کاربر"), code);
    form()->addRow(QString(), manager);
    form()->addRow(QString(), enabled);
    for (int i = 0; i < 5; ++i) {
        sel[i] = new QSpinBox(this);
        sel[i]->setRange(0, 9);
        form()->addRow(i == 1 ? QStringLiteral("سطح ثبت اطلاعات (SEL2)") : QStringLiteral("SEL%1").arg(i + 1), sel[i]);
    }
    form()->addRow(QStringLiteral("کلمه رمز"), password);
}

void TDE_USERS::clearFields()
{
    code->clear();
    code->setReadOnly(false);
    manager->setChecked(false);
    enabled->setChecked(true);
    for (QSpinBox* s : sel)
        s->setValue(0);
    password->clear();
    password->setEnabled(true);
    password->setPlaceholderText(QString());
}

bool TDE_USERS::loadRecord(const QVariant& key)
{
    const std::optional<ProgramUser> u = readProgramUser(session_, key.toInt());
    if (!u)
        return false;
    code->setText(key.toString());
    code->setReadOnly(true);
    manager->setChecked(u->manager);
    enabled->setChecked(u->enabled);
    for (int i = 0; i < 5; ++i)
        sel[i]->setValue(u->sel[i]);
    password->clear();
    password->setEnabled(false);
    password->setPlaceholderText(QStringLiteral("رمز قابل رويت نيست!"));
    return true;
}

bool TDE_USERS::validate(QString* message)
{
    const std::optional<qint64> c = util::parseWholeNumber(code->text());
    if (!c || *c <= 0 || *c > 32767) {
        *message = QStringLiteral("کد کاربري بايد يک عدد درست بزرگتر از صفر باشد");
        return false;
    }
    return true;
}

std::optional<QVariant> TDE_USERS::saveRecord(QString* error)
{
    ProgramUser u;
    u.code = int(util::parseWholeNumber(code->text()).value_or(0));
    u.manager = manager->isChecked();
    u.enabled = enabled->isChecked();
    for (int i = 0; i < 5; ++i)
        u.sel[i] = sel[i]->value();
    u.password = password->text();
    CollectingPrompt collect;
    if (!saveProgramUser(session_, u, mode() == Mode::Insert, collect)) {
        *error = collect.text();
        return std::nullopt;
    }
    return QVariant(u.code);
}

} // namespace orvak::ui::startup
