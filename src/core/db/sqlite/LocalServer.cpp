#include "core/db/sqlite/LocalServer.h"

#include "core/db/Db.h"
#include "core/db/mssql/SqlServerStatements.h"
#include "core/db/sqlite/SqliteFiles.h"
#include "core/db/sqlite/SqliteHandle.h"
#include "core/util/AtomicFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

#include <functional>

namespace orvak::db {

using util::replaceFile;
using util::syncFile;
using util::syncFolder;

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

// The table a backup copy carries to say what it holds.
const QString kLabelTable = QStringLiteral("ORVAK_BACKUP_LABEL");
// Held by whoever swaps a database file of the folder, so that a start-up does not
// take a swap in progress for one that was cut short.
const QString kSwapLock = QStringLiteral("RESTORE.lock");
const QString kIncoming = QStringLiteral(".restore");
// Written once the incoming copy is complete: from then on the swap goes forward.
const QString kSwapMarker = QStringLiteral(".swap");

bool writeMarker(const QString& path, const QString& text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text.toUtf8()) < 0)
        return false;
    f.close();
    return syncFile(path);
}

// Runs work on a passing connection of a file that is not one of the folder's
// databases (a backup copy), without changing its journal.
bool onScratch(const QString& connection, const QString& path, const QString& options,
               const std::function<bool(QSqlDatabase&)>& work)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(options);
        ok = db.open() && work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

bool sameFolder(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

// SQLITE_BUSY and SQLITE_LOCKED: another program holds the file, it is not damaged.
bool isLocked(const QSqlError& e)
{
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    return (ok && sqlite::isLockCode(code)) || e.text().contains(QStringLiteral("locked"), Qt::CaseInsensitive);
}

} // namespace

LocalServer::LocalServer(QString folder, QString serverName, QString user, QString password)
    : folder_(std::move(folder))
    , serverName_(std::move(serverName))
    , user_(std::move(user))
    , password_(std::move(password))
    , connections_(QStringLiteral("local"))
{
    finishInterruptedRestores();
}

LocalServer::~LocalServer() { closeAll(); }

