#include "core/db/AuditTrail.h"
#include "core/db/Db.h"
#include "core/io/BoundList.h"
#include "core/startup/Login.h"
#include "core/startup/Rights.h"
#include "core/startup/StartupLists.h"
#include "core/startup/Users.h"
#include "support/ScriptedPrompt.h"
#include "support/TempInstallation.h"

#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::startup;
using orvak::test::TempInstallation;

namespace {
// An installation with a clerk (7, no rights on the users entry) and his family record.
struct UsersFixture {
    TempInstallation t;
    Session* s = nullptr;
    ScriptedPrompt p{{}, true};
    UsersFixture()
    {
        t.create();
        s = t.session.get();
        ProgramUser clerk;
        clerk.code = 7;
        clerk.password = QStringLiteral("secret");
        EXPECT_TRUE(saveProgramUser(*s, clerk, true, p));
        FamilyUser person;
        person.code = 7;
        person.lastName = QStringLiteral("کريمي");
        person.name = QStringLiteral("مريم");
        EXPECT_TRUE(saveFamilyUser(*s, person, true, p));
    }
    bool logIn(int code, const QString& password) { return logInAs(*s, QString::number(code), password, p); }
};

FamilyUser completeRecord(int code)
{
    FamilyUser u;
    u.code = code;
    u.lastName = QStringLiteral("کريمي");
    u.name = QStringLiteral("مريم");
    u.personCode = 9107;
    u.madrak = QStringLiteral("کارشناسي حسابداري");
    u.job = QStringLiteral("حسابدار");
    u.post = QStringLiteral("حسابدار سپرده ها");
    u.birthDate = QStringLiteral("1360/02/31");
    u.employmentDate = QStringLiteral("1385/07/01");
    u.eskind = 1;
    return u;
}
} // namespace

TEST(PersonalRecord, IsIncompleteWithoutPersonnelNumberDegreeJobPostOrARealDate)
{
    EXPECT_FALSE(personalRecordIncomplete(completeRecord(7)));
    const std::function<void(FamilyUser&)> gaps[] = {
        [](FamilyUser& u) { u.personCode = 0; },
        [](FamilyUser& u) { u.madrak = QStringLiteral("  "); },
        [](FamilyUser& u) { u.job.clear(); },
        [](FamilyUser& u) { u.post.clear(); },
        [](FamilyUser& u) { u.birthDate = QStringLiteral("    /  /  "); },
        [](FamilyUser& u) { u.employmentDate = QStringLiteral("    /  /  "); },
        [](FamilyUser& u) { u.birthDate.clear(); },                         // never typed (NULL)
        [](FamilyUser& u) { u.employmentDate = QStringLiteral("1385/13/01"); },
    };
    for (size_t i = 0; i < std::size(gaps); ++i) {
        FamilyUser u = completeRecord(7);
        gaps[i](u);
        EXPECT_TRUE(personalRecordIncomplete(u)) << i;
    }
}

TEST(PersonalRecord, TheUserKeepsHisOwnRecordButNotItsSwitchesNorAnothersAndTheLoginSeesIt)
{
    UsersFixture f;
    ASSERT_TRUE(f.logIn(7, QStringLiteral("secret")));
    EXPECT_TRUE(f.s->user().recordIncomplete);
    EXPECT_FALSE(mayUse(*f.s, UsersMenuId, AccessEditOwn));

    // His switches and another's record stay the manager's.
    FamilyUser mine = completeRecord(7);
    mine.manager = true;
    EXPECT_FALSE(saveFamilyUser(*f.s, mine, false, f.p));
    EXPECT_EQ(f.p.infos.last(), refusalText());
    FamilyUser other = *readFamilyUser(*f.s, 3);
    other.post = QStringLiteral("x");
    EXPECT_FALSE(saveFamilyUser(*f.s, other, false, f.p));
    EXPECT_FALSE(readFamilyUser(*f.s, 7)->manager);

    // His personal fields he completes himself, as one audited change.
    ASSERT_TRUE(saveFamilyUser(*f.s, completeRecord(7), false, f.p)) << f.p.text().toStdString();
    EXPECT_FALSE(f.s->user().recordIncomplete);
    const FamilyUser back = *readFamilyUser(*f.s, 7);
    EXPECT_EQ(back.birthDate, QStringLiteral("1360/02/31"));
    EXPECT_EQ(back.job, QStringLiteral("حسابدار"));
    EXPECT_EQ(back.personCode, 9107);
    db::AuditFilter filter;
    filter.table = QStringLiteral("USERS");
    filter.key = QStringLiteral("7");
    filter.programId = ProgID;
    const auto history = db::readAudit(f.s->common(), filter);
    ASSERT_TRUE(history);
    ASSERT_EQ(history->size(), 2);   // the insert, then this change
    EXPECT_EQ(history->first().userCode, 7);
    EXPECT_EQ(history->first().operation, QLatin1Char('U'));
    EXPECT_TRUE(history->first().changes.contains(QStringLiteral("PERSONCODE")));

    // The next login reads it as complete; an empty date makes it incomplete again.
    ASSERT_TRUE(LoadUserRights(*f.s, 7));
    EXPECT_FALSE(f.s->user().recordIncomplete);
    FamilyUser undated = completeRecord(7);
    undated.employmentDate = QStringLiteral("    /  /  ");
    ASSERT_TRUE(saveFamilyUser(*f.s, undated, false, f.p));
    EXPECT_EQ(readFamilyUser(*f.s, 7)->employmentDate, QStringLiteral("    /  /  "));
    ASSERT_TRUE(LoadUserRights(*f.s, 7));
    EXPECT_TRUE(f.s->user().recordIncomplete);

    // A program user without any family record is incomplete, and may make his own.
    ProgramUser late;
    late.code = 12;
    late.password = QStringLiteral("p12");
    ASSERT_TRUE(f.logIn(3, f.t.setup.initialPassword));
    ASSERT_TRUE(saveProgramUser(*f.s, late, true, f.p));
    ASSERT_TRUE(f.logIn(12, QStringLiteral("p12")));
    EXPECT_TRUE(f.s->user().recordIncomplete);
    EXPECT_FALSE(saveFamilyUser(*f.s, completeRecord(13), true, f.p));
    ASSERT_TRUE(saveFamilyUser(*f.s, completeRecord(12), true, f.p));
    EXPECT_FALSE(f.s->user().recordIncomplete);
}

