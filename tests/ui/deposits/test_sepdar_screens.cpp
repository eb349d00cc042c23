#include "ui/deposits/TFGetFishInfo.h"
#include "ui/deposits/TFREADFROMSND.h"
#include "ui/deposits/TDE_SEPDAR.h"
#include "ui/deposits/TViewSepDar.h"
#include "ui/framework/Picker.h"
#include "core/deposits/VoucherReading.h"
#include "core/deposits/DepositPrints.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/startup/Login.h"
#include "core/db/Db.h"
#include "core/io/FilterExpression.h"
#include "core/io/ListData.h"
#include "core/util/Numbers.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QAbstractButton>
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
        // The demo's register holds Khordad already: its rows come unticked, and ticked
        // by hand they go in again after the question.
        test::AutoAnswer yes;
        whenUp<ui::deposits::TFREADFROMSND>([&](ui::deposits::TFREADFROMSND& screen) {
            screen.setCriteria(c);
            ASSERT_TRUE(screen.readRows());
            read = screen.grid->rowCount();
            for (int r = 0; r < screen.grid->rowCount(); ++r) {
                EXPECT_TRUE(screen.grid->item(r, 0)->text().isEmpty()) << r;
                screen.grid->setCurrentCell(r, 1);
                screen.toggleCurrent();
            }
            ASSERT_TRUE(screen.transferAndClose(false));
        });
        list.action(QStringLiteral("خواندن اطلاعات سپرده از اسناد حسابداري"))->trigger();
        EXPECT_TRUE(yes.texts.contains(QStringLiteral("%1 رديف انتخاب شده قبلا به دفتر سپرده منتقل شده است. دوباره وارد شود؟").arg(read)))
            << yes.texts.join('|').toStdString();
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
    for (const char* entry : {"ارسال به خزانه و تعيين شماره نامه صورت ريز ارسالي - کلي", "تعيين شماره بستانكاري - كلي "}) {
        test::AutoAnswer yes;
        whenUp<ui::framework::PickerDialog>([](ui::framework::PickerDialog& picker) {
            ASSERT_TRUE(picker.screen().reopen(9001));
            picker.continueWithCurrent();
        });
        list.action(QString::fromUtf8(entry))->trigger();
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

TEST(SepDarScreens, WhileTheFrameFiltersTheGridOperationsAndTotalsTakeItsRowsAndTheSpaceBarMovesOn)
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
    month.confirmation = deposits::Confirmation::Open;
    list.setFilter(month);
    const int open = list.model().rowCount();
    ASSERT_GT(open, 4);

    // The frame's own filter keeps one owner's rows: the totals and "تائيد ... - كلي" take those alone.
    const int owner = io::fieldValue(list.model().rows(), list.model().sourceRow(0), QStringLiteral("TAFSILI")).toInt();
    list.setFilterText(io::filterTerm(QStringLiteral("TAFSILI"), QStringLiteral("="), QString::number(owner), false));
    const int shown = list.model().rowCount();
    ASSERT_GT(shown, 0);
    ASSERT_LT(shown, open);
    EXPECT_EQ(list.totals().amount.count, shown);
    {
        test::AutoAnswer yes;
        list.action(QStringLiteral("تائيد  صورتحساب  بانك - كلي"))->trigger();
    }
    const auto confirmed = db::scalar(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1405 AND MM = 9 AND TIKSUDMO = 'P' AND TAFSILI <> :o"),
                                      {{QStringLiteral(":o"), owner}});
    const auto mine = db::scalar(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1405 AND MM = 9 AND TAFSILI = :o AND "
                                                               "(TIKSUDMO IS NULL OR TIKSUDMO IN ('', ' ', 'O'))"),
                                 {{QStringLiteral(":o"), owner}});
    EXPECT_EQ(mine->toInt(), 0);
    list.removeFilters();
    EXPECT_EQ(list.model().rowCount(), open - shown);
    EXPECT_EQ(list.totals().amount.count, open - shown);
    Q_UNUSED(confirmed);

    // The space bar takes the current row out of the open ones; the next takes its place.
    list.grid()->setCurrentIndex(list.grid()->model()->index(1, 0));
    const int rows = list.model().rowCount();
    {
        test::AutoAnswer answers;
        QTest::keyClick(list.grid(), Qt::Key_Space);
        QTest::keyClick(list.grid(), Qt::Key_Space);
        EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join('|').toStdString();
    }
    EXPECT_EQ(list.model().rowCount(), rows - 2);
    EXPECT_EQ(list.grid()->currentIndex().row(), 1);
}

