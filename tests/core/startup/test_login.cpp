#include "core/db/Db.h"
#include "core/startup/Login.h"
#include "core/startup/Users.h"
#include "core/startup/ServerSetup.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"
#include "support/ScriptedPrompt.h"

#include "core/startup/LoginThrottle.h"
#include "core/startup/Rights.h"

#include <QFile>
#include <gtest/gtest.h>
#include <iterator>

using namespace orvak::startup;
using namespace orvak::db;
using orvak::test::TempInstallation;

namespace {
struct LoginFixture {
    TempInstallation t;
    std::unique_ptr<Session> s;
    LoginFixture()
    {
        t.create();
        s = t.reconnect();
        ScriptedPrompt quiet;
        ProgramUser clerk;
        clerk.code = 7;
        clerk.password = QStringLiteral("secret");
        clerk.sel[1] = 1;   // read-only deposits
        EXPECT_TRUE(saveProgramUser(*s, clerk, true, quiet));
        FamilyUser person;
        person.code = 7;
        person.lastName = QStringLiteral("کريمي");
        person.name = QStringLiteral("مريم");
        EXPECT_TRUE(saveFamilyUser(*s, person, true, quiet));
    }
};
} // namespace

TEST(Login, StepsAndMessages)
{
    LoginFixture f;
    ScriptedPrompt p;
    // A family user without this program's row may not enter.
    ASSERT_TRUE(execSql(f.s->common(), QStringLiteral("INSERT INTO USERS (UCode, LastName, Name) VALUES (9, 'x', 'y')")));
    LoginResult r = login(*f.s, QStringLiteral("9"), QStringLiteral("whatever"), false, p);
    EXPECT_EQ(r.outcome, LoginOutcome::NotAllowed);
    EXPECT_EQ(p.infos.value(0), QStringLiteral("کد کاربري براي ورود به نرم افزار مجاز نمي باشد."));
    EXPECT_EQ(r.programUserCodes, (QList<int>{3, 7}));

    p.infos.clear();
    r = login(*f.s, QStringLiteral("۷"), QStringLiteral("Secret"), false, p);
    EXPECT_EQ(r.outcome, LoginOutcome::WrongPassword);
    ASSERT_EQ(p.infos.size(), 1);
    EXPECT_TRUE(p.infos[0].startsWith(QStringLiteral("استفاده کننده محترم اورواک : مريم - کريمي ! \nكلمه رمز اشتباه است.")));
    EXPECT_FALSE(f.s->LoggedIn());

    r = login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), false, p);
    EXPECT_EQ(r.outcome, LoginOutcome::LoggedIn);
    EXPECT_EQ(f.s->currentUserCode(), 7);
    EXPECT_EQ(f.s->user().displayName(), QStringLiteral("مريم کريمي"));
    EXPECT_FALSE(canWriteDeposits(*f.s));
    EXPECT_TRUE(f.s->user().recordIncomplete);

    // Not saved: an empty first line and a single space.
    QFile saved(f.t.path(QStringLiteral("orvaksepordeh.psw")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("\r\n \r\n"));
    saved.close();
    EXPECT_FALSE(readSavedLogin(f.t.path()).saved);
    ASSERT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), true, p).outcome, LoginOutcome::LoggedIn);
    const SavedLogin back = readSavedLogin(f.t.path());
    EXPECT_TRUE(back.saved);
    EXPECT_EQ(back.userCode, QStringLiteral("7"));
    EXPECT_EQ(back.scrambledPassword, scrambledPassword(QStringLiteral("secret"), 7, f.t.site.installationNumber));
}