TEST(PersonalRecord, BadValuesAreRefusedWithTheirMessageAndChangeNothing)
{
    UsersFixture f;
    const QString today = f.s->clock().todayJalali();
    const struct {
        std::function<void(FamilyUser&)> change;
        QString message;
    } cases[] = {
        {[](FamilyUser& u) { u.lastName.clear(); }, QStringLiteral("اطلاعات کامل نيست")},
        {[](FamilyUser& u) { u.name = QString(16, QLatin1Char('n')); }, QStringLiteral("نام حداکثر 15 نويسه است")},
        {[](FamilyUser& u) { u.post = QString(31, QLatin1Char('p')); }, QStringLiteral("سمت حداکثر 30 نويسه است")},
        {[](FamilyUser& u) { u.personCode = -4; }, QStringLiteral("شماره پرسنلي بايد يک عدد درست بزرگتر از صفر باشد")},
        {[](FamilyUser& u) { u.eskind = 5; }, QStringLiteral("نوع استخدام معتبر نيست")},
        {[](FamilyUser& u) { u.birthDate = QStringLiteral("1360/12/30"); }, QStringLiteral("تاريخ تولد معتبر نيست: 1360/12/30")},
        {[](FamilyUser& u) { u.employmentDate = QStringLiteral("1385/00/01"); }, QStringLiteral("تاريخ استخدام معتبر نيست: 1385/00/01")},
        {[](FamilyUser& u) { u.birthDate = QStringLiteral("1390/01/01"); }, QStringLiteral("تاريخ تولد بايد پيش از تاريخ استخدام باشد")},
        {[today](FamilyUser& u) {
             u.birthDate = QString::number(today.left(4).toInt() + 1) + QStringLiteral("/01/01");
             u.employmentDate.clear();
         },
         QStringLiteral("تاريخ تولد نمي تواند بعد از امروز باشد")},
    };
    ASSERT_TRUE(saveFamilyUser(*f.s, completeRecord(7), false, f.p));
    for (const auto& c : cases) {
        FamilyUser u = completeRecord(7);
        u.job = QStringLiteral("changed");
        c.change(u);
        EXPECT_FALSE(saveFamilyUser(*f.s, u, false, f.p)) << c.message.toStdString();
        EXPECT_EQ(f.p.infos.last(), c.message);
        EXPECT_EQ(readFamilyUser(*f.s, 7)->job, QStringLiteral("حسابدار"));
    }
    // A new record under a code in use says so.
    EXPECT_FALSE(saveFamilyUser(*f.s, completeRecord(7), true, f.p));
    EXPECT_EQ(f.p.infos.last(), userCodeTakenText());
    // Persian digits in a date are stored as the ten-character form.
    FamilyUser persian = completeRecord(7);
    persian.birthDate = QStringLiteral("۱۳۶۰/۰۲/۳۱");
    ASSERT_TRUE(saveFamilyUser(*f.s, persian, false, f.p));
    EXPECT_EQ(readFamilyUser(*f.s, 7)->birthDate, QStringLiteral("1360/02/31"));
}

TEST(PersonalRecord, TheCompletionIsOfferedOnlyWhileTheRecordIsIncomplete)
{
    UsersFixture f;
    ScriptedPrompt no({}, false);
    EXPECT_FALSE(offerRecordCompletion(*f.s, no));   // nobody logged in
    EXPECT_TRUE(no.questions.isEmpty());
    ASSERT_TRUE(f.logIn(7, QStringLiteral("secret")));
    ScriptedPrompt yes({}, true);
    EXPECT_TRUE(offerRecordCompletion(*f.s, yes));
    ASSERT_EQ(yes.questions.size(), 1);
    EXPECT_TRUE(yes.questions[0].startsWith(incompleteRecordText()));
    ASSERT_TRUE(saveFamilyUser(*f.s, completeRecord(7), false, f.p));
    EXPECT_FALSE(offerRecordCompletion(*f.s, yes));
    EXPECT_EQ(yes.questions.size(), 1);
}