TEST(SepDarScreens, TheEntryFormNamesWhatIsMissingWarnsBeforeSavingAndAsksBeforeLosingChanges)
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

    TDE_SEPDAR form(s, &list);
    form.startInsert();
    static_cast<QWidget&>(form).show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    form.owner->editor()->setText(QStringLiteral("1002"));
    form.amount->setAmount(0);
    {
        test::AutoAnswer answers;
        QTest::keyClick(&form, Qt::Key_F10);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("اطلاعات كافي نيست: مبلغ سپرده")});
    }
    EXPECT_EQ(form.focusWidget(), form.amount);
    form.amount->setAmount(1000);
    form.chequeDate->setText(QStringLiteral("1405/99/99"));
    {
        test::AutoAnswer answers;
        QTest::keyClick(&form, Qt::Key_F10);
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("(تاريخ واريز)"))) << answers.texts[0].toStdString();
    }
    EXPECT_EQ(form.focusWidget(), form.chequeDate);
    form.chequeDate->setDate(QStringLiteral("1405/09/10"));

    // A repeated receipt number answered no: the question alone, no box after it.
    const qint64 held = 4711;
    ASSERT_TRUE(db::execSql(s.deposits(), QStringLiteral("UPDATE SEP_DAR SET SEPNO = 4711 WHERE IDX = (SELECT MIN(IDX) FROM SEP_DAR WHERE MY = 1405 AND MM = 9)")));
    form.receiptNo->setText(QString::number(held));
    {
        test::AutoAnswer no(QStringLiteral("خير"));
        QTest::keyClick(&form, Qt::Key_F10);
        EXPECT_EQ(no.texts, QStringList{QStringLiteral("شماره قبض سپرده تکراري است،ادامه مي دهيد؟")});
    }
    EXPECT_TRUE(form.isVisible());

    // F1 is the help; Esc with typed changes asks, and no keeps the form.
    {
        test::AutoAnswer answers(QStringLiteral("خير"));
        QTest::keyClick(&form, Qt::Key_F1);
        QTest::keyClick(&form, Qt::Key_Escape);
        ASSERT_EQ(answers.texts.size(), 2);
        EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("F7")));
        EXPECT_EQ(answers.texts[1], QStringLiteral("اطلاعات تغيير يافته ذخيره نشده است. خروج بدون ذخيره؟"));
    }
    EXPECT_TRUE(form.isVisible());

    // A confirmed deposit is saved after the warning, which comes up before the save.
    const int confirmed = db::scalar(s.deposits(), QStringLiteral("SELECT MIN(IDX) FROM SEP_DAR WHERE MY = 1405 AND MM = 9 AND TIKSUDMO = 'P'"))->toInt();
    TDE_SEPDAR edit(s, &list);
    ASSERT_TRUE(edit.startEdit(confirmed));
    const qint64 amount = deposits::ReceivedDeposits(s).read(confirmed)->amount;
    edit.amount->setAmount(amount + 1);
    qint64 storedWhileWarned = -1;
    QString warning;
    auto* poll = new QTimer(&edit);
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        warning = box->text();
        storedWhileWarned = deposits::ReceivedDeposits(s).read(confirmed)->amount;
        box->buttons().value(0)->click();
    });
    poll->start(5);
    ASSERT_TRUE(edit.saveAndClose());
    poll->stop();
    EXPECT_EQ(warning, deposits::alreadyConfirmedText());
    EXPECT_EQ(storedWhileWarned, amount);
    EXPECT_EQ(deposits::ReceivedDeposits(s).read(confirmed)->amount, amount + 1);
}

TEST(SepDarScreens, TheFormsPickersFollowTheOwnerAndTheProjectsPlan)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet));
    TViewSepDar list(s);
    TDE_SEPDAR form(s, &list);
    form.startInsert();
    const int owner = db::scalar(s.common(), QStringLiteral("SELECT MIN(TAFSIL) FROM PAYMENTS WHERE CI = 0 AND TAFSIL > 0"))->toInt();
    form.owner->editor()->setText(QString::number(owner));
    QList<int> parties;
    whenUp<ui::framework::PickerDialog>([&](ui::framework::PickerDialog& picker) {
        picker.screen().model().fetchAll();
        for (int r = 0; r < picker.screen().model().rowCount(); ++r)
            parties << io::fieldValue(picker.screen().model().rows(), picker.screen().model().sourceRow(r), QStringLiteral("TAFSIL")).toInt();
        picker.continueWithCurrent();
    });
    form.contract->pick();
    ASSERT_FALSE(parties.isEmpty());
    EXPECT_TRUE(std::all_of(parties.cbegin(), parties.cend(), [owner](int p) { return p == owner; }));
    ASSERT_TRUE(form.contract->code());

    qint64 plan = 0;
    whenUp<ui::framework::PickerDialog>([&](ui::framework::PickerDialog& picker) {
        const auto r = picker.currentResult();
        ASSERT_TRUE(r);
        plan = r->current.value(QStringLiteral("TARHNO")).toLongLong();
        picker.continueWithCurrent();
    });
    form.project->pick();
    ASSERT_GT(plan, 0);
    EXPECT_EQ(form.plan->code(), plan);
}

TEST(SepDarScreens, TheCreditNoticeBoxIsReadAgainWhenTheListReopensAndTheTreasuryFileSaysWhatItHolds)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(s, QStringLiteral("3"), QStringLiteral("1234"), quiet));
    TViewSepDar list(s);
    deposits::DepositFilter month;
    month.year = 1405;
    month.month = 9;
    list.setFilter(month);
    ASSERT_TRUE(db::execSql(s.deposits(), QStringLiteral("INSERT INTO BESTANKARI (IDXNO, BESNO, BESDATE) VALUES (9101, '8101', '1405/09/15')")));
    const auto offered = [&] {
        for (const QComboBox* box : list.findChildren<QComboBox*>()) {
            if (box->findData(9101) >= 0)
                return true;
        }
        return false;
    };
    EXPECT_FALSE(offered());
    list.applyFilter();
    EXPECT_TRUE(offered());

    test::AutoAnswer answers;
    list.action(QStringLiteral("تهيه فايل/ديسکت/سي دي حاوي صورت ريز ارسالي به خزانه"))->trigger();
    EXPECT_EQ(answers.texts.value(0), QStringLiteral("در اين قسمت ، فايلي از سپرده هاي سال و ماه مورد نظر تهيه مي شود"));
}
