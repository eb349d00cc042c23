#include "core/CoreLists.h"
#include "core/basedata/DetailAccounts.h"
#include "core/basedata/DetailGroups.h"
#include "core/basedata/Parameters.h"
#include "core/basedata/StandardDescriptions.h"
#include "core/basedata/Trades.h"
#include "core/basedata/PartyLists.h"
#include "core/io/BoundList.h"
#include "core/startup/ServerSetup.h"
#include "core/util/Iban.h"
#include "support/ScriptedPrompt.h"
#include "support/TempInstallation.h"
#include "support/TestSupport.h"

#include <functional>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::basedata;
using orvak::startup::ScriptedPrompt;

namespace {

// An installation with the section's deposits database and the year's accounting
// database open, and the manager logged in.
struct Chart {
    test::TempInstallation t;
    std::unique_ptr<startup::Session> s;

    Chart()
    {
        t.create();
        s = t.reconnect();
        ScriptedPrompt yes({}, true);
        EXPECT_TRUE(s->OpenSection(1403, QStringLiteral("0"), yes));
        EXPECT_TRUE(startup::createAccountingDatabase(*s, 1403, QStringLiteral("0"), yes)) << yes.text().toStdString();
        EXPECT_TRUE(s->OpenAccountingYear(1403, QStringLiteral("0"), yes)) << yes.text().toStdString();
        s->setCurrentUserCode(3);
    }
    void exec(QSqlDatabase db, const QString& sql) { ASSERT_TRUE(db::execSql(db, sql)) << sql.toStdString(); }
    void party(qint64 code, const QString& name, const QString& nid = {}, int ci = 0)
    {
        ASSERT_TRUE(db::execSql(s->common(), QStringLiteral("INSERT INTO TAFSILI (CODE, NAME, NID, CI) VALUES (:c, :n, :nid, :ci)"),
                                {{QStringLiteral(":c"), code}, {QStringLiteral(":n"), name}, {QStringLiteral(":nid"), nid}, {QStringLiteral(":ci"), ci}}));
    }
    qint64 count(QSqlDatabase db, const QString& sql) { return db::scalar(db, sql)->toLongLong(); }
    qint64 parties() { return count(s->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI")); }
};

DetailAccount account(qint64 code, const QString& name, QVariantMap more = {})
{
    DetailAccount a;
    a.code = code;
    a.values = std::move(more);
    a.values.insert(QStringLiteral("NAME"), name);
    return a;
}

} // namespace

TEST(DetailAccounts, ProposesOneInAnEmptyChartThenTheSectionsLargestPlusOne)
{
    Chart c;
    DetailAccounts accounts(*c.s);
    EXPECT_EQ(*accounts.proposedCode(), 1);
    c.party(2051, QStringLiteral("شرکت نخست"));
    c.party(9000, QStringLiteral("شرکت بخش ديگر"), {}, 1);
    EXPECT_EQ(*accounts.proposedCode(), 2052);
}

TEST(DetailAccounts, SaveChecksInTheirOrderAndWritesOnlyWhatPasses)
{
    Chart c;
    c.party(10, QStringLiteral("شرکت موجود"), QStringLiteral("0012345679"));
    c.exec(c.s->common(), QStringLiteral("UPDATE TAFSILI SET BOURSECODE = 'ABC' WHERE CODE = 10"));
    const QString nidDuplicate = QStringLiteral("توجه داشته باشيد که شناسه/کد ملي تکراري است.");
    const QString bourseDuplicate = QStringLiteral("توجه داشته باشيد که کد معاملاتي بورس تکراري است.");
    const QString recommend = QStringLiteral("توصيه ميشود کد ملي/شناسه ملي اشخاص هم وارد شود");
    const QString sqlName = QStringLiteral("O'Reilly'); DELETE FROM TAFSILI; --");
    struct Case {
        const char* what;
        DetailAccount a;
        bool saved;
        QStringList infos;
    } cases[] = {
        {"warnings, then the empty name refuses",
         account(11, QString(), {{QStringLiteral("NID"), QStringLiteral("0012345679")}, {QStringLiteral("BOURSECODE"), QStringLiteral("ABC")}}), false,
         {nidDuplicate, bourseDuplicate, QStringLiteral("اطلاعات کامل نيست")}},
        {"a taken number", account(10, QStringLiteral("شرکت دوم"), {{QStringLiteral("NID"), QStringLiteral("10101234567")}}), false,
         {QStringLiteral("کد قبلا تعريف شده است : شرکت موجود")}},
        {"letters in the identifier: a foreign party's passport number", account(12, QStringLiteral("شرکت سوم"), {{QStringLiteral("NID"), QStringLiteral("P1234567")}}),
         true, {}},
        {"a date that is no date", account(13, QStringLiteral("شرکت چهارم"), {{QStringLiteral("SABTDATE"), QStringLiteral("1403/13/40")}}), false,
         {QStringLiteral("تاريخ وارد شده معتبر نيست : 1403/13/40")}},
        {"no identifier: recommended, saved", account(14, QStringLiteral("شرکت پنجم")), true, {recommend}},
        {"a wrong IBAN warns and saves",
         account(15, QStringLiteral("شرکت ششم"), {{QStringLiteral("NID"), QStringLiteral("10101234567")}, {QStringLiteral("SHABA"), QStringLiteral("062960000000100324200002")}}),
         true, {QStringLiteral("توجه داشته باشيد که شماره شبا نامعتبر است.")}},
        {"a failing national code is saved",
         account(16, sqlName, {{QStringLiteral("NID"), QStringLiteral("۰۰۱۲۳۴۵۶۷۸")}, {QStringLiteral("SHABA"), QStringLiteral("IR06 2960 0000 0010 0324 2000 01")}}), true, {}},
    };
    for (const Case& k : cases) {
        ScriptedPrompt prompt;
        const qint64 before = c.parties();
        EXPECT_EQ(DetailAccounts(*c.s).save(k.a, true, prompt), k.saved) << k.what;
        EXPECT_EQ(prompt.infos, k.infos) << k.what;
        EXPECT_EQ(c.parties(), before + (k.saved ? 1 : 0)) << k.what;
    }
    // Typed as given: the quote and the statement are a name; Persian digits are stored as ASCII.
    const auto quoted = DetailAccounts(*c.s).read(16);
    ASSERT_TRUE(quoted.has_value());
    EXPECT_EQ(quoted->text(QStringLiteral("NAME")), sqlName);
    EXPECT_EQ(quoted->text(QStringLiteral("NID")), QStringLiteral("0012345678"));
    EXPECT_EQ(quoted->text(QStringLiteral("SHABA")), QStringLiteral("062960000000100324200001"));

    // Editing keeps the number and the columns the screen does not show.
    c.exec(c.s->common(), QStringLiteral("UPDATE TAFSILI SET MOHR = X'FFD8' WHERE CODE = 14"));
    DetailAccount edited = *DetailAccounts(*c.s).read(14);
    edited.values.insert(QStringLiteral("NAME"), QStringLiteral("شرکت پنجم نو"));
    ScriptedPrompt quiet;
    ASSERT_TRUE(DetailAccounts(*c.s).save(edited, false, quiet)) << quiet.text().toStdString();
    EXPECT_EQ(c.count(c.s->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE CODE = 14 AND MOHR IS NOT NULL AND NAME = 'شرکت پنجم نو'")), 1);
}

TEST(DetailAccounts, LeavingTheIdentifierAndNameFieldsTellsDuplicatesAndBadCodes)
{
    Chart c;
    c.party(10, QStringLiteral("شرکت موجود"), QStringLiteral("0012345678"));
    DetailAccounts accounts(*c.s);
    ScriptedPrompt prompt;
    accounts.checkNationalId(11, QStringLiteral("شرکت نو"), QStringLiteral("0012345678"), prompt);
    EXPECT_EQ(prompt.infos, (QStringList{QStringLiteral("  اطلاعات تكراري است : 10 کد شرکت موجود"),
                                         QStringLiteral("  کد ملي نامعتبر است : 11 کد شرکت نو")}));
    ScriptedPrompt name;
    EXPECT_TRUE(accounts.nameHeldElsewhere(11, QStringLiteral("شرکت موجود"), name));
    EXPECT_FALSE(accounts.nameHeldElsewhere(10, QStringLiteral("شرکت موجود"), name));
    EXPECT_EQ(name.infos, QStringList{QStringLiteral("  اطلاعات تكراري است : شرکت موجود")});
}

TEST(DetailAccounts, ReportingIdentifierFromCategoryAndNationalId)
{
    struct Case {
        const char* nid;
        const char* code;
        bool ok;
    } cases[] = {{"10101234567", "311110101234567", true}, {"001-234-5679", "311190012345679", true}, {"12345", "311112345", false}};
    for (const Case& k : cases) {
        ScriptedPrompt prompt;
        const NomineeCode n = buildNomineeCode(reportingCategories().first().second, QString::fromLatin1(k.nid), prompt);
        EXPECT_EQ(n.code, QString::fromLatin1(k.code)) << k.nid;
        EXPECT_EQ(n.ok, k.ok) << k.nid;
        EXPECT_EQ(prompt.infos.size(), k.ok ? 0 : 1) << k.nid;
    }
}

TEST(DetailAccounts, DeleteIsRefusedWhereTheAccountIsUsedOrOwesAndOtherwiseTakesTheAccountAlone)
{
    Chart c;
    for (int code : {1, 2, 3, 4, 5, 6})
        c.party(code, QStringLiteral("طرف %1").arg(code));
    c.exec(c.s->deposits(), QStringLiteral("INSERT INTO ZEMANAT (IDX, TAFSILNO) VALUES (1, 1)"));
    c.exec(c.s->deposits(), QStringLiteral("INSERT INTO SEP_DAR (IDX, TAFSILI, AMOUNT) VALUES (1, 2, 10)"));
    c.exec(c.s->accounting(), QStringLiteral("INSERT INTO SNDROW (SNDNO, ROW, TAFSIL) VALUES (1, 1, 3)"));
    c.exec(c.s->common(), QStringLiteral("INSERT INTO PAYMENTS (CODE, TAFSIL, CI) VALUES (1, 4, 0)"));
    c.exec(c.s->common(), QStringLiteral("INSERT INTO TAlarmKosuratH (IDX, TAFSILI_CODE, STATUS, CI) VALUES (1, 5, 3, 0)"));
    const QString inRegisters = QStringLiteral("اين پيمانکار در سپرده ها و يا تضمينات داراي گردش مي باشد و نميتواند حذف گردد.");
    struct Case {
        int code;
        QString refusal;
    } cases[] = {{1, inRegisters},
                 {2, inRegisters},
                 {3, QStringLiteral("اين پيمانکار درحسابداري پيشرفته داراي گردش مي باشد و نميتواند حذف گردد.")},
                 {4, QStringLiteral("اين پيمانکار داراي قرارداد مي باشد و نميتواند حذف گردد.")},
                 {5, QStringLiteral("براي اين پيمانکار سوابق بدهي (هشدار کسورات) ثبت شده است و نميتواند حذف گردد.")}};
    for (const Case& k : cases) {
        ScriptedPrompt prompt({}, true);
        EXPECT_FALSE(DetailAccounts(*c.s).remove(k.code, prompt)) << k.code;
        EXPECT_EQ(prompt.infos, QStringList{k.refusal}) << k.code;
        EXPECT_TRUE(prompt.questions.isEmpty()) << k.code;
    }
    EXPECT_EQ(c.parties(), 6);
    EXPECT_EQ(c.count(c.s->common(), QStringLiteral("SELECT COUNT(*) FROM TAlarmKosuratH")), 1);

    ScriptedPrompt no({false});
    EXPECT_FALSE(DetailAccounts(*c.s).remove(6, no));
    EXPECT_EQ(no.questions, QStringList{QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟")});
    ScriptedPrompt yes({true});
    EXPECT_TRUE(DetailAccounts(*c.s).remove(6, yes)) << yes.text().toStdString();
    EXPECT_EQ(c.parties(), 5);

    // A number nobody holds: told so, nothing else goes.
    ScriptedPrompt missing({true});
    EXPECT_FALSE(DetailAccounts(*c.s).remove(999, missing));
    EXPECT_EQ(missing.infos, QStringList{QStringLiteral("حساب تفصيلي با اين کد يافت نشــد: 999")});
    EXPECT_TRUE(missing.questions.isEmpty());
    EXPECT_EQ(c.parties(), 5);
}

TEST(PartyRegisters, AUseThatCannotBeReadRefusesTheDelete)
{
    // Each place a delete looks at, made unreadable: the row stays and the reason is told.
    struct Case {
        const char* what;
        const char* broken;   // a table the check reads, taken away
        std::function<bool(startup::Session&, startup::Prompt&)> remove;
        const char* stays;
    } cases[] = {
        {"a party whose guarantees cannot be read", "ZEMANAT", [](startup::Session& s, startup::Prompt& p) { return DetailAccounts(s).remove(7, p); },
         "SELECT COUNT(*) FROM TAFSILI WHERE CODE = 7"},
        {"a party whose contracts cannot be read", "PAYMENTS", [](startup::Session& s, startup::Prompt& p) { return DetailAccounts(s).remove(7, p); },
         "SELECT COUNT(*) FROM TAFSILI WHERE CODE = 7"},
        {"a subject whose letters cannot be read", "PAYMAN_LETTERS",
         [](startup::Session& s, startup::Prompt& p) { return Parameters(s).remove(int(ParameterKind::Subject), 1, p); },
         "SELECT COUNT(*) FROM TBPARAMS_PAY WHERE KIND = 0 AND CODE = 1"},
    };
    for (const Case& k : cases) {
        Chart c;
        c.party(7, QStringLiteral("طرف آزاد"));
        ScriptedPrompt quiet({}, true);
        ASSERT_TRUE(Parameters(*c.s).save(int(ParameterKind::Subject), 1, QStringLiteral("راهسازي"), true, quiet)) << quiet.text().toStdString();
        const QString table = QString::fromLatin1(k.broken);
        QSqlDatabase db = table == QLatin1String("ZEMANAT") ? c.s->deposits() : c.s->common();
        c.exec(db, QStringLiteral("DROP TABLE ") + table);
        ScriptedPrompt yes({}, true);
        EXPECT_FALSE(k.remove(*c.s, yes)) << k.what;
        EXPECT_FALSE(yes.text().isEmpty()) << k.what;
        EXPECT_EQ(c.count(c.s->common(), QString::fromLatin1(k.stays)), 1) << k.what;
    }
}

TEST(DetailAccounts, ChangeOfNumberRePointsEveryReferenceAsOneUnit)
{
    Chart c;
    c.party(7, QStringLiteral("شرکت قديم"));
    c.party(8, QStringLiteral("شرکت جديد"));
    c.exec(c.s->common(), QStringLiteral("INSERT INTO PAYMENTS (CODE, TAFSIL, CI) VALUES (1, 7, 0), (2, 7, 1)"));
    c.exec(c.s->deposits(), QStringLiteral("INSERT INTO SEP_DAR (IDX, TAFSILI, AMOUNT) VALUES (1, 7, 10)"));
    c.exec(c.s->deposits(), QStringLiteral("INSERT INTO ZEMANAT (IDX, TAFSILNO) VALUES (1, 7)"));
    c.exec(c.s->accounting(), QStringLiteral("INSERT INTO SNDROW (SNDNO, ROW, TAFSIL) VALUES (1, 1, 7)"));
    auto references = [&](int code) {
        const QVariantMap b{{QStringLiteral(":c"), code}};
        return QList<qint64>{db::scalar(c.s->common(), QStringLiteral("SELECT COUNT(*) FROM PAYMENTS WHERE TAFSIL = :c AND CI = 0"), b)->toLongLong(),
                             db::scalar(c.s->deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE TAFSILI = :c"), b)->toLongLong(),
                             db::scalar(c.s->deposits(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT WHERE TAFSILNO = :c"), b)->toLongLong(),
                             db::scalar(c.s->accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE TAFSIL = :c"), b)->toLongLong()};
    };

    // A failure on the way (a table of the deposits database gone) changes nothing.
    c.exec(c.s->deposits(), QStringLiteral("ALTER TABLE SEP_RADR2 RENAME TO SEP_RADR2_AWAY"));
    ScriptedPrompt failing({true, true});
    failing.texts << QStringLiteral("8");
    EXPECT_FALSE(DetailAccounts(*c.s).changeCode(7, failing));
    EXPECT_EQ(references(7), (QList<qint64>{1, 1, 1, 1}));
    EXPECT_EQ(c.parties(), 2);
    c.exec(c.s->deposits(), QStringLiteral("ALTER TABLE SEP_RADR2_AWAY RENAME TO SEP_RADR2"));

    ScriptedPrompt prompt({true, true});
    prompt.texts << QStringLiteral("۸");
    ASSERT_TRUE(DetailAccounts(*c.s).changeCode(7, prompt)) << prompt.text().toStdString();
    EXPECT_EQ(prompt.questions, (QStringList{QStringLiteral(" کد جديد را وارد کنيد"), QStringLiteral("مطمئن هستيد؟"),
                                             QStringLiteral("اطلاعات پيمانکار کد 7حذف مي شود، مطمئن هستيد؟")}));
    EXPECT_EQ(references(8), (QList<qint64>{1, 1, 1, 1}));
    EXPECT_EQ(references(7), (QList<qint64>{0, 0, 0, 0}));
    // The other section's contract keeps its own party 7.
    EXPECT_EQ(c.count(c.s->common(), QStringLiteral("SELECT COUNT(*) FROM PAYMENTS WHERE TAFSIL = 7 AND CI = 1")), 1);
    EXPECT_EQ(c.parties(), 1);

    // To a number nobody holds: the party moves there whole.
    ScriptedPrompt move({true, true});
    move.texts << QStringLiteral("900");
    ASSERT_TRUE(DetailAccounts(*c.s).changeCode(8, move)) << move.text().toStdString();
    EXPECT_EQ(DetailAccounts(*c.s).nameOf(900).value_or(QString()), QStringLiteral("شرکت جديد"));
    EXPECT_EQ(references(900), (QList<qint64>{1, 1, 1, 1}));

    // A new number that is not a number, or the same one, is refused before anything is asked.
    for (const char* typed : {"abc", "900", "-3"}) {
        ScriptedPrompt bad({true, true});
        bad.texts << QString::fromLatin1(typed);
        EXPECT_FALSE(DetailAccounts(*c.s).changeCode(900, bad)) << typed;
        EXPECT_EQ(bad.questions.size(), 1) << typed;
    }
}

TEST(DetailAccounts, BulkChangeGivesEverySelectedAccountTheValuesInOneUnit)
{
    Chart c;
    c.party(1, QStringLiteral("الف"));
    c.party(2, QStringLiteral("ب"));
    c.party(3, QStringLiteral("ج"));
    BulkPartyValues v{QStringLiteral("10101234567"), 1, 9, 2, QStringLiteral("311210101234567"), QStringLiteral("XYZ")};
    ScriptedPrompt prompt;
    ASSERT_TRUE(DetailAccounts(*c.s).bulkChange({1, 3}, v, prompt)) << prompt.text().toStdString();
    EXPECT_EQ(c.count(c.s->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE NID = '10101234567' AND SAMADTAFSILKIND = 9 AND BOURSECODE = 'XYZ'")), 2);
    // A typed identifier is a value, quotes and all, and reaches only the rows chosen.
    v.nationalId = QStringLiteral("10'1 OR 1=1");
    ScriptedPrompt typed;
    EXPECT_TRUE(DetailAccounts(*c.s).bulkChange({2}, v, typed)) << typed.text().toStdString();
    EXPECT_EQ(c.count(c.s->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE NID = '10''1 OR 1=1' AND CODE = 2")), 1);
    EXPECT_EQ(c.count(c.s->common(), QStringLiteral("SELECT COUNT(*) FROM TAFSILI WHERE NID = '10101234567'")), 2);
}

TEST(DetailAccounts, SearchesNamesUnderTheNormalisedKeyAndTypedTextStaysText)
{
    Chart c;
    c.party(1, QStringLiteral("شركت مهندسي كاوش"));                 // Arabic Kaf and Yeh
    c.party(2, QStringLiteral("شرکت می\u200Cرود ۱۲"));             // ZWNJ, Persian digits
    c.party(3, QStringLiteral("شرکت 'آزاد' 50%"));
    c.party(4, QStringLiteral("شرکت کاوش"), {}, 1);                // another section
    struct Case {
        QString word;
        QList<qint64> codes;
    } cases[] = {{QStringLiteral("مهندسی کاوش"), {1}}, {QStringLiteral("میرود 12"), {2}}, {QStringLiteral("'آزاد'"), {3}},
                 {QStringLiteral("50%"), {3}}, {QStringLiteral("%"), {3}}, {QStringLiteral("' OR '1'='1"), {}}, {QString(), {1, 2, 3}}};
    for (const Case& k : cases)
        EXPECT_EQ(DetailAccounts(*c.s).codesMatching(k.word).value_or({-1}), k.codes) << k.word.toStdString();
    // A word longer than any name is refused in Persian before the engine sees it
    // (60,000 characters are more than its LIKE takes).
    for (int length : {201, 60000}) {
        const auto tooLong = DetailAccounts(*c.s).codesMatching(QString(length, QChar(0x0628)));
        EXPECT_TRUE(tooLong.failed()) << length;
        EXPECT_EQ(tooLong.error(), QStringLiteral("متن جستجو بيش از 200 حرف است")) << length;
    }
    EXPECT_EQ(DetailAccounts(*c.s).codesMatching(QString(200, QChar(0x0628))).value_or({-1}), QList<qint64>{});

    // The list shows what the search found; the debt alarm flags its party.
    c.exec(c.s->common(), QStringLiteral("INSERT INTO TAlarmKosuratH (IDX, TAFSILI_CODE, STATUS, CI) VALUES (1, 1, 2, 0), (2, 2, 3, 0)"));
    EXPECT_TRUE(*DetailAccounts(*c.s).hasDebts(1));
    EXPECT_FALSE(*DetailAccounts(*c.s).hasDebts(2));
    const auto declared = orvak::coreLists().find(QStringLiteral("detail-accounts"));
    ASSERT_TRUE(declared.has_value());
    io::ListDefinition list = *declared;
    list.sql = detailAccountsSql(PartyOrder::Groups, {QList<qint64>{1, 3}});
    io::BoundList bound(*c.s, list);
    io::RowSet rows;
    ASSERT_TRUE(bound.fetchAll(rows, {{QStringLiteral(":CI"), 0}}));
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(io::fieldValue(rows, 1, QStringLiteral("CODE")).toInt() + io::fieldValue(rows, 0, QStringLiteral("CODE")).toInt(), 4);
}

TEST(DetailAccounts, LedgerFilterReadsTheYearsVoucherRowsAndIsEmptyWithoutThem)
{
    Chart c;
    c.exec(c.s->accounting(), QStringLiteral("INSERT INTO SNDROW (SNDNO, ROW, KOL, MOIN, TAFSIL) VALUES (1, 1, 21, 6, 30), (1, 2, 21, 6, 10), (1, 3, 21, 7, 20), (2, 1, 21, 6, 30)"));
    EXPECT_EQ(DetailAccounts(*c.s).codesInLedger(21, 6).value_or({}), (QList<qint64>{10, 30}));
    ScriptedPrompt quiet;
    EXPECT_FALSE(c.s->OpenAccountingYear(1390, QStringLiteral("0"), quiet));
    const auto none = DetailAccounts(*c.s).codesInLedger(21, 6);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->isEmpty());
}

TEST(Iban, CheckDigitsAndBankCode)
{
    struct Case {
        const char* text;
        bool valid;
    } cases[] = {{"IR062960000000100324200001", true}, {"ir06 2960 0000 0010 0324 2000 01", true}, {"IR062960000000100324200002", false},
                 {"IR06296000000010032420000", false}, {"GB82WEST12345698765432", true}, {"IR06'; DROP TABLE X", false}, {"", false}};
    for (const Case& k : cases)
        EXPECT_EQ(util::IsValidIban(QString::fromLatin1(k.text)), k.valid) << k.text;
    EXPECT_EQ(util::ibanBankCode(util::ibanOfIran(QStringLiteral("580170000000123456789012"))), QStringLiteral("017"));
    EXPECT_EQ(util::ibanBankName(QStringLiteral("017")), QStringLiteral("ملي"));
}

TEST(PartyRegisters, CodedListsNumberRefuseTakenCodesAndKeepToTheirScope)
{
    Chart c;
    ScriptedPrompt quiet({}, true);
    DetailGroups groups(*c.s);
    EXPECT_EQ(*groups.proposedCode(), 1);
    ASSERT_TRUE(groups.save({1, QStringLiteral("پيمانکاران"), 1000, 4999}, true, quiet)) << quiet.text().toStdString();
    c.exec(c.s->common(), QStringLiteral("INSERT INTO GROUP_TAFSILI (CI, CODE, NAME) VALUES (1, 1, 'بخش ديگر')"));
    struct Case {
        const char* what;
        DetailGroup g;
        QString message;
    } cases[] = {{"taken", {1, QStringLiteral("دوباره"), {}, {}}, QStringLiteral("کد قبلا تعريف شده است : پيمانکاران")},
                 {"no name", {2, QStringLiteral("  "), {}, {}}, QStringLiteral("اطلاعات کامل نيست")},
                 {"no code", {0, QStringLiteral("گروه"), {}, {}}, QStringLiteral("اطلاعات کامل نيست")},
                 {"range upside down", {2, QStringLiteral("گروه"), 50, 10}, QStringLiteral("شماره شروع محدوده تفصيلي ها از شماره پايان آن بزرگتر است.")}};
    for (const Case& k : cases) {
        ScriptedPrompt prompt;
        EXPECT_FALSE(groups.save(k.g, true, prompt)) << k.what;
        EXPECT_EQ(prompt.infos, QStringList{k.message}) << k.what;
    }
    EXPECT_EQ(*groups.proposedCode(), 2);
    // Deleting keeps to the section: the other section's group 1 stays.
    ASSERT_TRUE(groups.remove(1, quiet));
    EXPECT_EQ(c.count(c.s->common(), QStringLiteral("SELECT COUNT(*) FROM GROUP_TAFSILI WHERE CODE = 1")), 1);
    EXPECT_EQ(DetailGroups::pickedText({QStringLiteral("3")}), QStringLiteral("3"));
    EXPECT_EQ(DetailGroups::pickedText({QStringLiteral("3"), QStringLiteral("5")}), QStringLiteral("انتخابي:3,5"));

    Trades trades(*c.s);
    ASSERT_TRUE(trades.save(*trades.proposedCode(), QStringLiteral("راه و ترابري"), true, quiet));
    ScriptedPrompt tooLong;
    EXPECT_FALSE(trades.save(2, QString(21, QChar(0x0628)), true, tooLong));
    EXPECT_EQ(*trades.proposedCode(), 2);
}

TEST(PartyRegisters, ParametersInUseByAContractAreNotDeleted)
{
    Chart c;
    Parameters params(*c.s);
    ScriptedPrompt yes({}, true);
    EXPECT_EQ(*params.proposedCode(2), 1);
    ASSERT_TRUE(params.save(2, 1, QStringLiteral("بيمه"), true, yes));
    ASSERT_TRUE(params.save(2, 2, QStringLiteral("ماليات"), true, yes));
    ASSERT_TRUE(params.save(0, 1, QStringLiteral("راهسازي"), true, yes));
    EXPECT_EQ(*params.proposedCode(2), 3);
    c.exec(c.s->common(), QStringLiteral("INSERT INTO PAYMAN_KOSURAT (CI, CODE, CODE_KOSUR) VALUES (0, 1, 1)"));
    ScriptedPrompt refused({}, true);
    EXPECT_FALSE(params.remove(2, 1, refused));
    EXPECT_EQ(refused.infos, QStringList{QStringLiteral("اين مورد در قراردادها بکار رفته است و نميتواند حذف گردد.")});
    ASSERT_TRUE(params.remove(2, 2, yes)) << yes.text().toStdString();
    EXPECT_EQ(c.count(c.s->common(), QStringLiteral("SELECT COUNT(*) FROM TBPARAMS_PAY")), 2);
    ScriptedPrompt badKind;
    EXPECT_FALSE(params.save(9, 1, QStringLiteral("x"), true, badKind));
    ScriptedPrompt noName;
    EXPECT_FALSE(params.save(1, 1, QString(), true, noName));
    EXPECT_EQ(noName.infos, QStringList{QStringLiteral("اطلاعات كامل نيست")});
}

TEST(PartyRegisters, DescriptionsOfEachScopeAndTheirRowNumbers)
{
    Chart c;
    StandardDescriptions d(*c.s);
    ScriptedPrompt yes({}, true);
    c.exec(c.s->common(), QStringLiteral("INSERT INTO SAVE_DESCR (UID, ROW, DESCR) VALUES (0, 1, 'عمومي'), (4, 1, 'ديگري'), (3, 1, 'مال من')"));
    const auto mine = d.add(QStringLiteral("بابت 'حسن' انجام کار"), yes);
    ASSERT_TRUE(mine.has_value()) << yes.text().toStdString();
    EXPECT_EQ(mine->uid, 3);
    EXPECT_EQ(mine->row, 2);
    // Made general, it takes the general list's next row instead of clashing with row 1.
    const auto general = d.makeGeneral(*mine, yes);
    ASSERT_TRUE(general.has_value()) << yes.text().toStdString();
    EXPECT_EQ(general->uid, 0);
    EXPECT_EQ(general->row, 2);

    const auto list = orvak::coreLists().find(QStringLiteral("standard-descriptions"));
    ASSERT_TRUE(list.has_value());
    io::BoundList bound(*c.s, *list);
    const struct {
        DescriptionScope scope;
        int rows;
    } scopes[] = {{DescriptionScope::GeneralAndMine, 3}, {DescriptionScope::General, 2}, {DescriptionScope::Mine, 1}, {DescriptionScope::Everyone, 4}};
    for (const auto& k : scopes) {
        io::RowSet rows;
        ASSERT_TRUE(bound.fetchAll(rows, descriptionScopeParameters(k.scope, 3)));
        EXPECT_EQ(rows.rowCount(), k.rows) << int(k.scope);
    }
    ScriptedPrompt empty;
    EXPECT_FALSE(d.add(QStringLiteral("   "), empty).has_value());
    EXPECT_EQ(empty.infos, QStringList{QStringLiteral("اطلاعات کامل نيست")});
}
