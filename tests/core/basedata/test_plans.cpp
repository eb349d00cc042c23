#include "core/basedata/PlanBankLists.h"
#include "core/basedata/Plans.h"
#include "core/basedata/Projects.h"
#include "core/db/Db.h"
#include "core/startup/Login.h"
#include "core/startup/Rights.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

using namespace orvak;
using namespace orvak::basedata;

namespace {

qint64 count(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {})
{
    return db::scalar(db, sql, binds).value_or(QVariant(-1)).toLongLong();
}

// A plan of its own with one project, used nowhere yet.
qint64 freshPlan(startup::Session& s, qint64* project = nullptr)
{
    startup::CollectingPrompt quiet;
    Plan p;
    p.name = QStringLiteral("برنامه آزمايشي");
    const std::optional<qint64> code = Plans(s).save(p, true, quiet);
    EXPECT_TRUE(code) << quiet.text().toStdString();
    Project j;
    j.name = QStringLiteral("پروژه آزمايشي");
    j.plan = code.value_or(0);
    const std::optional<qint64> number = Projects(s).save(j, true, quiet);
    EXPECT_TRUE(number) << quiet.text().toStdString();
    if (project)
        *project = number.value_or(0);
    return code.value_or(0);
}

} // namespace

TEST(Plans, WordingFollowsTheSection)
{
    struct Case { const char* section; const char* title; const char* refusal; };
    const Case cases[] = {{"0", "فهرست برنامه ها", "امکان حذف برنامه در گردش وجود ندارد؟"},
                          {"1", "فهرست طرح ها", "امکان حذف طرح در گردش وجود ندارد؟"},
                          {"2", "فهرست برنامه ها", "امکان حذف برنامه در گردش وجود ندارد؟"}};
    for (const Case& c : cases) {
        EXPECT_EQ(plansList(QString::fromLatin1(c.section)).title, QString::fromUtf8(c.title)) << c.section;
        EXPECT_EQ(planWording(QString::fromLatin1(c.section), QStringLiteral("امکان حذف طرح در گردش وجود ندارد؟")), QString::fromUtf8(c.refusal));
    }
}

TEST(Plans, NewPlanTakesTheNextNumberAndAUsedOneIsRefused)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const qint64 next = count(s.common(), QStringLiteral("SELECT MAX(CODE) + 1 FROM TARH WHERE CI = 0"));
    EXPECT_EQ(Plans(s).proposedCode().value_or(0), next);
    EXPECT_EQ(freshPlan(s), next);

    startup::CollectingPrompt prompt;
    Plan taken;
    taken.code = 1;
    taken.name = QStringLiteral("تکراري");
    EXPECT_FALSE(Plans(s).save(taken, true, prompt));
    EXPECT_EQ(prompt.text(), QStringLiteral("کد تکراري است : ") + Plans(s).read(1)->name);
    EXPECT_NE(Plans(s).read(1)->name, QStringLiteral("تکراري"));
}

TEST(Plans, DeleteIsRefusedWhileThePlanIsInUseOrProjectsStandUnderIt)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const QString refusal = QStringLiteral("امکان حذف برنامه در گردش وجود ندارد؟");
    // Held by deposits.
    startup::ScriptedPrompt yes({}, true);
    EXPECT_FALSE(Plans(s).remove(1, yes));
    EXPECT_EQ(yes.text(), refusal);
    EXPECT_TRUE(yes.questions.isEmpty());
    EXPECT_TRUE(Plans(s).read(1));

    // Held only by a voucher row of the year's accounting database.
    qint64 project = 0;
    const qint64 byVoucher = freshPlan(s, &project);
    startup::ScriptedPrompt dropProject({true});
    ASSERT_TRUE(Projects(s).remove(project, dropProject)) << dropProject.text().toStdString();
    ASSERT_TRUE(db::execSql(s.accounting(), QStringLiteral("INSERT INTO SNDROW (SNDNO, ROW, TARHNO) VALUES (999999, 1, :t)"), {{QStringLiteral(":t"), byVoucher}}));
    startup::ScriptedPrompt again({}, true);
    EXPECT_FALSE(Plans(s).remove(byVoucher, again));
    EXPECT_EQ(again.text(), refusal);

    // A project under it, even one nothing uses, keeps it: the project would name no plan.
    const qint64 withProject = freshPlan(s, &project);
    startup::ScriptedPrompt third({}, true);
    EXPECT_FALSE(Plans(s).remove(withProject, third));
    EXPECT_EQ(third.text(), QStringLiteral("براي اين برنامه پروژه تعريف شده است و نمي تواند حذف گردد"));
    EXPECT_TRUE(third.questions.isEmpty());
    EXPECT_TRUE(Plans(s).read(withProject));
    EXPECT_TRUE(Projects(s).read(project));
}

