#include "core/startup/ConnectionStrings.h"

namespace orvak::startup {

namespace {

QString modeTwoToFourTail(const db::ConnectionSettings& s)
{
    return QStringLiteral(";Persist Security Info=True;User ID=") + s.sqlUser
        + QStringLiteral(";Initial Catalog=orvak;Data Source=") + s.serverName;
}

QString modeOne(const db::ConnectionSettings& s, const QString& database)
{
    return QStringLiteral("Provider=sqloledb;Data Source=") + s.serverName + QStringLiteral(";Initial Catalog=")
        + database + QStringLiteral(";User Id=") + s.sqlUser + QStringLiteral(";Password=") + s.sqlPassword;
}

} // namespace

QString connectionString(const db::ConnectionSettings& s, const QString& database)
{
    switch (s.connectionMode) {
    case 2:
        return QStringLiteral("Provider=SQLNCLI.1;Password=") + s.sqlPassword + modeTwoToFourTail(s);
    case 3:
        return QStringLiteral("Provider=SQLNCLI10.1;Password=") + s.sqlPassword + modeTwoToFourTail(s);
    case 4:
        return QStringLiteral("Provider=SQLOLEDB.1;Password=") + s.sqlPassword + modeTwoToFourTail(s);
    default:
        return modeOne(s, database);
    }
}

QString commonConnectionString(const db::ConnectionSettings& s, const QString& commonDbName)
{
    if (s.connectionMode == 2 || s.connectionMode == 3)
        return connectionString(s, commonDbName);
    return modeOne(s, commonDbName);
}

QString depositConnectionString(const db::ConnectionSettings& s, const QString& depositDbName)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;Password=\"") + s.sqlPassword
        + QStringLiteral("\"") + QStringLiteral(";User ID=orvak") + QStringLiteral(";Initial Catalog=") + depositDbName
        + QStringLiteral(";Data Source=") + s.serverName
        + QStringLiteral(";Use Procedure for Prepare=1;Auto Translate=False;Packet Size=4096")
        + QStringLiteral(";Workstation ID=") + QStringLiteral("localhost")
        + QStringLiteral(";Use Encryption for Data=False;Tag with column collation when possible=False");
}

QStringList databaseParameters(const db::ConnectionSettings& s, const QString& database)
{
    return {QStringLiteral("DATABASE NAME=") + database, QStringLiteral("SERVER NAME=") + s.serverName,
            QStringLiteral("USER NAME=") + s.sqlUser, QStringLiteral("PASSWORD=") + s.sqlPassword};
}

QString maskPassword(const QString& connectionString, const QString& password)
{
    if (password.isEmpty())
        return connectionString;
    QString out = connectionString;
    out.replace(QStringLiteral("Password=") + password, QStringLiteral("Password=****"));
    out.replace(QStringLiteral("Password=\"") + password + QLatin1Char('"'), QStringLiteral("Password=\"****\""));
    out.replace(QStringLiteral("PASSWORD=") + password, QStringLiteral("PASSWORD=****"));
    return out;
}

} // namespace orvak::startup
