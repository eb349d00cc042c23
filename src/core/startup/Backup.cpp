#include "core/startup/Backup.h"

#include "core/db/Db.h"
#include "core/startup/Rights.h"
#include "core/util/Jalali.h"

#include <QFileInfo>
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
    status_ = QStringLiteral("لطفا صبر کنيد. در حال تهيه نسخه پشتيبان");
    if (fileName.trimmed().isEmpty()) {
        prompt_.info(QStringLiteral("نام فايل پشتيبان مشخص نشده است"));
        return false;
    }
    const QString path = joinBackupPath(folder, fileName.trimmed());
    if (!prompt_.ask(path + QStringLiteral(" مسير پشتيبان صحيح است")))
        return false;
    QString why;
    if (!session_.server()->backupDatabase(database, path, &why)) {
        prompt_.info(why);
        return false;
    }
    recordHistory(0, database, folder, fileName.trimmed());
    writeLastBackupFolder(session_.startDir(), folder);
    status_ = QStringLiteral("نسخه پشتيبان تهيه گرديد");
    return true;
}

bool BackupService::restore(const QString& database, const QString& folder, const QString& fileName)
{
    if (QString why; !mayUse(session_, RestoreMenuId, AccessSpecial, &why)) {
        prompt_.info(why);
        return false;
    }
    if (fileName.trimmed().isEmpty()) {
        prompt_.info(QStringLiteral("نام فايل پشتيبان مشخص نشده است"));
        return false;
    }
    const QString path = joinBackupPath(folder, fileName.trimmed());
    const bool safety = prompt_.ask(QStringLiteral("(*.TmpBkUp)جهت اطمينان، از اطلاعات فعلي سيستم يک پشتيبان تهيه گردد؟"));
    if (!prompt_.ask(path + QStringLiteral("   مسير پشتيبان صحيح است؟"))
        || !prompt_.ask(QStringLiteral(" هشدار : اطلاعات موجود از بين ميرودو مطمئن هستيد؟ "))
        || !prompt_.ask(QStringLiteral(" هشدار مجدد : اطلاعات موجود از بين ميرودو مطمئن هستيد؟ ")))
        return false;

    db::Server* server = session_.server();
    QString why;
    // Nothing is replaced with a file that is not a backup.
    if (!server->backupFileList(path, &why)) {
        prompt_.info(why);
        return false;
    }
    if (safety && server->databaseExists(database)) {
        const QDateTime now = session_.clock().now();
        const QString safetyName = database + QLatin1Char('_') + util::toJalali(now.date()).toCompactText() + QLatin1Char('_')
            + now.time().toString(QStringLiteral("HHmmss")) + QStringLiteral(".TmpBkUp");
        if (!server->backupDatabase(database, joinBackupPath(folder, safetyName), &why)) {
            prompt_.info(why);
            return false;
        }
        recordHistory(0, database, folder, safetyName);
    }
    const bool wasDeposits = session_.hasDeposits() && database.compare(session_.depositDbName(), Qt::CaseInsensitive) == 0;
    if (!server->restoreDatabase(database, path, server->defaultDataFolder(), &why)) {
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
