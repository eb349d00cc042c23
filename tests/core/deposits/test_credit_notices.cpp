#include "core/deposits/CreditLetters.h"
#include "core/db/Db.h"
#include "core/io/BoundList.h"
#include "core/letters/LetterFooter.h"
#include "core/startup/Login.h"
#include "support/DemoOffice.h"
#include "support/PdfText.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <cmath>

using namespace orvak;

namespace {

qint64 sqlSum(startup::Session& s, const QString& sql, const QVariantMap& binds = {})
{
    const auto v = db::scalar(s.deposits(), sql, binds);
    EXPECT_TRUE(v) << sql.toStdString();
    return v ? std::llround(v->toDouble()) : -1;
}

// The report's column totals, summed from its rows.
std::vector<qint64> columnTotals(const io::ReportModel& m)
{
    std::vector<qint64> t(m.columns.size(), 0);
    for (const auto& row : m.amounts)
        for (size_t c = 0; c < row.size() && c < t.size(); ++c)
            t[c] += std::llround(row[c]);
    return t;
}

// Every page's lines of a PDF, until pdftotext finds no further page.
QStringList allLines(const QString& path)
{
    QStringList lines;
    for (int page = 1; page < 200; ++page) {
        const QStringList l = test::pdfLines(path, page);
        if (l.value(0).startsWith(QLatin1String("pdftotext failed")))
            break;
        lines << l;
    }
    return lines;
}

// The writes are a user's: the demo's user 3, who holds the deposits' rights.
void logIn(startup::Session& s)
{
    startup::ScriptedPrompt quiet;
    EXPECT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet)) << quiet.text().toStdString();
}

std::vector<io::ReportSignature> depositFooter(startup::Session& s, const char* kind)
{
    return letters::signatureBlocks(s, QString::fromLatin1(kind), letters::DepositReportsGroup);
}

} // namespace

// The balance of each notice: total, paid (AMOUNT_RAD of its deposits) and the rest;
// every column's total is the SQL sum over the same rows.
TEST(CreditNotices, TheBalanceReportsTotalsAreTheSqlSums)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const auto report = deposits::CreditNotices(s).balanceReport({});
    ASSERT_TRUE(report) << report.error().toStdString();
    EXPECT_EQ(qint64(report->rows.size()), sqlSum(s, QStringLiteral("SELECT COUNT(*) FROM BESTANKARI")));
    const std::vector<qint64> t = columnTotals(*report);
    const qint64 total = sqlSum(s, QStringLiteral("SELECT SUM(BESAMOUNT) FROM BESTANKARI"));
    const qint64 paid = sqlSum(s, QStringLiteral("SELECT SUM(d.AMOUNT_RAD) FROM SEP_DAR d JOIN BESTANKARI b ON b.IDXNO = d.ELAMBESIDX"));
    EXPECT_GT(paid, 0);
    EXPECT_EQ(t[3], total);
    EXPECT_EQ(t[4], paid);
    EXPECT_EQ(t[5], total - paid);
}

// The history of a notice: its deposits, each with what fund requests asked of it
// and the rest; the totals are the SQL sums.
TEST(CreditNotices, TheHistoryReportsTotalsAreTheSqlSums)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const int idx = int(sqlSum(s, QStringLiteral("SELECT MIN(ELAMBESIDX) FROM SEP_DAR WHERE ELAMBESIDX > 0")));
    const QVariantMap at{{QStringLiteral(":i"), idx}};
    const auto report = deposits::CreditNotices(s).historyReport(idx, {});
    ASSERT_TRUE(report) << report.error().toStdString();
    EXPECT_EQ(qint64(report->rows.size()), sqlSum(s, QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE ELAMBESIDX = :i"), at));
    const std::vector<qint64> t = columnTotals(*report);
    const qint64 amount = sqlSum(s, QStringLiteral("SELECT SUM(AMOUNT) FROM SEP_DAR WHERE ELAMBESIDX = :i"), at);
    const qint64 requested = sqlSum(s, QStringLiteral("SELECT SUM(r.AMOUNT) FROM SEP_REQR r JOIN SEP_DAR d ON d.IDX = r.SEPIDX WHERE d.ELAMBESIDX = :i"), at);
    const qint64 count = sqlSum(s, QStringLiteral("SELECT COUNT(r.AMOUNT) FROM SEP_REQR r JOIN SEP_DAR d ON d.IDX = r.SEPIDX WHERE d.ELAMBESIDX = :i"), at);
    EXPECT_EQ(t[3], amount);
    EXPECT_EQ(t[5], requested);
    EXPECT_EQ(t[6], count);
    EXPECT_EQ(t[7], amount - requested);
    // The list's per-notice counts agree.
    const auto c = deposits::CreditNotices(s).counts(idx);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->depositsAmount, amount);
    EXPECT_EQ(c->requestsAmount, sqlSum(s, QStringLiteral("SELECT SUM(AMOUNT) FROM SEP_REQR WHERE BESIDX = :i"), at));
}

