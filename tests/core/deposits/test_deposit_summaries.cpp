#include "core/deposits/DepositKinds.h"
#include "core/deposits/DepositSummaries.h"
#include "core/letters/ReportFooter.h"
#include "support/DemoOffice.h"
#include "support/PdfText.h"
#include "support/TestSupport.h"

#include <cmath>

using namespace orvak;
using namespace orvak::deposits;

namespace {

constexpr int Year = 1405;

qint64 sqlNumber(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {})
{
    const auto v = db::scalar(db, sql, binds);
    EXPECT_FALSE(v.failed()) << v.error().toStdString() << " " << sql.toStdString();
    return v ? qint64(std::llround(v->toDouble())) : 0;
}

// The sums of the report's summed columns, in their order.
std::vector<qint64> reportTotals(const io::ReportModel& m)
{
    std::vector<qint64> sums;
    for (size_t c = 0; c < m.columns.size(); ++c) {
        if (!m.columns[c].total)
            continue;
        double s = 0;
        for (const auto& row : m.amounts)
            s += row[c];
        sums.push_back(qint64(std::llround(s)));
    }
    return sums;
}

DepositFilter year(int y)
{
    DepositFilter f;
    f.mode = PeriodMode::Range;
    f.year = y;
    f.month = 1;
    f.toYear = y;
    f.toMonth = MonthCount;
    return f;
}

const QString Three = QStringLiteral("SUM(AMOUNT), SUM(COALESCE(AMOUNT_RAD, 0)), SUM(COALESCE(AMOUNT_MANDEH, 0))");

struct Case {
    Summary id;
    // The sums the report's totals must equal, column by column; :Y is the year, :D the deposit.
    QStringList sums;
    // The number of lines the report must have (empty: not checked).
    QString lines = {};
};

QStringList three(const QString& where)
{
    return {QStringLiteral("SELECT SUM(AMOUNT) FROM SEP_DAR WHERE ") + where,
            QStringLiteral("SELECT SUM(COALESCE(AMOUNT_RAD, 0)) FROM SEP_DAR WHERE ") + where,
            QStringLiteral("SELECT SUM(COALESCE(AMOUNT_MANDEH, 0)) FROM SEP_DAR WHERE ") + where};
}

} // namespace