TEST(Login, ChangeUserCountsFailuresAndPasswordsChange)
{
    LoginFixture f;
    ScriptedPrompt p({}, true);
    qint64 now = 1000000;
    f.s->loginThrottle().setClock([&now] { return now; });
    ASSERT_EQ(login(*f.s, QStringLiteral("3"), f.t.setup.initialPassword, false, p).outcome, LoginOutcome::LoggedIn);
    EXPECT_FALSE(changeUser(*f.s, QStringLiteral("8"), QStringLiteral("x"), p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كد كاربر در سيستم موجود نيست"));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(changeUser(*f.s, QStringLiteral("7"), QStringLiteral("bad"), p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كلمه رمز نادرست است"));   // the failures of code 8 are not 7's
    EXPECT_FALSE(changeUser(*f.s, QStringLiteral("7"), QStringLiteral("bad"), p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كلمه رمز نادرست است\n تلاش مشكوك براي ورود به سيستم"));
    // The fourth failure in a row makes the next try wait a second, even with the right password.
    EXPECT_FALSE(changeUser(*f.s, QStringLiteral("7"), QStringLiteral("secret"), p));
    EXPECT_EQ(p.infos.last(), loginWaitText(1000));
    EXPECT_TRUE(p.infos.last().endsWith(QStringLiteral(" تلاش مشكوك براي ورود به سيستم")));
    EXPECT_EQ(f.s->currentUserCode(), 3);
    now += 1000;
    EXPECT_TRUE(changeUser(*f.s, QStringLiteral("7"), QStringLiteral("secret"), p));
    EXPECT_EQ(f.s->currentUserCode(), 7);
    EXPECT_EQ(f.s->loginThrottle().failures(7), 0);   // a right password starts the count again

    EXPECT_FALSE(changeOwnPassword(*f.s, QStringLiteral("secret"), QStringLiteral("n1"), QStringLiteral("n2"), p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كلمه رمز و يا تكرار آن درست نيست!"));
    EXPECT_TRUE(changeOwnPassword(*f.s, QStringLiteral("secret"), QStringLiteral("n1"), QStringLiteral("n1"), p));
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("n1"), false, p).outcome, LoginOutcome::LoggedIn);
    // Another's password is the users entry's edit right: the clerk has none.
    EXPECT_FALSE(setUserPassword(*f.s, 3, QStringLiteral("mine"), QStringLiteral("mine"), p));
    EXPECT_EQ(p.infos.last(), refusalText());
    EXPECT_EQ(login(*f.s, QStringLiteral("3"), f.t.setup.initialPassword, false, p).outcome, LoginOutcome::LoggedIn);
    EXPECT_FALSE(setUserPassword(*f.s, 7, QString(), QString(), p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كلمه رمز نمي تواند خالي باشد"));
    EXPECT_FALSE(setUserPassword(*f.s, 7, QStringLiteral("a"), QStringLiteral("b"), p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كلمه رمز با تكرار كلمه رمز تطابق ندارد"));
    EXPECT_TRUE(setUserPassword(*f.s, 7, QStringLiteral("n2"), QStringLiteral("n2"), p));
}

TEST(Login, TheWaitAfterRepeatedFailuresDoublesUpToThirtySeconds)
{
    const int expected[] = {0, 0, 0, 0, 1, 2, 4, 8, 16, 30, 30, 30};
    for (int failures = 0; failures < int(std::size(expected)); ++failures)
        EXPECT_EQ(loginDelaySeconds(failures), expected[failures]) << failures;
    EXPECT_EQ(loginDelaySeconds(1000), 30);
    EXPECT_EQ(loginDelaySeconds(-1), 0);

    LoginThrottle throttle;
    qint64 now = 0;
    throttle.setClock([&now] { return now; });
    for (int i = 0; i < 6; ++i)
        throttle.failed(7);
    EXPECT_EQ(throttle.waitMs(7), 4000);
    EXPECT_EQ(throttle.waitMs(8), 0);   // by code
    now += 3500;
    EXPECT_EQ(throttle.waitMs(7), 500);
    now += 500;
    EXPECT_EQ(throttle.waitMs(7), 0);   // never locked for good
    throttle.succeeded(7);
    EXPECT_EQ(throttle.failures(7), 0);
}

TEST(Login, RepeatedWrongPasswordsOnTheLoginWait)
{
    LoginFixture f;
    ScriptedPrompt p;
    qint64 now = 50000;
    f.s->loginThrottle().setClock([&now] { return now; });
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("bad"), false, p).outcome, LoginOutcome::WrongPassword);
        EXPECT_FALSE(p.infos.last().contains(suspiciousAttemptText())) << i;
    }
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("bad"), false, p).outcome, LoginOutcome::WrongPassword);
    EXPECT_TRUE(p.infos.last().endsWith(QStringLiteral("\n تلاش مشكوك براي ورود به سيستم")));
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), false, p).outcome, LoginOutcome::TooSoon);
    EXPECT_EQ(p.infos.last(), loginWaitText(1000));
    now += 1000;
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("bad"), false, p).outcome, LoginOutcome::WrongPassword);   // the fifth
    now += 1999;
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), false, p).outcome, LoginOutcome::TooSoon);
    EXPECT_EQ(f.s->loginThrottle().waitMs(7), 1);
    // Another code does not wait for 7's failures.
    EXPECT_EQ(login(*f.s, QStringLiteral("3"), f.t.setup.initialPassword, false, p).outcome, LoginOutcome::LoggedIn);
    now += 1;
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), false, p).outcome, LoginOutcome::LoggedIn);
}

