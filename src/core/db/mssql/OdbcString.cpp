#include "core/db/mssql/OdbcString.h"

#include <QFileInfo>

namespace orvak::db {

namespace {

QString braced(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + v + QLatin1Char('}');
}

} // namespace

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

} // namespace orvak::db
