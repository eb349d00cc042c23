#include "core/startup/Backup.h"
#include "core/startup/Login.h"
#include "core/startup/Rights.h"
#include "core/startup/Users.h"
#include "core/startup/Versions.h"
#include "core/db/Db.h"
#include "core/db/sqlite/LocalServer.h"
#include "core/io/ZipArchive.h"
#include "core/startup/ServerSetup.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"
#include "support/ScriptedPrompt.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvak::startup;
using namespace orvak::db;
using orvak::test::fileBytes;
using orvak::test::TempInstallation;
using orvak::test::writeBytes;

namespace {

struct BackupFixture {
    TempInstallation t;
    std::unique_ptr<Session> s;
    QString folder;

    BackupFixture()
    {
        t.create();
        s = t.reconnect();
        ScriptedPrompt yes({}, true);
        EXPECT_TRUE(s->OpenSection(1403, QStringLiteral("0"), yes));
        EXPECT_TRUE(execSql(s->deposits(), QStringLiteral("INSERT INTO GENERAL_INFO (CODE, OSTANNAME) VALUES (1, 'قبل')")));
        folder = t.path(QStringLiteral("bk"));
        QDir().mkpath(folder);
    }
    QString province() { return scalar(s->deposits(), QStringLiteral("SELECT OSTANNAME FROM GENERAL_INFO"))->toString(); }
    int historyRows() { return scalar(s->common(), QStringLiteral("SELECT COUNT(*) FROM HISTORY_RESBACK"))->toInt(); }
};

} // namespace

TEST(Backup, PathJoinNeverDoublesTheSeparator)
{
    EXPECT_EQ(joinBackupPath(QStringLiteral("D:\\BK\\"), QStringLiteral("a.BAK")), QStringLiteral("D:\\BK\\a.BAK"));
    EXPECT_EQ(joinBackupPath(QStringLiteral("D:\\BK"), QStringLiteral("a.BAK")), QStringLiteral("D:\\BK\\a.BAK"));
    EXPECT_EQ(joinBackupPath(QStringLiteral("/srv/bk/"), QStringLiteral("a.BAK")), QStringLiteral("/srv/bk/a.BAK"));
    EXPECT_EQ(joinBackupPath(QStringLiteral("/srv/bk"), QStringLiteral("a.BAK")), QStringLiteral("/srv/bk/a.BAK"));
}

