#include "ui/deposits/TDE_SEPRAD.h"
#include "ui/deposits/TDE_SepReqFromKhazaneh.h"
#include "ui/deposits/TDE_VIEWREQSEPFROMKHAZANEHDETAILS.h"
#include "ui/deposits/TFSEP3.h"
#include "ui/deposits/TViewSepReqFromKhazaneh.h"
#include "ui/deposits/TViewSepReqFromKhazanehDETAILS.h"
#include "ui/framework/Editors.h"
#include "core/deposits/FundRequests.h"
#include "core/deposits/Refunds.h"
#include "core/startup/Login.h"
#include "core/util/Numbers.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::deposits;

namespace {

// Deposits of the demo sent to the treasury and credited, never requested nor refunded.
QList<int> freeDeposits(startup::Session& s, int n)
{
    QList<int> idx;
    QSqlQuery q(s.deposits());
    q.exec(QStringLiteral("SELECT IDX FROM SEP_DAR WHERE TIK_ERSAL = 1 AND ELAMBESIDX > 0 AND AMOUNT_RAD = 0 AND SEPKIND NOT IN (3, 20) "
                          "AND NOT EXISTS (SELECT 1 FROM SEP_REQR r WHERE r.SEPIDX = SEP_DAR.IDX) ORDER BY IDX DESC LIMIT %1")
               .arg(n));
    while (q.next())
        idx << q.value(0).toInt();
    return idx;
}

struct Balance {
    qint64 refunded, left;
    int refundedMark, requested, confirmed;
    bool operator==(const Balance&) const = default;
};

Balance balanceOf(startup::Session& s, int idx)
{
    const auto d = deposits::ReceivedDeposits(s).read(idx);
    return {d->amountRad, d->amountMandeh, d->tikEsterdad, d->tikDarkhastVjh, d->tikDarkhastVjhOk};
}

} // namespace