TEST(Login, ABlockedUserCannotLogInNorBeSwitchedTo)
{
    LoginFixture f;
    ScriptedPrompt p({}, true);
    ProgramUser clerk = *readProgramUser(*f.s, 7);
    clerk.enabled = false;
    ASSERT_TRUE(saveProgramUser(*f.s, clerk, false, p));
    EXPECT_EQ(userStates().textOf(0), QStringLiteral("مسدود"));

    LoginResult r = login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), true, p);
    EXPECT_EQ(r.outcome, LoginOutcome::Blocked);
    EXPECT_EQ(p.infos.last(), blockedUserText(7));
    EXPECT_TRUE(p.infos.last().contains(QStringLiteral("مسدود")));
    EXPECT_FALSE(f.s->LoggedIn());
    EXPECT_FALSE(readSavedLogin(f.t.path()).saved);
    // A wrong password is told as such: the block is only told to who knows the password.
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("nope"), false, p).outcome, LoginOutcome::WrongPassword);
    EXPECT_FALSE(logInAs(*f.s, QStringLiteral("7"), QStringLiteral("secret"), p));
    EXPECT_FALSE(f.s->LoggedIn());

    ASSERT_EQ(login(*f.s, QStringLiteral("3"), f.t.setup.initialPassword, false, p).outcome, LoginOutcome::LoggedIn);
    EXPECT_FALSE(changeUser(*f.s, QStringLiteral("7"), QStringLiteral("secret"), p));
    EXPECT_EQ(p.infos.last(), blockedUserText(7));
    EXPECT_EQ(f.s->currentUserCode(), 3);

    // Blocked while logged in: his rights go at once.
    clerk.enabled = true;
    ASSERT_TRUE(saveProgramUser(*f.s, clerk, false, p));
    ASSERT_TRUE(changeUser(*f.s, QStringLiteral("7"), QStringLiteral("secret"), p));
    ASSERT_TRUE(execSql(f.s->common(), QStringLiteral("UPDATE PROGUSERS SET ISENABLE = 0 WHERE UCODE = 7")));
    EXPECT_TRUE(userAccess(*f.s, 5).refused());
    EXPECT_EQ(userAccess(*f.s, 5).error, blockedUserText(7));
}

TEST(Login, ThePasswordIsCheckedBeforeTheVersionQuestion)
{
    LoginFixture f;
    ASSERT_TRUE(execSql(f.s->common(), QStringLiteral("DELETE FROM APPVER")));
    ScriptedPrompt yes({}, true);
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("guess"), false, yes).outcome, LoginOutcome::WrongPassword);
    EXPECT_TRUE(yes.questions.isEmpty());
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM APPVER"))->toInt(), 0);
    // With the right password the question comes.
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), false, yes).outcome, LoginOutcome::RegisterVersion);
    EXPECT_EQ(yes.questions.size(), 1);
}

