#include "core/basedata/BankBranches.h"
#include "core/basedata/BankNames.h"
#include "core/basedata/Branches.h"
#include "core/basedata/Centres.h"
#include "core/basedata/DepositAccounts.h"
#include "core/basedata/HesabBanki.h"
#include "core/basedata/OfficeAccounts.h"
#include "core/basedata/PlanBankLists.h"
#include "core/basedata/Plans.h"
#include "core/basedata/Projects.h"
#include "core/basedata/Provinces.h"
#include "core/basedata/SupervisingOffices.h"
#include "core/CoreLists.h"
#include "core/db/Db.h"
#include "core/io/FilterExpression.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

#include <functional>

using namespace orvak;
using namespace orvak::basedata;

namespace {

qint64 count(QSqlDatabase db, const QString& sql)
{
    return db::scalar(db, sql).value_or(QVariant(-1)).toLongLong();
}

} // namespace

TEST(BankRegisters, ABankNameStaysWhileAnAccountOrABranchNamesItAndOtherwiseGoesAlone)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const QString refusal = QStringLiteral("براي اين بانك شعبه بانكي تعريف شده است و نمي تواند حذف گردد");
    // Bank 1 has an account; bank 5 only branches, which a guarantee may name.
    ASSERT_GT(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM HESAB WHERE BANK = 1")), 0);
    ASSERT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM HESAB WHERE BANK = 5")), 0);
    const qint64 branches = count(s.common(), QStringLiteral("SELECT COUNT(*) FROM BANKBRANCHNAME WHERE BANKID = 5"));
    ASSERT_GT(branches, 0);
    for (qint64 bank : {1, 5}) {
        startup::ScriptedPrompt yes({}, true);
        EXPECT_FALSE(BankNames(s).remove(bank, yes)) << bank;
        EXPECT_EQ(yes.text(), refusal) << bank;
        EXPECT_TRUE(yes.questions.isEmpty()) << bank;
        EXPECT_TRUE(BankNames(s).read(bank)) << bank;
    }
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM BANKBRANCHNAME WHERE BANKID = 5")), branches);

    // Its branches moved to another bank, the name goes alone after the question.
    const qint64 all = count(s.common(), QStringLiteral("SELECT COUNT(*) FROM BANKBRANCHNAME"));
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("UPDATE BANKBRANCHNAME SET BANKID = 4 WHERE BANKID = 5")));
    startup::ScriptedPrompt ok({true});
    EXPECT_TRUE(BankNames(s).remove(5, ok)) << ok.text().toStdString();
    EXPECT_EQ(ok.questions, QStringList{QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟")});
    EXPECT_TRUE(BankNames(s).read(5).empty());
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM BANKBRANCHNAME")), all);
}

TEST(BankRegisters, AProvinceOrOfficeStaysWhileSomethingStandsUnderItAndOtherwiseGoesAlone)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const qint64 offices = count(s.common(), QStringLiteral("SELECT COUNT(*) FROM SARPARASTI"));
    const qint64 branches = count(s.common(), QStringLiteral("SELECT COUNT(*) FROM SHOBEH"));
    ASSERT_GT(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM SARPARASTI WHERE OSTAN = 1")), 0);
    ASSERT_GT(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM SHOBEH WHERE SARPARASTI = 100")), 0);
    struct Case {
        const char* what;
        std::function<bool(startup::Prompt&)> remove;
        QString refusal;
    } cases[] = {
        {"a province with offices", [&](startup::Prompt& p) { return Provinces(s).remove(1, p); },
         QStringLiteral("براي اين استان سرپرستي تعريف شده است و نمي تواند حذف گردد")},
        {"an office with branches", [&](startup::Prompt& p) { return SupervisingOffices(s).remove(100, p); },
         QStringLiteral("براي اين سرپرستي شعبه تعريف شده است و نمي تواند حذف گردد")},
    };
    for (const Case& k : cases) {
        startup::ScriptedPrompt yes({}, true);
        EXPECT_FALSE(k.remove(yes)) << k.what;
        EXPECT_EQ(yes.text(), k.refusal) << k.what;
        EXPECT_TRUE(yes.questions.isEmpty()) << k.what;
    }
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM SARPARASTI")), offices);
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM SHOBEH")), branches);

    // A province with nothing under it goes after the question, and nothing else does.
    startup::CollectingPrompt quiet;
    NamedRow empty;
    empty.name = QStringLiteral("استان آزمايشي");
    const std::optional<qint64> added = Provinces(s).save(empty, true, quiet);
    ASSERT_TRUE(added) << quiet.text().toStdString();
    startup::ScriptedPrompt ok({true});
    EXPECT_TRUE(Provinces(s).remove(*added, ok)) << ok.text().toStdString();
    EXPECT_EQ(ok.questions, QStringList{QStringLiteral("اطلاعات جاري حذف گردد؟")});
    EXPECT_TRUE(Provinces(s).read(*added).empty());
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM SARPARASTI")), offices);
}

TEST(BankRegisters, ABranchOfTheNetworkGoesByItsBankCodeWithTheRowsSharingItAndWithoutOneAlone)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::CollectingPrompt quiet;
    const Branch first = *Branches(s).read(1);
    ASSERT_FALSE(first.branchCode.isEmpty());
    Branch twin = first;
    twin.code = 0;
    const std::optional<qint64> added = Branches(s).save(twin, true, quiet);
    ASSERT_TRUE(added) << quiet.text().toStdString();
    Branch other = first;
    other.code = 0;
    other.branchCode = QStringLiteral("ZZ-%1").arg(first.branchCode);
    const std::optional<qint64> kept = Branches(s).save(other, true, quiet);
    ASSERT_TRUE(kept) << quiet.text().toStdString();

    startup::ScriptedPrompt no({false});
    EXPECT_FALSE(Branches(s).remove(1, no));
    EXPECT_EQ(no.questions,
              QStringList{QStringLiteral("2 شعبه با کد شعبه %1 ثبت شده است و همه حذف مي شوند. اطلاعات جاري حذف گردد؟").arg(first.branchCode)});
    EXPECT_TRUE(Branches(s).read(1));
    startup::ScriptedPrompt ok({true});
    EXPECT_TRUE(Branches(s).remove(1, ok)) << ok.text().toStdString();
    EXPECT_TRUE(Branches(s).read(1).empty());
    EXPECT_TRUE(Branches(s).read(*added).empty());
    EXPECT_TRUE(Branches(s).read(*kept));

    // Without a bank code the branch is only itself.
    Branch bare = first;
    bare.code = 0;
    bare.branchCode.clear();
    const std::optional<qint64> a = Branches(s).save(bare, true, quiet);
    const std::optional<qint64> b = Branches(s).save(bare, true, quiet);
    ASSERT_TRUE(a && b) << quiet.text().toStdString();
    startup::ScriptedPrompt alone({true});
    EXPECT_TRUE(Branches(s).remove(*a, alone)) << alone.text().toStdString();
    EXPECT_EQ(alone.questions, QStringList{QStringLiteral("اطلاعات جاري حذف گردد؟")});
    EXPECT_TRUE(Branches(s).read(*a).empty());
    EXPECT_TRUE(Branches(s).read(*b));
}

TEST(BankRegisters, ABankBranchWithoutItsBankIsSavedAfterTheWarning)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::CollectingPrompt prompt;
    BankBranch b;
    b.branchCode = QStringLiteral("2001");
    b.name = QStringLiteral("شعبه بلوار");
    const std::optional<qint64> code = BankBranches(s).save(b, true, prompt);
    ASSERT_TRUE(code);
    EXPECT_EQ(prompt.text(), QStringLiteral("هشدار : کد بانک وارد نشده است"));
    EXPECT_EQ(BankBranches(s).read(*code)->bank, 0);
}

