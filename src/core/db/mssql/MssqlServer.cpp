#include "core/db/mssql/MssqlServer.h"

#include "core/db/mssql/OdbcString.h"
#include "core/db/Db.h"
#include "core/db/mssql/SqlServerStatements.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace orvak::db {

namespace {
QString unsafeName(const QString& name) { return QStringLiteral("نام بانک اطلاعاتي معتبر نيست: %1").arg(name); }
} // namespace

MssqlServer::MssqlServer(ConnectionSettings settings)
    : settings_(std::move(settings))
    , connections_(QStringLiteral("mssql"))
{
}

MssqlServer::~MssqlServer() { closeAll(); }

QSqlDatabase MssqlServer::master(QString* error) { return database(QStringLiteral("master"), error); }

bool MssqlServer::testConnection(const QString& user, const QString& password, QString* error)
{
    if (settings_.serverName.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("نام سرور مشخص نشده است");
        return false;
    }
    closeAll();
    settings_.sqlUser = user;
    settings_.sqlPassword = password;
    QString why;
    if (master(&why).isOpen())
        return true;
    if (error)
        *error = mssql::connectFailureText(why, user);
    return false;
}

bool MssqlServer::loginExists(const QString& login, QString* error)
{
    QSqlDatabase db = master(error);
    QSqlQuery q(db);
    return db.isOpen() && q.exec(mssql::loginExists(login)) && q.next();
}

bool MssqlServer::createLogin(const QString& login, const QString& password, QString* error)
{
    QSqlDatabase db = master(error);
    if (!db.isOpen())
        return false;
    QString language = QStringLiteral("us_english");
    QSqlQuery lang(db);
    lang.prepare(mssql::languageExists());
    lang.bindValue(QStringLiteral(":language"), language);
    if (!lang.exec() || !lang.next())
        language.clear();   // the server's own language
    QVariantMap binds{{QStringLiteral(":login"), login}, {QStringLiteral(":password"), password},
                      {QStringLiteral(":language"), language.isEmpty() ? QVariant() : QVariant(language)}};
    return execSql(db, mssql::addLogin(), binds, error)
        && execSql(db, mssql::addLoginToSysadmin(), {{QStringLiteral(":login"), login}}, error);
}

QStringList MssqlServer::databaseNames(QString* error)
{
    QStringList names;
    QSqlDatabase db = master(error);
    QSqlQuery q(db);
    if (db.isOpen() && q.exec(QStringLiteral("SELECT name FROM master.dbo.sysdatabases ORDER BY name"))) {
        while (q.next())
            names << q.value(0).toString();
    }
    return names;
}

bool MssqlServer::createDatabase(const QString& name, const QString& dataFolder, QString* error)
{
    if (!mssql::isSafeName(name)) {
        if (error)
            *error = unsafeName(name);
        return false;
    }
    QSqlDatabase db = master(error);
    if (!db.isOpen())
        return false;
    if (dataFolder.isEmpty())
        return execSql(db, mssql::createDatabase(name), {}, error);
    const QStringList statements = mssql::creationStatements(mssql::defaultCreationScript(), name, dataFolder);
    if (statements.isEmpty()) {
        if (error)
            *error = QStringLiteral("مسير فايلهاي بانک اطلاعاتي معتبر نيست: %1").arg(dataFolder);
        return false;
    }
    for (const QString& statement : statements) {
        if (!execSql(db, statement, {}, error))
            return false;
    }
    return true;
}

bool MssqlServer::attachDatabase(const QString& name, const QString& file, QString* error)
{
    if (!mssql::isSafeName(name)) {
        if (error)
            *error = unsafeName(name);
        return false;
    }
    if (databaseExists(name))
        return true;
    return execSql(master(error), mssql::attachDatabase(name), {{QStringLiteral(":file"), file}}, error);
}

bool MssqlServer::setCompatibility80(const QString& name, QString* error)
{
    if (!mssql::isSafeName(name)) {
        if (error)
            *error = unsafeName(name);
        return false;
    }
    return execSql(master(error), mssql::setCompatibility80(name), {}, error);
}

QString MssqlServer::versionText()
{
    QSqlQuery q(master(nullptr));
    if (q.exec(mssql::serverVersion()) && q.next())
        return q.value(0).toString();
    return {};
}

std::optional<QDateTime> MssqlServer::now()
{
    QSqlQuery q(master(nullptr));
    if (q.exec(mssql::serverDate()) && q.next())
        return q.value(0).toDateTime();
    return std::nullopt;
}

QString MssqlServer::defaultDataFolder()
{
    QSqlQuery q(master(nullptr));
    if (q.exec(mssql::masterFirstFile()) && q.next())
        return QFileInfo(q.value(0).toString().trimmed().replace(QLatin1Char('\\'), QLatin1Char('/'))).path().replace(QLatin1Char('/'), QLatin1Char('\\'));
    return {};
}

