#include "core/db/Db.h"
#include "core/io/ZipArchive.h"
#include "core/startup/Login.h"
#include "core/startup/ServerSetup.h"
#include "core/startup/Users.h"
#include "ui/startup/TBakup1.h"
#include "ui/startup/TFCONNECTION.h"
#include "ui/startup/TORVAK_V_USERS.h"
#include "support/AutoAnswer.h"
#include "support/TempInstallation.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::startup;
using namespace orvak::ui::startup;
using orvak::test::AutoAnswer;
using orvak::test::TempInstallation;

namespace {

QAction* action(QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

QString province(Session& session)
{
    return db::scalar(session.deposits(), QStringLiteral("SELECT OSTANNAME FROM GENERAL_INFO"))->toString();
}

} // namespace

TEST(BackupScreen, CompressedBackupAllSectionsAndRestoreFromTheArchive)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(session.OpenSection(1403, QStringLiteral("0"), yes));
    ASSERT_TRUE(createAccountingDatabase(session, 1403, QStringLiteral("0"), yes));
    ASSERT_TRUE(db::execSql(session.deposits(), QStringLiteral("INSERT INTO GENERAL_INFO (CODE, OSTANNAME) VALUES (1, 'قبل')")));

    TBakup1 screen(session);
    screen.show();
    for (const char* item : {"انتخاب  مسير و نام فايل", "تعيين نام پيشنهادي با توجه به تاريخ و نام برنامه",
                             "پشتيبان از اطلاعات سال مالي فوق در همه بخش ها", "اضافه نمودن نام سرور"})
        EXPECT_NE(action(screen.moreMenu(), QString::fromUtf8(item)), nullptr) << item;
    ASSERT_EQ(screen.periods()->count(), 1);
    EXPECT_EQ(screen.periods()->currentItem()->text(), QStringLiteral("1403"));

    const QString folder = t.path(QStringLiteral("BK"));
    screen.folder()->setText(QDir::toNativeSeparators(folder));
    screen.database()->setCurrentText(QStringLiteral("ORVAKSEPC0"));
    screen.compressed()->setChecked(true);
    screen.proposeName();
    const QString archive = screen.fileName()->text();
    EXPECT_TRUE(archive.endsWith(QStringLiteral(".BAK.zip"))) << archive.toStdString();
    {
        AutoAnswer answers;
        ASSERT_TRUE(screen.backup()) << answers.texts.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_TRUE(io::isZipArchive(QDir(folder).filePath(archive)));
    EXPECT_EQ(screen.backupNumber()->text(), QStringLiteral("2"));
    screen.database()->setCurrentText(QStringLiteral("ORVAK"));
    EXPECT_EQ(screen.backupNumber()->text(), QStringLiteral("1"));   // counted per database

    {
        AutoAnswer answers;
        action(screen.moreMenu(), QStringLiteral("پشتيبان از اطلاعات سال مالي فوق در همه بخش ها"))->trigger();
        ASSERT_EQ(answers.texts.size(), 2) << answers.texts.join(QLatin1Char('\n')).toStdString();   // the folder, the report
        EXPECT_TRUE(answers.texts[1].contains(QStringLiteral("ORVAKC275C0Y1403: نسخه پشتيبان تهيه گرديد")))
            << answers.texts[1].toStdString();
    }
    EXPECT_EQ(screen.status(), QStringLiteral("نسخه پشتيبان تهيه گرديد"));
    EXPECT_EQ(screen.backupNumber()->text(), QStringLiteral("2"));

    ASSERT_TRUE(db::execSql(session.deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'بعد'")));
    screen.database()->setCurrentText(QStringLiteral("ORVAKSEPC0"));
    screen.fileName()->setText(archive);
    {
        AutoAnswer answers(QStringLiteral("خير"));   // no safety copy, and no to the path
        EXPECT_FALSE(screen.restore());
    }
    EXPECT_EQ(province(session), QStringLiteral("بعد"));
    {
        AutoAnswer answers;
        ASSERT_TRUE(screen.restore()) << answers.texts.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(answers.texts.last(), QStringLiteral("فايل پشتيبان بازخواني گرديد"));
    }
    EXPECT_EQ(province(session), QStringLiteral("قبل"));
}

TEST(ConnectionScreen, EnterInTheDataFolderAndTheGuardedCommands)
{
    TempInstallation t;
    t.create();
    Session& session = *t.session;
    TFCONNECTION screen(session);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    screen.setSqlServer(QStringLiteral("SRV1"));
    screen.dataFolder()->setFocus();
    QTest::keyClick(screen.dataFolder(), Qt::Key_Return);
    QMenu* choices = screen.dataFolderChoices();
    EXPECT_TRUE(choices->isVisible());
    QStringList texts;
    for (QAction* a : choices->actions())
        texts << a->text();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("پيش فرض ORVAK\\DATA"), QStringLiteral("پيش فرض SQL SERVER"), QStringLiteral("نمايش مسير ها")}));
    choices->hide();

    // A user without the restore entry's special right is refused before the screen opens.
    ScriptedPrompt quiet;
    ProgramUser clerk;
    clerk.code = 7;
    clerk.password = QStringLiteral("p");
    ASSERT_TRUE(saveProgramUser(session, clerk, true, quiet)) << quiet.infos.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(db::execSql(session.common(), QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1, ACCESSKIND2, "
                                                             "ACCESSKIND3, ACCESSKIND4, ACCESSKIND5, ACCESSKIND6) VALUES (7, 3, %1, 0, 1, 1, 1, 1, 0)")
                                                  .arg(RestoreMenuId)));
    ASSERT_TRUE(db::execSql(session.common(), QStringLiteral("INSERT INTO ACCESSCONTROL (UserId, PROGID, MENUID, ACCESSKIND1, ACCESSKIND2, "
                                                             "ACCESSKIND3, ACCESSKIND4, ACCESSKIND5, ACCESSKIND6) VALUES (7, 3, %1, 1, 0, 0, 0, 0, 0)")
                                                  .arg(UsersMenuId)));
    ASSERT_TRUE(logInAs(session, QStringLiteral("7"), QStringLiteral("p"), quiet));
    TFCONNECTION confirmed(session);   // opened on a connected session
    {
        AutoAnswer answers;
        EXPECT_EQ(confirmed.openBackup(true), nullptr);
        EXPECT_EQ(confirmed.openFamilyUsers(), nullptr);
        EXPECT_EQ(answers.texts.size(), 2) << answers.texts.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_NE(confirmed.openBackup(false), nullptr);   // the backup entry is not refused to him

    ASSERT_TRUE(logInAs(session, QStringLiteral("3"), t.setup.initialPassword, quiet));
    QWidget* family = confirmed.openFamilyUsers();
    EXPECT_NE(qobject_cast<TORVAK_V_USERS*>(family), nullptr);
    QDialog* backup = confirmed.openBackup(true);
    ASSERT_NE(backup, nullptr);
    delete family;
    delete backup;
    // The default folder is made anew when it is missing (last: the session's
    // databases go with the old folder).
    session.CloseConnections();
    QDir(t.path(QStringLiteral("DATA"))).removeRecursively();
    screen.dataFolder()->clear();
    choices->actions()[0]->trigger();
    EXPECT_TRUE(QDir(t.path(QStringLiteral("DATA"))).exists());
    EXPECT_TRUE(QDir::fromNativeSeparators(screen.dataFolder()->text()).startsWith(t.path(QStringLiteral("DATA"))));
}
