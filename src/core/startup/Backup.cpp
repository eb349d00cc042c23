#include "core/startup/Backup.h"

#include "core/db/Db.h"
#include "core/io/ZipArchive.h"
#include "core/startup/Rights.h"
#include "core/util/AtomicFile.h"
#include "core/util/Jalali.h"

#include <QFileInfo>
#include <algorithm>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QSysInfo>

namespace orvak::startup {

QString joinBackupPath(const QString& folder, const QString& file)
{
    if (folder.isEmpty())
        return file;
    if (folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/')))
        return folder + file;
    return folder + (folder.contains(QLatin1Char('\\')) ? QLatin1Char('\\') : QLatin1Char('/')) + file;
}

QString proposedBackupName(const QString& database, const util::Clock& clock)
{
    return ProgramKey() + QLatin1Char('_') + database + QLatin1Char('_') + clock.todayJalaliCompact() + QStringLiteral(".BAK");
}

namespace {
const QString kZip = QStringLiteral(".zip");
const QString kReady = QStringLiteral("آماده تهيه پشتيبان يا بازخواني");
const QString kWorking = QStringLiteral("لطفا صبر کنيد. در حال تهيه نسخه پشتيبان");
const QString kMade = QStringLiteral("نسخه پشتيبان تهيه گرديد");
const QString kNoName = QStringLiteral("نام فايل پشتيبان مشخص نشده است");

QString foreignArchiveText(const QString& archive)
{
    return QStringLiteral("فايل فشرده %1 نسخه پشتيبان اين سيستم را در بر ندارد").arg(QDir::toNativeSeparators(archive));
}

// The file inside a compressed backup, unpacked beside it where the server reads it;
// empty, with the reason, when the archive is damaged or holds something else.
QString unpackBackup(const QString& archive, QString* why)
{
    const QString target = archive + QStringLiteral(".unpacked");
    switch (io::unzipOneFile(archive, target).outcome) {
    case io::UnzipOutcome::Done: return target;
    case io::UnzipOutcome::Damaged:
        *why = QStringLiteral("فايل فشرده پشتيبان خراب است و بازخواني نمي شود: %1").arg(QDir::toNativeSeparators(archive));
        break;
    case io::UnzipOutcome::Foreign: *why = foreignArchiveText(archive); break;
    case io::UnzipOutcome::Unwritable:
        *why = QStringLiteral("فايل فشرده پشتيبان در مسير خود باز نمي شود: %1").arg(QDir::toNativeSeparators(archive));
        break;
    }
    return {};
}

// The unpacked file lives as long as the work that reads it.
struct Unpacked {
    QString path;
    Unpacked() = default;
    Unpacked(const Unpacked&) = delete;
    Unpacked& operator=(const Unpacked&) = delete;
    ~Unpacked()
    {
        if (!path.isEmpty())
            QFile::remove(path);
    }
    bool isEmpty() const { return path.isEmpty(); }
};

// A backup file checked the way a restore checks it: an archive is unpacked first.
std::optional<db::BackupFileList> checkedBackup(db::Server& server, const QString& path, Unpacked& unpacked, QString* why)
{
    QString source = path;
    if (io::isZipArchive(path)) {
        source = unpackBackup(path, why);
        if (source.isEmpty())
            return std::nullopt;
        unpacked.path = source;
    }
    std::optional<db::BackupFileList> held = server.backupFileList(source, why);
    if (!held && !unpacked.isEmpty())
        *why = foreignArchiveText(path);
    return held;
}

// As with the backups themselves, a file already at an archive's place is replaced
// only when it is an archive too.
bool mayReplaceArchive(const QString& path, QString* why)
{
    if (!QFileInfo::exists(path) || io::isZipArchive(path))
        return true;
    *why = QStringLiteral("فايل پشتيبان نمي تواند روي اين فايل نوشته شود: %1").arg(QDir::toNativeSeparators(path));
    return false;
}

bool copyWhole(const QString& from, const QString& to, QString* why)
{
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (QFile::copy(from, part) && util::restrictToOwner(part) && util::syncFile(part) && util::replaceFile(part, to))
        return true;
    QFile::remove(part);
    *why = QStringLiteral("فايل پشتيبان قابل نوشتن نيست: %1").arg(QDir::toNativeSeparators(to));
    return false;
}
} // namespace

bool isCompressedBackupName(const QString& fileName) { return fileName.trimmed().endsWith(kZip, Qt::CaseInsensitive); }

QString compressedBackupName(const QString& fileName)
{
    const QString name = fileName.trimmed();
    return isCompressedBackupName(name) ? name : name + kZip;
}

QString withServerName(const QString& serverName, const QString& folder)
{
    QString path = folder.trimmed().replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (path.startsWith(QStringLiteral("\\\\")))
        return path;
    // An instance HOST\INSTANCE is on HOST; the local server is this computer.
    QString host = serverName.section(QLatin1Char('\\'), 0, 0).trimmed();
    if (host.isEmpty() || host == QLatin1String(".") || host.compare(QStringLiteral("(local)"), Qt::CaseInsensitive) == 0
        || host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 || isLocalServerName(serverName))
        host = QSysInfo::machineHostName();
    // A drive of the server is reached through its administrative share.
    static const QRegularExpression drive(QStringLiteral("^([A-Za-z]):"));
    path.replace(drive, QStringLiteral("\\1$"));
    while (path.startsWith(QLatin1Char('\\')))
        path.remove(0, 1);
    return QStringLiteral("\\\\") + host + (path.isEmpty() ? QString() : QStringLiteral("\\") + path);
}

std::optional<InstallationDatabase> installationDatabase(int installationNumber, const QString& name)
{
    const QString n = name.trimmed();
    auto same = [&](const QString& other) { return n.compare(other, Qt::CaseInsensitive) == 0; };
    if (same(QStringLiteral("ORVAK")) || same(QStringLiteral("ORVAK") + QString::number(installationNumber)))
        return InstallationDatabase{DatabaseKind::Common, QString(), 0};
    for (const Section& s : allSections()) {
        // Given the name as the one that exists, the rule picks it when it is the
        // section's numbered or plain name.
        if (same(Session::depositDbNameFor(installationNumber, s.code, {n})))
            return InstallationDatabase{DatabaseKind::Deposits, s.code, 0};
    }
    static const QRegularExpression accounting(QStringLiteral("^ORVAKC[0-9]+C([0-3])Y([0-9]{4})$"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = accounting.match(n); m.hasMatch()) {
        const int year = m.captured(2).toInt();
        if (same(Session::accountingDbNameFor(installationNumber, m.captured(1), year)))
            return InstallationDatabase{DatabaseKind::Accounting, m.captured(1), year};
    }
    return std::nullopt;
}

std::optional<DatabaseKind> databaseKindOfTables(const QStringList& tables)
{
    auto has = [&](const char* table) { return tables.contains(QLatin1String(table), Qt::CaseInsensitive); };
    if (has("USERS") || has("PROGUSERS"))
        return DatabaseKind::Common;
    if (has("SEP_DAR"))
        return DatabaseKind::Deposits;
    if (has("SNDROW"))
        return DatabaseKind::Accounting;
    return std::nullopt;
}

QString databaseKindKey(DatabaseKind kind)
{
    switch (kind) {
    case DatabaseKind::Common: return QStringLiteral("common");
    case DatabaseKind::Deposits: return QStringLiteral("deposits");
    case DatabaseKind::Accounting: return QStringLiteral("accounting");
    }
    return {};
}

QString databaseKindText(DatabaseKind kind)
{
    switch (kind) {
    case DatabaseKind::Common: return QStringLiteral("بانک اطلاعاتي مشترک");
    case DatabaseKind::Deposits: return QStringLiteral("بانک اطلاعاتي سپرده ها");
    case DatabaseKind::Accounting: return QStringLiteral("بانک اطلاعاتي حسابداري");
    }
    return {};
}

const io::CodeTexts& backupKinds()
{
    static const io::CodeTexts kinds{{{0, QStringLiteral("ايجاد نسخه پشتيبان")}, {1, QStringLiteral("بازخواني از نسخه پشتيبان")}},
                                     QStringLiteral("بازخواني از نسخه پشتيبان")};
    return kinds;
}

QString BackupHistoryRow::kindText() const { return backupKinds().textOf(kind); }

db::Fetched<QList<BackupHistoryRow>> backupHistory(Session& session)
{
    QList<BackupHistoryRow> rows;
    QSqlQuery q(session.common());
    if (!q.exec(QStringLiteral("select id, usercode, dat_bk, time_bk, KindOperation, Filename, path_bk, Dbname from history_resback order by id")))
        return db::Fetched<QList<BackupHistoryRow>>::failure(q.lastError().text());
    while (q.next())
        rows << BackupHistoryRow{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toString(), q.value(4).toInt(),
                                 q.value(5).toString(), q.value(6).toString(), q.value(7).toString()};
    return db::Fetched<QList<BackupHistoryRow>>::found(rows);
}

int nextBackupNumber(const QList<BackupHistoryRow>& history, const QString& database)
{
    return 1 + int(std::count_if(history.begin(), history.end(), [&](const BackupHistoryRow& r) {
               return r.kind == 0 && r.database.trimmed().compare(database.trimmed(), Qt::CaseInsensitive) == 0;
           }));
}

QString SectionBackup::text() const
{
    const QString head = place + QStringLiteral(" - ") + database + QStringLiteral(": ");
    switch (outcome) {
    case Outcome::Made: return head + kMade + QStringLiteral(" (") + fileName + QLatin1Char(')');
    case Outcome::Missing: return head + QStringLiteral("اين بانک اطلاعاتي وجود ندارد");
    case Outcome::Failed: break;
    }
    return head + QStringLiteral("نسخه پشتيبان تهيه نشد: ") + reason;
}

bool wentWell(const QList<SectionBackup>& report)
{
    return !report.isEmpty()
        && std::none_of(report.begin(), report.end(), [](const SectionBackup& l) { return l.outcome == SectionBackup::Outcome::Failed; });
}

BackupService::BackupService(Session& session, Prompt& prompt)
    : session_(session)
    , prompt_(prompt)
{
}

std::optional<InstallationDatabase> BackupService::ownDatabase(const QString& database)
{
    std::optional<InstallationDatabase> what = installationDatabase(session_.installationNumber(), database);
    if (!what)
        prompt_.info(QStringLiteral("بانک اطلاعاتي %1 از بانک هاي اطلاعاتي اين سيستم نيست").arg(database));
    return what;
}

db::BackupLabel BackupService::labelFor(const QString& database, const InstallationDatabase& what) const
{
    return db::BackupLabel{database.trimmed().toUpper(), databaseKindKey(what.kind), session_.installationNumber(), what.section, what.year,
                           VersionNumber};
}

bool BackupService::suits(const db::BackupFileList& backup, const QString& database, const InstallationDatabase& what)
{
    const db::BackupLabel wanted = labelFor(database, what);
    auto describe = [](const QString& kind, const QString& name, int installation) {
        QString text = kind + QLatin1Char(' ') + name;
        if (installation > 0)
            text += QStringLiteral(" (شماره نصب %1)").arg(installation);
        return text;
    };
    const QString target = describe(databaseKindText(what.kind), wanted.database, wanted.installation);
    if (backup.label) {
        const db::BackupLabel& held = *backup.label;
        const std::optional<InstallationDatabase> heldWhat = installationDatabase(held.installation, held.database);
        if (held.kind == wanted.kind && held.installation == wanted.installation && held.section == wanted.section
            && held.year == wanted.year)
            return true;
        const QString heldKind = heldWhat ? databaseKindText(heldWhat->kind) : held.kind;
        prompt_.info(QStringLiteral("نسخه پشتيبان از %1 است و روي %2 بازخواني نمي شود")
                         .arg(describe(heldKind, held.database, held.installation), target));
        return false;
    }
    // Backups of older versions say nothing of what they hold: they are taken only
    // when their tables (or, where the server lists none, the name it recorded)
    // show the same kind of database. The installation cannot be told from them.
    std::optional<DatabaseKind> kind = databaseKindOfTables(backup.tables);
    if (!kind && backup.tables.isEmpty() && !backup.databaseName.isEmpty()) {
        if (const auto named = installationDatabase(session_.installationNumber(), backup.databaseName))
            kind = named->kind;
    }
    if (kind == what.kind)
        return true;
    prompt_.info(kind ? QStringLiteral("نسخه پشتيبان از %1 است و روي %2 بازخواني نمي شود").arg(databaseKindText(*kind), target)
                      : QStringLiteral("نوع بانک اطلاعاتي نسخه پشتيبان مشخص نيست و روي %1 بازخواني نمي شود").arg(target));
    return false;
}

bool BackupService::recordHistory(int kind, const QString& database, const QString& folder, const QString& fileName)
{
    QString why;
    const bool ok = session_.inWork([&](db::UnitOfWork& w) {
        const std::optional<qint64> id = w.nextKey(db::Store::Common, QStringLiteral("history_resback"), QStringLiteral("id"));
        return id
            && w.insert(db::Store::Common, QStringLiteral("history_resback"),
                        {{QStringLiteral("id"), *id}, {QStringLiteral("usercode"), session_.currentUserCode()},
                         {QStringLiteral("dat_bk"), session_.clock().todayJalali()},
                         {QStringLiteral("time_bk"), session_.clock().now().time().toString(QStringLiteral("HH:mm:ss"))},
                         {QStringLiteral("KindOperation"), kind}, {QStringLiteral("Filename"), fileName},
                         {QStringLiteral("path_bk"), folder}, {QStringLiteral("Dbname"), database}});
    }, &why);
    if (!ok)
        prompt_.info(why);
    return ok;
}

bool BackupService::mayBackUp()
{
    QString why;
    if (mayUse(session_, BackupMenuId, 0, &why))
        return true;
    prompt_.info(why);
    return false;
}

bool BackupService::write(const QString& database, const InstallationDatabase& what, const QString& path, bool compress, QString* why)
{
    db::Server* server = session_.server();
    if (!compress)
        return server->backupDatabase(database, path, labelFor(database, what), why);
    // The server writes the backup; this program compresses it, so both must reach the folder.
    if (!QFileInfo(path).dir().exists()) {
        *why = QStringLiteral("مسير پشتيبان از اين رايانه در دسترس نيست و پشتيبان فشرده در آن ساخته نمي شود: %1")
                   .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
        return false;
    }
    if (!mayReplaceArchive(path, why))
        return false;
    const QString raw = path + QStringLiteral(".raw");
    const auto dropRaw = qScopeGuard([&] { QFile::remove(raw); });
    if (!server->backupDatabase(database, raw, labelFor(database, what), why))
        return false;
    QString entry = QFileInfo(path).fileName();
    entry.chop(kZip.size());
    return io::zipOneFile(raw, entry, path, why);
}

bool BackupService::backup(const QString& database, const QString& folder, const QString& fileName, bool compress)
{
    if (!mayBackUp())
        return false;
    const std::optional<InstallationDatabase> what = ownDatabase(database);
    if (!what)
        return false;
    status_ = kWorking;
    if (fileName.trimmed().isEmpty()) {
        prompt_.info(kNoName);
        return false;
    }
    compress = compress || isCompressedBackupName(fileName);
    const QString name = compress ? compressedBackupName(fileName) : fileName.trimmed();
    const QString path = joinBackupPath(folder, name);
    if (!prompt_.ask(path + QStringLiteral(" مسير پشتيبان صحيح است")))
        return false;
    QString why;
    if (!write(database, *what, path, compress, &why)) {
        prompt_.info(why);
        return false;
    }
    recordHistory(0, database, folder, name);
    writeLastBackupFolder(session_.startDir(), folder);
    status_ = kMade;
    return true;
}

QList<SectionBackup> BackupService::backupYearInAllSections(int year, const QString& folder, bool compress)
{
    QList<SectionBackup> report;
    if (!mayBackUp())
        return report;
    if (folder.trimmed().isEmpty()) {
        prompt_.info(QStringLiteral("مسير پشتيبان مشخص نشده است"));
        return report;
    }
    if (!prompt_.ask(folder + QStringLiteral(" مسير پشتيبان صحيح است")))
        return report;
    QString why;
    const QStringList existing = session_.server()->databaseNames(&why);
    if (!why.isEmpty()) {
        prompt_.info(why);
        return report;
    }
    status_ = kWorking;
    const int installation = session_.installationNumber();
    auto wantedLine = [](DatabaseKind kind, const QString& where, const QString& database) {
        SectionBackup line;
        line.place = where.isEmpty() ? databaseKindText(kind) : databaseKindText(kind) + QStringLiteral(" - ") + where;
        line.database = database;
        return line;
    };
    QList<SectionBackup> wanted{wantedLine(DatabaseKind::Common, {}, session_.commonDbName())};
    for (const Section& s : allSections()) {
        wanted << wantedLine(DatabaseKind::Deposits, s.title, Session::depositDbNameFor(installation, s.code, existing));
        wanted << wantedLine(DatabaseKind::Accounting, s.title + QLatin1Char(' ') + QString::number(year),
                             Session::accountingDbNameFor(installation, s.code, year));
    }
    bool allMade = true;
    bool anyMade = false;
    for (SectionBackup& line : wanted) {
        if (prompt_.stopRequested())
            break;
        // Sections without a database of their own share the plain name: once is enough.
        if (std::any_of(report.begin(), report.end(), [&](const SectionBackup& done) { return done.database.compare(line.database, Qt::CaseInsensitive) == 0; }))
            continue;
        prompt_.progress(line.place, int(report.size()), int(wanted.size()));
        const std::optional<InstallationDatabase> what = installationDatabase(installation, line.database);
        if (!what || !existing.contains(line.database, Qt::CaseInsensitive)) {
            line.outcome = SectionBackup::Outcome::Missing;
        } else {
            line.fileName = proposedBackupName(line.database, session_.clock());
            if (compress)
                line.fileName = compressedBackupName(line.fileName);
            QString reason;
            if (write(line.database, *what, joinBackupPath(folder, line.fileName), compress, &reason)) {
                line.outcome = SectionBackup::Outcome::Made;
                anyMade = true;
                recordHistory(0, line.database, folder, line.fileName);
            } else {
                line.outcome = SectionBackup::Outcome::Failed;
                line.reason = reason;
                allMade = false;
            }
        }
        report << line;
    }
    if (anyMade)
        writeLastBackupFolder(session_.startDir(), folder);
    status_ = allMade && anyMade ? kMade : kReady;
    return report;
}

bool BackupService::compressAndCopy(const QString& folder, const QString& fileName, const QString& toFolder)
{
    if (!mayBackUp())
        return false;
    if (fileName.trimmed().isEmpty()) {
        prompt_.info(kNoName);
        return false;
    }
    const QString source = joinBackupPath(folder, fileName.trimmed());
    if (!QFileInfo(source).isFile()) {
        prompt_.info(QStringLiteral("فايل پشتيبان يافت نشد: %1").arg(QDir::toNativeSeparators(source)));
        return false;
    }
    if (toFolder.trimmed().isEmpty() || !QDir(toFolder).exists()) {
        prompt_.info(QStringLiteral("مسير پشتيبان وجود ندارد: %1").arg(QDir::toNativeSeparators(toFolder)));
        return false;
    }
    const QString target = joinBackupPath(toFolder, compressedBackupName(fileName));
    if (QFileInfo(target).absoluteFilePath() == QFileInfo(source).absoluteFilePath()) {
        prompt_.info(QStringLiteral("فايل پشتيبان از قبل فشرده است: %1").arg(QDir::toNativeSeparators(source)));
        return false;
    }
    QString why;
    Unpacked unpacked;
    // Only a backup goes; one already compressed is copied as it is.
    const bool ok = mayReplaceArchive(target, &why) && checkedBackup(*session_.server(), source, unpacked, &why)
        && (unpacked.isEmpty() ? io::zipOneFile(source, QFileInfo(fileName.trimmed()).fileName(), target, &why)
                               : copyWhole(source, target, &why));
    if (!ok) {
        prompt_.info(why);
        return false;
    }
    prompt_.info(QStringLiteral("فايل پشتيبان فشرده و در %1 کپي گرديد").arg(QDir::toNativeSeparators(toFolder)));
    return true;
}

bool BackupService::restore(const QString& database, const QString& folder, const QString& fileName, const QString& dataFolder)
{
    if (QString why; !mayUse(session_, RestoreMenuId, AccessSpecial, &why)) {
        prompt_.info(why);
        return false;
    }
    const std::optional<InstallationDatabase> what = ownDatabase(database);
    if (!what)
        return false;
    if (fileName.trimmed().isEmpty()) {
        prompt_.info(QStringLiteral("نام فايل پشتيبان مشخص نشده است"));
        return false;
    }
    const QString path = joinBackupPath(folder, fileName.trimmed());
    db::Server* server = session_.server();
    QString why;
    Unpacked unpacked;
    // Nothing is replaced with a file that is not a backup, or a backup of another database.
    const std::optional<db::BackupFileList> held = checkedBackup(*server, path, unpacked, &why);
    if (!held) {
        prompt_.info(why);
        return false;
    }
    if (!suits(*held, database, *what))
        return false;
    const bool safety = prompt_.ask(QStringLiteral("(*.TmpBkUp)جهت اطمينان، از اطلاعات فعلي سيستم يک پشتيبان تهيه گردد؟"));
    if (!prompt_.ask(path + QStringLiteral("   مسير پشتيبان صحيح است؟"))
        || !prompt_.ask(QStringLiteral(" هشدار : اطلاعات موجود از بين ميرودو مطمئن هستيد؟ "))
        || !prompt_.ask(QStringLiteral(" هشدار مجدد : اطلاعات موجود از بين ميرودو مطمئن هستيد؟ ")))
        return false;

    if (safety && server->databaseExists(database)) {
        const QDateTime now = session_.clock().now();
        const QString safetyName = database + QLatin1Char('_') + util::toJalali(now.date()).toCompactText() + QLatin1Char('_')
            + now.time().toString(QStringLiteral("HHmmss")) + QStringLiteral(".TmpBkUp");
        if (!server->backupDatabase(database, joinBackupPath(folder, safetyName), labelFor(database, *what), &why)) {
            prompt_.info(why);
            return false;
        }
        recordHistory(0, database, folder, safetyName);
    }
    const bool wasDeposits = session_.hasDeposits() && database.compare(session_.depositDbName(), Qt::CaseInsensitive) == 0;
    if (!server->restoreDatabase(database, unpacked.isEmpty() ? path : unpacked.path, dataFolder.trimmed().isEmpty() ? server->defaultDataFolder() : dataFolder.trimmed(), &why)) {
        prompt_.info(why);
        if (wasDeposits)
            session_.OpenSection(session_.CurrentYear(), session_.SectionCode(), prompt_);
        return false;
    }
    if (wasDeposits)
        session_.OpenSection(session_.CurrentYear(), session_.SectionCode(), prompt_);
    recordHistory(1, database, folder, fileName.trimmed());
    prompt_.info(QStringLiteral("فايل پشتيبان بازخواني گرديد"));
    return true;
}

} // namespace orvak::startup
