#include "ui/framework/ScreenRegistry.h"
#include "core/db/Db.h"
#include "core/startup/Login.h"
#include "core/startup/ServerSetup.h"
#include "core/startup/Users.h"
#include "ui/startup/TBakup1.h"
#include "ui/startup/TFInit.h"
#include "ui/startup/TGT_PASS.h"
#include "core/startup/LoginThrottle.h"
#include "core/startup/Rights.h"
#include "ui/startup/TMainForm.h"
#include "ui/startup/TV_USERS.h"
#include "support/AutoAnswer.h"
#include "support/ScriptedUser.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"
#include "core/util/Jalali.h"
#include "support/ScriptedPrompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace orvak;
using namespace orvak::startup;
using namespace orvak::ui::startup;
using namespace orvak::db;
using orvak::test::TempInstallation;

using orvak::test::AutoAnswer;
using orvak::test::closeModal;
using orvak::test::Script;

TEST(LoginScreens, LoginFlowReturnsToTheFormAfterTheMainWindow)
{
    TempInstallation t;
    t.create();
    Session session(t.path(), t.site);
    TFInit form(session);
    form.show();
    form.userCode()->setEditText(QStringLiteral("3"));
    form.password()->setText(QStringLiteral("wrong"));
    {
        AutoAnswer answers;
        EXPECT_FALSE(form.doLogin());
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("كلمه رمز اشتباه است.")));
    }
    EXPECT_FALSE(ui::framework::screenSlot(QStringLiteral("MainForm")));
    EXPECT_TRUE(form.loginButton()->isEnabled());

    // The program's own main window comes up; closing it is the way back.
    form.password()->setText(t.setup.initialPassword);
    form.savePassword()->setChecked(true);
    bool mainShown = false;
    {
        AutoAnswer answers;   // the section's first opening, the exit question
        auto main = [] { return qobject_cast<TMainForm*>(ui::framework::screenSlot(QStringLiteral("MainForm")).data()); };
        Script user({{[&] { return main() && main()->isVisible() && main()->isStarted() && !QApplication::activeModalWidget(); },
                      [&] {
                          mainShown = true;
                          EXPECT_TRUE(session.LoggedIn());
                          EXPECT_EQ(session.currentUserCode(), 3);
                          EXPECT_FALSE(form.isVisible());
                          QTest::keyClick(main(), Qt::Key_Escape);
                      }}},
                    closeModal);
        EXPECT_TRUE(form.doLogin());
    }
    EXPECT_TRUE(mainShown);
    EXPECT_FALSE(ui::framework::screenSlot(QStringLiteral("MainForm"))->isVisible());
    EXPECT_FALSE(session.LoggedIn());       // back on the login form
    EXPECT_TRUE(form.password()->text().isEmpty());
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.ended());
    EXPECT_EQ(readSavedLogin(t.path()).scrambledPassword, scrambledPassword(t.setup.initialPassword, 3, t.site.installationNumber));
    ui::framework::closeAllScreens();
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

    // Granted again (by the administrator, elsewhere), the same command opens the
    // screen: rights are read at each check.
    rights[0].kinds[0] = 0;
    ASSERT_TRUE(saveRights(*t.reconnect(), 7, rights, quiet));
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

namespace {
// An installation whose deposits database of section 0 is open, its office row
// written, for the backup screen.
void openForBackup(TempInstallation& t, Session& session)
{
    t.create();
    ScriptedPrompt yes({}, true);
    ASSERT_EQ(session.ReadConnectionFile(), ConnectionFileState::Ready);
    ASSERT_TRUE(session.ConnectServer(yes));
    ASSERT_TRUE(session.OpenSection(1403, QStringLiteral("0"), yes));
    ASSERT_TRUE(execSql(session.deposits(), QStringLiteral("INSERT INTO GENERAL_INFO (CODE, OSTANNAME) VALUES (1, 'پيش از پشتيبان')")));
}
} // namespace

