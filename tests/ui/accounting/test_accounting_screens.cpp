#include "ui/accounting/AccountingScreens.h"
#include "ui/accounting/TFSelectMonth.h"
#include "ui/accounting/TFShowSnd.h"
#include "ui/accounting/TFSndIssue.h"
#include "ui/accounting/TSrSnd1.h"
#include "ui/framework/Editors.h"
#include "ui/framework/Picker.h"
#include "core/accounting/VoucherWriter.h"
#include "core/deposits/ReceivedDeposits.h"
#include "support/AutoAnswer.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvak;
using namespace orvak::ui::accounting;

namespace {

// What the accounting database and the history hold.
QList<qint64> state(startup::Session& s)
{
    auto n = [](QSqlDatabase db, const char* sql) { return db::scalar(db, QString::fromLatin1(sql)).value_or(QVariant(-1)).toLongLong(); };
    return {n(s.accounting(), "SELECT COUNT(*) FROM SNDHEAD"), n(s.accounting(), "SELECT COUNT(*) FROM SNDROW"),
            n(s.accounting(), "SELECT SUM(BED) FROM SNDROW"), n(s.accounting(), "SELECT MAX(SNDNO) FROM SNDHEAD")};
}

orvak::accounting::VoucherLine line(int kol, qint64 debit, qint64 credit)
{
    orvak::accounting::VoucherLine l;
    l.kol = kol;
    l.moin = 1;
    l.debit = debit;
    l.credit = credit;
    l.description = QStringLiteral("سپرده آزمايشي");
    return l;
}

// Runs work on the dialog of type D once it is up.
template <class D>
void whenShown(std::function<void(D&)> work)
{
    QTimer::singleShot(0, [work] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        work(*dialog);
    });
}

} // namespace

TEST(AccountingScreens, AnIssuedVoucherIsShownAndItsRejectionLeavesTheYearAsItWas)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);
    const QList<qint64> before = state(s);
    const int next = int(before[3]) + 1;

    int posted = 0;
    PostVoucher post = [&](const VoucherIssue& issue) {
        orvak::accounting::VoucherPosting p;
        p.number = issue.number;
        p.date = issue.date;
        p.clearEarlier = issue.clearEarlier;
        p.description = QStringLiteral("سند آزمايشي");
        p.lines = {line(11005, 750000, 0), line(21007, 0, 750000)};
        QString why;
        const auto done = orvak::accounting::VoucherWriter(s).post(p, &why);
        posted = done ? done->number : 0;
        return why;
    };
    test::AutoAnswer yes;
    whenShown<TFSndIssue>([&](TFSndIssue& dialog) {
        EXPECT_EQ(dialog.numberField()->text(), QString::number(next));
        dialog.dateField()->setDate(QStringLiteral("1405/08/01"));
        ASSERT_TRUE(dialog.generate());
        EXPECT_NE(state(s), before);
        // The viewer on the posted number, as F9 opens it.
        TFShowSnd viewer(s, &dialog);
        ASSERT_TRUE(viewer.showNumber(next));
        EXPECT_EQ(viewer.rows()->rowCount(), 2);
        EXPECT_EQ(viewer.totalsText(), QStringLiteral("بدهكار: 750,000\nبستانكار: 750,000\nاختلاف: 0"));
        EXPECT_TRUE(viewer.findWord(QStringLiteral("سپرده")));
        EXPECT_TRUE(dialog.rejectIssued());
        dialog.accept();
    });
    const std::optional<VoucherIssue> issued = issueVoucher(nullptr, s, {}, post);
    EXPECT_EQ(posted, next);
    EXPECT_FALSE(issued);
    EXPECT_EQ(state(s), before);
    EXPECT_TRUE(yes.texts.contains(QStringLiteral(" مطمئن هستيد؟ ")));

    // A number the year does not hold is said so.
    TFShowSnd viewer(s);
    EXPECT_FALSE(viewer.showNumber(next));
    EXPECT_EQ(viewer.rows()->rowCount(), 0);
}

