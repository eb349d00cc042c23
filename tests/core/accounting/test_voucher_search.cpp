#include "core/CoreLists.h"
#include "core/accounting/VoucherSearch.h"
#include "core/db/BulkInserter.h"
#include "core/io/BoundList.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

#include <array>

using namespace orvak;
using namespace orvak::accounting;

namespace {

using Rows = QList<std::pair<int, int>>;

// Three vouchers of two rows each, and two parties with names to search.
struct SearchFixture {
    test::DemoOffice office;
    startup::Session& s = *office.session;
    qint64 alpha = 0, beta = 0;

    SearchFixture()
    {
        QSqlDatabase acc = s.accounting();
        EXPECT_TRUE(db::execSql(acc, QStringLiteral("DELETE FROM SNDROW")));
        EXPECT_TRUE(db::execSql(acc, QStringLiteral("DELETE FROM SNDHEAD")));
        const QList<qint64> codes = [&] {
            QList<qint64> c;
            QSqlQuery q(s.common());
            q.exec(QStringLiteral("SELECT CODE FROM TAFSILI WHERE CI = 0 ORDER BY CODE"));
            while (q.next() && c.size() < 2)
                c << q.value(0).toLongLong();
            return c;
        }();
        EXPECT_EQ(codes.size(), 2);
        alpha = codes.value(0);
        beta = codes.value(1);
        rename(alpha, QStringLiteral("شركت آلفا ساختمان"));
        rename(beta, QStringLiteral("شركت بتا راه"));

        head(1, "1405/01/10", "سند افتتاحيه");
        head(2, "1405/02/05", "پرداخت پيمانكار");
        head(3, "1405/03/20", "دريافت سپرده");
        // number, row, kol, moin, tafsil, plan, project, group12, mg1, description, bed, bes, refno, chkno, chkdat
        row({1, 1, 21007, 1, alpha, 10, 100, 7, 0}, "سپرده حسن انجام كار", 0, 1500000, "2", 5001, "1405/01/10");
        row({1, 2, 11005, 1, 0, 0, 0, 0, 0}, "بانك ملي", 1500000, 0, "2", 0, "");
        row({2, 1, 81001, 2, beta, 11, 101, 0, 7}, "پيش پرداخت 50% قرارداد", 2000000, 0, "1", 6002, "1405/02/05");
        row({2, 2, 21007, 2, beta, 0, 0, 0, 0}, "O'Brien سپرده", 0, 2000000, "1", 0, "");
        row({3, 1, 21007, 1, alpha, 0, 0, 0, 0}, "سپرده بيمه", 0, 300000, "2", 7003, "1405/03/20");
        row({3, 2, 11005, 1, 0, 0, 0, 0, 0}, "بانك ملي", 300000, 0, "2", 0, "");
    }

    void rename(qint64 code, const QString& name)
    {
        EXPECT_TRUE(db::execSql(s.common(), QStringLiteral("UPDATE TAFSILI SET NAME = :n WHERE CODE = :c AND CI = 0"),
                                {{QStringLiteral(":n"), name}, {QStringLiteral(":c"), code}}));
    }
    void head(int number, const char* date, const char* descr)
    {
        EXPECT_TRUE(db::execSql(s.accounting(), QStringLiteral("INSERT INTO SNDHEAD (SNDNO, SNDDATE, DESCR, KIND, STATE) VALUES (:n, :d, :t, 1, 0)"),
                                {{QStringLiteral(":n"), number}, {QStringLiteral(":d"), QString::fromUtf8(date)}, {QStringLiteral(":t"), QString::fromUtf8(descr)}}));
    }
    void row(std::array<qint64, 9> c, const char* descr, qint64 bed, qint64 bes, const char* refno, qint64 chkno, const char* chkdat)
    {
        auto orNull = [](qint64 v) { return v ? QVariant(v) : QVariant(); };
        EXPECT_TRUE(db::execSql(
            s.accounting(),
            QStringLiteral("INSERT INTO SNDROW (SNDNO, ROW, KOL, MOIN, TAFSIL, TARHNO, PROJEH, MOINGRP12, MG1, DESCR, BED, BES, REFNO, CHKNO, CHKDAT) "
                           "VALUES (:n, :r, :k, :m, :t, :p, :j, :g, :g1, :d, :bed, :bes, :ref, :chk, :cd)"),
            {{QStringLiteral(":n"), c[0]}, {QStringLiteral(":r"), c[1]}, {QStringLiteral(":k"), c[2]}, {QStringLiteral(":m"), c[3]},
             {QStringLiteral(":t"), orNull(c[4])}, {QStringLiteral(":p"), orNull(c[5])}, {QStringLiteral(":j"), orNull(c[6])},
             {QStringLiteral(":g"), c[7]}, {QStringLiteral(":g1"), c[8]}, {QStringLiteral(":d"), QString::fromUtf8(descr)},
             {QStringLiteral(":bed"), bed}, {QStringLiteral(":bes"), bes}, {QStringLiteral(":ref"), QString::fromUtf8(refno)},
             {QStringLiteral(":chk"), orNull(chkno)}, {QStringLiteral(":cd"), QString::fromUtf8(chkdat)}}));
    }