// Every summary report's totals equal the SQL sums over the same rows, and the
// grouped ones have one line per group.
TEST(DepositSummaries, EveryReportsTotalsEqualTheSqlSumsOfItsRows)
{
    test::DemoOffice o;
    QSqlDatabase db = o.session->deposits();
    const QString inYear = QStringLiteral("MY = :Y");
    const int deposit = int(sqlNumber(db, QStringLiteral("SELECT MIN(SEPIDX) FROM SEP_REQR r JOIN SEP_DAR d ON d.IDX = r.SEPIDX WHERE d.MY = :Y"),
                                      {{QStringLiteral(":Y"), Year}}));
    ASSERT_GT(deposit, 0) << "the demo year has no requested deposit";
    const QList<Case> cases = {
        {Summary::Detailed, three(inYear), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = :Y")},
        {Summary::ByOwnerContract, three(inYear),
         QStringLiteral("SELECT COUNT(*) FROM (SELECT DISTINCT TAFSILI, PAYMENT FROM SEP_DAR WHERE MY = :Y) x")},
        {Summary::ByOwner, three(inYear), QStringLiteral("SELECT COUNT(DISTINCT TAFSILI) FROM SEP_DAR WHERE MY = :Y")},
        {Summary::AllOwners, three(inYear), QStringLiteral("SELECT COUNT(DISTINCT TAFSILI) FROM SEP_DAR WHERE MY = :Y")},
        {Summary::ByYear, three(inYear), QStringLiteral("SELECT 1")},
        {Summary::ByProject, three(inYear), QStringLiteral("SELECT COUNT(DISTINCT COALESCE(PROJNO, -99)) FROM SEP_DAR WHERE MY = :Y")},
        {Summary::ByContract, three(inYear),
         QStringLiteral("SELECT COUNT(*) FROM (SELECT DISTINCT TAFSILI, PAYMENT FROM SEP_DAR WHERE MY = :Y) x")},
        {Summary::Requested,
         three(inYear) << QStringLiteral("SELECT SUM(r.AMOUNT) FROM SEP_REQR r JOIN SEP_DAR d ON d.IDX = r.SEPIDX WHERE d.MY = :Y")},
        {Summary::NeverRequested, three(QStringLiteral("MY = :Y AND IDX NOT IN (SELECT SEPIDX FROM SEP_REQR WHERE SEPIDX IS NOT NULL)")),
         QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = :Y AND IDX NOT IN (SELECT SEPIDX FROM SEP_REQR WHERE SEPIDX IS NOT NULL)")},
        {Summary::PartlyRequested,
         {QStringLiteral("SELECT SUM(d.AMOUNT) FROM SEP_DAR d JOIN (SELECT SEPIDX, SUM(AMOUNT) AS S FROM SEP_REQR GROUP BY SEPIDX) q ON q.SEPIDX = d.IDX "
                         "WHERE d.MY = :Y AND d.AMOUNT <> q.S"),
          QStringLiteral("SELECT SUM(q.S) FROM SEP_DAR d JOIN (SELECT SEPIDX, SUM(AMOUNT) AS S FROM SEP_REQR GROUP BY SEPIDX) q ON q.SEPIDX = d.IDX "
                         "WHERE d.MY = :Y AND d.AMOUNT <> q.S")}},
        {Summary::DepositRequests, {QStringLiteral("SELECT SUM(AMOUNT) FROM SEP_REQR WHERE SEPIDX = :D")},
         QStringLiteral("SELECT COUNT(*) FROM SEP_REQR WHERE SEPIDX = :D")},
        {Summary::SentToTreasury, three(QStringLiteral("MY = :Y AND TIK_ERSAL = 1")),
         QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = :Y AND TIK_ERSAL = 1")},
        {Summary::Yearly, three(inYear),
         QStringLiteral("SELECT COUNT(*) FROM (SELECT DISTINCT TAFSILI, PAYMENT, SEPKIND FROM SEP_DAR WHERE MY = :Y) x")},
    };
    ASSERT_EQ(cases.size(), summaries().size());
    const QVariantMap binds{{QStringLiteral(":Y"), Year}, {QStringLiteral(":D"), deposit}};
    for (const Case& c : cases) {
        SCOPED_TRACE(summaryInfo(c.id).name.toStdString());
        SummaryRequest r;
        r.filter = year(Year);
        r.deposit = deposit;
        r.model = 1;   // the detailed list with the three amounts
        const auto report = summaryReport(*o.session, c.id, r, {});
        ASSERT_TRUE(report) << report.error().toStdString();
        std::vector<qint64> expected;
        for (const QString& sql : c.sums)
            expected.push_back(sqlNumber(db, sql, binds));
        EXPECT_EQ(reportTotals(*report), expected);
        EXPECT_GT(expected.front(), 0);
        if (!c.lines.isEmpty()) {
            EXPECT_EQ(qint64(report->rows.size()), sqlNumber(db, c.lines, binds));
        }
    }
}

// An owner's ledger runs in cheque-date order and ends at the sum of his balances;
// an owner without deposits has an empty ledger.
TEST(DepositSummaries, AnOwnersLedgerEndsAtTheSumOfHisBalances)
{
    test::DemoOffice o;
    QSqlDatabase db = o.session->deposits();
    const auto balances = ownerBalances(*o.session);
    ASSERT_TRUE(balances) << balances.error().toStdString();
    ASSERT_GT(balances->size(), 3);
    int withRefunds = 0;
    for (const OwnerBalance& b : *balances) {
        const auto ledger = ownerLedger(*o.session, b.owner);
        ASSERT_TRUE(ledger) << ledger.error().toStdString();
        ASSERT_FALSE(ledger->isEmpty());
        EXPECT_EQ(ledger->last().balance, b.balance) << b.owner;
        EXPECT_EQ(b.balance, sqlNumber(db, QStringLiteral("SELECT SUM(AMOUNT_MANDEH) FROM SEP_DAR WHERE TAFSILI = :T"), {{QStringLiteral(":T"), b.owner}}));
        for (int i = 1; i < ledger->size(); ++i)
            EXPECT_LE((*ledger)[i - 1].chequeDate, (*ledger)[i].chequeDate);
        withRefunds += std::any_of(ledger->cbegin(), ledger->cend(), [](const LedgerLine& l) { return l.refund; }) ? 1 : 0;
    }
    EXPECT_GT(withRefunds, 0);

    const auto none = ownerLedger(*o.session, 987654);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
    const auto noBalance = ownerBalances(*o.session, 987654);
    ASSERT_TRUE(noBalance);
    EXPECT_TRUE(noBalance->isEmpty());
}

// As of a date: the deposits paid in by then less their refunds dated by then; as of
// today it is the stored balance.
TEST(DepositSummaries, BalancesAsOfADateCountOnlyWhatHadHappened)
{
    test::DemoOffice o;
    QSqlDatabase db = o.session->deposits();
    const auto today = ownerBalances(*o.session);
    const auto later = ownerBalances(*o.session, -1, QStringLiteral("1499/12/29"));
    ASSERT_TRUE(today && later);
    qint64 stored = 0, computed = 0;
    for (const OwnerBalance& b : *today)
        stored += b.balance;
    for (const OwnerBalance& b : *later)
        computed += b.balance;
    EXPECT_EQ(computed, stored);
    const auto early = ownerBalances(*o.session, -1, QStringLiteral("1300/01/01"));
    ASSERT_TRUE(early);
    EXPECT_TRUE(early->isEmpty());
    const QString mid = QStringLiteral("1405/06/31");
    const auto then = ownerBalances(*o.session, -1, mid);
    ASSERT_TRUE(then);
    qint64 sum = 0;
    for (const OwnerBalance& b : *then)
        sum += b.balance;
    const QVariantMap d{{QStringLiteral(":D"), mid}};
    EXPECT_EQ(sum, sqlNumber(db, QStringLiteral("SELECT SUM(AMOUNT) FROM SEP_DAR WHERE TAFSILI IS NOT NULL AND CHKDATE <= :D"), d)
                       - sqlNumber(db, QStringLiteral("SELECT COALESCE(SUM(r.AMOUNT), 0) FROM SEP_RADR1 r JOIN SEP_RADH h ON h.RAD_IDX = r.RAD_IDX "
                                                      "JOIN SEP_DAR s ON s.IDX = r.SEPIDX WHERE h.RADDATE <= :D AND s.CHKDATE <= :D AND s.TAFSILI IS NOT NULL"),
                                   d));
}

// Printed: the report's kind has a footer of its own (one post) and another kind falls
// back to the deposit reports' row; the pages carry their totals and end with the
// total in words; an empty period prints its titles and signatures with no lines.
TEST(DepositSummaries, ReportsPrintWithTheSignatoriesOfTheirKind)
{
    test::DemoOffice o;
    ASSERT_TRUE(db::execSql(o.session->common(),
                            QStringLiteral("INSERT INTO PREFOOTER (CODE, C, PROGID, NAME, GROUPREP, KINDREP, R1, R2) "
                                           "SELECT MAX(CODE) + 1, 0, 3, 'مانده اشخاص', 2, 'SEP_OWNER', 'l2', '' FROM PREFOOTER")));
    const auto own = letters::GetReportFooter(*o.session, QStringLiteral("SEP_OWNER"), DepositReportGroup);
    const auto general = letters::GetReportFooter(*o.session, QStringLiteral("SEP_YEAR"), DepositReportGroup);
    ASSERT_TRUE(own && general);
    const auto ownSigns = letters::footerSignatures(*own), generalSigns = letters::footerSignatures(*general);
    ASSERT_EQ(ownSigns.size(), 1u);
    ASSERT_GE(generalSigns.size(), 2u);

    QTemporaryDir dir;
    struct Printed {
        Summary id;
        std::vector<io::ReportSignature> signs;
    };
    for (const Printed& p : {Printed{Summary::ByOwner, ownSigns}, Printed{Summary::ByYear, generalSigns}}) {
        SummaryRequest r;
        r.filter = year(Year);
        const auto report = summaryReport(*o.session, p.id, r);
        ASSERT_TRUE(report) << report.error().toStdString();
        const QString path = dir.filePath(summaryInfo(p.id).name + QStringLiteral(".pdf"));
        QString why;
        ASSERT_TRUE(io::writeReportPdf(*report, path, &why)) << why.toStdString();
        const QString all = test::pdfLines(path, 1).join('\n') + test::pdfLines(path, 2).join('\n');
        EXPECT_TRUE(all.contains(summaryInfo(p.id).title)) << all.toStdString();
        QString last;
        for (int page = 1; page < 200; ++page) {
            const QStringList lines = test::pdfLines(path, page);
            if (lines.isEmpty() || lines.front().startsWith(QStringLiteral("pdftotext failed")))
                break;
            last = lines.join('\n');
        }
        EXPECT_TRUE(last.contains(QStringLiteral("جمع کل بحروف:"))) << last.toStdString();
        // The footer's empty positions hold no words to find.
        for (const io::ReportSignature& s : p.signs) {
            EXPECT_TRUE(last.contains(s.title)) << s.title.toStdString();
            EXPECT_TRUE(last.contains(s.name)) << s.name.toStdString();
        }
        for (const io::ReportSignature& s : generalSigns) {
            if (p.id == Summary::ByOwner && !s.name.isEmpty() && s.name != ownSigns[0].name) {
                EXPECT_FALSE(last.contains(s.name)) << s.name.toStdString();
            }
        }
        if (p.id == Summary::ByOwner) {
            ASSERT_GT(report->rows.size(), 60u);   // more than a page
            EXPECT_TRUE(test::pdfLines(path, 1).join('\n').contains(QStringLiteral("جمع نقل به صفحه بعد")));
        }
    }

    SummaryRequest empty;
    empty.filter = year(1390);
    for (const SummaryInfo& s : summaries()) {
        SCOPED_TRACE(s.name.toStdString());
        const auto report = summaryReport(*o.session, s.id, empty);
        ASSERT_TRUE(report) << report.error().toStdString();
        EXPECT_TRUE(report->rows.empty());
        const QString path = dir.filePath(QStringLiteral("empty-") + s.name + QStringLiteral(".pdf"));
        QString why;
        ASSERT_TRUE(io::writeReportPdf(*report, path, &why)) << why.toStdString();
        ASSERT_FALSE(report->signatures.empty());
        const QString text = test::pdfLines(path).join('\n');
        for (const io::ReportSignature& sign : report->signatures)
            EXPECT_TRUE(text.contains(sign.name)) << sign.name.toStdString();
        EXPECT_TRUE(text.contains(s.title)) << text.toStdString();
    }
}

// The balance browser's kinds: "سپرده  بدون مانده" only rows whose balance is exactly
// 0; its kind text is shown for kinds 1 to 3 only.
TEST(DepositSummaries, TheBalanceBrowserListsByBalanceKind)
{
    EXPECT_EQ(balanceKindTexts(), (QStringList{QStringLiteral("همه سپرده ها"), QStringLiteral("سپرده  بدون مانده"), QStringLiteral("سپرده هاي داراي مانده")}));
    EXPECT_EQ(browserKindText(5), QString());
    EXPECT_EQ(browserKindText(1), QStringLiteral("1)سپرده حسن انجام كار 10 درصد"));
    test::DemoOffice o;
    QSqlDatabase db = o.session->deposits();
    DepositFilter f = year(Year);
    for (const auto& [kind, where] : {std::pair{BalanceKind::All, QStringLiteral("1 = 1")},
                                      std::pair{BalanceKind::Zero, QStringLiteral("AMOUNT_MANDEH = 0")},
                                      std::pair{BalanceKind::NonZero, QStringLiteral("AMOUNT_MANDEH <> 0")}}) {
        const io::ListDefinition list = balanceBrowserList(f, kind);
        QVariantMap binds;
        for (const io::ListParameter& p : list.parameters)
            binds.insert(p.name, p.value);
        const qint64 shown = sqlNumber(db, QStringLiteral("SELECT COUNT(*) FROM (") + list.sql.section(QStringLiteral("\nORDER BY"), 0, 0) + QStringLiteral(") x"), binds);
        EXPECT_EQ(shown, sqlNumber(db, QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = :Y AND ") + where, {{QStringLiteral(":Y"), Year}}));
        EXPECT_GT(shown, 0);
    }
}
