// A month of the register taken through its life on the demo office: read from the
// vouchers, matched by hand, numbered, ordered for the treasury, sent with a credit
// notice, made final and returned from final, with the totals checked at each step.
#include "core/deposits/VoucherReading.h"
#include "core/deposits/DepositList.h"
#include "core/deposits/ReceivedDeposits.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

using namespace orvak;
using namespace orvak::deposits;
using startup::ScriptedPrompt;

namespace {

// A list month the demo leaves empty, so that it holds only what the reading brings.
constexpr int ListYear = 1409;
constexpr int ListMonth = 1;

QVariant at(QSqlDatabase db, const QString& sql) { return db::scalar(db, sql).value_or(QVariant(-1)); }

} // namespace

TEST(DepositLifecycle, AMonthReadFromVouchersIsMatchedNumberedSentMadeFinalAndReturned)
{
    test::DemoOffice o;
    o.session->setCurrentUserCode(3);
    ReceivedDeposits reg(*o.session);
    DepositFilter f;
    f.year = ListYear;
    f.month = ListMonth;

    // Read: the credit rows of the deposits ledger in Khordad 1405.
    deposits::ReadingCriteria c;
    c.year = 1405;
    c.monthIndex = 2;
    c.kol = 21007;
    c.side = deposits::ReadSide::Credit;
    int read = 0;
    qint64 credit = 0;
    {
        deposits::AccountingYearScope keep(*o.session);
        deposits::VoucherReading reading(*o.session);
        ScriptedPrompt p;
        ASSERT_TRUE(reading.selectYear(c, p)) << p.text().toStdString();
        QString error;
        const auto summary = reading.read(c, p, &error);
        ASSERT_TRUE(summary) << error.toStdString();
        ASSERT_GT(summary->rows, 0);
        // The demo's register holds the month: its rows come unticked, and ticked by
        // hand they go into this list month once more.
        EXPECT_EQ(summary->ticked, summary->rows - summary->alreadyTransferred);
        for (const ReadRow& r : reading.rows().value_or({})) {
            if (!r.ticked && r.credit > 0) {
                ASSERT_TRUE(reading.toggle(r.row));
            }
        }
        qint64 ticked = 0;
        for (const ReadRow& r : reading.rows().value_or({}))
            ticked += r.ticked ? r.credit : 0;
        const auto moved = reading.transfer(ListYear, ListMonth, Repeats::EnterShown, &error);
        ASSERT_TRUE(moved) << error.toStdString();
        ASSERT_GT(moved->rows, 0);
        read = moved->rows;
        credit = ticked;
    }
    const auto totalsNow = [&] {
        const auto t = depositTotals(*o.session, f);
        EXPECT_TRUE(t) << (t.failed() ? t.error().toStdString() : std::string());
        return t.value_or(DepositTotals{});
    };
    DepositTotals t = totalsNow();
    EXPECT_EQ(t.amount.count, read);
    EXPECT_EQ(t.amount.sum, credit);
    EXPECT_EQ(t.balance.sum, credit);
    EXPECT_EQ(t.confirmed.count, 0);
    EXPECT_EQ(t.sent.count, 0);

    // Matched by hand, row by row with the space bar: each row one step to P.
    const QList<int> rows = listedIdx(*o.session, f).value_or({});
    ASSERT_EQ(rows.size(), read);
    for (int idx : rows) {
        ScriptedPrompt p({true});
        ASSERT_TRUE(reg.stepStatement(idx, p)) << p.text().toStdString();
    }
    t = totalsNow();
    EXPECT_EQ(t.confirmed.count, read);
    EXPECT_EQ(t.confirmed.sum, credit);

    // Numbered from a receipt book, then ordered for the treasury.
    ReceiptSerial serial;
    serial.first = 70001;
    serial.last = 79999;
    serial.next = 70001;
    serial.date = QStringLiteral("1409/01/20");
    serial.changeDate = true;
    ScriptedPrompt sure({true, true, true});
    ASSERT_TRUE(reg.serialReceipts(f, serial, sure)) << sure.text().toStdString();
    ScriptedPrompt order({true, true});
    ASSERT_TRUE(reg.numberRows(f, order)) << order.text().toStdString();
    const QString month = QStringLiteral(" FROM SEP_DAR WHERE MY = %1 AND MM = %2").arg(ListYear).arg(ListMonth);
    EXPECT_EQ(at(o.session->deposits(), QStringLiteral("SELECT MIN(SEPNO)") + month).toLongLong(), 70001);
    EXPECT_EQ(at(o.session->deposits(), QStringLiteral("SELECT MAX(SEPNO)") + month).toLongLong(), 70000 + read);
    EXPECT_EQ(at(o.session->deposits(), QStringLiteral("SELECT COUNT(DISTINCT SEPROW)") + month).toInt(), read);
    EXPECT_EQ(at(o.session->deposits(), QStringLiteral("SELECT MAX(SEPROW)") + month).toInt(), read);

    // Sent with its letter, then the credit notice.
    ASSERT_TRUE(db::execSql(o.session->deposits(), QStringLiteral("INSERT INTO BESTANKARI (IDXNO, BESNO, BESDATE, ERSALLETTERNO, ERSALLETTERDATE, Y, M) "
                                                                  "VALUES (9001, '9901', '1409/02/10', '77/ذ', '1409/02/01', 1409, 1)")));
    ScriptedPrompt send({true, true});
    ASSERT_TRUE(reg.sendToTreasury(f, 9001, send)) << send.text().toStdString();
    ScriptedPrompt notice({true, true});
    ASSERT_TRUE(reg.assignCreditAll(f, 9001, notice)) << notice.text().toStdString();
    t = totalsNow();
    EXPECT_EQ(t.sent.count, read);
    EXPECT_EQ(t.sent.sum, credit);
    f.creditMode = CreditMode::Only;
    f.creditNotice = 9001;
    EXPECT_EQ(totalsNow().amount.count, read);
    f.creditMode = CreditMode::All;

    // Final: a single delete is refused; returned from final, the row may change again.
    ScriptedPrompt final({true, true});
    ASSERT_TRUE(reg.makeFinal(f, final)) << final.text().toStdString();
    EXPECT_EQ(at(o.session->deposits(), QStringLiteral("SELECT COUNT(*)") + month + QStringLiteral(" AND ALTP = 1")).toInt(), read);
    ScriptedPrompt del({true});
    EXPECT_FALSE(reg.remove(rows.first(), del));
    ScriptedPrompt back({true, true});
    ASSERT_TRUE(reg.undoFinal(f, back)) << back.text().toStdString();
    EXPECT_EQ(at(o.session->deposits(), QStringLiteral("SELECT COUNT(*)") + month + QStringLiteral(" AND ALTP = 1")).toInt(), 0);
    t = totalsNow();
    EXPECT_EQ(t.amount.count, read);
    EXPECT_EQ(t.amount.sum, credit);
}
