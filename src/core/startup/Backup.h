#pragma once
// Backup and restore of a database, with their history and guards.
#include "core/io/ListDefinition.h"
#include "core/startup/Session.h"

namespace orvak::startup {

// The access entries "تهيه نسخه پشتيبان" and "بازخواني اطلاعات از نسخه پشتيبان" of
// guardedEntries(). A backup needs the first not refused; a restore, which replaces
// all the data, needs the second with the special bit (AccessSpecial) or the manager
// flag. Nobody logged in (orvakctl without --user) is the server's administrator.
inline constexpr int BackupMenuId = 13;
inline constexpr int RestoreMenuId = 14;

// folder + file, with one separator between them whichever the folder uses.
QString joinBackupPath(const QString& folder, const QString& file);
// The proposed name: program, database and date, ".BAK".
QString proposedBackupName(const QString& database, const util::Clock& clock);

// HISTORY_RESBACK.KindOperation: 0 a backup, otherwise a restore.
const io::CodeTexts& backupKinds();

struct BackupHistoryRow {
    int id = 0;
    int userCode = 0;
    QString date, time;
    int kind = 0;   // 0 backup, 1 restore
    QString fileName, folder, database;
    QString kindText() const;
};
QList<BackupHistoryRow> backupHistory(Session& session);

class BackupService {
public:
    BackupService(Session& session, Prompt& prompt);

    // The status line the screen shows.
    QString status() const { return status_; }

    bool backup(const QString& database, const QString& folder, const QString& fileName);
    bool restore(const QString& database, const QString& folder, const QString& fileName);

private:
    bool recordHistory(int kind, const QString& database, const QString& folder, const QString& fileName);

    Session& session_;
    Prompt& prompt_;
    QString status_ = QStringLiteral("آماده تهيه پشتيبان يا بازخواني");
};

} // namespace orvak::startup