    Rows found(const VoucherSearchResult& r) const
    {
        Rows out;
        for (const FoundRow& f : r.rows)
            out.append({f.row.number, f.row.row});
        return out;
    }
};

QString u(const char* text) { return QString::fromUtf8(text); }

struct Case {
    const char* what;
    std::function<void(VoucherCriteria&, const SearchFixture&)> fill;
    Rows rows;
    qint64 debit, credit;
};

} // namespace

TEST(VoucherSearch, EachConditionFindsItsRowsAndSums)
{
    SearchFixture f;
    const QList<Case> cases = {
        {"nothing filled: every row", [](auto&, auto&) {}, {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}, {3, 2}}, 3800000, 3800000},
        {"row description word", [](auto& c, auto&) { c.words = u("سپرده"); }, {{1, 1}, {2, 2}, {3, 1}}, 0, 3800000},
        {"every word must be there", [](auto& c, auto&) { c.words = u(" سپرده   بيمه "); }, {{3, 1}}, 0, 300000},
        {"words in the voucher's description", [](auto& c, auto&) { c.words = u("پيمانكار"); c.wordsInHead = true; }, {{2, 1}, {2, 2}}, 2000000, 2000000},
        {"party name", [](auto& c, auto&) { c.partyWords = u("آلفا"); }, {{1, 1}, {3, 1}}, 0, 1800000},
        {"party name, every word", [](auto& c, auto&) { c.partyWords = u("شركت راه"); }, {{2, 1}, {2, 2}}, 2000000, 2000000},
        {"number range", [](auto& c, auto&) { c.from = u("2"); c.to = u("3"); }, {{2, 1}, {2, 2}, {3, 1}, {3, 2}}, 2300000, 2300000},
        {"number in Persian digits", [](auto& c, auto&) { c.from = c.to = u("۲"); }, {{2, 1}, {2, 2}}, 2000000, 2000000},
        {"from alone", [](auto& c, auto&) { c.from = u("3"); }, {{3, 1}, {3, 2}}, 300000, 300000},
        {"date range", [](auto& c, auto&) { c.byDate = true; c.from = u("1405/02/01"); c.to = u("۱۴۰۵/۰۳/۳۱"); }, {{2, 1}, {2, 2}, {3, 1}, {3, 2}}, 2300000, 2300000},
        {"outside the inclusion", [](auto& c, auto&) { c.inclusion = InclusionChoice::Outside; }, {{2, 1}, {2, 2}}, 2000000, 2000000},
        {"the others", [](auto& c, auto&) { c.inclusion = InclusionChoice::Others; }, {{1, 1}, {1, 2}, {3, 1}, {3, 2}}, 1800000, 1800000},
        {"general ledger", [](auto& c, auto&) { c.kol = u("21007"); }, {{1, 1}, {2, 2}, {3, 1}}, 0, 3800000},
        {"subsidiary", [](auto& c, auto&) { c.moin = u("2"); }, {{2, 1}, {2, 2}}, 2000000, 2000000},
        {"detail account", [](auto& c, auto& x) { c.tafsil = QString::number(x.beta); }, {{2, 1}, {2, 2}}, 2000000, 2000000},
        {"plan", [](auto& c, auto&) { c.plan = u("10"); }, {{1, 1}}, 0, 1500000},
        {"project", [](auto& c, auto&) { c.project = u("101"); }, {{2, 1}}, 2000000, 0},
        {"subsidiary group on either column", [](auto& c, auto&) { c.subsidiaryGroup = u("7"); }, {{1, 1}, {2, 1}}, 2000000, 1500000},
        {"cheque number", [](auto& c, auto&) { c.chequeNo = u("6,002"); }, {{2, 1}}, 2000000, 0},
        {"an empty masked date is no condition", [](auto& c, auto&) { c.chequeDate1 = u("    /  /  "); c.chequeDate2 = u("//"); }, {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}, {3, 2}}, 3800000, 3800000},
        {"one cheque date", [](auto& c, auto&) { c.chequeDate1 = u("1405/01/10"); }, {{1, 1}}, 0, 1500000},
        {"two cheque dates", [](auto& c, auto&) { c.chequeDate1 = u("1405/01/01"); c.chequeDate2 = u("1405/02/30"); }, {{1, 1}, {2, 1}}, 2000000, 1500000},
        {"debit equal, with separators", [](auto& c, auto&) { c.side = AmountSide::Debit; c.amountFrom = u("1,500,000"); }, {{1, 2}}, 1500000, 0},
        {"credit equal, Persian digits", [](auto& c, auto&) { c.side = AmountSide::Credit; c.amountFrom = u("۱۵۰۰۰۰۰"); }, {{1, 1}}, 0, 1500000},
        {"either side in a range", [](auto& c, auto&) { c.amountFrom = u("300000"); c.amountTo = u("1 500 000"); }, {{1, 1}, {1, 2}, {3, 1}, {3, 2}}, 1800000, 1800000},
        {"debit up to: credit rows stay out", [](auto& c, auto&) { c.side = AmountSide::Debit; c.amountTo = u("1500000"); }, {{1, 2}, {3, 2}}, 1800000, 0},
        {"either up to", [](auto& c, auto&) { c.amountTo = u("300000"); }, {{3, 1}, {3, 2}}, 300000, 300000},
        {"conditions together", [](auto& c, auto&) { c.kol = u("21007"); c.words = u("سپرده"); c.from = u("3"); }, {{3, 1}}, 0, 300000},
        // Typed text is text, never SQL.
        {"a quote", [](auto& c, auto&) { c.words = u("O'Brien"); }, {{2, 2}}, 0, 2000000},
        {"SQL in a word", [](auto& c, auto&) { c.words = u("' OR '1'='1' --"); }, {}, 0, 0},
        {"a percent sign is a percent sign", [](auto& c, auto&) { c.words = u("%"); }, {{2, 1}}, 2000000, 0},
        {"an underscore is an underscore", [](auto& c, auto&) { c.words = u("_"); }, {}, 0, 0},
        {"SQL in a party name", [](auto& c, auto&) { c.partyWords = u("x') OR 1=1 --"); }, {}, 0, 0},
        {"a voucher that does not exist", [](auto& c, auto&) { c.from = c.to = u("99"); }, {}, 0, 0},
    };
    for (const Case& k : cases) {
        VoucherCriteria c;
        k.fill(c, f);
        const db::Fetched<VoucherSearchResult> r = VoucherSearch(f.s).run(c);
        ASSERT_FALSE(r.failed()) << k.what << ": " << r.error().toStdString();
        EXPECT_EQ(f.found(r.value_or({})), k.rows) << k.what;
        EXPECT_EQ(r.value_or({}).debit, k.debit) << k.what;
        EXPECT_EQ(r.value_or({}).credit, k.credit) << k.what;
    }
}