QSqlDatabase LocalServer::openFile(const QString& connection, const QString& path, QString* error)
{
    const QFileInfo file(path);
    const bool existing = file.exists();
    auto refuse = [&](const QString& why) {
        if (error)
            *error = why;
        return QSqlDatabase();
    };
    // An empty or cut file would otherwise be taken for an empty database and be
    // given new tables; only the set-up makes a database anew.
    if (existing && file.size() < 512)
        return refuse(sqlite::damagedMessage(path));
    const bool journalBefore = existing && QFileInfo::exists(path + QStringLiteral("-journal"));
    QString why;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
        if (!db.open())
            why = db.lastError().text().isEmpty() ? sqlite::damagedMessage(path) : db.lastError().text();
        sqlite3* handle = why.isEmpty() ? sqliteHandleOf(db) : nullptr;
        if (why.isEmpty() && !handle)
            why = QStringLiteral("درايور بانک اطلاعاتي محلي در دسترس نيست");
        if (why.isEmpty() && existing)
            why = sqlite::checkOpenedFile(handle, "main", path, journalBefore);
        if (why.isEmpty())
            why = sqlite::useAtomicJournal(handle, "main", path);
        if (why.isEmpty()) {
            // A file made here is the owner's alone (the engine gives its journals the same).
            if (!existing)
                util::restrictToOwner(path);
            QSqlQuery q(db);
            q.exec(QStringLiteral("PRAGMA case_sensitive_like=OFF"));
            return db;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return refuse(why);
}

bool LocalServer::ensureMaster(QString* error, bool setUp)
{
    // Only the set-up makes a folder into a data folder; everything else finds one.
    const QString masterFile = QDir(folder_).filePath(QStringLiteral("MASTER.db"));
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (folder_.isEmpty() || (setUp ? !QDir().mkpath(folder_) : !QFileInfo(folder_).isDir()))
        return fail(QStringLiteral("پوشه داده ها يافت نشد: %1").arg(QDir::toNativeSeparators(folder_)));
    if (!setUp && !QFileInfo::exists(masterFile))
        return fail(QStringLiteral("پوشه %1 پوشه داده هاي اورواک نيست (فايل MASTER.db در آن يافت نشد)").arg(QDir::toNativeSeparators(folder_)));
    if (!QFileInfo(folder_).isWritable())
        return fail(QStringLiteral("پوشه داده ها قابل نوشتن نيست: %1").arg(QDir::toNativeSeparators(folder_)));
    const QString connection = connections_.nameFor(kMaster);
    if (!QSqlDatabase::contains(connection)) {
        QSqlDatabase db = openFile(connection, masterFile, error);
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
    if (!q.exec() && isLocked(q.lastError())) {
        if (error)
            *error = sqlite::lockedMessage(QDir(folder_).filePath(QStringLiteral("MASTER.db")));
        return false;
    }
    if (!q.isActive() || !q.next() || q.value(1).toString() != hashPassword(q.value(0).toString(), password)) {
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
    if (!ensureMaster(error, true))
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
    if (!ensureMaster(error, true))
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
    // Made beside its place and moved in whole: another workstation must never
    // find the new file before it holds a database, nor two make it at once.
    QString why;
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".db"));
    const QString connection = connections_.nameFor(name);
    const QString making = connections_.scratchName(QStringLiteral("MAKE"));
    const QString temp = path + QStringLiteral(".new-") + making.section(QLatin1Char('-'), -1);
    {
        QSqlDatabase db = openFile(making, temp, &why);
        // The rollback journal writes nothing until the first change: the file gets
        // its first page now, so that it is a database before it takes its name.
        if (db.isValid() && !execSql(db, QStringLiteral("PRAGMA user_version = 0"), {}, &why))
            db = QSqlDatabase();
        if (!db.isValid()) {
            dropConnection(making);
            QFile::remove(temp);
            if (error)
                *error = why;
            return false;
        }
    }
    dropConnection(making);
    // A hard link fails when the name is taken, where a rename would replace (or
    // copy over) the other workstation's new database.
    std::error_code linked;
    std::filesystem::create_hard_link(std::filesystem::path(temp.toStdU16String()), std::filesystem::path(path.toStdU16String()), linked);
    QFile::remove(temp);
    if (linked) {
        if (error)
            *error = QStringLiteral("بانک اطلاعاتي %1 از قبل وجود دارد").arg(name);
        return false;
    }
    QSqlDatabase db = openFile(connection, path, &why);
    if (!db.isValid()) {
        QFile::remove(path);
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
    if (QFileInfo(path).size() < 512) {
        if (error)
            *error = sqlite::damagedMessage(path);
        return false;
    }
    const bool journalBefore = QFileInfo::exists(path + QStringLiteral("-journal"));
    QSqlQuery q(db);
    q.prepare(QStringLiteral("ATTACH DATABASE :file AS [%1]").arg(otherDatabase));
    q.bindValue(QStringLiteral(":file"), path);
    if (!q.exec()) {
        if (error)
            *error = isLocked(q.lastError()) ? sqlite::lockedMessage(path) : sqlite::damagedMessage(path);
        return false;
    }
    // The settings of a connection's own database do not reach what it attaches.
    sqlite3* handle = sqliteHandleOf(db);
    const QByteArray schema = otherDatabase.toUtf8();
    QString why = handle ? sqlite::checkOpenedFile(handle, schema.constData(), path, journalBefore) : sqlite::damagedMessage(path);
    if (why.isEmpty())
        why = sqlite::useAtomicJournal(handle, schema.constData(), path);
    if (!why.isEmpty()) {
        q.exec(QStringLiteral("DETACH DATABASE [%1]").arg(otherDatabase));
        if (error)
            *error = why;
        return false;
    }
    return true;
}


bool LocalServer::backupDatabase(const QString& name, const QString& file, const BackupLabel& label, QString* error)
{
    const QFileInfo target(file);
    if (!target.dir().exists()) {
        if (error)
            *error = QStringLiteral("مسير پشتيبان وجود ندارد: %1").arg(QDir::toNativeSeparators(target.absolutePath()));
        return false;
    }
    // The data folder's files belong to the server (live databases, their logs, the
    // logins), and an existing file is replaced only when it is itself a backup.
    if (sameFolder(target.absolutePath(), folder_) || (target.exists() && !isSqliteFile(target.absoluteFilePath()))) {
        if (error)
            *error = QStringLiteral("فايل پشتيبان نمي تواند روي اين فايل نوشته شود: %1").arg(QDir::toNativeSeparators(file));
        return false;
    }
    QSqlDatabase db = database(name, error);
    if (!db.isValid())
        return false;
    // A copy of a damaged database would pass for a sound backup.
    if (!sqlite::integrityProblems(sqliteHandleOf(db), "main").isEmpty()) {
        if (error)
            *error = sqlite::damagedMessage(databaseFile(name));
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
    // What the copy holds travels inside it, so the file alone still says it.
    const bool labelled = onScratch(connections_.scratchName(QStringLiteral("LABEL")), temp, QString(), [&](QSqlDatabase& copy) {
        return execSql(copy, QStringLiteral("DROP TABLE IF EXISTS %1").arg(kLabelTable))
            && execSql(copy, QStringLiteral("CREATE TABLE %1 (DBNAME TEXT, KIND TEXT, INSTALLATION INTEGER, SECTION TEXT, "
                                            "FISCALYEAR INTEGER, VERSION INTEGER)")
                                 .arg(kLabelTable))
            && execSql(copy,
                       QStringLiteral("INSERT INTO %1 VALUES (:db, :kind, :installation, :section, :year, :version)").arg(kLabelTable),
                       {{QStringLiteral(":db"), label.database}, {QStringLiteral(":kind"), label.kind},
                        {QStringLiteral(":installation"), label.installation}, {QStringLiteral(":section"), label.section},
                        {QStringLiteral(":year"), label.year}, {QStringLiteral(":version"), label.version}});
    });
    if (!labelled || !syncFile(temp)) {
        QFile::remove(temp);
        if (error)
            *error = QStringLiteral("فايل پشتيبان قابل نوشتن نيست: %1").arg(QDir::toNativeSeparators(file));
        return false;
    }
    util::restrictToOwner(temp);   // before it takes the backup's name
    if (!replaceFile(temp, target.absoluteFilePath())) {
        QFile::remove(temp);
        if (error)
            *error = QStringLiteral("فايل پشتيبان قبلي قابل جايگزيني نيست: %1").arg(QDir::toNativeSeparators(file));
        return false;
    }
    return true;
}

std::optional<BackupFileList> LocalServer::backupFileList(const QString& file, QString* error)
{
    // A live database is no backup, and its file is read by the engine alone.
    if (sameFolder(QFileInfo(file).absolutePath(), folder_) || !isSqliteFile(file)) {
        if (error)
            *error = QStringLiteral("فايل انتخاب شده نسخه پشتيبان نيست: %1").arg(QDir::toNativeSeparators(file));
        return std::nullopt;
    }
    // Check the whole file before anything is replaced with it.
    BackupFileList list{QStringLiteral("main"), QStringLiteral("wal"), std::nullopt, {}, {}};
    const bool ok = onScratch(connections_.scratchName(QStringLiteral("CHECK")), file, QStringLiteral("QSQLITE_OPEN_READONLY"), [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() || q.value(0).toString() != QLatin1String("ok"))
            return false;
        if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
            return false;
        while (q.next())
            list.tables << q.value(0).toString();
        if (list.tables.contains(kLabelTable, Qt::CaseInsensitive)
            && q.exec(QStringLiteral("SELECT DBNAME, KIND, INSTALLATION, SECTION, FISCALYEAR, VERSION FROM %1").arg(kLabelTable))
            && q.next()) {
            list.label = BackupLabel{q.value(0).toString(), q.value(1).toString(), q.value(2).toInt(),
                                     q.value(3).toString(), q.value(4).toInt(),    q.value(5).toInt()};
            list.databaseName = list.label->database;
        }
        list.tables.removeIf([](const QString& t) { return t.compare(kLabelTable, Qt::CaseInsensitive) == 0; });
        return true;
    });
    if (!ok) {
        if (error)
            *error = QStringLiteral("فايل پشتيبان خراب است يا نسخه پشتيبان نيست: %1").arg(QDir::toNativeSeparators(file));
        return std::nullopt;
    }
    return list;
}

bool LocalServer::heldElsewhere(const QString& path)
{
    // Every program that has a database of the folder open keeps a shared lock on
    // its file, so an exclusive lock is had only when nobody else has it open.
    // Taking it also folds the log in, and closing removes it.
    // A file that is no database cannot be held by a program either.
    bool held = false;
    onScratch(connections_.scratchName(QStringLiteral("LOCK")), path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"), [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        const bool taken = q.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")) && q.exec(QStringLiteral("BEGIN EXCLUSIVE"))
            && q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && q.exec(QStringLiteral("COMMIT"));
        held = !taken && isLocked(q.lastError());
        return taken;
    });
    return held;
}

