#pragma once
#include <QString>

namespace orvak::db {

// What the client library really receives: an ODBC string for the chosen driver
// (FreeTDS on Linux, the SQL Server driver on Windows), the values braced so that
// no character of a password can break the string.
QString odbcConnectionString(const QString& server, const QString& database, const QString& user,
                             const QString& password, const QString& driver = QString());
QString defaultOdbcDriver();

} // namespace orvak::db