TEST(Login, TheSavedLoginHoldsOnlyTheScrambledFormAndLogsInWithIt)
{
    LoginFixture f;
    ScriptedPrompt p;
    ASSERT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), true, p).outcome, LoginOutcome::LoggedIn);
    const QString path = f.t.path(QStringLiteral("orvaksepordeh.psw"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    EXPECT_FALSE(bytes.contains("secret"));
    EXPECT_EQ(bytes.count("\r\n"), 2);   // the two-line form
    EXPECT_TRUE(bytes.startsWith("7\r\n"));
    EXPECT_EQ(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);

    f.s->logOut();
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), LoginPassword::savedLogin(), true, p).outcome, LoginOutcome::LoggedIn);
    EXPECT_EQ(f.s->currentUserCode(), 7);
    EXPECT_EQ(readSavedLogin(f.t.path()).scrambledPassword, scrambledPassword(QStringLiteral("secret"), 7, f.t.site.installationNumber));
    // The saved form is 7's: it lets nobody else in, and not after a password change.
    f.s->logOut();
    EXPECT_EQ(login(*f.s, QStringLiteral("3"), LoginPassword::savedLogin(), false, p).outcome, LoginOutcome::WrongPassword);
    ASSERT_TRUE(writeSavedLogin(f.t.path(), QStringLiteral("7"), scrambledPassword(QStringLiteral("secret"), 7, f.t.site.installationNumber), true));
    ScriptedPrompt yes({}, true);
    ASSERT_TRUE(login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), true, yes).outcome == LoginOutcome::LoggedIn);
    ASSERT_TRUE(changeOwnPassword(*f.s, QStringLiteral("secret"), QStringLiteral("other"), QStringLiteral("other"), yes));
    f.s->logOut();
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), LoginPassword::savedLogin(), false, p).outcome, LoginOutcome::WrongPassword);
    // Without a saved login the marker path lets nobody in.
    ASSERT_TRUE(writeSavedLogin(f.t.path(), QString(), QString(), false));
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), LoginPassword::savedLogin(), false, p).outcome, LoginOutcome::WrongPassword);
}

TEST(Login, StoredSecretsAreScrambledAndTheFilesTheOwnersOnly)
{
    LoginFixture f;
    const QString clear = f.t.setup.initialPassword;
    const QString scrambled = scrambledPassword(clear, 3, f.t.site.installationNumber);
    EXPECT_NE(scrambled, clear);
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT PassWord FROM USERS WHERE UCode = 3"))->toString(), scrambled);
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT PASSWORD FROM PROGUSERS WHERE UCODE = 3"))->toString(), scrambled);
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM USERS WHERE PassWord = :p"), {{QStringLiteral(":p"), clear}})->toInt(), 0);
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM PROGUSERS WHERE PASSWORD = 'secret'"))->toInt(), 0);

    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;
    for (const char* name : {"SERVER.INI", "DATA/ORVAK.db", "DATA/MASTER.db"}) {
        const QString path = f.t.path(QString::fromLatin1(name));
        ASSERT_TRUE(QFile::exists(path)) << name;
        EXPECT_EQ(QFile::permissions(path), ownerOnly) << name;
    }
}