// Insert takes the next row number and writes what the form holds; a date that is
// no date is refused and leaves the table as it was; a notice no deposit names has
// zero counts, a paid amount of 0 and an empty history.
TEST(CreditNotices, ANewNoticeNamedByNoDepositCountsZeroAndPrints)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    logIn(s);
    deposits::CreditNotices notices(s);
    const qint64 before = sqlSum(s, QStringLiteral("SELECT COUNT(*) FROM BESTANKARI"));
    deposits::CreditNotice n;
    n.creditNo = QStringLiteral("98765");
    n.creditDate = QStringLiteral("1405/13/40");
    n.amount = 125000000;
    startup::ScriptedPrompt refused;
    EXPECT_FALSE(notices.save(n, true, refused));
    EXPECT_EQ(sqlSum(s, QStringLiteral("SELECT COUNT(*) FROM BESTANKARI")), before);
    EXPECT_TRUE(refused.text().contains(QStringLiteral("تاريخ بستانکاري"))) << refused.text().toStdString();

    n.creditDate = QStringLiteral("1405/09/01");
    startup::ScriptedPrompt prompt;
    const std::optional<int> idx = notices.save(n, true, prompt);
    ASSERT_TRUE(idx) << prompt.text().toStdString();
    EXPECT_EQ(*idx, sqlSum(s, QStringLiteral("SELECT MAX(IDXNO) FROM BESTANKARI WHERE IDXNO <> :i"), {{QStringLiteral(":i"), *idx}}) + 1);
    const auto c = notices.counts(*idx);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->deposits + c->depositsAmount + c->requests + c->requestsAmount, 0);
    const auto balance = notices.balanceReport({});
    ASSERT_TRUE(balance);
    bool seen = false;
    for (size_t r = 0; r < balance->rows.size(); ++r) {
        if (balance->rows[r].value(0) == QString::number(*idx)) {
            seen = true;
            EXPECT_EQ(balance->rows[r].value(4), QStringLiteral("0"));
            EXPECT_EQ(balance->amounts[r][5], 125000000.0);
        }
    }
    EXPECT_TRUE(seen);
    const auto history = notices.historyReport(*idx, depositFooter(s, deposits::NoticeHistoryKind));
    ASSERT_TRUE(history);
    EXPECT_TRUE(history->rows.empty());
    // The renderer refuses a report without rows with its message rather than an
    // empty page; nothing breaks.
    QTemporaryDir dir;
    QString why;
    EXPECT_FALSE(io::writeReportPdf(*history, dir.filePath(QStringLiteral("h.pdf")), &why));
    EXPECT_FALSE(why.isEmpty());
}

// A search for a notice number finds every number that contains the typed text;
// its wildcard signs are themselves.
TEST(CreditNotices, ASearchByNumberMatchesAnyNumberContainingIt)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    io::BoundList list(s, deposits::creditLettersList());
    const auto found = [&](const QString& typed) {
        io::RowSet rows;
        QString why;
        EXPECT_TRUE(list.fetchAll(rows, {{QStringLiteral(":No"), deposits::noticeNumberPattern(typed)}}, &why)) << why.toStdString();
        return rows.rowCount();
    };
    EXPECT_EQ(found(QStringLiteral("00")), sqlSum(s, QStringLiteral("SELECT COUNT(*) FROM BESTANKARI WHERE BESNO LIKE '%00%'")));
    EXPECT_GT(found(QStringLiteral("00")), 0);
    EXPECT_EQ(found(QStringLiteral("%")), 0);
    EXPECT_EQ(found(QString()), sqlSum(s, QStringLiteral("SELECT COUNT(*) FROM BESTANKARI")));
}

