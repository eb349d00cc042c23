#include "ui/framework/ScreenRegistry.h"
#include "core/db/Db.h"
#include "core/startup/Login.h"
#include "core/startup/ServerSetup.h"
#include "core/startup/Users.h"
#include "ui/startup/TBakup1.h"
#include "ui/startup/TFInit.h"
#include "ui/startup/TMainForm.h"
#include "ui/startup/TV_USERS.h"
#include "support/AutoAnswer.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"
#include "core/util/Jalali.h"
#include "support/ScriptedPrompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::startup;
using namespace orvak::ui::startup;
using namespace orvak::db;
using orvak::test::TempInstallation;

using orvak::test::AutoAnswer;

TEST(LoginScreens, LoginFlowReturnsToTheFormAfterTheMainWindow)
{
    TempInstallation t;
    t.create();
    Session session(t.path(), t.site);
    TFInit form(session);
    bool mainShown = false;
    form.runMainWindow = [&] {
        mainShown = true;
        EXPECT_TRUE(session.LoggedIn());
        EXPECT_EQ(session.currentUserCode(), 3);
        EXPECT_FALSE(form.isVisible());
    };
    form.show();
    form.userCode()->setEditText(QStringLiteral("3"));
    form.password()->setText(QStringLiteral("wrong"));
    {
        AutoAnswer answers;
        EXPECT_FALSE(form.doLogin());
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("كلمه رمز اشتباه است.")));
    }
    EXPECT_FALSE(mainShown);
    EXPECT_TRUE(form.loginButton()->isEnabled());

    form.password()->setText(t.setup.initialPassword);
    form.savePassword()->setChecked(true);
    EXPECT_TRUE(form.doLogin());
    EXPECT_TRUE(mainShown);
    EXPECT_FALSE(session.LoggedIn());       // back on the login form
    EXPECT_TRUE(form.password()->text().isEmpty());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(readSavedLogin(t.path()).password, t.setup.initialPassword);
}

TEST(LoginScreens, GuardedMenuCommandIsRefused)
{
    TempInstallation t;
    t.create();
    Session session(t.path(), t.site);
    ScriptedPrompt quiet({}, true);
    ASSERT_EQ(session.ReadConnectionFile(), ConnectionFileState::Ready);
    ASSERT_TRUE(session.ConnectServer(quiet));
    ProgramUser clerk;
    clerk.code = 7;
    clerk.password = QStringLiteral("p");
    ASSERT_TRUE(saveProgramUser(session, clerk, true, quiet));
    QList<Right> rights = bulkRights(userRights(session, 7), BulkRights::GrantAll);
    rights[0].kinds[0] = 1;   // entry 1: no access to the users and rights screen
    ASSERT_TRUE(saveRights(session, 7, rights, quiet));
    ASSERT_EQ(login(session, QStringLiteral("7"), QStringLiteral("p"), false, quiet).outcome, LoginOutcome::LoggedIn);

    TMainForm main(session);
    {
        AutoAnswer answers;
        ASSERT_TRUE(main.trigger(QStringLiteral("معرفي کاربران اين نرم افزار و تعيين سطوح دسترسي")));
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(answers.texts[0], QStringLiteral("امنيت عبور كاربران: انتخاب مورد نظر براي شما در نظر گرفته نشده است"));
    }
    EXPECT_TRUE(ui::framework::screenSlot(QStringLiteral("V_USERS")).isNull());

    // Granted again, the same command opens the screen: rights are read at each check.
    rights[0].kinds[0] = 0;
    ASSERT_TRUE(saveRights(session, 7, rights, quiet));
    ASSERT_TRUE(main.trigger(QStringLiteral("معرفي کاربران اين نرم افزار و تعيين سطوح دسترسي")));
    EXPECT_FALSE(ui::framework::screenSlot(QStringLiteral("V_USERS")).isNull());
    ui::framework::closeAllScreens();

    // The section opens on the main window's start and the status bar says so.
    {
        AutoAnswer answers;   // creates the deposits database
        main.start();
    }
    EXPECT_EQ(main.statusText(2), QStringLiteral(" بخش مالي بخض عمومي"));
    EXPECT_TRUE(main.statusText(0).contains(QStringLiteral("كاربر")));
    {
        AutoAnswer answers;
        EXPECT_FALSE(main.chooseYear(1390));   // no accounting database: nothing changes
    }
    EXPECT_EQ(session.CurrentYear(), orvak::util::CurrentJalaliYear());
}

TEST(LoginScreens, TitleScroller)
{
    const QString text = QStringLiteral("اورواک : سپرده ها و تضمينات ذيحسابي طرحهاي عمراني");
    EXPECT_EQ(scrolledTitle(text, 0), text.left(5));
    EXPECT_EQ(scrolledTitle(text, 10), text.left(5));
    EXPECT_EQ(scrolledTitle(text, 11), text.mid(1, 12));
    EXPECT_EQ(nextScrollStep(text, 3), 4);
    EXPECT_EQ(nextScrollStep(text, int(text.size()) - 1), 1);   // restarts at position 1
}