// As a new user would: a request of three deposits (one partly), sent and its payment
// confirmed, refunded collectively, one refunded by hand in two parts, a refund row
// deleted; the balances follow at every step.
TEST(RequestScreens, RequestSendConfirmAndRefundThroughTheScreens)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet));
    const QList<int> free = freeDeposits(s, 4);
    ASSERT_EQ(free.size(), 4);
    const int a = free[0], b = free[1], c = free[2], byHand = free[3];
    const qint64 amountB = deposits::ReceivedDeposits(s).read(b)->amount;

    TViewSepReqFromKhazaneh list(s);
    list.reopen();
    EXPECT_TRUE(list.totalText().startsWith(QStringLiteral("جمع کل درخواست:")));
    EXPECT_FALSE(list.totalsText().contains(QStringLiteral("مبلغ درخواست وجه: 0 ")));

    // A new request, F10.
    TDE_SepReqFromKhazaneh header(s, &list);
    QObject::connect(&header, &ui::framework::EntryForm::saved, &list, [&list](const QVariant& key) { list.reopen(key); });
    header.startInsert();
    header.number->setText(QStringLiteral("U-1"));
    QTest::keyClick(&header, Qt::Key_F10);
    ASSERT_TRUE(header.key().isValid());
    const int req = header.key().toInt();
    EXPECT_EQ(list.currentRequest(), req);

    // Its rows: a whole deposit, half of one ("50 درصد"), and one more in bulk.
    TViewSepReqFromKhazanehDETAILS rows(s, req);
    for (const auto& [deposit, half] : {std::pair{a, false}, std::pair{b, true}}) {
        TDE_VIEWREQSEPFROMKHAZANEHDETAILS form(s, req, &rows);
        form.startInsert();
        ASSERT_TRUE(form.chooseDeposit(deposit));
        if (half)
            form.share(50);
        test::AutoAnswer answers;
        QTest::keyClick(&form, Qt::Key_F10);
        ASSERT_TRUE(form.key().isValid()) << answers.texts.join('|').toStdString();
    }
    {
        test::AutoAnswer yes;
        rows.addDeposits({{{QStringLiteral("SEPIDX"), c}}}, false);
        ASSERT_FALSE(yes.texts.isEmpty());
        EXPECT_EQ(yes.texts.first(), QStringLiteral("همه اين سپرده ها با شماره درخواست انتخاب شده، درخواست مي شوند، مطمئن هستيد؟"));
    }
    rows.reopen();
    EXPECT_EQ(rows.model().rowCount(), 3);
    const auto sums = deposits::FundRequests(s).rowSums(req);
    ASSERT_TRUE(sums);
    EXPECT_EQ(sums->count, 3);
    EXPECT_TRUE(rows.totalText().contains(util::FormatAmount(sums->sum)));
    EXPECT_EQ(balanceOf(s, a).requested, 0);   // a draft holds nothing yet

    // Sent, then the payment confirmed with the whole amount paid in.
    for (const auto state : {deposits::FundState::Sent, deposits::FundState::Confirmed}) {
        TDE_SepReqFromKhazaneh change(s, &list, state);
        ASSERT_TRUE(change.startEdit(req));
        if (state == deposits::FundState::Confirmed)
            change.paidIn->setAmount(sums->sum);
        test::AutoAnswer answers;
        QTest::keyClick(&change, Qt::Key_F10);
        EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join('|').toStdString();
    }
    EXPECT_EQ(deposits::FundRequests(s).read(req)->state, int(deposits::FundState::Confirmed));
    for (int x : {a, b, c}) {
        EXPECT_EQ(balanceOf(s, x).requested, 1);
        EXPECT_EQ(balanceOf(s, x).confirmed, 1);
    }

    // Refunded collectively: each row a refund; b keeps its other half.
    {
        startup::ScriptedPrompt yes({}, true);
        ASSERT_TRUE(deposits::Refunds(s).refundRequest(req, QStringLiteral("1405/09/18"), yes)) << yes.text().toStdString();
    }
    EXPECT_EQ(balanceOf(s, a).left, 0);
    EXPECT_EQ(balanceOf(s, b).left, amountB - deposits::shareOf(amountB, 50));
    EXPECT_EQ(balanceOf(s, b).refundedMark, 1);

    // One by hand, in two parts on the refund form, then one part deleted.
    TFSEP3 refunds(s);
    refunds.reopen();
    const qint64 whole = deposits::ReceivedDeposits(s).read(byHand)->amount;
    TDE_SEPRAD form(s, &refunds);
    form.startInsert();
    form.owner->setCode(deposits::ReceivedDeposits(s).read(byHand)->tafsili);
    ASSERT_TRUE(form.addRow({byHand, whole / 4}));
    ASSERT_TRUE(form.addRow({byHand, whole - whole / 4}));
    EXPECT_EQ(balanceOf(s, byHand), (Balance{whole, 0, 1, 0, 0}));
    EXPECT_EQ(form.rows->model().rowCount(), 2);
    EXPECT_TRUE(form.totals->text().contains(QStringLiteral("تعداد کل قبض ها:")));
    form.rows->grid()->selectionModel()->setCurrentIndex(form.rows->model().index(1, 0),
                                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    {
        test::AutoAnswer yes;
        form.removeRow();
    }
    EXPECT_EQ(balanceOf(s, byHand), (Balance{whole / 4, whole - whole / 4, 1, 0, 0}));
    {
        test::AutoAnswer answers;
        QTest::keyClick(&form, Qt::Key_F10);
        EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join('|').toStdString();
    }
    const int saved = form.key().toInt();
    refunds.reopen(saved);
    EXPECT_EQ(refunds.currentRefund(), saved);

    // A new refund left with "خروج بدون ثبت" takes its row back.
    TDE_SEPRAD left(s, &refunds);
    left.startInsert();
    left.owner->setCode(deposits::ReceivedDeposits(s).read(byHand)->tafsili);
    ASSERT_TRUE(left.addRow({byHand, 1000}));
    const int discarded = left.createdHere();
    ASSERT_GT(discarded, 0);
    left.reject();
    EXPECT_TRUE(deposits::Refunds(s).read(discarded).empty());
    EXPECT_EQ(balanceOf(s, byHand), (Balance{whole / 4, whole - whole / 4, 1, 0, 0}));
}
