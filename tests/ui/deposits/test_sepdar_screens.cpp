#include "ui/deposits/TFGetFishInfo.h"
#include "ui/deposits/TFREADFROMSND.h"
#include "ui/deposits/TDE_SEPDAR.h"
#include "ui/deposits/TViewSepDar.h"
#include "ui/framework/Picker.h"
#include "core/deposits/VoucherReading.h"
#include "core/deposits/DepositPrints.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/startup/Login.h"
#include "core/util/Numbers.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::deposits;

TEST(SepDarScreens, ADepositEnteredOnTheFormIsListedCountedMarkedAndKeptOnceConfirmed)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet));

    TViewSepDar list(s);
    list.setReadOnly(false);
    deposits::DepositFilter month;
    month.year = 1405;
    month.month = 9;
    list.setFilter(month);
    ASSERT_GT(list.model().rowCount(), 0);
    const deposits::DepositTotals before = list.totals();

    // F10 on the form; the list stands on the saved row.
    TDE_SEPDAR form(s, &list);
    QObject::connect(&form, &ui::framework::EntryForm::saved, &list, [&list](const QVariant& key) { list.applyFilter(key); });
    form.startInsert();
    form.chequeDate->setDate(QStringLiteral("1405/09/10"));
    form.chequeNo->setText(QStringLiteral("۷۷۰۱۲۳"));
    form.owner->editor()->setText(QStringLiteral("1002"));
    form.receiptNo->setText(QStringLiteral("98765432"));
    form.amount->setAmount(1234567);
    {
        test::AutoAnswer answers;
        QTest::keyClick(&form, Qt::Key_F10);
        EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join(QLatin1Char('|')).toStdString();
    }
    ASSERT_TRUE(form.key().isValid());
    const int idx = form.key().toInt();
    EXPECT_EQ(list.currentIdx(), idx);
    const auto saved = deposits::ReceivedDeposits(s).read(idx);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->chkNo, 770123);
    EXPECT_EQ(saved->tafsili, 1002);
    EXPECT_EQ(list.totals().amount.count, before.amount.count + 1);
    EXPECT_EQ(list.totals().amount.sum, before.amount.sum + 1234567);
    EXPECT_EQ(list.totals().balance.sum, before.balance.sum + 1234567);
    EXPECT_TRUE(list.totalText(0).contains(util::FormatAmount(before.amount.sum + 1234567)));

    // The space bar steps the mark: open becomes confirmed.
    QTest::keyClick(list.grid(), Qt::Key_Space);
    EXPECT_EQ(deposits::ReceivedDeposits(s).read(idx)->tikSudmo, deposits::Confirmed);
    EXPECT_EQ(list.totals().confirmed.count, before.confirmed.count + 1);

    // A confirmed deposit is not deleted.
    {
        test::AutoAnswer answers;
        list.runCommand(TViewSepDar::DeleteCommand);
        EXPECT_TRUE(answers.texts.contains(deposits::finalDataText())) << answers.texts.join(QLatin1Char('|')).toStdString();
    }
    EXPECT_TRUE(deposits::ReceivedDeposits(s).read(idx));

    // A group operation on a list of several months changes nothing.
    deposits::DepositFilter months = month;
    months.mode = deposits::PeriodMode::Range;
    months.toYear = 1405;
    months.toMonth = 10;
    months.confirmation = deposits::Confirmation::Open;
    list.setFilter(months);
    const int open = list.totals().amount.count;
    ASSERT_GT(open, 0);
    {
        test::AutoAnswer answers;
        list.action(QStringLiteral("تائيد  صورتحساب  بانك - كلي"))->trigger();
        EXPECT_TRUE(answers.texts.contains(deposits::oneMonthOnlyText())) << answers.texts.join(QLatin1Char('|')).toStdString();
    }
    EXPECT_EQ(list.totals().amount.count, open);

    // A reviewer (write level 1) gets the list with its writing commands off, even
    // when told it may write.
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("5"), QStringLiteral("2222"), quiet));
    TViewSepDar reviewer(s);
    reviewer.setReadOnly(false);
    EXPECT_TRUE(reviewer.isReadOnly());
    EXPECT_FALSE(reviewer.action(QStringLiteral("حذف همه"))->isEnabled());
    EXPECT_TRUE(reviewer.action(QStringLiteral("نمايش/چاپ"))->isEnabled());
}

TEST(SepDarScreens, AMonthPrintsByOwnerWithNamesAndCarriedTotalsAndTheDesignedReceiptIsNotPretended)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    deposits::DepositFilter month;
    month.year = 1405;
    month.month = 9;
    const auto rows = deposits::printedDeposits(s, month);
    ASSERT_TRUE(rows);
    ASSERT_GT(rows->size(), 40);
    EXPECT_FALSE(rows->first().owner.isEmpty());

    const io::ReportModel report = deposits::depositListReport(*rows, deposits::ListPrint::ByOwner, QStringLiteral("1405/09/19"), {});
    EXPECT_EQ(report.rows.size(), size_t(rows->size()));
    EXPECT_EQ(report.groupColumn, 0);
    EXPECT_GE(report.wordsColumn, 0);
    const auto pages = io::layoutReport(report, QSizeF(595, 842), io::reportFont());
    ASSERT_GT(pages.size(), 1u);
    const auto carried = std::count_if(pages[1].items.begin(), pages[1].items.end(),
                                       [](const io::ReportItem& i) { return i.kind == io::ReportItem::CarriedIn; });
    EXPECT_GT(carried, 0);

    EXPECT_FALSE(deposits::receiptReport(*rows, deposits::ReceiptPrint::Designed, {}));
    const auto full = deposits::receiptReport(*rows, deposits::ReceiptPrint::Full, {});
    ASSERT_TRUE(full);
    EXPECT_EQ(full->records.size(), size_t(rows->size()));
}