TEST(BankRegisters, AnAccountOfAllSectionsIsListedInEverySectionAndOneOfAllProgramsForEveryProgram)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("UPDATE HESAB SET BRANCHC = 2 WHERE CODE = 2")));
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("UPDATE HESAB SET PROGID = 5 WHERE CODE = 3")));
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("UPDATE HESAB SET PROGID = NULL WHERE CODE = 4")));
    const io::ListDefinition list = officeAccountsList(QStringLiteral("1"));
    auto codes = [&](int program) {
        QSqlQuery q(s.common());
        db::prepareBound(q, list.sql, {{QStringLiteral(":pbranchc"), 1}, {QStringLiteral(":ProgID"), program}});
        EXPECT_TRUE(q.exec());
        QList<int> c;
        while (q.next())
            c << q.value(QStringLiteral("CODE")).toInt();
        std::sort(c.begin(), c.end());
        return c;
    };
    EXPECT_EQ(codes(3), (QList<int>{1, 3, 4}));   // this program sees every account
    EXPECT_EQ(codes(5), (QList<int>{3, 4}));
    EXPECT_EQ(codes(7), (QList<int>{4}));
}

// Bad input: nothing is written and the message says why.
TEST(BankRegisters, TheAccountingMovementsFilterComparesAccountCodesAsText)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("UPDATE HESAB SET ACCOUNTNO = NULL")));
    struct Case {
        int code;
        const char* account;   // the office account's code
        bool moves;
    } cases[] = {{1, "21006", true}, {2, "021006", false}, {3, "21006-1", true}, {4, "2100", false}};
    for (const Case& k : cases)
        ASSERT_TRUE(db::execSql(s.common(), QStringLiteral("UPDATE HESAB SET ACCOUNTNO = :a WHERE CODE = :c"),
                                {{QStringLiteral(":a"), QString::fromLatin1(k.account)}, {QStringLiteral(":c"), k.code}}));
    ASSERT_TRUE(db::execSql(s.accounting(), QStringLiteral("INSERT INTO SNDROW (SNDNO, ROW, KOL, ACCOUNT) VALUES (999999, 1, 1, '21006-1')")));
    ASSERT_GT(count(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE ACCOUNT = '21006'")), 0);
    const db::Fetched<QList<qint64>> moving = OfficeAccounts(s).withAccountingMovements();
    ASSERT_TRUE(moving) << moving.error().toStdString();
    for (const Case& k : cases)
        EXPECT_EQ(moving->contains(k.code), k.moves) << k.account;
}

TEST(BankRegisters, TheShortAccountListIsKeptByCodeAndAsksBeforeADelete)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    HesabBanki accounts(s);
    const qint64 next = count(s.common(), QStringLiteral("SELECT MAX(CODE) + 1 FROM HesabBanki"));
    EXPECT_EQ(accounts.proposedCode().value_or(0), next);
    startup::CollectingPrompt quiet;
    ShortBankAccount a;
    a.accountNo = QStringLiteral("0107788990");
    a.bank = 1;
    a.branchName = QStringLiteral("شعبه مرکزي");
    a.branchCode = QStringLiteral("1007");
    a.tel = QStringLiteral("074-33221100");
    const std::optional<qint64> code = accounts.save(a, true, quiet);
    ASSERT_TRUE(code) << quiet.text().toStdString();
    EXPECT_EQ(*code, next);
    EXPECT_EQ(accounts.read(*code)->branchName, QStringLiteral("شعبه مرکزي"));

    struct Case {
        const char* what;
        ShortBankAccount a;
        QString refusal;
    } cases[] = {
        {"no account number", ShortBankAccount{0, QString(), QStringLiteral("x"), 1, {}, {}}, QStringLiteral("اطلاعات کامل نيست")},
        {"a bank that is none", ShortBankAccount{0, QStringLiteral("1"), {}, 99, {}, {}}, QStringLiteral(" کد يافت نشد 99")},
        {"a number too long", ShortBankAccount{0, QStringLiteral("1234567890123456"), {}, 1, {}, {}}, QStringLiteral("متن وارد شده بيش از 15 حرف است : 1234567890123456")},
    };
    for (const Case& k : cases) {
        startup::CollectingPrompt p;
        EXPECT_FALSE(accounts.save(k.a, true, p)) << k.what;
        EXPECT_EQ(p.text(), k.refusal) << k.what;
    }

    startup::ScriptedPrompt no({false});
    EXPECT_FALSE(accounts.remove(*code, no));
    EXPECT_EQ(no.questions, QStringList{QStringLiteral("آيا حساب مورد نظر حذف شود")});
    startup::ScriptedPrompt yes({true});
    EXPECT_TRUE(accounts.remove(*code, yes)) << yes.text().toStdString();
    EXPECT_TRUE(accounts.read(*code).empty());

    const auto list = coreLists().find(QStringLiteral("short-bank-accounts"));
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->title, QStringLiteral("فهرست حسابهاي بانكي"));
}