TEST(AccountingScreens, RejectingAReceiptVoucherTakesBackOnlyItsRowsAndTheDepositsReferences)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);
    auto n = [&](QSqlDatabase db, const QString& sql, const QVariantMap& binds = {}) { return db::scalar(db, sql, binds).value_or(QVariant(-1)).toLongLong(); };
    // The receipt voucher of month 8 goes into the year's last voucher, which holds rows of its own.
    const int target = int(n(s.accounting(), QStringLiteral("SELECT MAX(SNDNO) FROM SNDHEAD")));
    const QVariantMap at{{QStringLiteral(":n"), target}};
    const qint64 heldRows = n(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE SNDNO = :n"), at);
    const qint64 heldDebit = n(s.accounting(), QStringLiteral("SELECT SUM(BED) FROM SNDROW WHERE SNDNO = :n"), at);
    ASSERT_GT(heldRows, 0);
    const qint64 month = n(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1405 AND MM = 8"));
    ASSERT_GT(month, 0);
    // Deposits of other months whose references stay whatever happens.
    const qint64 others = n(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE SNDNO IS NOT NULL AND NOT (MY = 1405 AND MM = 8)"));

    orvak::deposits::DepositFilter f;
    f.year = 1405;
    f.month = 8;
    startup::ScriptedPrompt goOn({}, true);
    PostVoucher post = [&](const VoucherIssue& issue) {
        const orvak::deposits::Outcome o = orvak::deposits::ReceivedDeposits(s).issueReceiptVoucher(f, {issue.number, issue.date, issue.clearEarlier}, goOn);
        return o.done ? QString() : o.message;
    };
    VoucherIssueRequest request;
    request.number = target;
    request.clearReferences = [](db::UnitOfWork& w, const orvak::accounting::PostedVoucher& v) {
        return orvak::deposits::ReceivedDeposits::clearVoucherReferences(w, v, false);
    };
    test::AutoAnswer yes;
    whenShown<TFSndIssue>([&](TFSndIssue& dialog) {
        dialog.dateField()->setDate(QStringLiteral("1405/08/30"));
        ASSERT_TRUE(dialog.generate()) << goOn.text().toStdString();
        ASSERT_TRUE(dialog.issued() && dialog.issued()->posted);
        EXPECT_EQ(dialog.issued()->posted->rows.size(), 2 * month);
        EXPECT_EQ(dialog.issued()->posted->rows.first(), heldRows + 1);
        EXPECT_FALSE(dialog.issued()->posted->headCreated);
        EXPECT_EQ(dialog.progressLine()->text(), QStringLiteral("سند شماره%1 رديف %2").arg(target).arg(heldRows + 2 * month));
        EXPECT_EQ(n(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1405 AND MM = 8 AND SNDNO = :n"), at), month);
        EXPECT_TRUE(dialog.rejectIssued());
        dialog.accept();
    });
    EXPECT_FALSE(issueVoucher(nullptr, s, request, post));
    // The voucher is as it was; the month's deposits point at no voucher; the others keep theirs.
    EXPECT_EQ(n(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDHEAD WHERE SNDNO = :n"), at), 1);
    EXPECT_EQ(n(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE SNDNO = :n"), at), heldRows);
    EXPECT_EQ(n(s.accounting(), QStringLiteral("SELECT SUM(BED) FROM SNDROW WHERE SNDNO = :n"), at), heldDebit);
    EXPECT_EQ(n(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1405 AND MM = 8 AND (SNDNO IS NOT NULL OR SNDROW IS NOT NULL OR SNDYER IS NOT NULL)")), 0);
    EXPECT_EQ(n(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE SNDNO IS NOT NULL AND NOT (MY = 1405 AND MM = 8)")), others);
}

TEST(AccountingScreens, TheIssueDialogTakesTheDescriptionAndClearingEarlierContentKeepsTheHead)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);
    const int target = int(db::scalar(s.accounting(), QStringLiteral("SELECT MAX(SNDNO) FROM SNDHEAD"))->toInt());
    const auto head = db::firstRow(s.accounting(), QStringLiteral("SELECT SNDDATE, DESCR FROM SNDHEAD WHERE SNDNO = :n"), {{QStringLiteral(":n"), target}});
    ASSERT_TRUE(head);
    QString described;
    PostVoucher post = [&](const VoucherIssue& issue) {
        described = issue.description;
        orvak::accounting::VoucherPosting p;
        p.number = issue.number;
        p.date = issue.date;
        p.clearEarlier = issue.clearEarlier;
        p.description = issue.description;
        p.lines = {line(11005, 900, 0), line(21007, 0, 900)};
        QString why;
        orvak::accounting::VoucherWriter(s).post(p, &why);
        return why;
    };
    VoucherIssueRequest request;
    request.number = target;
    request.description = QStringLiteral("- قرارداد شماره 12 تاريخ 1405/01/10");
    whenShown<TFSndIssue>([&](TFSndIssue& dialog) {
        EXPECT_TRUE(dialog.descriptionField()->isVisibleTo(&dialog));
        EXPECT_EQ(dialog.descriptionField()->text(), *request.description);
        dialog.descriptionField()->setText(QStringLiteral("شرح تازه"));
        dialog.dateField()->setDate(QStringLiteral("1405/08/30"));
        dialog.clearEarlierBox()->setChecked(true);
        ASSERT_TRUE(dialog.generate());
        EXPECT_EQ(dialog.progressLine()->text(), QStringLiteral("سند شماره%1 رديف 2").arg(target));
        dialog.accept();
    });
    EXPECT_TRUE(issueVoucher(nullptr, s, request, post));
    EXPECT_EQ(described, QStringLiteral("شرح تازه"));
    // The rows went, the head stayed as it was.
    const auto after = db::firstRow(s.accounting(), QStringLiteral("SELECT SNDDATE, DESCR FROM SNDHEAD WHERE SNDNO = :n"), {{QStringLiteral(":n"), target}});
    ASSERT_TRUE(after);
    EXPECT_EQ(after->value(0), head->value(0));
    EXPECT_EQ(after->value(1), head->value(1));
    EXPECT_EQ(db::scalar(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE SNDNO = :n"), {{QStringLiteral(":n"), target}})->toInt(), 2);

    // Without a description in the request the field is not offered.
    whenShown<TFSndIssue>([&](TFSndIssue& dialog) {
        EXPECT_FALSE(dialog.descriptionField()->isVisibleTo(&dialog));
        dialog.accept();
    });
    EXPECT_FALSE(issueVoucher(nullptr, s, {}, post));
}

TEST(AccountingScreens, TheSearchRunsAPresetAndHandsTheRowBack)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const int last = *orvak::accounting::Vouchers(s).lastNumber();
    const orvak::accounting::VoucherRow wanted = orvak::accounting::Vouchers(s).rows(last)->first();

    VoucherSearchPreset preset;
    preset.kol = wanted.kol;
    preset.amount = wanted.debit ? wanted.debit : wanted.credit;
    preset.runAtOnce = true;
    whenShown<TSrSnd1>([&](TSrSnd1& screen) {
        ASSERT_GT(screen.list().model().rowCount(), 0);
        screen.list().reopen(last);
        screen.handBack();
    });
    const std::optional<FoundVoucherRow> found = searchVouchers(nullptr, s, preset);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->row.number, last);
    EXPECT_EQ(found->row.kol, wanted.kol);
    EXPECT_FALSE(found->voucherDate.isEmpty());
}


TEST(AccountingScreens, TheLedgerPickersHandBackCodesWithTheGeneralLedgersName)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    auto pickOn = [](int code) {
        whenShown<ui::framework::PickerDialog>([code](ui::framework::PickerDialog& picker) {
            ASSERT_GT(picker.screen().model().rowCount(), 0);
            ASSERT_TRUE(picker.screen().reopen(code));
            picker.continueWithCurrent();
        });
    };
    // "همه معينها" shows the subsidiaries of every general ledger.
    whenShown<ui::framework::PickerDialog>([](ui::framework::PickerDialog& picker) {
        const int under = picker.screen().model().rowCount();
        for (QPushButton* b : picker.screen().findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("همه معينها"))
                b->click();
        EXPECT_GT(picker.screen().model().rowCount(), under);
        picker.reject();
    });
    EXPECT_FALSE(pickSubsidiaryLedger(nullptr, s, 21007));

    pickOn(2);
    const Pick moin = pickSubsidiaryLedger(nullptr, s, 21007);
    ASSERT_TRUE(moin);
    EXPECT_EQ(moin->current.value(QStringLiteral("KOL")).toInt(), 21007);
    EXPECT_EQ(moin->current.value(QStringLiteral("KOLNAME")).toString().trimmed(), QStringLiteral("سپرده هاي دريافتي"));

    pickOn(21007);
    const Pick kol = pickGeneralLedger(nullptr, s);
    ASSERT_TRUE(kol);
    EXPECT_EQ(kol->current.value(QStringLiteral("NAME")).toString().trimmed(), QStringLiteral("سپرده هاي دريافتي"));
}

TEST(AccountingScreens, TheMonthPickerGivesTheChosenYearAndMonth)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    whenShown<TFSelectMonth>([](TFSelectMonth& picker) {
        EXPECT_EQ(picker.list().model().rowCount(), 12);
        picker.yearChoice()->setCurrentIndex(2);   // "سال بعد"
        ASSERT_TRUE(picker.list().reopen(12));
        picker.continueWithCurrent();
    });
    const std::optional<MonthChoice> chosen = pickMonth(nullptr, s);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->year, s.CurrentYear() + 1);
    EXPECT_EQ(chosen->month, 12);
}
