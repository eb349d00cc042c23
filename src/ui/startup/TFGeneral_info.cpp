#include "ui/startup/TFGeneral_info.h"

#include "ui/framework/Doing.h"
#include "core/startup/OrganisationSettings.h"

#include <QFormLayout>
#include <QLineEdit>

namespace orvak::ui::startup {

TFGeneral_info::TFGeneral_info(Session& session, QWidget* parent)
    : framework::EntryForm(QStringLiteral("اطلاعات کلي مربوط به سازمان"), parent, Buttons::SaveOnly)
    , session_(session)
{
    setObjectName(QStringLiteral("FGeneral_info"));
    for (const OrganisationColumn& c : organisationColumns()) {
        auto* e = new QLineEdit(this);
        fields.insert(c.field, e);
        form()->addRow(c.caption, e);
    }
    startEdit(1);
}

void TFGeneral_info::clearFields()
{
    for (QLineEdit* e : std::as_const(fields))
        e->clear();
}

bool TFGeneral_info::loadRecord(const QVariant&)
{
    const OrganisationSettings settings = readOrganisationSettings(session_);
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        it.value()->setText(settings.value(it.key()));
    return true;
}

bool TFGeneral_info::validate(QString*) { return true; }

std::optional<QVariant> TFGeneral_info::saveRecord(QString* error)
{
    OrganisationSettings settings;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        settings.values.insert(it.key(), it.value()->text());
    CollectingPrompt why;
    if (!saveOrganisationSettings(session_, settings, why)) {
        *error = why.infos.join(QLatin1Char('\n'));
        return std::nullopt;
    }
    // The office data in force follows at once.
    framework::MessagePrompt prompt(this);
    session_.OpenSection(session_.CurrentYear(), session_.SectionCode(), prompt);
    return QVariant(1);
}

} // namespace orvak::ui::startup
