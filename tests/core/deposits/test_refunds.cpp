#include "core/accounting/Vouchers.h"
#include "core/deposits/PettyCash.h"
#include "core/deposits/Refunds.h"
#include "RequestOffice.h"
#include "support/TestSupport.h"

using namespace orvak;
using namespace orvak::deposits;
using startup::ScriptedPrompt;
using test::RequestOffice;

namespace {

using Refunded = std::tuple<qint64, qint64, int, int>;

// A refund's deposit row added as the form adds it; the refund it went into.
std::optional<int> add(RequestOffice& o, Refund& r, int deposit, qint64 amount, ScriptedPrompt& p)
{
    const auto rad = Refunds(*o.session).addRow(r, {deposit, amount}, p);
    if (rad)
        r.radIdx = *rad;
    return rad;
}

int lastRow(RequestOffice& o, int rad)
{
    return int(o.count(QStringLiteral("SELECT MAX(RAD_ROW) FROM SEP_RADR1 WHERE RAD_IDX = :r"), {{QStringLiteral(":r"), rad}}));
}

} // namespace

// 400 of 1,000, then the other 600, then nothing left to refund; deleting rows gives
// the balance back, and the refund mark stays while a refund row still names the
// deposit.
TEST(Refunds, PartialRefundsKeepTheDepositEqualToItsRows)
{
    RequestOffice o;
    const int d = o.deposit(1'000);
    Refund first = o.refundFor(), second = o.refundFor();
    ScriptedPrompt p({}, true);
    ASSERT_TRUE(add(o, first, d, 400, p)) << p.text().toStdString();
    EXPECT_EQ(o.refunded(d), (Refunded{400, 600, 1, 0}));
    ASSERT_TRUE(add(o, second, d, 600, p)) << p.text().toStdString();
    EXPECT_EQ(o.refunded(d), (Refunded{1'000, 0, 1, 0}));

    Refund third = o.refundFor();
    ScriptedPrompt refused;
    EXPECT_FALSE(add(o, third, d, 1, refused));
    EXPECT_EQ(refused.infos, QStringList{alreadyRefundedText()});
    EXPECT_EQ(third.radIdx, 0);
    EXPECT_EQ(o.count(QStringLiteral("SELECT COUNT(*) FROM SEP_RADH")), o.count(QStringLiteral("SELECT MAX(RAD_IDX) FROM SEP_RADH")));

    ASSERT_TRUE(Refunds(*o.session).removeRow(second.radIdx, lastRow(o, second.radIdx), p));
    EXPECT_EQ(o.refunded(d), (Refunded{400, 600, 1, 0}));
    ASSERT_TRUE(Refunds(*o.session).removeRow(first.radIdx, lastRow(o, first.radIdx), p));
    EXPECT_EQ(o.refunded(d), (Refunded{0, 1'000, 0, 0}));
    EXPECT_EQ(Refunds(*o.session).read(first.radIdx)->amount, 0);
}

// More than is left is refused, whatever the stored balance says, and nothing of the
// refund is written.
TEST(Refunds, NoRowTakesMoreThanWhatIsLeft)
{
    RequestOffice o;
    const int d = o.deposit(1'000);
    Refund r = o.refundFor();
    const qint64 before = o.audit();
    ScriptedPrompt p;
    EXPECT_FALSE(add(o, r, d, 1'001, p));
    ASSERT_EQ(p.infos.size(), 1);
    EXPECT_TRUE(p.infos.first().contains(QStringLiteral("از مانده سپرده"))) << p.text().toStdString();
    EXPECT_EQ(o.audit(), before);
    EXPECT_EQ(o.refunded(d), (Refunded{0, 1'000, 0, 0}));
    ScriptedPrompt zero;
    EXPECT_FALSE(add(o, r, d, 0, zero));
    EXPECT_EQ(zero.text(), QStringLiteral("اطلاعات كامل نيست: مبلغ استرداد"));
}

// Two workstations with the same deposit open: the second refund reads what the
// first left, inside its own work, and is refused.
TEST(Refunds, TwoWorkstationsCannotBothRefundTheDeposit)
{
    RequestOffice o;
    const int d = o.deposit(1'000);
    auto other = std::make_unique<startup::Session>(o.dir.path(), startup::SiteConfig{demo::DemoInstallationNumber, QStringLiteral("x")});
    ScriptedPrompt quiet;
    ASSERT_EQ(other->ReadConnectionFile(), startup::ConnectionFileState::Ready);
    ASSERT_TRUE(other->ConnectServer(quiet));
    ASSERT_TRUE(other->OpenSection(1405, QStringLiteral("0"), quiet));
    other->setCurrentUserCode(3);
    Refund mine = o.refundFor(), theirs = o.refundFor();
    // Both forms show the whole deposit.
    EXPECT_EQ(ReceivedDeposits(*o.session).read(d)->amountMandeh, 1'000);
    EXPECT_EQ(ReceivedDeposits(*other).read(d)->amountMandeh, 1'000);
    ScriptedPrompt p1, p2;
    ASSERT_TRUE(add(o, mine, d, 700, p1)) << p1.text().toStdString();
    EXPECT_FALSE(Refunds(*other).addRow(theirs, {d, 700}, p2));
    ASSERT_EQ(p2.infos.size(), 1);
    EXPECT_TRUE(p2.infos.first().contains(QStringLiteral("300"))) << p2.text().toStdString();
    EXPECT_EQ(o.refunded(d), (Refunded{700, 300, 1, 0}));
}

TEST(Refunds, ARefundWithRowsOrChequesIsNotDeleted)
{
    RequestOffice o;
    Refunds refunds(*o.session);
    ScriptedPrompt p({}, true);
    Refund withRow = o.refundFor();
    ASSERT_TRUE(add(o, withRow, o.deposit(1'000), 1'000, p));
    IssuedCheque c;
    c.amount = 500;
    c.chkNo = 12345;
    c.chkDate = QStringLiteral("1409/02/02");
    Refund withCheque = o.refundFor();
    const auto rad = refunds.saveCheque(withCheque, c, true, p);
    ASSERT_TRUE(rad) << p.text().toStdString();
    for (int idx : {withRow.radIdx, *rad}) {
        ScriptedPrompt asked({}, true);
        EXPECT_FALSE(refunds.remove(idx, asked));
        EXPECT_EQ(asked.infos, QStringList{refundHasRecordsText()});
        EXPECT_TRUE(asked.questions.isEmpty());
        EXPECT_TRUE(refunds.read(idx));
    }
    ASSERT_TRUE(refunds.removeCheque(*rad, 1, p));
    ScriptedPrompt asked({}, true);
    EXPECT_TRUE(refunds.remove(*rad, asked));
    EXPECT_EQ(asked.questions, QStringList{QStringLiteral(" مطمئن هستيـــد ؟ ")});
    EXPECT_TRUE(refunds.read(*rad).empty());
}

// "خروج بدون ثبت" on a new refund: its rows, cheques and header go, and the deposits
// are what they were.
TEST(Refunds, LeavingANewRefundUnsavedUndoesIt)
{
    RequestOffice o;
    const int a = o.deposit(1'000), b = o.deposit(2'000);
    Refund r = o.refundFor();
    ScriptedPrompt p({}, true);
    ASSERT_TRUE(add(o, r, a, 1'000, p));
    ASSERT_TRUE(add(o, r, b, 500, p));
    IssuedCheque c;
    c.amount = 1'500;
    ASSERT_TRUE(Refunds(*o.session).saveCheque(r, c, true, p));
    EXPECT_EQ(Refunds(*o.session).totals(r.radIdx)->rows, 1'500);
    EXPECT_EQ(Refunds(*o.session).totals(r.radIdx)->remaining(), 0);
    ASSERT_TRUE(Refunds(*o.session).discard(r.radIdx, p)) << p.text().toStdString();
    EXPECT_TRUE(Refunds(*o.session).read(r.radIdx).empty());
    EXPECT_EQ(o.count(QStringLiteral("SELECT COUNT(*) FROM SEP_RADR2 WHERE RAD_IDX = :r"), {{QStringLiteral(":r"), r.radIdx}}), 0);
    EXPECT_EQ(o.refunded(a), (Refunded{0, 1'000, 0, 0}));
    EXPECT_EQ(o.refunded(b), (Refunded{0, 2'000, 0, 0}));
}

// Every row of a paid request its own refund; a row beyond its deposit's balance is
// skipped with its message, and a row refunded once is not refunded again.
TEST(Refunds, TheCollectiveRefundSkipsWhatCannotBeRefunded)
{
    RequestOffice o;
    const int whole = o.deposit(10'000), part = o.deposit(10'000), spent = o.deposit(10'000);
    ScriptedPrompt p({}, true);
    Refund earlier = o.refundFor();
    ASSERT_TRUE(add(o, earlier, spent, 9'000, p));
    const int req = o.request({{whole, 10'000}, {part, 4'000}, {spent, 5'000}});
    ASSERT_TRUE(o.toState(req, FundState::Confirmed, 19'000));
    const qint64 refundsBefore = o.count(QStringLiteral("SELECT COUNT(*) FROM SEP_RADH"));

    ScriptedPrompt collective({}, true);
    const Outcome out = Refunds(*o.session).refundRequest(req, QStringLiteral("1409/04/01"), collective);
    ASSERT_TRUE(out) << collective.text().toStdString();
    EXPECT_EQ(collective.questions, QStringList{QStringLiteral("همه سپرده هاي اين درخواست استرداد مي شوند، مطمئن هستيد")});
    EXPECT_EQ(out.changed, 2);
    EXPECT_EQ(out.kept, 1);
    EXPECT_EQ(collective.infos, QStringList{QStringLiteral("سپرده با کد  ") + QString::number(spent)
                                            + QStringLiteral(" قبلا استرداد شده و يا مبلغ درخواستي بيشتر از مبلغ مانده ي سپرده است")});
    EXPECT_EQ(o.count(QStringLiteral("SELECT COUNT(*) FROM SEP_RADH")), refundsBefore + 2);
    EXPECT_EQ(o.refunded(whole), (Refunded{10'000, 0, 1, 0}));
    EXPECT_EQ(o.refunded(part), (Refunded{4'000, 6'000, 1, 0}));
    EXPECT_EQ(o.refunded(spent), (Refunded{9'000, 1'000, 1, 0}));
    EXPECT_EQ(o.count(QStringLiteral("SELECT COUNT(*) FROM SEP_RADR1 WHERE REQIDX = :r AND REQROW = 2 AND AMOUNT = 4000"), {{QStringLiteral(":r"), req}}), 1);

    // Run again: the part still has a balance, but its request row was refunded.
    ScriptedPrompt again({}, true);
    const Outcome second = Refunds(*o.session).refundRequest(req, QStringLiteral("1409/04/02"), again);
    ASSERT_TRUE(second);
    EXPECT_EQ(second.changed, 0);
    EXPECT_EQ(second.kept, 3);
    EXPECT_EQ(o.refunded(part), (Refunded{4'000, 6'000, 1, 0}));
}

// A refund paid from a float marks its deposits and spends the float; no float is
// spent beyond what the treasury remitted.
TEST(Refunds, AFloatPaysAndIsSpent)
{
    RequestOffice o;
    PettyFloat f;
    f.havalehAmount = 5'000;
    f.havalehDate = QStringLiteral("1409/01/02");
    ScriptedPrompt p({}, true);
    const auto floatIdx = PettyCash(*o.session).save(f, true, p);
    ASSERT_TRUE(floatIdx) << p.text().toStdString();
    auto left = [&] { return PettyCash(*o.session).read(*floatIdx)->amountMandeh; };
    EXPECT_EQ(left(), 5'000);

    const int a = o.deposit(3'000), b = o.deposit(3'000);
    Refund r = o.refundFor();
    r.tikAzTankhah = 1;
    r.tankhahIdx = *floatIdx;
    ASSERT_TRUE(add(o, r, a, 3'000, p)) << p.text().toStdString();
    EXPECT_EQ(o.refunded(a), (Refunded{3'000, 0, 1, 1}));
    EXPECT_EQ(left(), 2'000);
    ScriptedPrompt over;
    EXPECT_FALSE(add(o, r, b, 3'000, over));
    ASSERT_EQ(over.infos.size(), 1);
    EXPECT_TRUE(over.infos.first().contains(QStringLiteral("مانده تنخواه"))) << over.text().toStdString();
    EXPECT_EQ(o.refunded(b), (Refunded{0, 3'000, 0, 0}));

    // Paid otherwise after all: the mark and the float follow the saved refund.
    r.tikAzTankhah = 0;
    ASSERT_TRUE(Refunds(*o.session).save(r, p));
    EXPECT_EQ(o.refunded(a), (Refunded{3'000, 0, 1, 0}));
    EXPECT_EQ(left(), 5'000);
    // A float refunds were paid from is kept.
    r.tikAzTankhah = 1;
    ASSERT_TRUE(Refunds(*o.session).save(r, p));
    ScriptedPrompt del({}, true);
    EXPECT_FALSE(PettyCash(*o.session).remove(*floatIdx, del));
    EXPECT_EQ(del.infos, QStringList{QStringLiteral("از اين تنخواه استرداد پرداخت شده است و تنخواه نمي تواند حذف شود")});
}

// The refund voucher debits the deposits account per deposit and credits the refund
// bank per cheque; its reference goes onto the refund and its rejection takes it back.
TEST(Refunds, TheRefundVoucherBalancesAndIsReferenced)
{
    RequestOffice o;
    ASSERT_TRUE(o.session->AccountingDbOpen());
    const int a = o.deposit(6'000, 71), b = o.deposit(4'000, 72);
    Refund r = o.refundFor();
    ScriptedPrompt p({}, true);
    ASSERT_TRUE(add(o, r, a, 6'000, p));
    ASSERT_TRUE(add(o, r, b, 4'000, p));
    IssuedCheque c;
    c.amount = 9'000;
    c.chkNo = 445566;
    c.chkDate = QStringLiteral("1405/09/10");
    ASSERT_TRUE(Refunds(*o.session).saveCheque(r, c, true, p));

    const QString date = QStringLiteral("1405/09/15");   // in the year of the books open
    ScriptedPrompt unequal({}, true);
    EXPECT_FALSE(Refunds(*o.session).issueVoucher(r.radIdx, {0, date, false}, unequal));
    EXPECT_TRUE(unequal.text().contains(QStringLiteral("برابر نيست"))) << unequal.text().toStdString();

    c.radIdx = r.radIdx;
    c.radRow = 1;
    c.amount = 10'000;
    ASSERT_TRUE(Refunds(*o.session).saveCheque(r, c, false, p));
    accounting::PostingRecorder recorder;
    ScriptedPrompt post({}, true);
    const Outcome out = Refunds(*o.session).issueVoucher(r.radIdx, {0, date, false}, post);
    ASSERT_TRUE(out) << post.text().toStdString();
    const auto rows = accounting::Vouchers(*o.session).rows(out.voucher);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 3);
    qint64 debit = 0, credit = 0;
    for (const accounting::VoucherRow& row : *rows) {
        debit += row.debit;
        credit += row.credit;
    }
    EXPECT_EQ(debit, 10'000);
    EXPECT_EQ(credit, 10'000);
    EXPECT_EQ((*rows)[0].kol, 210);
    EXPECT_EQ((*rows)[0].description.trimmed(), QStringLiteral("استرداد قبض سپرده 71 تاريخ 1409/01/10"));
    EXPECT_EQ((*rows)[2].kol, 110);
    EXPECT_EQ((*rows)[2].chequeNo, 445566);
    EXPECT_EQ(Refunds(*o.session).read(r.radIdx)->sndNo, out.voucher);

    ScriptedPrompt twice({}, true);
    EXPECT_FALSE(Refunds(*o.session).issueVoucher(r.radIdx, {0, date, false}, twice));
    ASSERT_TRUE(recorder.last());
    QString why;
    ASSERT_TRUE(accounting::VoucherWriter(*o.session).reject(*recorder.last(), Refunds::clearVoucherReferences, &why)) << why.toStdString();
    EXPECT_EQ(Refunds(*o.session).read(r.radIdx)->sndNo, 0);
}