TEST(VoucherSearch, ABadValueIsRefusedWithItsReason)
{
    SearchFixture f;
    const QList<std::pair<std::function<void(VoucherCriteria&)>, const char*>> cases = {
        {[](auto& c) { c.from = u("12a"); }, "شماره سند درست نيست: 12a"},
        {[](auto& c) { c.byDate = true; c.to = u("1405/13/40"); }, "تاريخ سند درست نيست: 1405/13/40"},
        {[](auto& c) { c.chequeDate1 = u("فردا"); }, "تاريخ چك درست نيست: فردا"},
        {[](auto& c) { c.amountFrom = u("12e3"); }, "مبلغ درست نيست: 12e3"},
        {[](auto& c) { c.kol = u("1;DROP TABLE SNDROW"); }, "كد حساب كل درست نيست: 1;DROP TABLE SNDROW"},
        {[](auto& c) { c.moin = u("99999999999"); }, "كد حساب معين درست نيست: 99999999999"},
        // A word of 60,000 characters is more than the engine's LIKE takes: told in Persian.
        {[](auto& c) { c.words = QString(60000, QLatin1Char('a')); }, "متن جستجو بيش از 200 حرف است"},
        {[](auto& c) { c.partyWords = QString(60000, QChar(0x0628)); }, "متن جستجو بيش از 200 حرف است"},
    };
    for (const auto& [fill, message] : cases) {
        VoucherCriteria c;
        fill(c);
        const db::Fetched<VoucherSearchResult> r = VoucherSearch(f.s).run(c);
        EXPECT_TRUE(r.failed()) << message;
        EXPECT_EQ(r.error(), u(message));
    }
    EXPECT_EQ(db::scalar(f.s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW"))->toInt(), 6);
}

TEST(VoucherSearch, APartyNameOfThousandsOfPartiesBindsNoParameterPerParty)
{
    SearchFixture f;
    // 3,000 parties share a word: every other number from 20001, and a run from 40000.
    QList<qint64> codes;
    for (int i = 0; i < 2000; ++i)
        codes << 20001 + 2 * i;
    for (int i = 0; i < 1000; ++i)
        codes << 40000 + i;
    {
        QSqlDatabase common = f.s.common();
        ASSERT_TRUE(common.transaction());
        db::BulkInserter parties(common, QStringLiteral("TAFSILI"), {QStringLiteral("CODE"), QStringLiteral("NAME"), QStringLiteral("CI")});
        for (qint64 code : codes)
            ASSERT_TRUE(parties.add(code).add(QStringLiteral("پيمانكار مشترك %1").arg(code)).add(0).insert()) << parties.error().toStdString();
        ASSERT_TRUE(common.commit());
    }
    f.head(4, "1405/04/01", "پرداخت");
    f.row({4, 1, 21007, 1, 20001, 0, 0, 0, 0}, "سپرده", 0, 10, "2", 0, "");
    f.row({4, 2, 21007, 1, 23999, 0, 0, 0, 0}, "سپرده", 0, 20, "2", 0, "");
    f.row({4, 3, 21007, 1, 40500, 0, 0, 0, 0}, "سپرده", 0, 30, "2", 0, "");
    f.row({4, 4, 21007, 1, 20002, 0, 0, 0, 0}, "سپرده", 0, 40, "2", 0, "");

    VoucherCriteria c;
    c.partyWords = u("مشترک");   // typed with the Persian Kaf
    QString why;
    const std::optional<VoucherQuery> q = VoucherSearch(f.s).query(c, &why);
    ASSERT_TRUE(q) << why.toStdString();
    EXPECT_TRUE(q->binds.isEmpty());
    const db::Fetched<VoucherSearchResult> r = VoucherSearch(f.s).run(c);
    ASSERT_TRUE(r) << r.error().toStdString();
    EXPECT_EQ(f.found(*r), (Rows{{4, 1}, {4, 2}, {4, 3}}));
    EXPECT_EQ(r->credit, 60);
}

TEST(VoucherSearch, TheListShowsTheSameRowsAndTheCatalogueHoldsTheLedgers)
{
    SearchFixture f;
    VoucherCriteria c;
    c.kol = u("21007");
    c.words = u("سپرده");
    const std::optional<io::ListDefinition> d = VoucherSearch(f.s).list(c);
    ASSERT_TRUE(d);
    io::BoundList list(f.s, *d);
    io::RowSet rows;
    QString why;
    ASSERT_TRUE(list.fetchAll(rows, d->defaultParameters(), &why)) << why.toStdString();
    ASSERT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(io::fieldValue(rows, 0, QStringLiteral("KOLNAME")).toString().trimmed(), u("سپرده هاي دريافتي"));
    EXPECT_EQ(io::fieldValue(rows, 2, QStringLiteral("SNDDATE")).toString(), u("1405/03/20"));

    for (const char* name : {"general-ledgers", "subsidiary-ledgers", "voucher-search"}) {
        const std::optional<io::ListDefinition> l = orvak::coreLists().find(QString::fromLatin1(name));
        ASSERT_TRUE(l) << name;
        io::BoundList bound(f.s, *l);
        io::RowSet all;
        EXPECT_TRUE(bound.fetchAll(all, l->defaultParameters(), &why)) << name << why.toStdString();
        EXPECT_GT(all.rowCount(), 0) << name;
    }
}

TEST(VoucherSearch, WithoutTheYearsDatabaseNothingIsFound)
{
    test::DemoOffice d;
    startup::ScriptedPrompt quiet;
    EXPECT_FALSE(d.session->OpenAccountingYear(1390, QStringLiteral("0"), quiet));
    const db::Fetched<VoucherSearchResult> r = VoucherSearch(*d.session).run({});
    EXPECT_TRUE(r.empty());
}