bool LocalServer::restoreDatabase(const QString& name, const QString& file, const QString& dataFolder, QString* error)
{
    if (!mssql::isSafeName(name) || name.compare(kMaster, Qt::CaseInsensitive) == 0) {
        if (error)
            *error = QStringLiteral("نام بانک اطلاعاتي معتبر نيست: %1").arg(name);
        return false;
    }
    if (!dataFolder.isEmpty() && !sameFolder(dataFolder, folder_)) {
        if (error)
            *error = QStringLiteral("مسير فايلهاي اطلاعاتي پوشه داده هاي اين سرور نيست: %1").arg(QDir::toNativeSeparators(dataFolder));
        return false;
    }
    if (!backupFileList(file, error))
        return false;
    if (!authenticated(error))
        return false;
    QLockFile swapLock(QDir(folder_).filePath(kSwapLock));
    if (!swapLock.tryLock(0)) {
        if (error)
            *error = QStringLiteral("بازخواني ديگري در پوشه داده ها در جريان است؛ کمي بعد دوباره سعي کنيد");
        return false;
    }
    QString path = databaseFile(name);
    if (path.isEmpty())
        path = QDir(folder_).filePath(name + QStringLiteral(".db"));
    const QString incoming = path + kIncoming;
    const QString marker = path + kSwapMarker;
    QFile::remove(incoming);
    auto fail = [&](const QString& message) {
        QFile::remove(incoming);
        if (error)
            *error = message;
        return false;
    };
    if (!QFile::copy(file, incoming))
        return fail(QStringLiteral("فايل پشتيبان قابل خواندن نيست: %1").arg(QDir::toNativeSeparators(file)));
    util::restrictToOwner(incoming);   // only the owner reads the databases
    // The label describes the backup, not the database it becomes.
    if (!onScratch(connections_.scratchName(QStringLiteral("IN")), incoming, QString(), [](QSqlDatabase& db) {
            return execSql(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(kLabelTable));
        })
        || !syncFile(incoming))
        return fail(QStringLiteral("فايل پشتيبان قابل خواندن نيست: %1").arg(QDir::toNativeSeparators(file)));
    // Other databases' connections may have this one attached: all of ours go, and
    // whatever still holds the file belongs to another program, whose writes would
    // be lost under the new file.
    closeAll();
    if (QFile::exists(path) && heldElsewhere(path))
        return fail(QStringLiteral("بانک اطلاعاتي %1 در برنامه ديگري باز است؛ ابتدا آن را ببنديد").arg(name));
    // Whatever journal the old file had was rolled back or folded in above; what is
    // left of it must not meet the new file.
    for (const QString& side : {QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFile::exists(path + side) && !QFile::remove(path + side))
            return fail(QStringLiteral("بانک اطلاعاتي %1 در حال استفاده است و قابل جايگزيني نيست").arg(name));
    }
    // From the marker on, an interrupted swap is finished at the next start.
    if (!writeMarker(marker, QFileInfo(incoming).fileName())) {
        QFile::remove(marker);
        return fail(QStringLiteral("بانک اطلاعاتي %1 قابل جايگزيني نيست").arg(name));
    }
    syncFolder(folder_);
    if (!replaceFile(incoming, path)) {
        QFile::remove(marker);
        return fail(QStringLiteral("بانک اطلاعاتي %1 قابل جايگزيني نيست").arg(name));
    }
    syncFolder(folder_);
    QFile::remove(marker);
    return true;
}

