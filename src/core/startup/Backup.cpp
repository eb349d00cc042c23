#include "core/startup/Backup.h"

#include "core/db/Db.h"
#include "core/startup/Rights.h"
#include "core/util/Jalali.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>

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

QList<BackupHistoryRow> backupHistory(Session& session)
{
    QList<BackupHistoryRow> rows;
    QSqlQuery q(session.common());
    if (!q.exec(QStringLiteral("select id, usercode, dat_bk, time_bk, KindOperation, Filename, path_bk, Dbname from history_resback order by id")))
        return rows;
    while (q.next())
        rows << BackupHistoryRow{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toString(), q.value(4).toInt(),
                                 q.value(5).toString(), q.value(6).toString(), q.value(7).toString()};
    return rows;
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

bool BackupService::backup(const QString& database, const QString& folder, const QString& fileName)
{
    if (QString why; !mayUse(session_, BackupMenuId, 0, &why)) {
        prompt_.info(why);
        return false;
    }
    const std::optional<InstallationDatabase> what = ownDatabase(database);
    if (!what)
        return false;
    status_ = QStringLiteral("لطفا صبر کنيد. در حال تهيه نسخه پشتيبان");
    if (fileName.trimmed().isEmpty()) {
        prompt_.info(QStringLiteral("نام فايل پشتيبان مشخص نشده است"));
        return false;
    }
    const QString path = joinBackupPath(folder, fileName.trimmed());
    if (!prompt_.ask(path + QStringLiteral(" مسير پشتيبان صحيح است")))
        return false;
    QString why;
    if (!session_.server()->backupDatabase(database, path, labelFor(database, *what), &why)) {
        prompt_.info(why);
        return false;
    }
    recordHistory(0, database, folder, fileName.trimmed());
    writeLastBackupFolder(session_.startDir(), folder);
    status_ = QStringLiteral("نسخه پشتيبان تهيه گرديد");
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
    // Nothing is replaced with a file that is not a backup, or a backup of another database.
    const std::optional<db::BackupFileList> held = server->backupFileList(path, &why);
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
    if (!server->restoreDatabase(database, path, dataFolder.trimmed().isEmpty() ? server->defaultDataFolder() : dataFolder.trimmed(), &why)) {
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