TEST(BankRegisters, BadInputIsRefusedWithItsMessage)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    using Save = std::function<bool(startup::Prompt&)>;
    struct Case {
        const char* what;
        Save save;
        QString message;
        const char* counted;   // rows that must stay as they were
    };
    auto plan = [&s](qint64 code, QString name) {
        return [&s, code, name](startup::Prompt& p) {
            Plan x;
            x.code = code;
            x.name = name;
            return Plans(s).save(x, true, p).has_value();
        };
    };
    auto project = [&s](qint64 plan, qint64 centre) {
        return [&s, plan, centre](startup::Prompt& p) {
            Project x;
            x.name = QStringLiteral("پروژه");
            x.plan = plan;
            x.centre = centre;
            return Projects(s).save(x, true, p).has_value();
        };
    };
    auto account = [&s](qint64 bank, QString date, qint64 detail) {
        return [&s, bank, date, detail](startup::Prompt& p) {
            OfficeAccount a;
            a.accountNo = QStringLiteral("0100200300");
            a.bank = bank;
            a.startDate = date;
            a.detail = detail;
            return OfficeAccounts(s).save(a, true, p).has_value();
        };
    };
    const QString incomplete = QStringLiteral("اطلاعات کامل نيست");
    const Case cases[] = {
        {"plan without a name", plan(0, QStringLiteral("  ")), incomplete, "SELECT COUNT(*) FROM TARH"},
        {"plan number in use", plan(2, QStringLiteral("x")), QStringLiteral("کد تکراري است : ") + Plans(s).read(2)->name, "SELECT COUNT(*) FROM TARH"},
        {"plan of quotes and SQL", plan(0, QStringLiteral("'); DELETE FROM TARH; --")), QString(), nullptr},
        {"project of a plan that is none", project(999, 0), QStringLiteral(" کد يافت نشد 999"), "SELECT COUNT(*) FROM PROJEH"},
        {"project at a place that is none", project(1, 999), QStringLiteral(" کد يافت نشد 999"), "SELECT COUNT(*) FROM PROJEH"},
        {"account without a bank", account(0, QStringLiteral("1400/01/01"), 0), incomplete, "SELECT COUNT(*) FROM HESAB"},
        {"account of a bank that is none", account(77, QStringLiteral("1400/01/01"), 0), QStringLiteral(" کد يافت نشد 77"), "SELECT COUNT(*) FROM HESAB"},
        {"account opened on no date", account(1, QStringLiteral("1400/13/40"), 0), QStringLiteral("تاريخ افتتاح حساب معتبر نيست: 1400/13/40"),
         "SELECT COUNT(*) FROM HESAB"},
        {"account without its date", account(1, QString(), 0), incomplete, "SELECT COUNT(*) FROM HESAB"},
        {"account of a party that is none", account(1, QStringLiteral("۱۴۰۰/۰۱/۰۱"), 987654), QStringLiteral(" کد يافت نشد 987654"),
         "SELECT COUNT(*) FROM HESAB"},
        {"centre without a name", [&s](startup::Prompt& p) { return Centres(s).save({0, QString()}, true, p).has_value(); }, incomplete,
         "SELECT COUNT(*) FROM CENTERS"},
        {"office under a province that is none",
         [&s](startup::Prompt& p) { return SupervisingOffices(s).save({0, QStringLiteral("سرپرستي"), 55}, true, p).has_value(); },
         QStringLiteral(" کد يافت نشد 55"), "SELECT COUNT(*) FROM SARPARASTI"},
        {"bank branch without a name",
         [&s](startup::Prompt& p) { return BankBranches(s).save({0, 1, QStringLiteral("12"), QString(), {}, {}, {}}, true, p).has_value(); },
         QStringLiteral("اطلاعات كامل نيست"), "SELECT COUNT(*) FROM BANKBRANCHNAME"},
    };
    for (const Case& c : cases) {
        const qint64 before = c.counted ? count(s.common(), QString::fromLatin1(c.counted)) : 0;
        startup::CollectingPrompt prompt;
        const bool saved = c.save(prompt);
        if (c.message.isEmpty()) {
            // Quotes and SQL are a name like any other.
            EXPECT_TRUE(saved) << c.what << prompt.text().toStdString();
            continue;
        }
        EXPECT_FALSE(saved) << c.what;
        EXPECT_EQ(prompt.text(), c.message) << c.what;
        EXPECT_EQ(count(s.common(), QString::fromLatin1(c.counted)), before) << c.what;
    }
    EXPECT_EQ(count(s.common(), QStringLiteral("SELECT COUNT(*) FROM TARH WHERE NAMET = '''); DELETE FROM TARH; --'")), 1);

    // A new number typed for a plan that is not a number.
    for (const char* typed : {"abc", "-4", "'; DROP TABLE TARH; --", "0"}) {
        startup::ScriptedPrompt prompt({true});
        prompt.texts << QString::fromUtf8(typed);
        EXPECT_FALSE(Plans(s).changeCode(1, prompt)) << typed;
        EXPECT_EQ(prompt.text(), QStringLiteral("کد برنامه بايد عددي بزرگتر از صفر باشد")) << typed;
    }
    EXPECT_TRUE(Plans(s).read(1));
}

