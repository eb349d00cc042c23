#include "core/startup/Backup.h"
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

TEST(Backup, RefusedWithoutTheRight)
{
    BackupFixture f;
    ASSERT_TRUE(execSql(f.s->common(), QStringLiteral("INSERT INTO ACCESSLIST (PROGID, MENUID, MENUORDER, ACCESSNAME) VALUES (3, 21, 21, 'b')")));
    ASSERT_TRUE(execSql(f.s->common(), QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1) VALUES (3, 3, 21, 1)")));
    f.s->setCurrentUserCode(3);
    ScriptedPrompt yes({}, true);
    EXPECT_FALSE(BackupService(*f.s, yes).backup(QStringLiteral("ORVAKSEPC0"), f.folder, QStringLiteral("a.BAK")));
    EXPECT_TRUE(yes.questions.isEmpty());
    EXPECT_FALSE(QFile::exists(QDir(f.folder).filePath(QStringLiteral("a.BAK"))));
}
