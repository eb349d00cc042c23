#include "core/startup/Backup.h"
#include "core/startup/Login.h"
#include "core/startup/Rights.h"
#include "core/startup/Users.h"
#include "core/startup/Versions.h"
#include "core/db/Db.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"
#include "support/ScriptedPrompt.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace orvak::startup;
using namespace orvak::db;
using orvak::test::TempInstallation;

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
