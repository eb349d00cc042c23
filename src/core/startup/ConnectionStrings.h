#pragma once
// The connection strings of the family, built exactly as the other programs build
// them (they are shown and logged), and their mapping onto an ODBC connection.
#include "core/startup/ConnectionFiles.h"

#include <QString>

namespace orvak::startup {

// The provider string for a database by connection mode (1..4).
QString connectionString(const db::ConnectionSettings& s, const QString& database);

// The common database's string: modes 2 and 3 keep the fixed "Initial Catalog=orvak"
// form whatever the database, every other mode the mode-1 form.
QString commonConnectionString(const db::ConnectionSettings& s, const QString& commonDbName);

// The deposits database's string as a section is opened.
QString depositConnectionString(const db::ConnectionSettings& s, const QString& depositDbName);

// The BDE-style parameter lines (DATABASE NAME=, SERVER NAME=, USER NAME=, PASSWORD=).
QStringList databaseParameters(const db::ConnectionSettings& s, const QString& database);

// The same string with the password masked, for screens and messages.
QString maskPassword(const QString& connectionString, const QString& password);

} // namespace orvak::startup
