#include "core/db/Db.h"
#include "core/startup/Login.h"
#include "core/startup/Users.h"
#include "core/startup/ServerSetup.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"
#include "support/ScriptedPrompt.h"

#include <QFile>
#include <gtest/gtest.h>

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
    EXPECT_EQ(back.password, QStringLiteral("secret"));
}

TEST(Login, ChangeUserCountsFailuresAndPasswordsChange)
{
    LoginFixture f;
    ScriptedPrompt p({}, true);
    ASSERT_EQ(login(*f.s, QStringLiteral("3"), f.t.setup.initialPassword, false, p).outcome, LoginOutcome::LoggedIn);
    int failures = 0;
    EXPECT_FALSE(changeUser(*f.s, QStringLiteral("8"), QStringLiteral("x"), failures, p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كد كاربر در سيستم موجود نيست"));
    for (int i = 0; i < 2; ++i)
        EXPECT_FALSE(changeUser(*f.s, QStringLiteral("7"), QStringLiteral("bad"), failures, p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كلمه رمز نادرست است"));
    EXPECT_FALSE(changeUser(*f.s, QStringLiteral("7"), QStringLiteral("bad"), failures, p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كلمه رمز نادرست است\n تلاش مشكوك براي ورود به سيستم"));
    EXPECT_EQ(f.s->currentUserCode(), 3);
    EXPECT_TRUE(changeUser(*f.s, QStringLiteral("7"), QStringLiteral("secret"), failures, p));
    EXPECT_EQ(f.s->currentUserCode(), 7);

    EXPECT_FALSE(changeOwnPassword(*f.s, QStringLiteral("secret"), QStringLiteral("n1"), QStringLiteral("n2"), p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كلمه رمز و يا تكرار آن درست نيست!"));
    EXPECT_TRUE(changeOwnPassword(*f.s, QStringLiteral("secret"), QStringLiteral("n1"), QStringLiteral("n1"), p));
    EXPECT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("n1"), false, p).outcome, LoginOutcome::LoggedIn);
    EXPECT_FALSE(setUserPassword(*f.s, 7, QString(), QString(), p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كلمه رمز نمي تواند خالي باشد"));
    EXPECT_FALSE(setUserPassword(*f.s, 7, QStringLiteral("a"), QStringLiteral("b"), p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("كلمه رمز با تكرار كلمه رمز تطابق ندارد"));
}

TEST(Login, RightsAreReadAtEachCheck)
{
    LoginFixture f;
    ScriptedPrompt p({}, true);
    ASSERT_EQ(login(*f.s, QStringLiteral("7"), QStringLiteral("secret"), false, p).outcome, LoginOutcome::LoggedIn);
    EXPECT_FALSE(refusedMenu(*f.s, 5, p));
    QList<Right> rights = userRights(*f.s, 7);
    ASSERT_EQ(rights.size(), 19);
    rights = bulkRights(rights, BulkRights::ReportLevel);
    rights[4].kinds[0] = 1;   // no access to entry 5
    ASSERT_TRUE(saveRights(*f.s, 7, rights, p));
    EXPECT_TRUE(refusedMenu(*f.s, 5, p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("امنيت عبور كاربران: انتخاب مورد نظر براي شما در نظر گرفته نشده است"));
    rights = bulkRights(userRights(*f.s, 7), BulkRights::GrantAll);
    ASSERT_TRUE(saveRights(*f.s, 7, rights, p));
    EXPECT_FALSE(refusedMenu(*f.s, 5, p));
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM ACCESSCONTROL WHERE UserId = 7"))->toInt(), 19);

    // Deleting the user takes his rights with him.
    ASSERT_TRUE(deleteProgramUser(*f.s, 7, p));
    EXPECT_EQ(scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM ACCESSCONTROL WHERE UserId = 7"))->toInt(), 0);
    EXPECT_FALSE(saveProgramUser(*f.s, ProgramUser{}, true, p));
    EXPECT_EQ(p.infos.last(), QStringLiteral("کد کاربري بايد يک عدد درست بزرگتر از صفر باشد"));
}