QSqlDatabase MssqlServer::database(const QString& name, QString* error)
{
    if (QSqlDatabase kept = connections_.find(name); kept.isOpen())
        return kept;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))) {
        if (error)
            *error = QStringLiteral("راه انداز ODBC براي ارتباط با SQL Server نصب نشده است");
        return {};
    }
    const QString connection = connections_.nameFor(name);
    QSqlDatabase db = QSqlDatabase::contains(connection) ? QSqlDatabase::database(connection, false)
                                                         : QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connection);
    db.setDatabaseName(odbcConnectionString(settings_.serverName, name, settings_.sqlUser, settings_.sqlPassword));
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10"));
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        return {};
    }
    connections_.keep(name, connection);
    return db;
}

void MssqlServer::closeDatabase(const QString& name) { connections_.close(name); }

void MssqlServer::closeAll() { connections_.closeAll(); }

bool MssqlServer::backupDatabase(const QString& name, const QString& file, const BackupLabel& label, QString* error)
{
    if (!mssql::isSafeName(name)) {
        if (error)
            *error = unsafeName(name);
        return false;
    }
    // The server's own data and log files are never a backup's target.
    const QString lower = file.trimmed().toLower();
    if (lower.endsWith(QLatin1String(".mdf")) || lower.endsWith(QLatin1String(".ldf")) || lower.endsWith(QLatin1String(".ndf"))) {
        if (error)
            *error = QStringLiteral("فايل پشتيبان نمي تواند فايل اطلاعاتي سرور باشد: %1").arg(file);
        return false;
    }
    return execSql(master(error), mssql::labelledBackupStatement(name),
                   {{QStringLiteral(":file"), file}, {QStringLiteral(":label"), label.toText()}}, error);
}

std::optional<BackupFileList> MssqlServer::backupFileList(const QString& file, QString* error)
{
    QSqlDatabase db = master(error);
    if (!db.isOpen())
        return std::nullopt;
    QSqlQuery q(db);
    q.prepare(mssql::restoreFileListStatement());
    q.bindValue(QStringLiteral(":file"), file);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return std::nullopt;
    }
    BackupFileList list;
    while (q.next()) {
        // Type D is the data file, L the log.
        const QString type = q.value(QStringLiteral("Type")).toString().trimmed().toUpper();
        if (type == QLatin1String("D") && list.dataLogicalName.isEmpty())
            list.dataLogicalName = q.value(QStringLiteral("LogicalName")).toString();
        else if (type == QLatin1String("L") && list.logLogicalName.isEmpty())
            list.logLogicalName = q.value(QStringLiteral("LogicalName")).toString();
    }
    if (list.dataLogicalName.isEmpty() || list.logLogicalName.isEmpty()) {
        if (error)
            *error = QStringLiteral("فايل انتخاب شده نسخه پشتيبان بانک اطلاعاتي نيست");
        return std::nullopt;
    }
    QSqlQuery header(db);
    header.prepare(mssql::restoreHeaderStatement());
    header.bindValue(QStringLiteral(":file"), file);
    if (header.exec() && header.next()) {
        list.label = BackupLabel::fromText(header.value(QStringLiteral("BackupDescription")).toString());
        list.databaseName = header.value(QStringLiteral("DatabaseName")).toString();
    }
    return list;
}

bool MssqlServer::restoreDatabase(const QString& name, const QString& file, const QString& dataFolder, QString* error)
{
    if (!mssql::isSafeName(name)) {
        if (error)
            *error = unsafeName(name);
        return false;
    }
    const std::optional<BackupFileList> files = backupFileList(file, error);
    if (!files)
        return false;
    closeDatabase(name);
    QString folder = dataFolder;
    while (folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const bool exists = databaseExists(name);
    if (exists && !execSql(master(error), mssql::singleUserStatement(name), {}, nullptr)) {
        if (error)
            *error = QStringLiteral("بانک اطلاعاتي %1 در برنامه ديگري باز است؛ ابتدا آن را ببنديد").arg(name);
        return false;
    }
    const bool ok = execSql(master(error), mssql::restoreStatement(name),
                            {{QStringLiteral(":file"), file},
                             {QStringLiteral(":dataLogical"), files->dataLogicalName},
                             {QStringLiteral(":dataFile"), folder + QLatin1Char('\\') + name + QStringLiteral("_DATA.MDF")},
                             {QStringLiteral(":logLogical"), files->logLogicalName},
                             {QStringLiteral(":logFile"), folder + QLatin1Char('\\') + name + QStringLiteral("_LOG.LDF")}},
                            error);
    // Whether the restore took or not, the database is opened to everyone again.
    if (exists || ok)
        execSql(master(nullptr), mssql::multiUserStatement(name), {}, nullptr);
    return ok;
}

bool MssqlServer::checkDatabase(const QString& name, QString* findings, const std::function<void(int seconds)>&)
{
    if (!mssql::isSafeName(name)) {
        if (findings)
            *findings = unsafeName(name);
        return false;
    }
    // The server reports each finding as an error of the statement.
    QString why;
    if (execSql(master(findings), QStringLiteral("DBCC CHECKDB ([%1]) WITH NO_INFOMSGS").arg(name), {}, &why))
        return true;
    if (findings)
        *findings = QStringLiteral("بانک اطلاعاتي %1 سالم نيست").arg(name) + QLatin1Char('\n') + why;
    return false;
}

} // namespace orvak::db
