#include "core/db/sqlite/LocalServer.h"

#include "core/db/Db.h"
#include "core/db/mssql/SqlServerStatements.h"
#include "core/util/AtomicFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

namespace orvak::db {

namespace {

const QString kMaster = QStringLiteral("MASTER");

QString hashPassword(const QString& salt, const QString& password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash((salt + QLatin1Char(':') + password).toUtf8(), QCryptographicHash::Sha256).toHex());
}

bool isSqliteFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

QString folderMessage(const QString& folder)
{
    return QStringLiteral("پوشه داده ها در دسترس نيست: %1").arg(QDir::toNativeSeparators(folder));
}

} // namespace

LocalServer::LocalServer(QString folder, QString serverName, QString user, QString password)
    : folder_(std::move(folder))
    , serverName_(std::move(serverName))
    , user_(std::move(user))
    , password_(std::move(password))
    , connections_(QStringLiteral("local"))
{
}

LocalServer::~LocalServer() { closeAll(); }

QSqlDatabase LocalServer::openFile(const QString& connection, const QString& path, QString* error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection);
        return {};
    }
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    q.exec(QStringLiteral("PRAGMA case_sensitive_like=OFF"));
    return db;
}

bool LocalServer::ensureMaster(QString* error)
{
    if (folder_.isEmpty() || !QDir().mkpath(folder_) || !QFileInfo(folder_).isWritable()) {
        if (error)
            *error = folderMessage(folder_);
        return false;
    }
    const QString connection = connections_.nameFor(kMaster);
    if (!QSqlDatabase::contains(connection)) {
        util::createOwnerOnlyFile(QDir(folder_).filePath(QStringLiteral("MASTER.db")));
        QSqlDatabase db = openFile(connection, QDir(folder_).filePath(QStringLiteral("MASTER.db")), error);
        if (!db.isValid())
            return false;
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS LOGINS (NAME TEXT PRIMARY KEY COLLATE NOCASE, SALT TEXT NOT NULL, "
                                   "HASH TEXT NOT NULL, CREATED TEXT)"))) {
            if (error)
                *error = q.lastError().text();
            return false;
        }
    }
    return true;
}

bool LocalServer::testConnection(const QString& user, const QString& password, QString* error)
{
    if (!ensureMaster(error))
        return false;
    QSqlQuery q(QSqlDatabase::database(connections_.nameFor(kMaster), false));
    q.prepare(QStringLiteral("SELECT SALT, HASH FROM LOGINS WHERE NAME = :name"));
    q.bindValue(QStringLiteral(":name"), user);
    if (!q.exec() || !q.next() || q.value(1).toString() != hashPassword(q.value(0).toString(), password)) {
        if (error)
            *error = QStringLiteral("ورود به سرور با نام کاربري %1 و رمز داده شده ممکن نيست").arg(user);
        return false;
    }
    user_ = user;
    password_ = password;
    authenticated_ = true;
    return true;
}

bool LocalServer::testAdministrator(const QString& user, const QString& password, QString* error)
{
    if (!ensureMaster(error))
        return false;
    if (loginExists(user))
        return testConnection(user, password, error);
    authenticated_ = true;   // whoever may write the folder administers it
    return true;
}

bool LocalServer::authenticated(QString* error)
{
    return authenticated_ || testConnection(user_, password_, error);
}

bool LocalServer::loginExists(const QString& login, QString* error)
{
    if (!ensureMaster(error))
        return false;
    QSqlQuery q(QSqlDatabase::database(connections_.nameFor(kMaster), false));
    q.prepare(QStringLiteral("SELECT NAME FROM LOGINS WHERE NAME = :name"));
    q.bindValue(QStringLiteral(":name"), login);
    return q.exec() && q.next();
}

bool LocalServer::createLogin(const QString& login, const QString& password, QString* error)
{
    if (!ensureMaster(error))
        return false;
    QSqlQuery q(QSqlDatabase::database(connections_.nameFor(kMaster), false));
    const QString salt = QString::number(QRandomGenerator::system()->generate64(), 16);
    q.prepare(QStringLiteral("INSERT INTO LOGINS (NAME, SALT, HASH, CREATED) VALUES (:name, :salt, :hash, :created)"));
    q.bindValue(QStringLiteral(":name"), login);
    q.bindValue(QStringLiteral(":salt"), salt);
    q.bindValue(QStringLiteral(":hash"), hashPassword(salt, password));
    q.bindValue(QStringLiteral(":created"), QDateTime::currentDateTime().toString(Qt::ISODate));
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    return true;
}

