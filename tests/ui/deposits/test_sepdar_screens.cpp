#include "ui/deposits/TDE_SEPDAR.h"
#include "ui/deposits/TViewSepDar.h"
#include "core/deposits/DepositPrints.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/startup/Login.h"
#include "core/util/Numbers.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"

#include <QAction>
#include <QTableView>
#include <QTest>
#include <algorithm>
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
    EXPECT_EQ(full->rows.size() % size_t(rows->size()), 0u);
}