namespace {

// Runs work on the modal window of type W once it is up (message boxes may come first).
template <class W>
void whenUp(std::function<void(W&)> work)
{
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, work] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w && ++*tries < 500)
            return;
        poll->stop();
        poll->deleteLater();
        ASSERT_NE(w, nullptr);
        work(*w);
    });
    poll->start(10);
}

} // namespace

TEST(SepDarScreens, AMonthIsReadMatchedNumberedOrderedSentMadeFinalAndReturnedFromTheListsMenus)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet));

    // A month the demo leaves empty, read from the deposits ledger of Khordad 1405.
    TViewSepDar list(s);
    list.setReadOnly(false);
    deposits::DepositFilter month;
    month.year = 1409;
    month.month = 1;
    list.setFilter(month);
    ASSERT_EQ(list.model().rowCount(), 0);
    deposits::ReadingCriteria c;
    c.year = 1405;
    c.monthIndex = 2;
    c.kol = 21007;
    c.side = deposits::ReadSide::Credit;
    qint64 read = 0;
    {
        test::AutoAnswer yes;
        whenUp<ui::deposits::TFREADFROMSND>([&](ui::deposits::TFREADFROMSND& screen) {
            screen.setCriteria(c);
            ASSERT_TRUE(screen.readRows());
            read = screen.grid->rowCount();
            ASSERT_TRUE(screen.transferAndClose(false));
        });
        list.action(QStringLiteral("خواندن اطلاعات سپرده از اسناد حسابداري"))->trigger();
    }
    ASSERT_GT(read, 0);
    const deposits::DepositTotals t0 = list.totals();
    EXPECT_EQ(t0.amount.count, read);
    EXPECT_EQ(t0.confirmed.count, 0);

    // Matched by hand: the first rows with the space bar, the rest as a group.
    for (int r = 0; r < 3; ++r) {
        list.grid()->setCurrentIndex(list.grid()->model()->index(r, 0));
        QTest::keyClick(list.grid(), Qt::Key_Space);
    }
    EXPECT_EQ(list.totals().confirmed.count, 3);
    {
        test::AutoAnswer yes;
        list.action(QStringLiteral("تائيد  صورتحساب  بانك - كلي"))->trigger();
    }
    EXPECT_EQ(list.totals().confirmed.count, read);
    EXPECT_EQ(list.totals().confirmed.sum, t0.amount.sum);

    // Numbered from the receipt book, then ordered for the treasury.
    {
        test::AutoAnswer yes;
        whenUp<ui::deposits::TFGetFishInfo>([](ui::deposits::TFGetFishInfo& serial) {
            serial.first->setText(QStringLiteral("70001"));
            serial.firstLeft();
            serial.last->setText(QStringLiteral("79999"));
            serial.date->setDate(QStringLiteral("1409/01/20"));
            serial.changeDate->setChecked(true);
            ASSERT_TRUE(serial.proceed());
        });
        list.action(QStringLiteral("تعيين خودكار سريال قبوض سپرده"))->trigger();
        list.action(QStringLiteral("مرتب سازي و تعيين رديف سپرده هاي ارسالي"))->trigger();
    }
    const QString ofMonth = QStringLiteral(" FROM SEP_DAR WHERE MY = 1409 AND MM = 1");
    auto value = [&](const QString& what) { return db::scalar(s.deposits(), what + ofMonth).value_or(QVariant(-1)).toLongLong(); };
    EXPECT_EQ(value(QStringLiteral("SELECT MIN(SEPNO)")), 70001);
    EXPECT_EQ(value(QStringLiteral("SELECT MAX(SEPNO)")), 70000 + read);
    EXPECT_EQ(value(QStringLiteral("SELECT MAX(SEPROW)")), read);

    // Sent with a credit notice picked from the notices.
    ASSERT_TRUE(db::execSql(s.deposits(), QStringLiteral("INSERT INTO BESTANKARI (IDXNO, BESNO, BESDATE, ERSALLETTERNO, ERSALLETTERDATE, Y, M) "
                                                         "VALUES (9001, '9901', '1409/02/10', '77/ذ', '1409/02/01', 1409, 1)")));
    {
        test::AutoAnswer yes;
        whenUp<ui::framework::PickerDialog>([](ui::framework::PickerDialog& picker) {
            ASSERT_TRUE(picker.screen().reopen(9001));
            picker.continueWithCurrent();
        });
        list.action(QStringLiteral("تعيين شماره بستانكاري - كلي "))->trigger();
    }
    EXPECT_EQ(list.totals().sent.count, read);
    EXPECT_EQ(db::scalar(s.deposits(), QStringLiteral("SELECT COUNT(*)") + ofMonth + QStringLiteral(" AND ELAMBESIDX = 9001 AND TIKBESTANKARI = '1'"))
                  .value_or(QVariant(-1)).toLongLong(),
              read);

    // Made final, then returned from final; the totals stay as they were.
    {
        test::AutoAnswer yes;
        list.action(QStringLiteral("قطعي نمودن اطلاعات سپرده هاي دريافتي ماه"))->trigger();
    }
    EXPECT_EQ(value(QStringLiteral("SELECT MIN(ALTP)")), 1);
    {
        test::AutoAnswer yes;
        list.action(QStringLiteral("برگشت سپرده هاي دريافتي ماه  از وضعيت قطعي"))->trigger();
    }
    EXPECT_EQ(value(QStringLiteral("SELECT MAX(ALTP)")), 0);
    EXPECT_EQ(list.totals().amount.count, read);
    EXPECT_EQ(list.totals().amount.sum, t0.amount.sum);
    EXPECT_EQ(list.totals().balance.sum, t0.amount.sum);
}