TEST(Plans, AFreePlanGoesAloneAfterTheQuestion)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    qint64 project = 0;
    const qint64 code = freshPlan(s, &project);
    startup::ScriptedPrompt dropProject({true});
    ASSERT_TRUE(Projects(s).remove(project, dropProject)) << dropProject.text().toStdString();

    startup::ScriptedPrompt no({false});
    EXPECT_FALSE(Plans(s).remove(code, no));
    EXPECT_EQ(no.questions, QStringList{QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟")});
    EXPECT_TRUE(Plans(s).read(code));

    startup::ScriptedPrompt yes({true});
    EXPECT_TRUE(Plans(s).remove(code, yes)) << yes.text().toStdString();
    EXPECT_TRUE(Plans(s).read(code).empty());
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM AUDITTRAIL WHERE TABLENAME = 'TARH' AND OP = 'D'")), 1);
}

TEST(Plans, CodeChangeRepointsTheProjectsAndRegistersInOneWorkAndNoYearsVouchers)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const QString deposits = QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE TARHNO = :t");
    const qint64 before = count(s.deposits(), deposits, {{QStringLiteral(":t"), 1}});
    const qint64 projects = count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PROJEH WHERE TARHNO = 1 AND CI = 0"));
    const qint64 vouchers = count(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE TARHNO = 1"));
    ASSERT_GT(before, 0);
    ASSERT_GT(projects, 0);
    ASSERT_GT(vouchers, 0);

    startup::ScriptedPrompt prompt({true});
    prompt.texts << QStringLiteral("۵۰");
    ASSERT_TRUE(Plans(s).changeCode(1, prompt)) << prompt.text().toStdString();
    EXPECT_EQ(prompt.questions, (QStringList{QStringLiteral(" کد جديد را وارد کنيد"), QStringLiteral("مطمئن هستيد؟")}));
    EXPECT_TRUE(Plans(s).read(1).empty());
    EXPECT_TRUE(Plans(s).read(50));
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PROJEH WHERE TARHNO = 50 AND CI = 0")), projects);
    EXPECT_EQ(count(s.deposits(), deposits, {{QStringLiteral(":t"), 50}}), before);
    EXPECT_EQ(count(s.deposits(), deposits, {{QStringLiteral(":t"), 1}}), 0);
    // The vouchers are the books of each year: the open year keeps the number it was
    // posted with, as every other year does.
    EXPECT_EQ(count(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE TARHNO = 1")), vouchers);
    EXPECT_EQ(count(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE TARHNO = 50")), 0);

    // A number that is taken is refused; nothing changes.
    startup::ScriptedPrompt taken({true});
    taken.texts << QStringLiteral("2");
    EXPECT_FALSE(Plans(s).changeCode(50, taken));
    EXPECT_EQ(taken.text(), QStringLiteral("کد تکراري است : ") + Plans(s).read(2)->name);
    EXPECT_TRUE(Plans(s).read(50));
}

TEST(Plans, MovingOntoAPlanThatIsNoneChangesNothing)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt prompt({true});
    prompt.texts << QStringLiteral("99");
    EXPECT_FALSE(Plans(s).moveTo(1, prompt));
    EXPECT_EQ(prompt.text(), QStringLiteral(" کد يافت نشد 99"));
    EXPECT_TRUE(Plans(s).read(1));
    EXPECT_GT(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PROJEH WHERE TARHNO = 1 AND CI = 0")), 0);
}

TEST(Plans, MovingOntoAnotherPlanMergesOrFailsWhole)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const qint64 projectsOf1 = count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PROJEH WHERE TARHNO = 1 AND CI = 0"));
    const qint64 projectsOf2 = count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PROJEH WHERE TARHNO = 2 AND CI = 0"));

    // A contract row that already holds plan 2 with the project a row of plan 1
    // holds: the move would make one key twice, so none of it happens.
    const auto row = db::firstRow(s.common(), QStringLiteral("SELECT PaymanCode, Projeh FROM PAYMAN_TP WHERE Tarh = 1 AND CI = 0"));
    ASSERT_TRUE(row);
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("INSERT INTO PAYMAN_TP (PaymanCode, Tarh, Projeh, Amount, CI) VALUES (:c, 2, :p, 1, 0)"),
                            {{QStringLiteral(":c"), row->value(0)}, {QStringLiteral(":p"), row->value(1)}}));
    const qint64 deposits1 = count(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE TARHNO = 1"));
    startup::ScriptedPrompt clash({true});
    clash.texts << QStringLiteral("2");
    EXPECT_FALSE(Plans(s).moveTo(1, clash));
    EXPECT_FALSE(clash.text().isEmpty());
    EXPECT_TRUE(Plans(s).read(1));
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PROJEH WHERE TARHNO = 1 AND CI = 0")), projectsOf1);
    EXPECT_EQ(count(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE TARHNO = 1")), deposits1);

    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("DELETE FROM PAYMAN_TP WHERE Tarh = 2 AND PaymanCode = :c AND Projeh = :p"),
                            {{QStringLiteral(":c"), row->value(0)}, {QStringLiteral(":p"), row->value(1)}}));
    startup::ScriptedPrompt prompt({true});
    prompt.texts << QStringLiteral("2");
    ASSERT_TRUE(Plans(s).moveTo(1, prompt)) << prompt.text().toStdString();
    EXPECT_TRUE(Plans(s).read(1).empty());
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PROJEH WHERE TARHNO = 2 AND CI = 0")), projectsOf1 + projectsOf2);
    EXPECT_EQ(count(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE TARHNO = 1")), 0);
}

TEST(Plans, CodeChangeKeepsToTheCurrentSection)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt yes({}, true);
    ASSERT_TRUE(s.OpenSection(1405, QStringLiteral("1"), yes)) << yes.text().toStdString();
    // Section 1 gets a plan under a number section 0 uses as well.
    startup::CollectingPrompt quiet;
    Plan p;
    p.code = 3;
    p.name = QStringLiteral("طرح عمراني");
    ASSERT_TRUE(Plans(s).save(p, true, quiet)) << quiet.text().toStdString();
    Project j;
    j.name = QStringLiteral("پروژه عمراني");
    j.plan = 3;
    ASSERT_TRUE(Projects(s).save(j, true, quiet)) << quiet.text().toStdString();

    startup::ScriptedPrompt prompt({true});
    prompt.texts << QStringLiteral("30");
    ASSERT_TRUE(Plans(s).changeCode(3, prompt)) << prompt.text().toStdString();
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM TARH WHERE CODE = 30 AND CI = 1")), 1);
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PROJEH WHERE TARHNO = 30 AND CI = 1")), 1);
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM TARH WHERE CODE = 3 AND CI = 0")), 1);
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM PROJEH WHERE TARHNO = 30 AND CI = 0")), 0);
}

TEST(Projects, DeleteIsRefusedWhileInUseAndOtherwiseDone)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const qint64 used = count(s.deposits(), QStringLiteral("SELECT MIN(PROJNO) FROM SEP_DAR WHERE PROJNO > 0"));
    startup::ScriptedPrompt yes({}, true);
    EXPECT_FALSE(Projects(s).remove(used, yes));
    EXPECT_EQ(yes.text(), QStringLiteral("امکان حذف پروژه در گردش وجود ندارد؟"));
    EXPECT_TRUE(Projects(s).read(used));

    qint64 project = 0;
    freshPlan(s, &project);
    startup::ScriptedPrompt ok({true});
    EXPECT_TRUE(Projects(s).remove(project, ok)) << ok.text().toStdString();
    EXPECT_TRUE(Projects(s).read(project).empty());
}

TEST(Projects, AProjectIsFoundByItsAgreementCodeInTheSection)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const auto any = db::firstRow(s.common(), QStringLiteral("SELECT PROJNO, CODP FROM PROJEH WHERE CI = 0 AND CODP IS NOT NULL AND CODP <> '' ORDER BY PROJNO"));
    ASSERT_TRUE(any);
    const QString code = any->value(1).toString().trimmed();
    struct Case {
        QString typed;
        qint64 found;   // 0: none
    } cases[] = {{code, any->value(0).toLongLong()}, {QStringLiteral("  ") + code + QStringLiteral(" "), any->value(0).toLongLong()},
                 {QStringLiteral("no-such-code"), 0}, {QString(), 0}, {QStringLiteral("' OR '1'='1"), 0}};
    for (const Case& k : cases) {
        const db::Fetched<Project> p = Projects(s).byAgreementCode(k.typed);
        EXPECT_FALSE(p.failed()) << k.typed.toStdString();
        EXPECT_EQ(p ? p->number : 0, k.found) << k.typed.toStdString();
    }
    // Another section's project under the same code is not this section's.
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("UPDATE PROJEH SET CI = 1 WHERE CI = 0 AND CODP = :c"), {{QStringLiteral(":c"), code}}));
    EXPECT_TRUE(Projects(s).byAgreementCode(code).empty());
}

TEST(Plans, DeletingNeedsTheDeleteBitOfItsEntry)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const qint64 code = freshPlan(s);
    startup::ScriptedPrompt login;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("4"), QStringLiteral("1111"), login)) << login.text().toStdString();
    startup::ScriptedPrompt yes({}, true);
    EXPECT_FALSE(Plans(s).remove(code, yes));
    EXPECT_EQ(yes.text(), startup::refusalText());
    EXPECT_TRUE(yes.questions.isEmpty());
    EXPECT_TRUE(Plans(s).read(code));
}
