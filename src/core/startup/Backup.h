#pragma once
// Backup and restore of a database, with their history and guards.
#include "core/db/Db.h"
#include "core/io/ListDefinition.h"
#include "core/startup/Session.h"
#include "core/startup/StructureUpdate.h"

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
// A compressed backup is a zip archive named as the backup with ".zip" after it,
// holding the backup file under the name without it.
bool isCompressedBackupName(const QString& fileName);
QString compressedBackupName(const QString& fileName);
// The folder as a network path of the server's computer ("\\SERVER\D$\BK"), for a
// backup folder typed as the server sees it; a network path stays as it is.
QString withServerName(const QString& serverName, const QString& folder);

// A database of this installation, told by its name: the common database, a
// section's deposits database or an accounting database of a section and year.
struct InstallationDatabase {
    DatabaseKind kind = DatabaseKind::Common;
    QString section;   // deposits and accounting
    int year = 0;      // accounting
};
std::optional<InstallationDatabase> installationDatabase(int installationNumber, const QString& name);
// The kind of a database from the tables it holds; nullopt when they show none.
std::optional<DatabaseKind> databaseKindOfTables(const QStringList& tables);
QString databaseKindKey(DatabaseKind kind);    // as a backup's label records it
QString databaseKindText(DatabaseKind kind);   // as the user reads it

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
db::Fetched<QList<BackupHistoryRow>> backupHistory(Session& session);
// The number the next backup of a database gets: one more than its backups in the history.
int nextBackupNumber(const QList<BackupHistoryRow>& history, const QString& database);

// One line of the report of a backup of every section.
struct SectionBackup {
    enum class Outcome { Made, Missing, Failed };
    QString place;      // the kind of database, and its section
    QString database;
    QString fileName;
    Outcome outcome = Outcome::Failed;
    QString reason;     // why it failed
    QString text() const;
};
// Whether a backup of every section went well: something was backed up, nothing failed.
bool wentWell(const QList<SectionBackup>& report);

class BackupService {
public:
    BackupService(Session& session, Prompt& prompt);

    // The status line the screen shows.
    QString status() const { return status_; }

    // compress (or a name ending ".zip"): the backup goes into a zip archive.
    bool backup(const QString& database, const QString& folder, const QString& fileName, bool compress = false);
    // The common database, then each section's deposits database and accounting
    // database of the year, each under its proposed name in folder. One database
    // failing is reported and the others still go; the report is shown at the end.
    QList<SectionBackup> backupYearInAllSections(int year, const QString& folder, bool compress);
    // A compressed copy of a backup file in another folder (a removable disk, say).
    bool compressAndCopy(const QString& folder, const QString& fileName, const QString& toFolder);
    // dataFolder: where the server keeps the database's files (the server's own
    // folder when empty).
    bool restore(const QString& database, const QString& folder, const QString& fileName, const QString& dataFolder = QString());

private:
    std::optional<InstallationDatabase> ownDatabase(const QString& database);
    db::BackupLabel labelFor(const QString& database, const InstallationDatabase& what) const;
    bool suits(const db::BackupFileList& backup, const QString& database, const InstallationDatabase& what);
    bool mayBackUp();
    // Writes the backup at path (a zip archive when compress), whole or not at all.
    bool write(const QString& database, const InstallationDatabase& what, const QString& path, bool compress, QString* why);

    bool recordHistory(int kind, const QString& database, const QString& folder, const QString& fileName);

    Session& session_;
    Prompt& prompt_;
    QString status_ = QStringLiteral("آماده تهيه پشتيبان يا بازخواني");
};

} // namespace orvak::startup
