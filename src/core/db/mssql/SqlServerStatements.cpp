#include "core/db/mssql/SqlServerStatements.h"

#include <QRegularExpression>

namespace orvak::db::mssql {

namespace {
// A folder typed with a trailing separator must not give "\\" in a path.
QString withoutTrailingSeparator(QString folder)
{
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/'))))
        folder.chop(1);
    return folder;
}
// Inside "..." as the shown restore text writes them.
QString doubleQuoted(QString text) { return text.replace(QLatin1Char('"'), QStringLiteral("\"\"")); }
} // namespace

bool isSafeName(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9_]{1,128}$"));
    return re.match(name).hasMatch();
}

QString quoted(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString databaseExists(const QString& name)
{
    return QStringLiteral("SELECT UPPER(name) FROM master.dbo.sysdatabases WHERE UPPER(name) = ") + quoted(name.toUpper());
}

QString loginExists(const QString& login)
{
    return QStringLiteral("select loginname  from master.dbo.syslogins where loginname = N") + quoted(login);
}

QString addLogin()
{
    return QStringLiteral("EXEC sp_addlogin @loginame = :login, @passwd = :password, @defdb = N'master', @deflanguage = :language");
}

QString addLoginToSysadmin() { return QStringLiteral("EXEC sp_addsrvrolemember @loginame = :login, @rolename = N'sysadmin'"); }

QString languageExists() { return QStringLiteral("SELECT name FROM master.dbo.syslanguages WHERE name = :language"); }

// A name that fails the check gives an empty statement, which the server refuses
// without running anything.
QString createDatabase(const QString& name) { return isSafeName(name) ? QStringLiteral("create database ") + name : QString(); }

QString attachSingleFile() { return QStringLiteral("EXEC sp_attach_single_file_db @dbname = :dbname, @physname = :physname"); }

QString attachDatabase(const QString& name)
{
    if (!isSafeName(name))
        return {};
    return QStringLiteral("CREATE DATABASE ") + name + QStringLiteral(" ON (FILENAME = :file) FOR ATTACH");
}

QString setCompatibility80(const QString& name)
{
    if (!isSafeName(name))
        return {};
    return QStringLiteral("EXEC dbo.sp_dbcmptlevel @dbname=") + name + QStringLiteral(", @new_cmptlevel=80");
}

QString tableExists(const QString& table)
{
    return QStringLiteral("SELECT * FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_SCHEMA = 'dbo' AND TABLE_NAME = ") + quoted(table);
}

QString serverVersion() { return QStringLiteral("select @@version as SQLVer"); }
QString serverDate() { return QStringLiteral("select getdate() as serverDateTime"); }
QString masterFirstFile() { return QStringLiteral("SELECT TOP 1 filename FROM master.dbo.sysfiles ORDER BY fileid"); }

QString backupText(const QString& database, const QString& fullPath)
{
    return QStringLiteral("BACKUP DATABASE ") + database + QStringLiteral("  TO DISK =") + quoted(fullPath);
}

QString backupStatement(const QString& database)
{
    if (!isSafeName(database))
        return {};
    return QStringLiteral("BACKUP DATABASE ") + database + QStringLiteral("  TO DISK = :file");
}

QString restoreFileListText(const QString& file) { return QStringLiteral("RESTORE FILELISTONLY FROM DISK =") + quoted(file); }
QString restoreFileListStatement() { return QStringLiteral("RESTORE FILELISTONLY FROM DISK = :file"); }

QString restoreText(const QString& database, const QString& file, const QString& dataLogical, const QString& logLogical,
                    const QString& folder)
{
    const QString dataFolder = doubleQuoted(withoutTrailingSeparator(folder));
    return QStringLiteral("RESTORE DATABASE ") + database + QStringLiteral("  FROM DISK =") + quoted(file)
        + QStringLiteral(" WITH REPLACE,MOVE \"") + doubleQuoted(dataLogical) + QStringLiteral("\" TO \"") + dataFolder
        + QLatin1Char('\\') + database + QStringLiteral("_DATA.MDF\"") + QStringLiteral(", REPLACE,MOVE \"") + doubleQuoted(logLogical)
        + QStringLiteral("\" TO \"") + dataFolder + QLatin1Char('\\') + database + QStringLiteral("_LOG.LDF\"");
}

QString restoreStatement(const QString& database)
{
    if (!isSafeName(database))
        return {};
    return QStringLiteral("RESTORE DATABASE ") + database
        + QStringLiteral("  FROM DISK = :file WITH REPLACE, MOVE :dataLogical TO :dataFile, MOVE :logLogical TO :logFile");
}

QString labelledBackupStatement(const QString& database) { return backupStatement(database) + QStringLiteral(" WITH DESCRIPTION = :label"); }
QString restoreHeaderStatement() { return QStringLiteral("RESTORE HEADERONLY FROM DISK = :file"); }
QString singleUserStatement(const QString& database) { return QStringLiteral("ALTER DATABASE ") + database + QStringLiteral(" SET SINGLE_USER WITH NO_WAIT"); }
QString multiUserStatement(const QString& database) { return QStringLiteral("ALTER DATABASE ") + database + QStringLiteral(" SET MULTI_USER"); }

QString connectFailureText(const QString& driverError, const QString& user)
{
    if (driverError.contains(QStringLiteral("18456")) || driverError.contains(QStringLiteral("28000"))
        || driverError.contains(QStringLiteral("Login failed"), Qt::CaseInsensitive))
        return QStringLiteral("ورود به SQL Server با نام کاربري %1 و رمز داده شده ممکن نيست؛ رمز را بررسي کنيد").arg(user);
    if (driverError.contains(QStringLiteral("ODBC")) && !driverError.isEmpty() && driverError.at(0).script() == QChar::Script_Arabic)
        return driverError;
    return QStringLiteral("اشکال در برقراري ارتباط  با SQL SERVER (قطع شبکه)");
}

QStringList creationStatements(const QStringList& scriptLines, const QString& dbName, const QString& dataFolder)
{
    // The name stands bare and in brackets, the folder inside N'...' literals: the
    // name must pass the check, the folder's quotes are doubled.
    if (!isSafeName(dbName) || dataFolder.contains(QLatin1Char('\n')) || dataFolder.contains(QLatin1Char('\r')))
        return {};
    const QString folder = QString(withoutTrailingSeparator(dataFolder)).replace(QLatin1Char('\''), QStringLiteral("''"));
    QStringList statements;
    QString gathered;
    for (QString line : scriptLines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QStringLiteral("@END"), Qt::CaseInsensitive))
            break;
        if (trimmed.startsWith(QStringLiteral("@RUN"), Qt::CaseInsensitive)) {
            if (!gathered.trimmed().isEmpty())
                statements << gathered;
            gathered.clear();
            continue;
        }
        line.replace(QStringLiteral("DBNAME"), dbName);
        line.replace(QStringLiteral("DBPATH"), folder);
        gathered += line + QLatin1Char('\n');
    }
    return statements;
}

QStringList defaultCreationScript()
{
    return {
        QStringLiteral("CREATE DATABASE [DBNAME] ON PRIMARY"),
        QStringLiteral("( NAME = N'DBNAME_Data', FILENAME = N'DBPATH\\DBNAME_Data.MDF', SIZE = 5MB, FILEGROWTH = 10%)"),
        QStringLiteral("LOG ON"),
        QStringLiteral("( NAME = N'DBNAME_Log', FILENAME = N'DBPATH\\DBNAME_Log.LDF', SIZE = 1MB, FILEGROWTH = 10%)"),
        QStringLiteral("COLLATE SQL_Latin1_General_CP1256_CI_AS"),
        QStringLiteral("@RUN"),
        QStringLiteral("@END"),
    };
}

} // namespace orvak::db::mssql