TEST(LoginScreens, BackupAndRestoreRoundTripOnTheScreen)
{
    TempInstallation t;
    t.create();
    Session session(t.path(), t.site);
    ScriptedPrompt yes({}, true);
    ASSERT_EQ(session.ReadConnectionFile(), ConnectionFileState::Ready);
    ASSERT_TRUE(session.ConnectServer(yes));
    ASSERT_TRUE(session.OpenSection(1403, QStringLiteral("0"), yes));
    ASSERT_TRUE(execSql(session.deposits(), QStringLiteral("INSERT INTO GENERAL_INFO (CODE, OSTANNAME) VALUES (1, 'پيش از پشتيبان')")));

    TBakup1 screen(session);
    screen.show();
    screen.folder()->setText(QDir::toNativeSeparators(t.path(QStringLiteral("BK"))));
    screen.fileName()->setText(QStringLiteral("sep.BAK"));
    screen.database()->setCurrentText(QStringLiteral("ORVAKSEPC0"));
    {
        AutoAnswer answers;
        ASSERT_TRUE(screen.backup());
        EXPECT_EQ(answers.texts.size(), 1);   // is the path right?
    }
    EXPECT_EQ(screen.status(), QStringLiteral("نسخه پشتيبان تهيه گرديد"));
    ASSERT_TRUE(execSql(session.deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'پس از پشتيبان'")));
    {
        AutoAnswer answers;
        ASSERT_TRUE(screen.restore());
        ASSERT_GE(answers.texts.size(), 5);   // safety copy, path, two warnings, ..., done
        EXPECT_TRUE(answers.texts[0].startsWith(QStringLiteral("(*.TmpBkUp)")));
        EXPECT_TRUE(answers.texts[2].contains(QStringLiteral("هشدار")));
        EXPECT_TRUE(answers.texts[3].contains(QStringLiteral("هشدار مجدد")));
        EXPECT_EQ(answers.texts.last(), QStringLiteral("فايل پشتيبان بازخواني گرديد"));
    }
    EXPECT_EQ(scalar(session.deposits(), QStringLiteral("SELECT OSTANNAME FROM GENERAL_INFO"))->toString(), QStringLiteral("پيش از پشتيبان"));
    EXPECT_EQ(scalar(session.common(), QStringLiteral("SELECT COUNT(*) FROM HISTORY_RESBACK"))->toInt(), 3);
}

TEST(LoginScreens, RestoreScreenUsesTheDataFolderItShows)
{
    TempInstallation t;
    t.create();
    Session session(t.path(), t.site);
    ScriptedPrompt yes({}, true);
    ASSERT_EQ(session.ReadConnectionFile(), ConnectionFileState::Ready);
    ASSERT_TRUE(session.ConnectServer(yes));
    ASSERT_TRUE(session.OpenSection(1403, QStringLiteral("0"), yes));
    ASSERT_TRUE(createAccountingDatabase(session, 1403, QStringLiteral("0"), yes));
    ASSERT_TRUE(execSql(session.deposits(), QStringLiteral("INSERT INTO GENERAL_INFO (CODE, OSTANNAME) VALUES (1, 'پيش از پشتيبان')")));

    TBakup1 screen(session);
    screen.show();
    EXPECT_EQ(QDir::fromNativeSeparators(screen.dataFolder()->text()), session.server()->defaultDataFolder());
    ASSERT_EQ(screen.periods()->count(), 1);
    EXPECT_EQ(screen.periods()->item(0)->text(), QStringLiteral("1403"));
    EXPECT_EQ(screen.backupNumber()->text(), QStringLiteral("1"));
    const QList<QPushButton*> buttons = screen.findChildren<QPushButton*>();
    EXPECT_TRUE(std::any_of(buttons.begin(), buttons.end(), [](QPushButton* b) { return b->text() == QStringLiteral("تغيير مسير"); }));

    screen.folder()->setText(QDir::toNativeSeparators(t.path(QStringLiteral("BK"))));
    screen.fileName()->setText(QStringLiteral("sep.BAK"));
    screen.database()->setCurrentText(QStringLiteral("ORVAKSEPC0"));
    {
        AutoAnswer answers;
        ASSERT_TRUE(screen.backup());
    }
    EXPECT_EQ(screen.backupNumber()->text(), QStringLiteral("2"));
    ASSERT_TRUE(execSql(session.deposits(), QStringLiteral("UPDATE GENERAL_INFO SET OSTANNAME = 'پس از پشتيبان'")));
    QDir().mkpath(t.path(QStringLiteral("elsewhere")));
    screen.dataFolder()->setText(QDir::toNativeSeparators(t.path(QStringLiteral("elsewhere"))));
    {
        AutoAnswer answers;
        EXPECT_FALSE(screen.restore());
        EXPECT_TRUE(std::any_of(answers.texts.begin(), answers.texts.end(),
                                [](const QString& text) { return text.startsWith(QStringLiteral("مسير فايلهاي اطلاعاتي")); }))
            << answers.texts.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_EQ(scalar(session.deposits(), QStringLiteral("SELECT OSTANNAME FROM GENERAL_INFO"))->toString(), QStringLiteral("پس از پشتيبان"));
    EXPECT_TRUE(QDir(t.path(QStringLiteral("elsewhere"))).isEmpty());
}