TEST(Rights, TheSeventhKindIsKeptThroughEverySaveAndAManagersRowsAreAManagers)
{
    UsersFixture f;
    ASSERT_TRUE(saveRights(*f.s, 7, userRights(*f.s, 7), f.p));
    ASSERT_TRUE(db::execSql(f.s->common(), QStringLiteral("UPDATE ACCESSCONTROL SET ACCESSKIND7 = 1 WHERE UserId = 7 AND MENUID IN (1, 2)")));
    const QList<Right> stored = userRights(*f.s, 7);
    ASSERT_EQ(stored[0].kinds[6], 1);
    for (BulkRights what : {BulkRights::RevokeAll, BulkRights::GrantAll, BulkRights::ReportLevel}) {
        const QList<Right> rights = bulkRights(stored, what);
        EXPECT_EQ(rights[0].kinds[6], 1);
        EXPECT_EQ(rights[2].kinds[6], 0);
        ASSERT_TRUE(saveRights(*f.s, 7, rights, f.p));
        EXPECT_EQ(db::scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM ACCESSCONTROL WHERE UserId = 7 AND ACCESSKIND7 = 1"))->toInt(), 2);
    }

    // A clerk with the edit bit changes a clerk's rights, never the manager's.
    QList<Right> rights = userRights(*f.s, 7);
    rights[0].kinds[0] = 0;
    rights[0].kinds[2] = 1;
    ASSERT_TRUE(saveRights(*f.s, 7, rights, f.p));
    ASSERT_TRUE(f.logIn(7, QStringLiteral("secret")));
    EXPECT_FALSE(saveRights(*f.s, 3, bulkRights(userRights(*f.s, 3), BulkRights::RevokeAll), f.p));
    EXPECT_EQ(f.p.infos.last(), managerOnlyText());
    EXPECT_EQ(db::scalar(f.s->common(), QStringLiteral("SELECT COUNT(*) FROM ACCESSCONTROL WHERE UserId = 3"))->toInt(), 0);
}

TEST(ProgramUsersList, ChoosesAllTheAllowedOrTheBlocked)
{
    UsersFixture f;
    // Every state but 1 is blocked, NULL included.
    ASSERT_TRUE(db::execSql(f.s->common(), QStringLiteral("INSERT INTO PROGUSERS (PROGID, UCODE, ISENABLE) VALUES (3, 8, 0), (3, 9, NULL), (3, 10, 2), (4, 11, 0)")));
    ASSERT_EQ(userStateChoices().entries.size(), 3);
    const struct {
        int state;
        QList<int> codes;
    } cases[] = {{-1, {3, 7, 8, 9, 10}}, {1, {3, 7}}, {0, {8, 9, 10}}};
    io::BoundList list(*f.s, programUsersList());
    for (const auto& c : cases) {
        io::RowSet rows;
        ASSERT_TRUE(list.fetchAll(rows, {{QStringLiteral(":IsEnable"), c.state}}));
        QList<int> codes;
        for (int r = 0; r < rows.rowCount(); ++r)
            codes << io::fieldValue(rows, r, QStringLiteral("UCODE")).toInt();
        EXPECT_EQ(codes, c.codes) << c.state;
    }
}

TEST(ProgramUsers, TheLastAllowedManagerCannotBeDeletedBlockedNorUnmade)
{
    UsersFixture f;
    ASSERT_TRUE(f.logIn(3, f.t.setup.initialPassword));
    const ProgramUser manager = *readProgramUser(*f.s, 3);
    const std::function<bool()> ways[] = {
        [&] { return deleteProgramUser(*f.s, 3, f.p); },
        [&] { return deleteFamilyUser(*f.s, 3, f.p); },
        [&] {
            ProgramUser u = manager;
            u.enabled = false;
            return saveProgramUser(*f.s, u, false, f.p);
        },
        [&] {
            ProgramUser u = manager;
            u.manager = false;
            return saveProgramUser(*f.s, u, false, f.p);
        },
    };
    for (size_t i = 0; i < std::size(ways); ++i) {
        EXPECT_FALSE(ways[i]()) << i;
        EXPECT_EQ(f.p.infos.last(), lastManagerText()) << i;
    }
    const ProgramUser still = *readProgramUser(*f.s, 3);
    EXPECT_TRUE(still.manager && still.enabled);
    EXPECT_TRUE(readFamilyUser(*f.s, 3).has_value());

    // With a second allowed manager the first may step down; then the second is the last.
    ProgramUser second;
    second.code = 8;
    second.manager = true;
    second.password = QStringLiteral("p8");
    ASSERT_TRUE(saveProgramUser(*f.s, second, true, f.p));
    EXPECT_TRUE(ways[3]());
    f.s->logOut();
    EXPECT_FALSE(deleteProgramUser(*f.s, 8, f.p));
    EXPECT_EQ(f.p.infos.last(), lastManagerText());
    EXPECT_TRUE(deleteProgramUser(*f.s, 3, f.p));
}