// The searches of the lists compare as the program normalises Persian text, and
// what is typed is plain text, never SQL nor a pattern.
TEST(BankRegisters, SearchesArePlainNormalisedText)
{
    io::RowSet rows;
    rows.setFieldNames({QStringLiteral("NAME")});
    const QStringList names{QStringLiteral("بانك ملي"), QStringLiteral("مي‌خواهم ۱۲ شعبه"), QStringLiteral("سود 50% ساليانه"), QStringLiteral("O'Brien"),
                            QStringLiteral("abc_def")};
    for (const QString& n : names)
        rows.appendRow({n});
    struct Case { const char* word; QList<int> rows; };
    const Case cases[] = {
        {"بانک ملی", {0}},             // Persian Kaf and Yeh find Arabic ones
        {"میخواهم 12", {1}},            // no ZWNJ, ASCII digits
        {"50%", {2}},                   // the percent sign is itself
        {"%", {2}},
        {"O'Brien", {3}},               // a quote is a letter
        {"c_d", {4}},
        {"_", {4}},
        {"' OR 1=1 --", {}},
        {"[", {}},
    };
    for (const Case& c : cases) {
        QString why;
        const auto f = io::FilterExpression::parse(io::filterContains(QStringLiteral("NAME"), QString::fromUtf8(c.word)), {QStringLiteral("NAME")}, &why);
        ASSERT_TRUE(f) << c.word << why.toStdString();
        QList<int> found;
        for (int r = 0; r < rows.rowCount(); ++r) {
            if (f->matches(rows, r))
                found << r;
        }
        EXPECT_EQ(found, c.rows) << c.word;
    }
    EXPECT_EQ(findRow(rows, QStringLiteral("NAME"), QStringLiteral("بانک ملی")), 0);
    EXPECT_EQ(findRow(rows, QStringLiteral("NAME"), QStringLiteral("بانک")), -1);
}