TEST(Backup, RoundTripWithSafetyCopyAndHistory)
{
    BackupFixture f;
    ScriptedPrompt yes({}, true);
    BackupService service(*f.s, yes);
    ASSERT_TRUE(service.backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    EXPECT_EQ(service.status(), QStringLiteral("نسخه پشتيبان تهيه گرديد"));
    EXPECT_EQ(readLastBackupFolder(f.t.path()), f.folder);
    ASSERT_TRUE(execSql(f.s->deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'بعد'")));
    ASSERT_TRUE(service.backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));   // replaces the older file
    ASSERT_TRUE(execSql(f.s->deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'آخر'")));

    ScriptedPrompt answers({}, true);
    BackupService restorer(*f.s, answers);
    ASSERT_TRUE(restorer.restore(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    EXPECT_EQ(answers.questions.size(), 4);
    EXPECT_EQ(f.province(), QStringLiteral("بعد"));
    EXPECT_EQ(f.s->office().province, QStringLiteral("بعد"));   // the section was opened again
    EXPECT_EQ(f.historyRows(), 4);   // two backups, the safety copy, the restore
    const QStringList safety = QDir(f.folder).entryList({QStringLiteral("ORVAKSEPC0_*.TmpBkUp")});
    EXPECT_EQ(safety.size(), 1);
}

TEST(Backup, AnyNoOrABadFileLeavesTheDatabaseAlone)
{
    BackupFixture f;
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(BackupService(*f.s, yes).backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    ASSERT_TRUE(execSql(f.s->deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'امروز'")));
    const int rows = f.historyRows();
    for (int refused = 1; refused <= 3; ++refused) {
        QList<bool> answers{false};   // the safety question
        for (int q = 1; q <= 3; ++q)
            answers << (q != refused);
        ScriptedPrompt p(answers);
        EXPECT_FALSE(BackupService(*f.s, p).restore(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
        EXPECT_EQ(p.questions.size(), 1 + refused);
    }
    QFile bad(QDir(f.folder).filePath(QStringLiteral("bad.BAK")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a backup");
    bad.close();
    ScriptedPrompt all({}, true);
    EXPECT_FALSE(BackupService(*f.s, all).restore(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("bad.BAK")));
    EXPECT_FALSE(BackupService(*f.s, all).backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("  ")));
    EXPECT_TRUE(all.infos.contains(QStringLiteral("نام فايل پشتيبان مشخص نشده است")));
    EXPECT_EQ(f.province(), QStringLiteral("امروز"));
    EXPECT_EQ(f.historyRows(), rows);
}

TEST(Backup, TheEntriesThatGuardBackupAndRestoreAreTheOnesOfTheirTitles)
{
    const QStringList entries = guardedEntries();
    EXPECT_EQ(entries.value(BackupMenuId - 1), QStringLiteral("تهيه نسخه پشتيبان"));
    EXPECT_EQ(entries.value(RestoreMenuId - 1), QStringLiteral("بازخواني اطلاعات از نسخه پشتيبان"));
    EXPECT_EQ(entries.value(UsersMenuId - 1), QStringLiteral("تعيين سطوح دسترسي كاربران"));
}

namespace {
// A clerk, logged in, with the given kinds (ACCESSKIND1..6) on an entry.
void logInClerk(BackupFixture& f, int menuId, QList<int> kinds)
{
    ScriptedPrompt quiet;
    f.s->logOut();
    ASSERT_TRUE(execSql(f.s->common(), QStringLiteral("DELETE FROM PROGUSERS WHERE UCODE = 7")));
    ProgramUser clerk;
    clerk.code = 7;
    clerk.password = QStringLiteral("p");
    ASSERT_TRUE(saveProgramUser(*f.s, clerk, true, quiet));
    ASSERT_TRUE(execSql(f.s->common(), QStringLiteral("DELETE FROM ACCESSCONTROL WHERE UserId = 7")));
    QStringList values;
    for (int k : kinds)
        values << QString::number(k);
    ASSERT_TRUE(execSql(f.s->common(), QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1, ACCESSKIND2, ACCESSKIND3, "
                                                      "ACCESSKIND4, ACCESSKIND5, ACCESSKIND6) VALUES (7, 3, %1, %2)")
                                           .arg(menuId)
                                           .arg(values.join(QStringLiteral(", ")))));
    ASSERT_TRUE(logInAs(*f.s, QStringLiteral("7"), QStringLiteral("p"), quiet));
}
} // namespace

TEST(Backup, RefusedWithoutTheRight)
{
    BackupFixture f;
    logInClerk(f, BackupMenuId, {1, 0, 0, 0, 0, 0});   // the backup entry refused
    ScriptedPrompt yes({}, true);
    EXPECT_FALSE(BackupService(*f.s, yes).backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    EXPECT_TRUE(yes.questions.isEmpty());
    EXPECT_EQ(yes.infos.value(0), refusalText());
    EXPECT_FALSE(QFile::exists(QDir(f.folder).filePath(QStringLiteral("a.BAK"))));
    // Nor every section at once, nor a compressed copy.
    EXPECT_TRUE(BackupService(*f.s, yes).backupYearInAllSections(1403, f.folder, true).isEmpty());
    EXPECT_FALSE(BackupService(*f.s, yes).compressAndCopy(f.folder, QStringLiteral("a.BAK"), f.folder));
    EXPECT_TRUE(yes.questions.isEmpty());
    EXPECT_EQ(yes.infos, QStringList(3, refusalText()));
    EXPECT_TRUE(QDir(f.folder).isEmpty());

    logInClerk(f, BackupMenuId, {0, 1, 0, 0, 0, 0});   // seen: a backup may be made
    EXPECT_TRUE(BackupService(*f.s, yes).backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    EXPECT_TRUE(QFile::exists(QDir(f.folder).filePath(QStringLiteral("a.BAK"))));
}

TEST(Backup, RestoreReplacesEverythingAndNeedsTheSpecialRightOrTheManager)
{
    BackupFixture f;
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(BackupService(*f.s, yes).backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    // The backup file is its owner's only.
    EXPECT_EQ(QFile::permissions(QDir(f.folder).filePath(QStringLiteral("a.BAK"))),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    ASSERT_TRUE(execSql(f.s->deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'امروز'")));
    const int rows = f.historyRows();

    // Every bit but the special one: refused before any question.
    logInClerk(f, RestoreMenuId, {0, 1, 1, 1, 1, 0});
    ScriptedPrompt clerk({}, true);
    EXPECT_FALSE(BackupService(*f.s, clerk).restore(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    EXPECT_TRUE(clerk.questions.isEmpty());
    EXPECT_EQ(clerk.infos.value(0), refusalText());
    EXPECT_EQ(f.province(), QStringLiteral("امروز"));
    EXPECT_EQ(f.historyRows(), rows);

    // The special bit lets him.
    logInClerk(f, RestoreMenuId, {0, 1, 0, 0, 0, 1});
    ScriptedPrompt special({false}, true);   // no safety copy
    EXPECT_TRUE(BackupService(*f.s, special).restore(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    EXPECT_EQ(f.province(), QStringLiteral("قبل"));

    // The manager, whose rights rows say nothing, always may.
    ASSERT_TRUE(execSql(f.s->deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'امروز'")));
    ScriptedPrompt quiet;
    ASSERT_TRUE(logInAs(*f.s, QStringLiteral("3"), f.t.setup.initialPassword, quiet));
    ScriptedPrompt manager({false}, true);
    EXPECT_TRUE(BackupService(*f.s, manager).restore(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    EXPECT_EQ(f.province(), QStringLiteral("قبل"));
    // The restored database is its owner's only too.
    EXPECT_EQ(QFile::permissions(f.t.path(QStringLiteral("DATA/ORVAKSEPC0.db"))),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
}

TEST(Backup, OnlyTheInstallationsOwnDatabasesByName)
{
    struct Case {
        const char* name;
        std::optional<DatabaseKind> kind;
    };
    const Case cases[] = {
        {"ORVAK", DatabaseKind::Common},           {"orvak275", DatabaseKind::Common},
        {"ORVAKSEPC0", DatabaseKind::Deposits},    {"ORVAKSEP275J", DatabaseKind::Deposits},
        {"ORVAKSEP", DatabaseKind::Deposits},      {"ORVAKSEPC4", DatabaseKind::Deposits},
        {"ORVAKC275C0Y1403", DatabaseKind::Accounting},
        {"MASTER", std::nullopt},                  {"../x", std::nullopt},
        {"DATA/ORVAK", std::nullopt},              {"ORVAK274", std::nullopt},
        {"ORVAKSEP274C0", std::nullopt},           {"ORVAKSEPC9", std::nullopt},
        {"ORVAKC274C0Y1403", std::nullopt},        {"ORVAKC275C7Y1403", std::nullopt},
        {"ORVAK; DROP TABLE USERS", std::nullopt}, {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto found = installationDatabase(275, QString::fromUtf8(c.name));
        EXPECT_EQ(found.has_value(), c.kind.has_value()) << c.name;
        if (found && c.kind) {
            EXPECT_EQ(found->kind, *c.kind) << c.name;
        }
    }
}

TEST(Backup, RestoreOfANameNotOfThisInstallationTouchesNothing)
{
    BackupFixture f;
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(BackupService(*f.s, yes).backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    const QString data = f.t.path(QStringLiteral("DATA"));
    QFile masterFile(QDir(data).filePath(QStringLiteral("MASTER.db")));
    ASSERT_TRUE(masterFile.open(QIODevice::ReadOnly));
    const QByteArray master = masterFile.readAll();
    masterFile.close();
    const int rows = f.historyRows();
    for (const char* name : {"MASTER", "master", "../x", "ORVAK274", "ORVAKSEP274C0", "x' OR 1=1"}) {
        ScriptedPrompt p({}, true);
        EXPECT_FALSE(BackupService(*f.s, p).restore(QString::fromUtf8(name), f.folder, QStringLiteral("a.BAK"))) << name;
        EXPECT_TRUE(p.questions.isEmpty()) << name;
        EXPECT_EQ(p.infos.value(0), QStringLiteral("بانک اطلاعاتي %1 از بانک هاي اطلاعاتي اين سيستم نيست").arg(QString::fromUtf8(name)));
        ScriptedPrompt b({}, true);
        EXPECT_FALSE(BackupService(*f.s, b).backup(QString::fromUtf8(name), f.folder, QStringLiteral("b.BAK"))) << name;
    }
    ASSERT_TRUE(masterFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(masterFile.readAll(), master);
    EXPECT_EQ(QDir(data).entryList({QStringLiteral("*.db")}, QDir::Files),
              (QStringList{QStringLiteral("MASTER.db"), QStringLiteral("ORVAK.db"), QStringLiteral("ORVAKSEPC0.db")}));
    EXPECT_FALSE(QFile::exists(QDir(f.folder).filePath(QStringLiteral("b.BAK"))));
    EXPECT_EQ(f.historyRows(), rows);
    // The server still takes the login after all of it.
    f.s->CloseConnections();
    EXPECT_TRUE(f.t.reconnect()->isConnected());
}

TEST(Backup, TheBackupSaysWhatItHolds)
{
    BackupFixture f;
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(BackupService(*f.s, yes).backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    QString why;
    const auto list = f.s->server()->backupFileList(QDir(f.folder).filePath(QStringLiteral("a.BAK")), &why);
    ASSERT_TRUE(list && list->label) << why.toStdString();
    EXPECT_EQ(list->label->database, QStringLiteral("ORVAKSEPC0"));
    EXPECT_EQ(list->label->kind, QStringLiteral("deposits"));
    EXPECT_EQ(list->label->installation, 275);
    EXPECT_EQ(list->label->section, QStringLiteral("0"));
    EXPECT_EQ(list->label->version, VersionNumber);
    // The live database does not get the label.
    EXPECT_FALSE(f.s->dialect().tableExists(f.s->deposits(), QStringLiteral("ORVAK_BACKUP_LABEL")));
    const auto label = BackupLabel::fromText(list->label->toText());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->toText(), list->label->toText());
}

namespace {

// Makes a backup look like one of an older version, which carried no label.
void dropLabel(const QString& file)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old-backup"));
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(execSql(db, QStringLiteral("DROP TABLE ORVAK_BACKUP_LABEL")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("old-backup"));
}

} // namespace

TEST(Backup, ABackupOfAnotherKindOrInstallationIsRefused)
{
    BackupFixture f;
    ScriptedPrompt yes({}, true);
    BackupService service(*f.s, yes);
    ASSERT_TRUE(service.backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("deposits.BAK")));
    ASSERT_TRUE(service.backup(QStringLiteral("ORVAK"), f.folder, QStringLiteral("common.BAK")));
    ASSERT_TRUE(QFile::copy(QDir(f.folder).filePath(QStringLiteral("deposits.BAK")), QDir(f.folder).filePath(QStringLiteral("old-deposits.BAK"))));
    dropLabel(QDir(f.folder).filePath(QStringLiteral("old-deposits.BAK")));
    ASSERT_TRUE(QFile::copy(QDir(f.folder).filePath(QStringLiteral("common.BAK")), QDir(f.folder).filePath(QStringLiteral("old-common.BAK"))));
    dropLabel(QDir(f.folder).filePath(QStringLiteral("old-common.BAK")));
    // A section's backup of another installation (its label rewritten).
    const QString other = QDir(f.folder).filePath(QStringLiteral("other.BAK"));
    ASSERT_TRUE(QFile::copy(QDir(f.folder).filePath(QStringLiteral("deposits.BAK")), other));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other-backup"));
        db.setDatabaseName(other);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(execSql(db, QStringLiteral("UPDATE ORVAK_BACKUP_LABEL SET INSTALLATION = 301, DBNAME = 'ORVAKSEP301C0'")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other-backup"));
    const int users = scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM USERS"))->toInt();
    ASSERT_GT(users, 0);

    struct Case {
        const char* database;
        const char* file;
        bool restored;
        QStringList named;   // in the refusal
    };
    const QList<Case> cases{
        {"ORVAK", "deposits.BAK", false, {QStringLiteral("ORVAKSEPC0"), QStringLiteral("ORVAK ")}},
        {"ORVAKSEPC0", "common.BAK", false, {QStringLiteral("ORVAKSEPC0"), QStringLiteral("بانک اطلاعاتي مشترک")}},
        {"ORVAKSEPJ", "deposits.BAK", false, {QStringLiteral("ORVAKSEPC0"), QStringLiteral("ORVAKSEPJ")}},
        {"ORVAKSEPC0", "other.BAK", false, {QStringLiteral("شماره نصب 301"), QStringLiteral("شماره نصب 275")}},
        {"ORVAK", "old-deposits.BAK", false, {QStringLiteral("بانک اطلاعاتي سپرده ها"), QStringLiteral("ORVAK")}},
        {"ORVAKSEPC0", "old-common.BAK", false, {QStringLiteral("بانک اطلاعاتي مشترک"), QStringLiteral("ORVAKSEPC0")}},
        {"ORVAKSEPC0", "old-deposits.BAK", true, {}},
        {"ORVAKSEPC0", "deposits.BAK", true, {}},
    };
    for (const Case& c : cases) {
        ScriptedPrompt p(QList<bool>{false}, true);   // no safety copy
        const bool restored = BackupService(*f.s, p).restore(QString::fromUtf8(c.database), f.folder, QString::fromUtf8(c.file));
        EXPECT_EQ(restored, c.restored) << c.database << " " << c.file;
        if (!c.restored) {
            EXPECT_TRUE(p.questions.isEmpty()) << c.file;
            for (const QString& n : c.named)
                EXPECT_TRUE(p.infos.value(0).contains(n)) << c.file << ": " << p.infos.value(0).toStdString();
        }
    }
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM USERS"))->toInt(), users);
    EXPECT_EQ(f.province(), QStringLiteral("قبل"));
}

TEST(Backup, NeverWritesOverTheServersFilesOrAFileThatIsNoBackup)
{
    BackupFixture f;
    const QString data = f.t.path(QStringLiteral("DATA"));
    const QString ini = f.t.path(QStringLiteral("backup.INI"));
    QFile iniFile(ini);
    ASSERT_TRUE(iniFile.open(QIODevice::WriteOnly));
    iniFile.write("D:\\BK\n");
    iniFile.close();
    auto bytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QStringList targets{QDir(data).filePath(QStringLiteral("ORVAK.db")), QDir(data).filePath(QStringLiteral("MASTER.db")),
                              QDir(data).filePath(QStringLiteral("ORVAKSEPC0.db")), QDir(data).filePath(QStringLiteral("new.BAK")), ini};
    QList<QByteArray> before;
    for (const QString& t : targets)
        before << bytes(t);
    for (const QString& t : targets) {
        ScriptedPrompt yes({}, true);
        EXPECT_FALSE(BackupService(*f.s, yes).backup(QStringLiteral("ORVAKSEPC0"), QFileInfo(t).absolutePath(), QFileInfo(t).fileName()))
            << t.toStdString();
    }
    for (int i = 0; i < targets.size(); ++i)
        EXPECT_EQ(bytes(targets[i]), before[i]) << targets[i].toStdString();
    EXPECT_FALSE(QFile::exists(QDir(data).filePath(QStringLiteral("new.BAK"))));
    EXPECT_EQ(f.province(), QStringLiteral("قبل"));
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM USERS"))->toInt() > 0, true);
}

TEST(Backup, RestoreRefusedWhileAnotherProgramHasTheDatabaseOpen)
{
    BackupFixture f;
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(BackupService(*f.s, yes).backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    const QString file = QDir(f.t.path(QStringLiteral("DATA"))).filePath(QStringLiteral("ORVAKSEPC0.db"));
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("another-program"));
        other.setDatabaseName(file);
        ASSERT_TRUE(other.open());
        ASSERT_TRUE(execSql(other, QStringLiteral("PRAGMA journal_mode=WAL")));
        ASSERT_TRUE(execSql(other, QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'ديگري'")));
        // Folded in: an empty log says nothing of who still has the file open.
        ASSERT_TRUE(execSql(other, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
        ScriptedPrompt p(QList<bool>{false}, true);
        EXPECT_FALSE(BackupService(*f.s, p).restore(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
        EXPECT_TRUE(p.infos.contains(QStringLiteral("بانک اطلاعاتي ORVAKSEPC0 در برنامه ديگري باز است؛ ابتدا آن را ببنديد")))
            << p.infos.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(scalar(other, QStringLiteral("SELECT OSTANNAME FROM GENERAL_INFO"))->toString(), QStringLiteral("ديگري"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("another-program"));
    EXPECT_EQ(f.province(), QStringLiteral("ديگري"));
    ScriptedPrompt p(QList<bool>{false}, true);
    EXPECT_TRUE(BackupService(*f.s, p).restore(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    EXPECT_EQ(f.province(), QStringLiteral("قبل"));
    // Nothing of the swap is left behind.
    EXPECT_EQ(QDir(f.t.path(QStringLiteral("DATA"))).entryList({QStringLiteral("ORVAKSEPC0.db.*")}, QDir::Files), QStringList());
}

TEST(Backup, ARestoreCutShortIsFinishedOrUndoneAtTheNextStart)
{
    // The files each moment of a swap leaves, and what the next start makes of them.
    struct Case {
        const char* state;
        QStringList files;   // suffix of ORVAKSEPC0=content
        QByteArray database; // ORVAKSEPC0.db afterwards
    };
    const QList<Case> cases{
        {"copy under way", {".db=old", ".db.restore=ne"}, "old"},
        {"copy complete, marked", {".db=old", ".db.restore=new", ".db.swap=x"}, "new"},
        {"marked, but the old file was opened since", {".db=old", ".db-wal=w", ".db.restore=new", ".db.swap=x"}, "old"},
        {"swapped, marker left", {".db=new", ".db.swap=x"}, "new"},
        {"new database, marked", {".db.restore=new", ".db.swap=x"}, "new"},
        {"old file set aside by an older version", {".db.previous=old", ".db.restore=new"}, "old"},
        {"older version swapped, copy left", {".db=new", ".db.previous=old"}, "new"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        for (const QString& entry : c.files) {
            QFile file(dir.filePath(QStringLiteral("ORVAKSEPC0") + entry.section(QLatin1Char('='), 0, 0)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(entry.section(QLatin1Char('='), 1).toUtf8());
        }
        QFile part(dir.filePath(QStringLiteral("x.BAK.part")));
        ASSERT_TRUE(part.open(QIODevice::WriteOnly));
        part.close();
        { LocalServer server(dir.path(), QStringLiteral("LOCAL:DATA"), QStringLiteral("orvak"), QStringLiteral("p")); }
        QFile db(dir.filePath(QStringLiteral("ORVAKSEPC0.db")));
        ASSERT_TRUE(db.open(QIODevice::ReadOnly)) << c.state;
        EXPECT_EQ(db.readAll(), c.database) << c.state;
        QStringList left = QDir(dir.path()).entryList(QDir::Files);
        left.removeAll(QStringLiteral("ORVAKSEPC0.db"));
        left.removeAll(QStringLiteral("ORVAKSEPC0.db-wal"));
        EXPECT_EQ(left, QStringList()) << c.state;
    }
}

namespace {

QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.part"), QStringLiteral("*.raw"), QStringLiteral("*.unpacked")}, QDir::Files);
}

bool archiveToolAccepts(const QString& archive)
{
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty())
        return true;   // checked by reading it back below
    QProcess p;
    p.start(unzip, {QStringLiteral("-t"), archive});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

TEST(Backup, ACompressedBackupIsAZipThatRestores)
{
    BackupFixture f;
    ScriptedPrompt yes({}, true);
    BackupService service(*f.s, yes);
    ASSERT_TRUE(service.backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK"), true)) << yes.text().toStdString();
    const QString archive = QDir(f.folder).filePath(QStringLiteral("a.BAK.zip"));
    EXPECT_TRUE(orvak::io::isZipArchive(archive));
    EXPECT_TRUE(archiveToolAccepts(archive));
    EXPECT_EQ(QFile::permissions(archive) & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
    EXPECT_FALSE(QFile::exists(QDir(f.folder).filePath(QStringLiteral("a.BAK"))));
    // A name that says zip is compressed without being asked.
    ASSERT_TRUE(service.backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("b.zip")));
    EXPECT_TRUE(orvak::io::isZipArchive(QDir(f.folder).filePath(QStringLiteral("b.zip"))));
    EXPECT_EQ(leftovers(f.folder), QStringList());

    ASSERT_TRUE(execSql(f.s->deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'بعد'")));
    ScriptedPrompt noSafety({false}, true);
    ASSERT_TRUE(BackupService(*f.s, noSafety).restore(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK.zip")))
        << noSafety.text().toStdString();
    EXPECT_EQ(f.province(), QStringLiteral("قبل"));
    EXPECT_EQ(leftovers(f.folder), QStringList());
    const auto history = backupHistory(*f.s);
    ASSERT_TRUE(history);
    EXPECT_EQ(history->value(0).fileName, QStringLiteral("a.BAK.zip"));
    EXPECT_EQ(history->value(1).fileName, QStringLiteral("b.zip"));
    EXPECT_EQ(history->value(2).kind, 1);
}

TEST(Backup, ADamagedOrForeignArchiveIsRefusedAndChangesNothing)
{
    BackupFixture f;
    ScriptedPrompt yes({}, true);
    BackupService service(*f.s, yes);
    ASSERT_TRUE(service.backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("good.BAK.zip")));
    ASSERT_TRUE(service.backup(QStringLiteral("ORVAK"), f.folder, QStringLiteral("common.BAK.zip")));
    const QByteArray archive = fileBytes(QDir(f.folder).filePath(QStringLiteral("good.BAK.zip")));
    ASSERT_FALSE(archive.isEmpty());
    QByteArray flipped = archive;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x55);
    ASSERT_TRUE(writeBytes(QDir(f.folder).filePath(QStringLiteral("cut.zip")), archive.left(archive.size() / 2)));
    ASSERT_TRUE(writeBytes(QDir(f.folder).filePath(QStringLiteral("flipped.zip")), flipped));
    ASSERT_TRUE(writeBytes(QDir(f.folder).filePath(QStringLiteral("letter.txt")), "not a backup"));
    QString why;
    ASSERT_TRUE(orvak::io::zipOneFile(QDir(f.folder).filePath(QStringLiteral("letter.txt")), QStringLiteral("letter.txt"),
                                      QDir(f.folder).filePath(QStringLiteral("letter.zip")), &why));
    ASSERT_TRUE(execSql(f.s->deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'امروز'")));
    const int rows = f.historyRows();

    struct Case {
        const char* file;
        QString message;
    };
    const QList<Case> cases{
        {"cut.zip", QStringLiteral("فايل فشرده پشتيبان خراب است و بازخواني نمي شود")},
        {"flipped.zip", QStringLiteral("فايل فشرده پشتيبان خراب است و بازخواني نمي شود")},
        {"letter.zip", QStringLiteral("نسخه پشتيبان اين سيستم را در بر ندارد")},
        {"common.BAK.zip", QStringLiteral("بانک اطلاعاتي مشترک")},
    };
    for (const Case& c : cases) {
        ScriptedPrompt p({}, true);
        EXPECT_FALSE(BackupService(*f.s, p).restore(QStringLiteral("ORVAKSEPC0"), f.folder, QString::fromUtf8(c.file))) << c.file;
        EXPECT_TRUE(p.questions.isEmpty()) << c.file;
        EXPECT_TRUE(p.infos.value(0).contains(c.message)) << c.file << ": " << p.infos.value(0).toStdString();
    }
    EXPECT_EQ(f.province(), QStringLiteral("امروز"));
    EXPECT_EQ(f.historyRows(), rows);
    EXPECT_EQ(leftovers(f.folder), QStringList());
}

TEST(Backup, EverySectionOfAYearInOneGoEachReported)
{
    struct Case {
        bool compress;
        bool blockDeposits;   // a file that is no backup where the deposits backup goes
    };
    for (const Case& c : {Case{true, false}, Case{false, true}}) {
        BackupFixture f;
        ScriptedPrompt yes({}, true);
        ASSERT_TRUE(orvak::startup::createAccountingDatabase(*f.s, 1403, QStringLiteral("0"), yes));
        const auto name = [&](const QString& db) {
            const QString n = proposedBackupName(db, f.s->clock());
            return c.compress ? compressedBackupName(n) : n;
        };
        const QString blocked = QDir(f.folder).filePath(name(QStringLiteral("ORVAKSEPC0")));
        if (c.blockDeposits) {
            ASSERT_TRUE(writeBytes(blocked, "the office's letter"));
        }
        const int rows = f.historyRows();
        ScriptedPrompt p({}, true);
        const QList<SectionBackup> report = BackupService(*f.s, p).backupYearInAllSections(1403, f.folder, c.compress);
        EXPECT_EQ(p.questions.size(), 1);   // the folder, once
        ASSERT_FALSE(report.isEmpty()) << p.text().toStdString();
        QHash<QString, SectionBackup::Outcome> outcomes;
        for (const SectionBackup& line : report)
            outcomes.insert(line.database, line.outcome);
        EXPECT_EQ(outcomes.value(QStringLiteral("ORVAK")), SectionBackup::Outcome::Made);
        EXPECT_EQ(outcomes.value(QStringLiteral("ORVAKC275C0Y1403")), SectionBackup::Outcome::Made);
        EXPECT_EQ(outcomes.value(QStringLiteral("ORVAKSEPC0")), c.blockDeposits ? SectionBackup::Outcome::Failed : SectionBackup::Outcome::Made);
        EXPECT_EQ(outcomes.value(QStringLiteral("ORVAKC275C1Y1403")), SectionBackup::Outcome::Missing);
        EXPECT_EQ(report.size(), 9);   // the common database, then each section's two
        EXPECT_EQ(wentWell(report), !c.blockDeposits);
        for (const SectionBackup& line : report) {
            if (line.outcome == SectionBackup::Outcome::Made) {
                const QString file = QDir(f.folder).filePath(line.fileName);
                EXPECT_EQ(orvak::io::isZipArchive(file), c.compress) << line.fileName.toStdString();
                if (c.compress) {
                    EXPECT_TRUE(archiveToolAccepts(file)) << line.fileName.toStdString();
                }
            }
            EXPECT_TRUE(line.text().startsWith(line.place)) << line.text().toStdString();
        }
        if (c.blockDeposits) {
            const auto failed = std::find_if(report.begin(), report.end(), [](const SectionBackup& l) {
                return l.outcome == SectionBackup::Outcome::Failed;
            });
            ASSERT_NE(failed, report.end());
            EXPECT_TRUE(failed->text().contains(QStringLiteral("نسخه پشتيبان تهيه نشد"))) << failed->text().toStdString();
            EXPECT_EQ(fileBytes(blocked), QByteArray("the office's letter"));
        }
        EXPECT_EQ(f.historyRows(), rows + (c.blockDeposits ? 2 : 3));
        EXPECT_EQ(leftovers(f.folder), QStringList());
    }
}

TEST(Backup, CompressAndCopyTakesOnlyABackup)
{
    BackupFixture f;
    ScriptedPrompt yes({}, true);
    BackupService service(*f.s, yes);
    ASSERT_TRUE(service.backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    const QString disk = f.t.path(QStringLiteral("disk"));
    QDir().mkpath(disk);
    ASSERT_TRUE(service.compressAndCopy(f.folder, QStringLiteral("a.BAK"), disk)) << yes.text().toStdString();
    EXPECT_TRUE(archiveToolAccepts(QDir(disk).filePath(QStringLiteral("a.BAK.zip"))));
    // Copied on as it is once compressed; and it restores.
    const QString second = f.t.path(QStringLiteral("disk2"));
    QDir().mkpath(second);
    ASSERT_TRUE(service.compressAndCopy(disk, QStringLiteral("a.BAK.zip"), second));
    ASSERT_TRUE(execSql(f.s->deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'بعد'")));
    ScriptedPrompt noSafety({false}, true);
    ASSERT_TRUE(BackupService(*f.s, noSafety).restore(QStringLiteral("ORVAKSEPC0"), second, QStringLiteral("a.BAK.zip")));
    EXPECT_EQ(f.province(), QStringLiteral("قبل"));

    ASSERT_TRUE(writeBytes(QDir(f.folder).filePath(QStringLiteral("letter.txt")), "not a backup"));
    ScriptedPrompt p({}, true);
    EXPECT_FALSE(BackupService(*f.s, p).compressAndCopy(f.folder, QStringLiteral("letter.txt"), disk));
    EXPECT_FALSE(QFile::exists(QDir(disk).filePath(QStringLiteral("letter.txt.zip"))));
    // Nor does an archive take the place of a file that is none.
    ASSERT_TRUE(QFile::copy(QDir(f.folder).filePath(QStringLiteral("letter.txt")), QDir(f.folder).filePath(QStringLiteral("c.zip"))));
    EXPECT_FALSE(BackupService(*f.s, p).backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("c.zip")));
    ASSERT_TRUE(QFile::copy(QDir(f.folder).filePath(QStringLiteral("letter.txt")), QDir(disk).filePath(QStringLiteral("d.BAK.zip"))));
    ASSERT_TRUE(QFile::copy(QDir(f.folder).filePath(QStringLiteral("a.BAK")), QDir(f.folder).filePath(QStringLiteral("d.BAK"))));
    EXPECT_FALSE(BackupService(*f.s, p).compressAndCopy(f.folder, QStringLiteral("d.BAK"), disk));
    for (const QString& file : {QDir(f.folder).filePath(QStringLiteral("c.zip")), QDir(disk).filePath(QStringLiteral("d.BAK.zip"))})
        EXPECT_EQ(fileBytes(file), QByteArray("not a backup")) << file.toStdString();
    EXPECT_EQ(leftovers(disk), QStringList());
    EXPECT_EQ(leftovers(f.folder), QStringList());
}

TEST(Backup, NumberAndServerPath)
{
    const QList<BackupHistoryRow> history{
        {1, 3, {}, {}, 0, {}, {}, QStringLiteral("ORVAKSEPC0")},
        {2, 3, {}, {}, 1, {}, {}, QStringLiteral("ORVAKSEPC0")},   // a restore
        {3, 3, {}, {}, 0, {}, {}, QStringLiteral("orvaksepc0")},
        {4, 3, {}, {}, 0, {}, {}, QStringLiteral("ORVAK")},
    };
    EXPECT_EQ(nextBackupNumber(history, QStringLiteral("ORVAKSEPC0")), 3);
    EXPECT_EQ(nextBackupNumber(history, QStringLiteral("ORVAK")), 2);
    EXPECT_EQ(nextBackupNumber({}, QStringLiteral("ORVAK")), 1);

    const QString host = QSysInfo::machineHostName();
    struct Case {
        const char* server;
        const char* folder;
        QString path;
    };
    const QList<Case> cases{
        {"SRV1", "D:\\BK", QStringLiteral("\\\\SRV1\\D$\\BK")},
        {"SRV1\\SQLEXPRESS", "D:/BK/", QStringLiteral("\\\\SRV1\\D$\\BK\\")},
        {"SRV1", "\\\\NAS\\BK", QStringLiteral("\\\\NAS\\BK")},
        {".", "BK", QStringLiteral("\\\\") + host + QStringLiteral("\\BK")},
        {"LOCAL:DATA", "E:\\", QStringLiteral("\\\\") + host + QStringLiteral("\\E$\\")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withServerName(QString::fromUtf8(c.server), QString::fromUtf8(c.folder)), c.path) << c.server << " " << c.folder;
}
