#pragma once
// The organisation settings: the one row (CODE = 1) of GENERAL_INFO in the deposits
// database. Its columns are listed once here; the settings screen, the office data of
// the session and saving all follow this list.
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

#include <QList>
#include <QMap>

namespace orvak::startup {

struct OrganisationColumn {
    QString field;     // the GENERAL_INFO column
    QString caption;   // the settings screen's label
    QString OfficeData::*office = nullptr;   // where the session keeps it (not every column)
};
const QList<OrganisationColumn>& organisationColumns();

struct OrganisationSettings {
    QMap<QString, QString> values;   // by field, trimmed
    QString value(const QString& field) const { return values.value(field); }
    OfficeData officeData() const;
};

// Empty values when the table has no row.
OrganisationSettings readOrganisationSettings(Session& session);
// Replaces the row in one transaction; the reason goes to the prompt on failure.
bool saveOrganisationSettings(Session& session, const OrganisationSettings& settings, Prompt& prompt);

} // namespace orvak::startup