TEST(Login, OnlyTheUsersEntrysBitsChangeUsersAndTheManagerHasThemAll)
{
    LoginFixture f;
    ScriptedPrompt p({}, true);
    // The clerk may see the users (no rights row: view only).
    ASSERT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), false, p).outcome, LoginOutcome::LoggedIn);
    const int before = scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM PROGUSERS"))->toInt();
    EXPECT_FALSE(deleteProgramUser(*f.s, 3, p));
    EXPECT_EQ(p.infos.last(), refusalText());
    EXPECT_FALSE(deleteFamilyUser(*f.s, 3, p));
    ProgramUser intruder;
    intruder.code = 8;
    intruder.password = QStringLiteral("x");
    intruder.manager = true;
    EXPECT_FALSE(saveProgramUser(*f.s, intruder, true, p));
    ProgramUser self = *readProgramUser(*f.s, 7);
    self.manager = true;
    EXPECT_FALSE(saveProgramUser(*f.s, self, false, p));
    // Another's record, and the switches of his own, are the users entry's.
    FamilyUser person = *readFamilyUser(*f.s, 3);
    EXPECT_FALSE(saveFamilyUser(*f.s, person, false, p));
    FamilyUser own = *readFamilyUser(*f.s, 7);
    own.enabled = false;
    EXPECT_FALSE(saveFamilyUser(*f.s, own, false, p));
    EXPECT_FALSE(saveRights(*f.s, 7, bulkRights(userRights(*f.s, 7), BulkRights::GrantAll), p));
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM PROGUSERS"))->toInt(), before);
    EXPECT_FALSE(readProgramUser(*f.s, 7)->manager);
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM ACCESSCONTROL WHERE UserId = 7"))->toInt(), 0);

    // The manager (whose rights rows say nothing) gives the clerk insert only.
    ASSERT_TRUE(changeUser(*f.s, QStringLiteral("3"), f.t.setup.initialPassword, p));
    EXPECT_EQ(userAccess(*f.s, UsersMenuId).mask, AccessAll);
    EXPECT_EQ(GetAccess(*f.s, UsersMenuId), AccessView);   // GetAccess itself reads the rows only
    QList<Right> rights = userRights(*f.s, 7);
    rights[0].kinds[1] = 1;
    rights[0].kinds[3] = 1;   // F5: insert
    ASSERT_TRUE(saveRights(*f.s, 7, rights, p));
    ASSERT_TRUE(changeUser(*f.s, QStringLiteral("7"), QStringLiteral("secret"), p));
    // Insert lets him add a user, but only a manager makes a manager.
    EXPECT_FALSE(saveProgramUser(*f.s, intruder, true, p));
    EXPECT_EQ(p.infos.last(), managerOnlyText());
    intruder.manager = false;
    EXPECT_TRUE(saveProgramUser(*f.s, intruder, true, p));
    EXPECT_FALSE(deleteProgramUser(*f.s, 8, p));
    EXPECT_FALSE(deleteProgramUser(*f.s, 3, p));
    EXPECT_TRUE(readProgramUser(*f.s, 3).has_value());
    // With every bit he still may not touch the manager.
    ASSERT_TRUE(execSql(f.s->common(), QStringLiteral("UPDATE ACCESSCONTROL SET ACCESSKIND3 = 1, ACCESSKIND5 = 1 WHERE UserId = 7 AND MENUID = 1")));
    EXPECT_FALSE(deleteProgramUser(*f.s, 3, p));
    EXPECT_EQ(p.infos.last(), managerOnlyText());
    EXPECT_FALSE(deleteFamilyUser(*f.s, 3, p));
    EXPECT_FALSE(setUserPassword(*f.s, 3, QStringLiteral("taken"), QStringLiteral("taken"), p));
    ProgramUser manager = *readProgramUser(*f.s, 3);
    manager.manager = false;
    EXPECT_FALSE(saveProgramUser(*f.s, manager, false, p));
    EXPECT_TRUE(readProgramUser(*f.s, 3)->manager);
    EXPECT_TRUE(deleteProgramUser(*f.s, 8, p));
    ASSERT_TRUE(changeUser(*f.s, QStringLiteral("3"), f.t.setup.initialPassword, p));
    ASSERT_TRUE(saveProgramUser(*f.s, intruder, true, p));
    EXPECT_TRUE(deleteProgramUser(*f.s, 8, p));
}

TEST(Login, RightsAreReadAtEachCheck)
{
    LoginFixture f;
    ScriptedPrompt p({}, true);
    ASSERT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), false, p).outcome, LoginOutcome::LoggedIn);
    EXPECT_FALSE(refusedMenu(*f.s, 5, p));
    // The manager changes the clerk's rights at another workstation.
    std::unique_ptr<Session> manager = f.t.reconnect();
    ASSERT_EQ(login(*manager, QStringLiteral("3"), f.t.setup.initialPassword, false, p).outcome, LoginOutcome::LoggedIn);
    QList<Right> rights = userRights(*manager, 7);
    ASSERT_EQ(rights.size(), 19);
    rights = bulkRights(rights, BulkRights::ReportLevel);
    rights[4].kinds[0] = 1;   // no access to entry 5
    ASSERT_TRUE(saveRights(*manager, 7, rights, p));
    EXPECT_TRUE(refusedMenu(*f.s, 5, p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("امنيت عبور كاربران: انتخاب مورد نظر براي شما در نظر گرفته نشده است"));
    rights = bulkRights(userRights(*manager, 7), BulkRights::GrantAll);
    ASSERT_TRUE(saveRights(*manager, 7, rights, p));
    EXPECT_FALSE(refusedMenu(*f.s, 5, p));
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM ACCESSCONTROL WHERE UserId = 7"))->toInt(), 19);

    // Deleting the user takes his rights with him.
    ASSERT_TRUE(deleteProgramUser(*manager, 7, p));
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM ACCESSCONTROL WHERE UserId = 7"))->toInt(), 0);
    // A user deleted while logged in has no rights left.
    EXPECT_TRUE(refusedMenu(*f.s, 5, p));
    EXPECT_FALSE(saveProgramUser(*f.s, ProgramUser{}, true, p));
    EXPECT_EQ(p.infos.last(), refusalText());
    EXPECT_FALSE(saveProgramUser(*manager, ProgramUser{}, true, p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("کد کاربري بايد يک عدد درست بزرگتر از صفر باشد"));
}