bool LocalServer::checkDatabase(const QString& name, QString* findings, const std::function<void(int seconds)>& progress)
{
    QSqlDatabase db = database(name, findings);
    if (!db.isValid())
        return false;
    const QString problems = sqlite::integrityProblems(sqliteHandleOf(db), "main", progress ? progress : [](int) {});
    if (problems.isEmpty())
        return true;
    if (findings)
        *findings = sqlite::damagedMessage(databaseFile(name)) + QLatin1Char('\n') + problems;
    return false;
}

void LocalServer::finishInterruptedRestores()
{
    QDir dir(folder_);
    if (folder_.isEmpty() || !dir.exists())
        return;
    QLockFile swapLock(dir.filePath(kSwapLock));
    if (!swapLock.tryLock(0))
        return;   // a restore is running now
    auto files = [&](const QString& pattern) { return dir.entryInfoList({pattern}, QDir::Files | QDir::Hidden); };
    auto without = [](const QFileInfo& fi, const QString& suffix) {
        return fi.absoluteFilePath().chopped(suffix.size());
    };
    for (const QFileInfo& m : files(QStringLiteral("*.db") + kSwapMarker)) {
        const QString path = without(m, kSwapMarker);
        const QString incoming = path + kIncoming;
        if (QFile::exists(incoming)) {
            // The copy was complete; it goes in unless the old file has been written
            // since (a journal or log beside it says so) or a program has it open now:
            // those writes would be lost under the new file.
            const bool touched = QFile::exists(path + QStringLiteral("-journal")) || QFile::exists(path + QStringLiteral("-wal"))
                || QFile::exists(path + QStringLiteral("-shm")) || (QFile::exists(path) && heldElsewhere(path));
            if (touched || !replaceFile(incoming, path))
                QFile::remove(incoming);
        }
        QFile::remove(m.absoluteFilePath());
    }
    // A copy without its marker was never complete.
    for (const QFileInfo& fi : files(QStringLiteral("*.db") + kIncoming))
        QFile::remove(fi.absoluteFilePath());
    // Older versions renamed the old file aside first: put it back when the swap
    // stopped in between, drop it when the new file is in place.
    for (const QFileInfo& fi : files(QStringLiteral("*.db.previous"))) {
        const QString path = without(fi, QStringLiteral(".previous"));
        if (!QFile::exists(path))
            QFile::rename(fi.absoluteFilePath(), path);
        else
            QFile::remove(fi.absoluteFilePath());
    }
    for (const QFileInfo& fi : files(QStringLiteral("*.part")))
        QFile::remove(fi.absoluteFilePath());
}

} // namespace orvak::db