TEST(LoginScreens, BackupAndRestoreRoundTripOnTheScreen)
{
    TempInstallation t;
    Session session(t.path(), t.site);
    openForBackup(t, session);
    if (HasFatalFailure())
        return;

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
    Session session(t.path(), t.site);
    openForBackup(t, session);
    if (HasFatalFailure())
        return;
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(createAccountingDatabase(session, 1403, QStringLiteral("0"), yes));

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

namespace {
// The login form of a fresh installation, shown and active, its main window replaced.
struct LoginForm {
    TempInstallation t;
    std::unique_ptr<Session> session;
    std::unique_ptr<TFInit> form;
    int mainShown = 0;
    qint64 now = 1000000;

    LoginForm()
    {
        t.create();
        session = std::make_unique<Session>(t.path(), t.site);
        session->loginThrottle().setClock([this] { return now; });
        form = std::make_unique<TFInit>(*session);
        form->runMainWindow = [this] { ++mainShown; };
        form->show();
        activate();
    }
    void activate()
    {
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // A clerk of this program, made by the set-up's administrator.
    void addClerk(int code, const QString& password, bool enabled)
    {
        std::unique_ptr<Session> admin = t.reconnect();
        ScriptedPrompt quiet;
        ProgramUser clerk;
        clerk.code = code;
        clerk.password = password;
        clerk.enabled = enabled;
        ASSERT_TRUE(saveProgramUser(*admin, clerk, true, quiet)) << quiet.infos.join(QLatin1Char('\n')).toStdString();
    }
};
} // namespace

TEST(LoginScreens, EnterInTheCodeMovesToThePasswordAndEnterThereLogsIn)
{
    LoginForm f;
    f.form->userCode()->setFocus();
    f.form->userCode()->setEditText(QStringLiteral("3"));
    {
        AutoAnswer answers;
        QWidget* typing = QApplication::focusWidget();
        ASSERT_NE(typing, nullptr);
        QTest::keyClick(typing, Qt::Key_Return);
        QTest::qWait(250);   // past the default button's animated click
        EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_EQ(f.mainShown, 0);
    EXPECT_TRUE(f.form->password()->hasFocus());

    f.form->password()->setText(f.t.setup.initialPassword);
    QTest::keyClick(f.form->password(), Qt::Key_Return);
    QTest::qWait(250);
    EXPECT_EQ(f.mainShown, 1);   // once: not again by the default button
}

TEST(LoginScreens, RepeatedWrongPasswordsTurnTheLoginButtonOffUntilTheWaitIsOver)
{
    LoginForm f;
    f.form->userCode()->setEditText(QStringLiteral("3"));
    for (int i = 1; i <= 4; ++i) {
        f.form->password()->setText(QStringLiteral("wrong"));
        AutoAnswer answers;
        EXPECT_FALSE(f.form->doLogin());
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(answers.texts[0].contains(suspiciousAttemptText()), i == 4) << i;
        EXPECT_EQ(f.form->loginButton()->isEnabled(), i < 4) << i;
    }
    // The key still reaches the form, and core refuses until the wait is over.
    f.form->password()->setText(f.t.setup.initialPassword);
    {
        AutoAnswer answers;
        QTest::keyClick(f.form.get(), Qt::Key_F10);
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(answers.texts[0], loginWaitText(1000));
    }
    EXPECT_EQ(f.mainShown, 0);
    EXPECT_FALSE(f.form->loginButton()->isEnabled());
    // Another code does not wait.
    f.form->userCode()->setEditText(QStringLiteral("4"));
    EXPECT_TRUE(f.form->loginButton()->isEnabled());
    f.form->userCode()->setEditText(QStringLiteral("3"));
    EXPECT_FALSE(f.form->loginButton()->isEnabled());
    f.now += 1000;
    f.form->refreshLoginButton();   // what the form's timer does when the wait ends
    EXPECT_TRUE(f.form->loginButton()->isEnabled());
    EXPECT_TRUE(f.form->doLogin());
    EXPECT_EQ(f.mainShown, 1);
}

TEST(LoginScreens, TheSavedLoginShowsAMarkerAndLogsInWithTheScrambledForm)
{
    LoginForm f;
    f.form->userCode()->setEditText(QStringLiteral("3"));
    f.form->password()->setText(f.t.setup.initialPassword);
    f.form->savePassword()->setChecked(true);
    ASSERT_TRUE(f.form->doLogin());
    QFile saved(f.t.path(QStringLiteral("orvaksepordeh.psw")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_FALSE(saved.readAll().contains(f.t.setup.initialPassword.toUtf8()));

    // The next start: the form shows the marker, never the password, and logs in.
    TFInit next(*f.session);
    int shown = 0;
    next.runMainWindow = [&shown] { ++shown; };
    next.show();
    EXPECT_EQ(next.userCode()->currentText(), QStringLiteral("3"));
    EXPECT_EQ(next.password()->text(), TFInit::savedPasswordMarker());
    EXPECT_TRUE(next.savePassword()->isChecked());
    EXPECT_TRUE(next.doLogin());
    EXPECT_EQ(shown, 1);

    // The marker typed by hand is not the saved login.
    TFInit third(*f.session);
    third.runMainWindow = [&shown] { ++shown; };
    third.show();
    third.password()->clear();
    for (QChar c : TFInit::savedPasswordMarker()) {   // typed as a keyboard would (QTest knows ASCII only)
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(third.password(), &press);
    }
    ASSERT_EQ(third.password()->text(), TFInit::savedPasswordMarker());
    {
        AutoAnswer answers;
        EXPECT_FALSE(third.doLogin());
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("كلمه رمز اشتباه است.")));
    }
    EXPECT_EQ(shown, 1);
}

TEST(LoginScreens, ABlockedUserIsRefusedOnTheFormAndOnTheLock)
{
    LoginForm f;
    f.addClerk(7, QStringLiteral("p"), false);
    f.form->userCode()->setEditText(QStringLiteral("7"));
    f.form->password()->setText(QStringLiteral("p"));
    {
        AutoAnswer answers;
        EXPECT_FALSE(f.form->doLogin());
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(answers.texts[0], blockedUserText(7));
    }
    EXPECT_EQ(f.mainShown, 0);
    EXPECT_FALSE(f.session->LoggedIn());

    ScriptedPrompt quiet;
    ASSERT_TRUE(logInAs(*f.session, QStringLiteral("3"), f.t.setup.initialPassword, quiet));
    TGT_PASS lock(*f.session);
    lock.show();
    lock.code->setText(QStringLiteral("7"));
    lock.password->setText(QStringLiteral("p"));
    {
        AutoAnswer answers;
        EXPECT_FALSE(lock.enter());
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(answers.texts[0], blockedUserText(7));
    }
    EXPECT_EQ(f.session->currentUserCode(), 3);
    EXPECT_NE(lock.result(), QDialog::Accepted);
}

TEST(LoginScreens, TheLockWaitsAfterRepeatedWrongPasswordsToo)
{
    LoginForm f;
    f.addClerk(7, QStringLiteral("p"), true);
    ScriptedPrompt quiet;
    ASSERT_EQ(f.session->ReadConnectionFile(), ConnectionFileState::Ready);
    ASSERT_TRUE(f.session->ConnectServer(quiet));
    ASSERT_TRUE(logInAs(*f.session, QStringLiteral("3"), f.t.setup.initialPassword, quiet));
    TGT_PASS lock(*f.session);
    lock.show();
    lock.code->setText(QStringLiteral("7"));
    for (int i = 1; i <= 4; ++i) {
        lock.password->setText(QStringLiteral("bad"));
        AutoAnswer answers;
        EXPECT_FALSE(lock.enter());
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(answers.texts[0].contains(suspiciousAttemptText()), i == 4) << i;
    }
    EXPECT_FALSE(lock.enterButton()->isEnabled());
    lock.password->setText(QStringLiteral("p"));
    {
        AutoAnswer answers;
        EXPECT_FALSE(lock.enter());
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(answers.texts[0], loginWaitText(1000));
    }
    f.now += 1000;
    lock.refreshEnterButton();
    EXPECT_TRUE(lock.enterButton()->isEnabled());
    EXPECT_TRUE(lock.enter());
    EXPECT_EQ(f.session->currentUserCode(), 7);
}