QStringList LocalServer::databaseNames(QString* error)
{
    QDir dir(folder_);
    if (folder_.isEmpty() || !dir.exists()) {
        if (error)
            *error = folderMessage(folder_);
        return {};
    }
    QStringList names;
    for (const QFileInfo& fi : dir.entryInfoList({QStringLiteral("*.db")}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (fi.completeBaseName().compare(kMaster, Qt::CaseInsensitive) != 0)
            names << fi.completeBaseName();
    }
    return names;
}

QString LocalServer::databaseFile(const QString& name) const
{
    QDir dir(folder_);
    for (const QFileInfo& fi : dir.entryInfoList({QStringLiteral("*.db")}, QDir::Files)) {
        if (fi.completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
            return fi.absoluteFilePath();
    }
    return {};
}

bool LocalServer::createDatabase(const QString& name, const QString&, QString* error)
{
    if (!mssql::isSafeName(name) || name.compare(kMaster, Qt::CaseInsensitive) == 0) {
        if (error)
            *error = QStringLiteral("نام بانک اطلاعاتي معتبر نيست: %1").arg(name);
        return false;
    }
    if (!authenticated(error))
        return false;
    if (!databaseFile(name).isEmpty()) {
        if (error)
            *error = QStringLiteral("بانک اطلاعاتي %1 از قبل وجود دارد").arg(name);
        return false;
    }
    QString why;
    const QString connection = connections_.nameFor(name);
    const QString file = QDir(folder_).filePath(name + QStringLiteral(".db"));
    util::createOwnerOnlyFile(file);   // only the owner reads the databases
    QSqlDatabase db = openFile(connection, file, &why);
    if (!db.isValid()) {
        QFile::remove(file);
        if (error)
            *error = why;
        return false;
    }
    connections_.keep(name, connection);
    return true;
}

bool LocalServer::attachDatabase(const QString& name, const QString& file, QString* error)
{
    if (databaseExists(name))
        return true;
    if (!mssql::isSafeName(name) || !isSqliteFile(file)) {
        if (error)
            *error = QStringLiteral("فايل بانک اطلاعاتي معتبر نيست: %1").arg(QDir::toNativeSeparators(file));
        return false;
    }
    if (!authenticated(error))
        return false;
    if (!QFile::copy(file, QDir(folder_).filePath(name + QStringLiteral(".db")))) {
        if (error)
            *error = QStringLiteral("فايل بانک اطلاعاتي قابل کپي نيست: %1").arg(QDir::toNativeSeparators(file));
        return false;
    }
    util::restrictToOwner(QDir(folder_).filePath(name + QStringLiteral(".db")));
    return true;
}

QString LocalServer::versionText()
{
    if (!ensureMaster(nullptr))
        return QStringLiteral("Local data folder");
    QSqlQuery q(QSqlDatabase::database(connections_.nameFor(kMaster), false));
    if (q.exec(QStringLiteral("select sqlite_version()")) && q.next())
        return QStringLiteral("Local data folder (SQLite %1)").arg(q.value(0).toString());
    return QStringLiteral("Local data folder");
}

std::optional<QDateTime> LocalServer::now() { return QDateTime::currentDateTime(); }

QSqlDatabase LocalServer::database(const QString& name, QString* error)
{
    if (QSqlDatabase kept = connections_.find(name); kept.isValid())
        return kept;
    if (!authenticated(error))
        return {};
    const QString path = databaseFile(name);
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("بانک اطلاعاتي %1 يافت نشد").arg(name);
        return {};
    }
    const QString connection = connections_.nameFor(name);
    QSqlDatabase db = openFile(connection, path, error);
    if (db.isValid())
        connections_.keep(name, connection);
    return db;
}

void LocalServer::closeDatabase(const QString& name) { connections_.close(name); }

void LocalServer::closeAll()
{
    connections_.closeAll();
    dropConnection(connections_.nameFor(kMaster));
}

bool LocalServer::attachForReading(QSqlDatabase db, const QString& otherDatabase, QString* error)
{
    const QString path = databaseFile(otherDatabase);
    if (path.isEmpty() || !mssql::isSafeName(otherDatabase)) {
        if (error)
            *error = QStringLiteral("بانک اطلاعاتي %1 يافت نشد").arg(otherDatabase);
        return false;
    }
    QSqlQuery list(db);
    if (list.exec(QStringLiteral("PRAGMA database_list"))) {
        while (list.next()) {
            if (list.value(1).toString().compare(otherDatabase, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("ATTACH DATABASE :file AS [%1]").arg(otherDatabase));
    q.bindValue(QStringLiteral(":file"), path);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    // The settings of a connection's own database do not reach what it attaches.
    q.exec(QStringLiteral("PRAGMA [%1].journal_mode=WAL").arg(otherDatabase));
    q.exec(QStringLiteral("PRAGMA [%1].synchronous=NORMAL").arg(otherDatabase));
    return true;
}

bool LocalServer::backupDatabase(const QString& name, const QString& file, QString* error)
{
    QSqlDatabase db = database(name, error);
    if (!db.isValid())
        return false;
    const QFileInfo target(file);
    if (!target.dir().exists()) {
        if (error)
            *error = QStringLiteral("مسير پشتيبان وجود ندارد: %1").arg(QDir::toNativeSeparators(target.absolutePath()));
        return false;
    }
    // VACUUM INTO refuses an existing file: write beside it, then put it in place.
    const QString temp = target.absoluteFilePath() + QStringLiteral(".part");
    QFile::remove(temp);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("VACUUM INTO :file"));
    q.bindValue(QStringLiteral(":file"), temp);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        QFile::remove(temp);
        return false;
    }
    if (target.exists() && !QFile::remove(target.absoluteFilePath())) {
        QFile::remove(temp);
        if (error)
            *error = QStringLiteral("فايل پشتيبان قبلي قابل جايگزيني نيست: %1").arg(QDir::toNativeSeparators(file));
        return false;
    }
    if (!QFile::rename(temp, target.absoluteFilePath())) {
        if (error)
            *error = QStringLiteral("فايل پشتيبان قابل نوشتن نيست: %1").arg(QDir::toNativeSeparators(file));
        return false;
    }
    util::restrictToOwner(target.absoluteFilePath());
    return true;
}

std::optional<BackupFileList> LocalServer::backupFileList(const QString& file, QString* error)
{
    if (!isSqliteFile(file)) {
        if (error)
            *error = QStringLiteral("فايل انتخاب شده نسخه پشتيبان نيست: %1").arg(QDir::toNativeSeparators(file));
        return std::nullopt;
    }
    // Check the whole file before anything is replaced with it.
    const QString connection = connections_.scratchName(QStringLiteral("CHECK"));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("PRAGMA quick_check")) && q.next() && q.value(0).toString() == QLatin1String("ok");
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!ok) {
        if (error)
            *error = QStringLiteral("فايل پشتيبان خراب است يا نسخه پشتيبان نيست: %1").arg(QDir::toNativeSeparators(file));
        return std::nullopt;
    }
    return BackupFileList{QStringLiteral("main"), QStringLiteral("wal")};
}