// Deleting a notice takes it and the references of its deposits in one work; one
// that fund-request rows carry stays.
TEST(CreditNotices, DeleteClearsTheDepositsReferencesAndSparesARequestedNotice)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    logIn(s);
    deposits::CreditNotices notices(s);
    const int requested = int(sqlSum(s, QStringLiteral("SELECT MIN(BESIDX) FROM SEP_REQR WHERE BESIDX > 0")));
    startup::ScriptedPrompt yes({}, true);
    EXPECT_FALSE(notices.remove(requested, yes));
    EXPECT_TRUE(notices.read(requested));
    EXPECT_TRUE(yes.text().contains(QStringLiteral("درخواست"))) << yes.text().toStdString();

    // Every demo notice is carried by requests: a new one, named by three deposits.
    deposits::CreditNotice fresh;
    fresh.creditNo = QStringLiteral("777");
    startup::ScriptedPrompt saving;
    const std::optional<int> saved = notices.save(fresh, true, saving);
    ASSERT_TRUE(saved) << saving.text().toStdString();
    const int free = *saved;
    ASSERT_TRUE(db::execSql(s.deposits(), QStringLiteral("UPDATE SEP_DAR SET ELAMBESIDX = :i, TIKBESTANKARI = '1' WHERE IDX IN (SELECT IDX FROM SEP_DAR WHERE ELAMBESIDX IS NULL OR ELAMBESIDX = 0 LIMIT 3)"),
                            {{QStringLiteral(":i"), free}}));
    const QVariantMap at{{QStringLiteral(":i"), free}};
    ASSERT_EQ(sqlSum(s, QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE ELAMBESIDX = :i"), at), 3);
    startup::ScriptedPrompt no({false});
    EXPECT_FALSE(notices.remove(free, no));
    EXPECT_EQ(no.questions.value(0), QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟"));
    EXPECT_TRUE(notices.read(free));
    startup::ScriptedPrompt sure({true});
    EXPECT_TRUE(notices.remove(free, sure)) << sure.text().toStdString();
    EXPECT_FALSE(notices.read(free));
    EXPECT_EQ(sqlSum(s, QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE ELAMBESIDX = :i"), at), 0);
}

// Both reports read back from their PDF with the head, the grand total in words and
// the signatories of the deposit reports' footer.
TEST(CreditNotices, BothReportsPrintWithTheirSignatories)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    deposits::CreditNotices notices(s);
    const int idx = int(sqlSum(s, QStringLiteral("SELECT MIN(IDXNO) FROM BESTANKARI")));
    // A short history: three deposits of the notice.
    ASSERT_TRUE(db::execSql(s.deposits(), QStringLiteral("UPDATE SEP_DAR SET ELAMBESIDX = 0 WHERE ELAMBESIDX = :i AND IDX NOT IN "
                                                          "(SELECT IDX FROM SEP_DAR WHERE ELAMBESIDX = :i ORDER BY IDX LIMIT 3)"),
                            {{QStringLiteral(":i"), idx}}));
    QTemporaryDir dir;
    const struct {
        db::Fetched<io::ReportModel> report;
        QString title;
    } prints[] = {{notices.balanceReport(depositFooter(s, deposits::NoticeBalanceKind)), QStringLiteral("مانده و پرداختي هر بستانکاري")},
                  {notices.historyReport(idx, depositFooter(s, deposits::NoticeHistoryKind)), QStringLiteral("سوابق بستانکاري")}};
    for (const auto& p : prints) {
        ASSERT_TRUE(p.report) << p.report.error().toStdString();
        const QString path = dir.filePath(p.title + QStringLiteral(".pdf"));
        QString why;
        ASSERT_TRUE(io::writeReportPdf(*p.report, path, &why)) << why.toStdString();
        const QString text = allLines(path).join(QLatin1Char('\n'));
        for (const QString& expected : {p.title, QStringLiteral("سازمان امور اقتصادي و دارايي استان"), QStringLiteral("جمع کل بحروف:"),
                                        QStringLiteral("مسئول سپرده ها"), QStringLiteral("زهرا موسوي"), QStringLiteral("رئيس حسابداري"),
                                        QStringLiteral("مهدي قاسمي"), QStringLiteral("ذيحساب"), QStringLiteral("حسين صادقي")})
            EXPECT_TRUE(text.contains(expected)) << p.title.toStdString() << " lacks " << expected.toStdString() << "\n" << text.toStdString();
    }
}
