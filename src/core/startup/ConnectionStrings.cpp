#include "startup/ConnectionStrings.h"

#include <QFileInfo>

namespace orvak::startup {

namespace {

QString modeTwoToFourTail(const ConnectionSettings& s)
{
    return QStringLiteral(";Persist Security Info=True;User ID=") + s.sqlUser
        + QStringLiteral(";Initial Catalog=orvak;Data Source=") + s.serverName;
}

QString modeOne(const ConnectionSettings& s, const QString& database)
{
    return QStringLiteral("Provider=sqloledb;Data Source=") + s.serverName + QStringLiteral(";Initial Catalog=")
        + database + QStringLiteral(";User Id=") + s.sqlUser + QStringLiteral(";Password=") + s.sqlPassword;
}

QString braced(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + v + QLatin1Char('}');
}

} // namespace

QString connectionString(const ConnectionSettings& s, const QString& database)
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

QString commonConnectionString(const ConnectionSettings& s, const QString& commonDbName)
{
    if (s.connectionMode == 2 || s.connectionMode == 3)
        return connectionString(s, commonDbName);
    return modeOne(s, commonDbName);
}

QString depositConnectionString(const ConnectionSettings& s, const QString& depositDbName)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;Password=\"") + s.sqlPassword
        + QStringLiteral("\"") + QStringLiteral(";User ID=orvak") + QStringLiteral(";Initial Catalog=") + depositDbName
        + QStringLiteral(";Data Source=") + s.serverName
        + QStringLiteral(";Use Procedure for Prepare=1;Auto Translate=False;Packet Size=4096")
        + QStringLiteral(";Workstation ID=") + QStringLiteral("localhost")
        + QStringLiteral(";Use Encryption for Data=False;Tag with column collation when possible=False");
}

QStringList databaseParameters(const ConnectionSettings& s, const QString& database)
{
    return {QStringLiteral("DATABASE NAME=") + database, QStringLiteral("SERVER NAME=") + s.serverName,
            QStringLiteral("USER NAME=") + s.sqlUser, QStringLiteral("PASSWORD=") + s.sqlPassword};
}

QString defaultOdbcDriver()
{
    const QByteArray fromEnv = qgetenv("ORVAK_ODBC_DRIVER");
    if (!fromEnv.isEmpty())
        return QString::fromLocal8Bit(fromEnv);
#ifdef Q_OS_WIN
    return QStringLiteral("SQL Server");
#else
    for (const char* path : {"/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so", "/usr/lib/aarch64-linux-gnu/odbc/libtdsodbc.so",
                             "/usr/lib/odbc/libtdsodbc.so"}) {
        if (QFileInfo::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    }
    return QStringLiteral("FreeTDS");
#endif
}

QString odbcConnectionString(const QString& server, const QString& database, const QString& user,
                             const QString& password, const QString& driver)
{
    const QString d = driver.isEmpty() ? defaultOdbcDriver() : driver;
    QString s = QStringLiteral("DRIVER=") + braced(d) + QStringLiteral(";SERVER=") + braced(server)
        + QStringLiteral(";DATABASE=") + braced(database) + QStringLiteral(";UID=") + braced(user)
        + QStringLiteral(";PWD=") + braced(password);
    // FreeTDS needs the protocol version and the client character set spelled out.
    if (d.contains(QStringLiteral("tds"), Qt::CaseInsensitive))
        s += QStringLiteral(";TDS_Version=7.3;ClientCharset=UTF-8");
    return s;
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