bool LocalServer::restoreDatabase(const QString& name, const QString& file, const QString&, QString* error)
{
    if (!backupFileList(file, error))
        return false;
    if (!authenticated(error))
        return false;
    QString path = databaseFile(name);
    if (path.isEmpty())
        path = QDir(folder_).filePath(name + QStringLiteral(".db"));
    const QString incoming = path + QStringLiteral(".restore");
    QFile::remove(incoming);
    if (!QFile::copy(file, incoming)) {
        if (error)
            *error = QStringLiteral("فايل پشتيبان قابل خواندن نيست: %1").arg(QDir::toNativeSeparators(file));
        return false;
    }
    closeDatabase(name);
    // Our last connection is closed, so the log is folded in and gone; a log still
    // there belongs to another program using the database, and replacing the file
    // under it would corrupt what that program writes.
    if (QFileInfo(path + QStringLiteral("-wal")).size() > 0) {
        QFile::remove(incoming);
        if (error)
            *error = QStringLiteral("بانک اطلاعاتي %1 در برنامه ديگري باز است؛ ابتدا آن را ببنديد").arg(name);
        return false;
    }
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    const QString previous = path + QStringLiteral(".previous");
    QFile::remove(previous);
    const bool hadFile = QFile::exists(path);
    if (hadFile && !QFile::rename(path, previous)) {
        QFile::remove(incoming);
        if (error)
            *error = QStringLiteral("بانک اطلاعاتي %1 در حال استفاده است و قابل جايگزيني نيست").arg(name);
        return false;
    }
    if (!QFile::rename(incoming, path)) {
        if (hadFile)
            QFile::rename(previous, path);
        QFile::remove(incoming);
        if (error)
            *error = QStringLiteral("بانک اطلاعاتي %1 قابل جايگزيني نيست").arg(name);
        return false;
    }
    QFile::remove(previous);
    util::restrictToOwner(path);
    return true;
}

} // namespace orvak::db
