#include "core/accounting/Vouchers.h"
#include "core/deposits/CreditLetters.h"
#include "core/deposits/DepositDescriptions.h"
#include "core/deposits/DepositKinds.h"
#include "core/deposits/DepositList.h"
#include "core/deposits/DepositWork.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/startup/Login.h"
#include "core/startup/Rights.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

using namespace orvak;
using namespace orvak::deposits;
using startup::ScriptedPrompt;

namespace {

// A year the demo leaves empty, so that each test's month holds only its own rows.
constexpr int Year = 1409;

qint64 count(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {})
{
    return db::scalar(db, sql, binds).value_or(QVariant(-1)).toLongLong();
}

struct Office : test::DemoOffice {
    ReceivedDeposits deposits{*session};
    int owner = 0;

    Office()
    {
        session->setCurrentUserCode(3);
        owner = int(count(session->common(), QStringLiteral("SELECT MIN(CODE) FROM TAFSILI WHERE CI = 0")));
    }
    QSqlDatabase db() { return session->deposits(); }
    qint64 audit() { return test::historyCount(*session); }
    void writeLevel(int sel2)
    {
        ASSERT_TRUE(db::execSql(session->common(), QStringLiteral("UPDATE PROGUSERS SET SEL2 = :s WHERE PROGID = 3 AND UCODE = 3"),
                                {{QStringLiteral(":s"), sel2}}));
    }
    // A row of the test month with the columns given.
    int add(int month, const QVariantMap& columns = {})
    {
        const int idx = int(count(db(), QStringLiteral("SELECT COALESCE(MAX(IDX), 0) + 1 FROM SEP_DAR")));
        QVariantMap v{{QStringLiteral("IDX"), idx},         {QStringLiteral("MY"), Year},      {QStringLiteral("MM"), month},
                      {QStringLiteral("TAFSILI"), owner},   {QStringLiteral("AMOUNT"), 1000 * idx},
                      {QStringLiteral("AMOUNT_RAD"), 0},    {QStringLiteral("AMOUNT_MANDEH"), 1000 * idx},
                      {QStringLiteral("SEPKIND"), 1},       {QStringLiteral("CHKDATE"), QStringLiteral("1409/01/05")},
                      {QStringLiteral("ALTP"), 0},          {QStringLiteral("FROMOLDM"), 2}};
        v.insert(columns);
        QStringList names, marks;
        QVariantMap binds;
        for (auto it = v.cbegin(); it != v.cend(); ++it) {
            names << it.key();
            marks << QLatin1Char(':') + it.key();
            binds.insert(QLatin1Char(':') + it.key(), it.value());
        }
        EXPECT_TRUE(db::execSql(db(), QStringLiteral("INSERT INTO SEP_DAR (%1) VALUES (%2)").arg(names.join(','), marks.join(',')), binds));
        return idx;
    }
    QVariant at(int idx, const char* column)
    {
        return db::scalar(db(), QStringLiteral("SELECT %1 FROM SEP_DAR WHERE IDX = :i").arg(QLatin1String(column)), {{QStringLiteral(":i"), idx}})
            .value_or(QVariant(QStringLiteral("<none>")));
    }
    qint64 rowsOf(int month)
    {
        return count(db(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = :y AND MM = :m"), {{QStringLiteral(":y"), Year}, {QStringLiteral(":m"), month}});
    }
};

DepositFilter month(int m)
{
    DepositFilter f;
    f.year = Year;
    f.month = m;
    return f;
}

Deposit typed(const Office& o, int m)
{
    Deposit d;
    d.my = Year;
    d.mm = m;
    d.tafsili = o.owner;
    d.amount = 5'000'000;
    d.chkDate = QStringLiteral("1409/02/03");
    d.sepDate = QString::fromUtf16(util::EmptyDateText);
    return d;
}

} // namespace

TEST(ReceivedDeposits, StatusMarksStepInTheirCycles)
{
    const std::pair<QString, QString> statement[] = {{{}, "P"}, {" ", "P"}, {"P", "R"}, {"R", "O"}, {"O", " "}};
    for (const auto& [from, to] : statement)
        EXPECT_EQ(nextStatementMark(from), to) << from.toStdString();
    const std::pair<int, int> control[] = {{1, 2}, {2, 1}, {0, 0}, {3, 3}};
    for (const auto& [from, to] : control)
        EXPECT_EQ(nextControlMark(from), to) << from;

    Office o;
    const int idx = o.add(1);
    ScriptedPrompt p;
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(o.deposits.stepStatement(idx, p)) << p.text().toStdString();
        seen << o.at(idx, "TIKSUDMO").toString();
    }
    EXPECT_EQ(seen, (QStringList{"P", "R", "O", " "}));
}

TEST(ReceivedDeposits, KindsAndMonthsReadAsTheFormAndListShowThem)
{
    EXPECT_EQ(kindFormText(1), QStringLiteral("01)127000001:سپرده حسن انجام كار 10 درصد"));
    EXPECT_EQ(kindListText(1), QStringLiteral("1)سپرده حسن انجام كار 10 درصد"));
    EXPECT_EQ(kindListText(11), QStringLiteral("11)5%تضمين 25%"));
    EXPECT_EQ(kindListText(13), QStringLiteral("13)5%تضمين"));
    EXPECT_EQ(kindListText(26), QStringLiteral("26)بدهي سپرده"));
    EXPECT_TRUE(kindListText(27).isEmpty());
    EXPECT_EQ(kindFormTexts().size(), 26);
    EXPECT_EQ(monthTexts().first(), QStringLiteral("01)فروردين"));
    EXPECT_EQ(monthText(13), QStringLiteral("13)فروردين متمم"));
    EXPECT_EQ(monthTexts().last(), QStringLiteral("18)شهريورماه متمم"));
}

TEST(ReceivedDeposits, ANewDepositContinuesItsMonthYearAndRegister)
{
    Office o;
    // First of a month and of a year.
    auto d = o.deposits.newDeposit(month(3));
    ASSERT_TRUE(d) << d.error().toStdString();
    EXPECT_EQ(d->sepRow, 1);
    EXPECT_EQ(d->yerSepRow, 1);
    const qint64 serial = count(o.db(), QStringLiteral("SELECT MAX(MOSALSAL) FROM SEP_DAR"));
    EXPECT_EQ(d->mosalsal, serial + 1);
    EXPECT_EQ(d->sepDate, o.session->clock().todayJalali());

    const int current = o.add(3, {{"SEPROW", 4}, {"YERSEPROW", 9}, {"SEPNO", 77}, {"SNDNO", 12}, {"SEPDATE", "1409/03/20"}});
    DepositFilter f = month(3);
    f.owner = o.owner;
    d = o.deposits.newDeposit(f, current);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->sepRow, 5);
    EXPECT_EQ(d->yerSepRow, 10);
    EXPECT_EQ(d->sepNo, 78);
    EXPECT_EQ(d->sndNo, 12);
    EXPECT_EQ(d->sepDate, QStringLiteral("1409/03/20"));
    EXPECT_EQ(d->tafsili, o.owner);
    EXPECT_EQ(d->payment, -1);
    EXPECT_EQ(d->tarhNo, -1);
    EXPECT_EQ(d->projNo, -1);

    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("DELETE FROM SEP_DAR")));
    EXPECT_EQ(o.deposits.newDeposit(month(3))->mosalsal, 1);
}

TEST(ReceivedDeposits, SaveRefusesWhatIsMissingOrWrongAndWritesNothing)
{
    Office o;
    struct Case {
        const char* what;
        std::function<void(Deposit&)> change;
        QString message;
    };
    const Case cases[] = {
        {"no amount", [](Deposit& d) { d.amount = 0; }, notEnoughText() + QStringLiteral(": مبلغ سپرده")},
        {"no owner", [](Deposit& d) { d.tafsili = -1; }, notEnoughText() + QStringLiteral(": صاحب سپرده")},
        {"owner 0", [](Deposit& d) { d.tafsili = 0; }, notEnoughText() + QStringLiteral(": صاحب سپرده")},
        {"unknown owner", [](Deposit& d) { d.tafsili = 987654; }, QStringLiteral("کد تفضيلي يافت نشد")},
        {"unknown project", [](Deposit& d) { d.projNo = 987654; }, QStringLiteral("کد پروژه يافت نشد")},
        {"no date", [](Deposit& d) { d.chkDate = QStringLiteral("1409/13/40"); }, QStringLiteral("تاريخ واريز درست نيست: 1409/13/40")},
    };
    const qint64 before = count(o.db(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR"));
    for (const Case& c : cases) {
        Deposit d = typed(o, 2);
        c.change(d);
        ScriptedPrompt p({}, true);
        EXPECT_FALSE(o.deposits.save(d, true, p)) << c.what;
        EXPECT_EQ(p.text(), c.message) << c.what;
    }
    EXPECT_EQ(count(o.db(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR")), before);

    QString why;
    EXPECT_FALSE(ReceivedDeposits::chequeNoOf(QStringLiteral("12a4"), &why));
    EXPECT_EQ(why, QStringLiteral("شماره مدرک واريزي فقط از رقم تشکيل مي شود: 12a4"));
    EXPECT_EQ(ReceivedDeposits::chequeNoOf(QStringLiteral("۱۲۳۴")), 1234);
    EXPECT_EQ(ReceivedDeposits::amountOf(QStringLiteral("۱٬۲۵۰,۰۰۰")), 1250000);
}

TEST(ReceivedDeposits, ARepeatedReceiptNumberIsSavedOnlyAfterYes)
{
    Office o;
    o.add(2, {{"SEPNO", 4711}});
    Deposit d = typed(o, 2);
    d.sepNo = 4711;
    ScriptedPrompt no({false});
    EXPECT_FALSE(o.deposits.save(d, true, no));
    EXPECT_EQ(no.questions, QStringList{QStringLiteral("شماره قبض سپرده تکراري است،ادامه مي دهيد؟")});
    EXPECT_EQ(o.rowsOf(2), 1);

    ScriptedPrompt yes({true});
    const std::optional<int> idx = o.deposits.save(d, true, yes);
    ASSERT_TRUE(idx) << yes.text().toStdString();
    EXPECT_EQ(o.at(*idx, "FROMOLDM").toInt(), 2);
    EXPECT_EQ(o.at(*idx, "AMOUNT_MANDEH").toLongLong(), 5'000'000);
    EXPECT_TRUE(o.at(*idx, "SEPDATE").isNull());

    // An edit keeps the status marks and recomputes the balance from the stored refund.
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE SEP_DAR SET TIKSUDMO = 'P', AMOUNT_RAD = 1000000 WHERE IDX = :i"), {{":i", *idx}}));
    d.idx = *idx;
    d.amount = 6'000'000;
    d.tikSudmo.clear();
    ScriptedPrompt edit({true});
    ASSERT_TRUE(o.deposits.save(d, false, edit));
    EXPECT_TRUE(edit.infos.contains(alreadyConfirmedText()));
    EXPECT_EQ(o.at(*idx, "TIKSUDMO").toString(), QStringLiteral("P"));
    EXPECT_EQ(o.at(*idx, "AMOUNT_MANDEH").toLongLong(), 5'000'000);
}

TEST(ReceivedDeposits, WriteLevelsOneAndThreeWriteNothing)
{
    Office o;
    const int idx = o.add(4);
    for (int level : {1, 3, 7}) {
        o.writeLevel(level);
        const qint64 audit = o.audit();
        ScriptedPrompt p({}, true);
        EXPECT_FALSE(o.deposits.save(typed(o, 4), true, p));
        EXPECT_FALSE(o.deposits.confirmAll(month(4), p));
        EXPECT_FALSE(o.deposits.stepStatement(idx, p));
        EXPECT_FALSE(o.deposits.remove(idx, p));
        EXPECT_EQ(p.infos, QStringList(4, writeRefusalText())) << level;
        EXPECT_EQ(o.rowsOf(4), 1);
        EXPECT_EQ(o.audit(), audit);
    }
    for (int level : {0, 2}) {
        o.writeLevel(level);
        ScriptedPrompt p({}, true);
        EXPECT_TRUE(o.deposits.stepStatement(idx, p)) << level << p.text().toStdString();
    }
    o.session->setCurrentUserCode(999);   // no row of his: refused
    ScriptedPrompt p({}, true);
    EXPECT_FALSE(o.deposits.stepStatement(idx, p));
}

TEST(ReceivedDeposits, DeleteRefusesMatchedFinalAndReferencedRows)
{
    Office o;
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("INSERT INTO SEP_RADR1 (RAD_IDX, RAD_ROW, SEPIDX, AMOUNT) VALUES (99001, 1, :i, 5)"),
                            {{":i", o.add(5)}}));
    const int refunded = int(count(o.db(), QStringLiteral("SELECT MAX(IDX) FROM SEP_DAR")));
    const std::pair<int, QString> refusals[] = {
        {o.add(5, {{"TIKSUDMO", "R"}}), finalDataText()},
        {o.add(5, {{"TIKSUDMO", "P"}}), finalDataText()},
        {o.add(5, {{"ALTP", 1}}), finalDataText()},
        {refunded, QStringLiteral("اين سپرده در استرداد، درخواست يا اعلاميه بستانکاري آمده است و نمي تواند حذف شود")},
    };
    for (const auto& [idx, message] : refusals) {
        ScriptedPrompt p({}, true);
        EXPECT_FALSE(o.deposits.remove(idx, p)) << idx;
        EXPECT_EQ(p.infos.value(0), message) << idx;
    }
    EXPECT_EQ(o.rowsOf(5), 4);

    const int plain = o.add(5);
    ScriptedPrompt p({true});
    EXPECT_TRUE(o.deposits.remove(plain, p)) << p.text().toStdString();
    EXPECT_EQ(p.questions, QStringList{QStringLiteral(" مطمئن هستيـــد ؟ ")});
    EXPECT_EQ(o.rowsOf(5), 4);
}

TEST(ReceivedDeposits, GroupOperationsNeedOneMonthBeforeAnyChange)
{
    Office o;
    for (int m : {6, 7})
        o.add(m, {{"TIKSUDMO", "R"}});
    DepositFilter range = month(6);
    range.mode = PeriodMode::Range;
    range.toYear = Year;
    range.toMonth = 7;
    const qint64 audit = o.audit();
    using Op = Outcome (ReceivedDeposits::*)(const DepositFilter&, startup::Prompt&);
    const std::pair<Op, QString> ops[] = {
        {&ReceivedDeposits::confirmAll, oneMonthOnlyText()},      {&ReceivedDeposits::invertAll, oneMonthOnlyText()},
        {&ReceivedDeposits::confirmHalfAll, oneMonthOnlyText()},  {&ReceivedDeposits::unconfirmAll, oneMonthOnlyText()},
        {&ReceivedDeposits::makeFinal, chooseOneMonthText()},     {&ReceivedDeposits::undoFinal, oneMonthOnlyText()},
        {&ReceivedDeposits::prepareDraft, chooseOneMonthText()},  {&ReceivedDeposits::receiptFromCheque, oneMonthOnlyText()},
        {&ReceivedDeposits::numberRows, QStringLiteral("عمليات گروهي فقط براي سپرده هاي دريافتي يک ماه خاص قابل انجام است")},
    };
    for (const auto& [op, message] : ops) {
        ScriptedPrompt p({}, true);
        EXPECT_FALSE((o.deposits.*op)(range, p));
        EXPECT_EQ(p.infos, QStringList{message});
        EXPECT_TRUE(p.questions.isEmpty());
    }
    EXPECT_EQ(o.audit(), audit);

    // One month: every listed row, after the question naming the month.
    o.add(6);
    ScriptedPrompt p({true});
    const Outcome done = o.deposits.confirmHalfAll(month(6), p);
    ASSERT_TRUE(done) << p.text().toStdString();
    EXPECT_EQ(done.changed, 1);
    EXPECT_EQ(p.questions, QStringList{QStringLiteral("مطمئن هستيد ؟ «شهريور 1409»")});
    EXPECT_EQ(count(o.db(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1409 AND MM = 6 AND TIKSUDMO = 'P'")), 1);
    EXPECT_EQ(count(o.db(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1409 AND MM = 7 AND TIKSUDMO = 'R'")), 1);

    ScriptedPrompt numbering({true});
    ASSERT_TRUE(o.deposits.numberRows(month(6), numbering));
    EXPECT_EQ(count(o.db(), QStringLiteral("SELECT SUM(SEPROW) FROM SEP_DAR WHERE MY = 1409 AND MM = 6")), 1 + 2);
}

TEST(ReceivedDeposits, BothGroupDeletionsKeepRowsADeleteRefusesOrOthersLeanOn)
{
    Office o;
    const auto fill = [&](int m) {
        o.add(m);
        o.add(m, {{"FROMOLDM", 1}});
        o.add(m, {{"TIKSUDMO", "R"}});
        o.add(m, {{"TIKSUDMO", "P"}});
        o.add(m, {{"ALTP", 1}});
        o.add(m, {{"ELAMBESIDX", 3}});
        EXPECT_TRUE(db::execSql(o.db(), QStringLiteral("INSERT INTO SEP_RADR1 (RAD_IDX, RAD_ROW, SEPIDX) VALUES (:r, 1, :i)"),
                                {{":r", 99000 + m}, {":i", o.add(m)}}));
        EXPECT_TRUE(db::execSql(o.db(), QStringLiteral("INSERT INTO SEP_REQR (REQ_IDX, REQ_ROW, SEPIDX) VALUES (:r, 1, :i)"),
                                {{":r", 99000 + m}, {":i", o.add(m)}}));
    };
    fill(8);
    fill(9);

    ScriptedPrompt draft({true});
    const Outcome drafted = o.deposits.prepareDraft(month(8), draft);
    ASSERT_TRUE(drafted) << draft.text().toStdString();
    EXPECT_EQ(drafted.changed, 1);   // the plain row; the one moved in stays
    EXPECT_EQ(drafted.kept, 7);
    EXPECT_EQ(o.rowsOf(8), 7);

    ScriptedPrompt all({true});
    const Outcome removed = o.deposits.removeAll(month(9), all);
    ASSERT_TRUE(removed) << all.text().toStdString();
    EXPECT_EQ(removed.changed, 2);
    EXPECT_EQ(removed.kept, 6);
    EXPECT_EQ(count(o.db(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1409 AND MM = 9 AND FROMOLDM = 1")), 0);
    EXPECT_TRUE(all.infos.contains(QStringLiteral("تعداد سپرده هاي حذف نشده: 6")));
}

TEST(ReceivedDeposits, BalancesAreRecomputedOnlyWhereNothingWasRefunded)
{
    Office o;
    const int open = o.add(10, {{"AMOUNT_MANDEH", 1}});
    const int refunded = o.add(10, {{"AMOUNT_RAD", 300}, {"AMOUNT_MANDEH", 7}});
    ScriptedPrompt p({true});
    ASSERT_TRUE(o.deposits.recomputeBalances(p));
    EXPECT_EQ(o.at(open, "AMOUNT_MANDEH").toLongLong(), o.at(open, "AMOUNT").toLongLong());
    EXPECT_EQ(o.at(refunded, "AMOUNT_MANDEH").toLongLong(), 7);
    EXPECT_EQ(p.infos.last(), QStringLiteral("انجام شد"));
    EXPECT_EQ(count(o.db(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE COALESCE(AMOUNT_RAD, 0) = 0 AND AMOUNT_MANDEH <> AMOUNT")), 0);
}

TEST(ReceivedDeposits, TheReceiptVoucherBooksEveryListedDepositAndPointsBackToIt)
{
    Office o;
    const int a = o.add(1, {{"MY", 1405}, {"MM", 11}, {"SEPNO", 501}, {"SEPDATE", "1405/11/03"}, {"CHKNO", 42}, {"ACCDETAIL1", "L1"},
                            {"ACCDETAIL5", "L5"}, {"ACCDETAIL7", "L7"}});
    // A month of its own: the demo's month 11 of 1405 is still to come.
    ASSERT_EQ(count(o.db(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY = 1405 AND MM = 11")), 1);
    DepositFilter f;
    f.year = 1405;
    f.month = 11;
    ScriptedPrompt p({true});
    const Outcome out = o.deposits.issueReceiptVoucher(f, {0, QStringLiteral("1405/11/05")}, p);
    ASSERT_TRUE(out) << p.text().toStdString();
    const auto voucher = accounting::Vouchers(*o.session).voucher(out.voucher);
    ASSERT_TRUE(voucher);
    EXPECT_EQ(voucher->head.description.trimmed(), QStringLiteral("دريافت سپرده بهمن 1405"));
    ASSERT_EQ(voucher->rows.size(), 2);
    const accounting::VoucherRow& debit = voucher->rows[0];
    const accounting::VoucherRow& credit = voucher->rows[1];
    EXPECT_EQ(std::tie(debit.kol, debit.moin, debit.account), std::make_tuple(110, 5001, QStringLiteral("11005001")));
    EXPECT_EQ(std::tie(credit.kol, credit.moin, credit.account), std::make_tuple(210, 7, QStringLiteral("21007")));
    EXPECT_EQ(debit.debit, o.at(a, "AMOUNT").toLongLong());
    EXPECT_EQ(credit.credit, debit.debit);
    EXPECT_EQ(credit.tafsil, o.owner);
    EXPECT_EQ(credit.chequeNo, 42);
    EXPECT_EQ(credit.description, QStringLiteral("قبض شماره 501 - تاريخ 1405/11/03"));
    EXPECT_EQ(count(o.session->accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE SNDNO = :n AND ROW = :r AND ACCDETAIL5 = '125001401' AND ACCDETAIL6 = '127000006'"),
                    {{":n", out.voucher}, {":r", credit.row}}),
              1);
    EXPECT_EQ(o.at(a, "SNDNO").toInt(), out.voucher);
    EXPECT_EQ(o.at(a, "SNDROW").toInt(), credit.row);
    EXPECT_EQ(o.at(a, "SNDYER").toInt(), 1405);
    // Both rows carry the deposit's detail levels; the deposits row the treasury's two codes.
    const QString levels = QStringLiteral("SELECT ACCDETAIL1 || '/' || ACCDETAIL5 || '/' || ACCDETAIL7 FROM SNDROW WHERE SNDNO = :n AND ROW = :r");
    EXPECT_EQ(db::scalar(o.session->accounting(), levels, {{":n", out.voucher}, {":r", debit.row}})->toString(), QStringLiteral("L1/L5/L7"));
    EXPECT_EQ(db::scalar(o.session->accounting(), levels, {{":n", out.voucher}, {":r", credit.row}})->toString(), QStringLiteral("L1/125001401/L7"));
    EXPECT_TRUE(p.steps.contains(QStringLiteral("ايجاد سند شماره %1 تاريخ 1405/11/05").arg(out.voucher))) << p.steps.join('|').toStdString();

    // A voucher that holds rows already, and the user says no: nothing happens, nothing is told.
    ScriptedPrompt no({false});
    const Outcome stopped = o.deposits.issueReceiptVoucher(f, {out.voucher, QStringLiteral("1405/11/05")}, no);
    EXPECT_FALSE(stopped);
    EXPECT_TRUE(stopped.message.isEmpty());
    EXPECT_EQ(no.questions, QStringList{QStringLiteral("سند فوق در سيستم حسابداري داراي اطلاعات مي باشد.")});
    EXPECT_TRUE(no.infos.isEmpty());

    // A date outside the accounting year: nothing is posted and no row is pointed.
    const int b = o.add(1, {{"MY", 1405}, {"MM", 12}});
    f.month = 12;
    ScriptedPrompt wrong({true});
    EXPECT_FALSE(o.deposits.issueReceiptVoucher(f, {0, QStringLiteral("1406/01/01")}, wrong));
    EXPECT_EQ(o.at(b, "SNDNO").toInt(), 0);
}

TEST(ReceivedDeposits, TheListsTotalsAgreeWithItsRows)
{
    Office o;
    // Confirmed for sending is the list's "سپرده هاي ارسالي به خزانه" (P), confirmed
    // against the bank statement the entry form's mark; sent is a total of its own.
    o.add(11, {{"TIK_ERSAL", 1}, {"AMOUNT", 100}, {"AMOUNT_RAD", 40}, {"AMOUNT_MANDEH", 60}});
    o.add(11, {{"TIKSUDMO", "P"}, {"AMOUNT", 50}, {"AMOUNT_MANDEH", 50}});
    o.add(11, {{"CONTROLBANKOK", 1}, {"AMOUNT", 70}, {"AMOUNT_RAD", 70}, {"AMOUNT_MANDEH", 0}});
    const auto t = depositTotals(*o.session, month(11));
    ASSERT_TRUE(t) << t.error().toStdString();
    EXPECT_EQ(std::tie(t->amount.sum, t->amount.count), std::make_tuple(qint64(220), 3));
    EXPECT_EQ(std::tie(t->sent.sum, t->sent.count), std::make_tuple(qint64(100), 1));
    EXPECT_EQ(std::tie(t->confirmed.sum, t->confirmed.count), std::make_tuple(qint64(50), 1));
    EXPECT_EQ(std::tie(t->bankConfirmed.sum, t->bankConfirmed.count), std::make_tuple(qint64(70), 1));
    EXPECT_EQ(totalLabels().size(), t->lines().size());
    EXPECT_EQ(totalLabels()[1], QStringLiteral("جمع تائيد شده جهت ارسال به خزانه:"));
    EXPECT_EQ(std::tie(t->refunded.sum, t->refunded.count), std::make_tuple(qint64(110), 2));
    EXPECT_EQ(std::tie(t->balance.sum, t->balance.count), std::make_tuple(qint64(110), 2));

    DepositFilter hidden = month(11);
    hidden.hideZeroBalance = true;
    hidden.order = DepositOrder::Amount;
    hidden.descending = true;
    const auto idx = listedIdx(*o.session, hidden);
    ASSERT_TRUE(idx);
    ASSERT_EQ(idx->size(), 2);
    EXPECT_GT(o.at(idx->at(0), "AMOUNT").toLongLong(), o.at(idx->at(1), "AMOUNT").toLongLong());

    // "همه سپرده ها": every month up to the chosen one, the earlier years included.
    const int later = o.add(12);
    DepositFilter upTo = month(11);
    upTo.mode = PeriodMode::Cumulative;
    const auto all = listedIdx(*o.session, upTo);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->size(), count(o.db(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE MY < 1409 OR (MY = 1409 AND MM <= 11)")));
    EXPECT_FALSE(all->contains(later));
}

TEST(ReceivedDeposits, OneMonthGroupOperationsChangeEveryListedRowAndNoOther)
{
    Office o;
    using Op = std::function<Outcome(ReceivedDeposits&, const DepositFilter&, startup::Prompt&)>;
    struct Case {
        const char* what;
        Op op;
        const char* column;
        QStringList after;   // of the rows typed blank, R and P
    };
    const Case cases[] = {
        {"confirm", &ReceivedDeposits::confirmAll, "TIKSUDMO", {"P", "P", "P"}},
        {"invert", &ReceivedDeposits::invertAll, "TIKSUDMO", {"P", "P", " "}},
        {"unconfirm", &ReceivedDeposits::unconfirmAll, "TIKSUDMO", {" ", " ", " "}},
        {"final", &ReceivedDeposits::makeFinal, "ALTP", {"1", "1", "1"}},
        {"receipt from cheque", &ReceivedDeposits::receiptFromCheque, "SEPNO", {"71", "72", "73"}},
        {"move", [](ReceivedDeposits& r, const DepositFilter& f, startup::Prompt& p) { return r.moveAllToMonth(f, {Year, 14}, p); }, "MM",
         {"14", "14", "14"}},
    };
    int m = 1;
    for (const Case& c : cases) {
        ++m;
        const int other = o.add(15, {{"TIKSUDMO", "R"}});
        QList<int> rows;
        for (const char* mark : {"", "R", "P"})
            rows << o.add(m, {{"TIKSUDMO", QString::fromLatin1(mark)}, {"CHKNO", 70 + rows.size() + 1}});
        ScriptedPrompt p({true});
        const Outcome out = c.op(o.deposits, month(m), p);
        ASSERT_TRUE(out) << c.what << p.text().toStdString();
        QStringList after;
        for (int idx : rows)
            after << o.at(idx, c.column).toString();
        EXPECT_EQ(after, c.after) << c.what;
        EXPECT_EQ(o.at(other, "TIKSUDMO").toString(), QStringLiteral("R")) << c.what;
        EXPECT_EQ(o.at(other, "ALTP").toInt(), 0) << c.what;
    }
}

TEST(ReceivedDeposits, TheSendingAndOpeningVouchersBalanceAndTheSendingPointsBack)
{
    Office o;
    const int a = o.add(1, {{"MY", 1405}, {"MM", 11}, {"TIK_ERSAL", 1}});
    DepositFilter f;
    f.year = 1405;
    f.month = 11;
    ScriptedPrompt p({true});
    const Outcome sent = o.deposits.issueSendingVoucher(f, {0, QStringLiteral("1405/11/20")}, p);
    ASSERT_TRUE(sent) << p.text().toStdString();
    const auto voucher = accounting::Vouchers(*o.session).voucher(sent.voucher);
    ASSERT_TRUE(voucher && voucher->rows.size() == 2);
    EXPECT_EQ(std::tie(voucher->rows[0].kol, voucher->rows[0].moin, voucher->rows[0].account), std::make_tuple(115, 12, QStringLiteral("11512")));
    EXPECT_EQ(voucher->rows[1].account, QStringLiteral("11005001"));
    EXPECT_EQ(o.at(a, "SNDNO_ERSAL").toInt(), sent.voucher);
    EXPECT_EQ(o.at(a, "SNDROW_ERSAL").toInt(), voucher->rows[0].row);
    EXPECT_EQ(o.at(a, "SNDNO").toInt(), 0);

    const Outcome opening = o.deposits.issueOpeningVoucher({0, QStringLiteral("1405/01/01")}, p);
    ASSERT_TRUE(opening) << p.text().toStdString();
    const auto open = accounting::Vouchers(*o.session).voucher(opening.voucher);
    ASSERT_TRUE(open);
    EXPECT_EQ(open->debit(), open->credit());
    EXPECT_EQ(open->credit(), count(o.db(), QStringLiteral("SELECT SUM(AMOUNT_MANDEH) FROM SEP_DAR WHERE AMOUNT_MANDEH > 0")));
}

TEST(ReceivedDeposits, TheEntryFormsGridsHoldTheDepositsRequestsAndRefundCheques)
{
    Office o;
    const int idx = int(count(o.db(), QStringLiteral("SELECT MIN(SEPIDX) FROM SEP_REQR WHERE SEPIDX IN (SELECT SEPIDX FROM SEP_RADR1)")));
    ASSERT_GT(idx, 0);
    const auto requests = o.deposits.requestRows(idx);
    ASSERT_TRUE(requests);
    EXPECT_EQ(requests->rows.size(), count(o.db(), QStringLiteral("SELECT COUNT(*) FROM SEP_REQR WHERE SEPIDX = :i"), {{":i", idx}}));
    EXPECT_EQ(requests->sum, count(o.db(), QStringLiteral("SELECT SUM(AMOUNT) FROM SEP_REQR WHERE SEPIDX = :i"), {{":i", idx}}));
    EXPECT_FALSE(requests->rows.first().reqNo.isEmpty());
    const auto cheques = o.deposits.refundCheques(idx);
    ASSERT_TRUE(cheques);
    ASSERT_FALSE(cheques->rows.isEmpty());
    EXPECT_EQ(cheques->sum, count(o.db(), QStringLiteral("SELECT SUM(AMOUNT) FROM SEP_RADR2 WHERE RAD_IDX IN (SELECT RAD_IDX FROM SEP_RADR1 WHERE SEPIDX = :i)"),
                                  {{":i", idx}}));
    EXPECT_TRUE(o.deposits.requestRows(987654321)->rows.isEmpty());
}

TEST(ReceivedDeposits, SingleRowOperationsSetOnlyWhatIsStillOpen)
{
    Office o;
    const int numbered = o.add(2, {{"SEPNO", 9}});
    const int bare = o.add(2, {{"TAFSILI", -1}, {"SAVABEGH", 0}});
    using Step = std::function<Outcome(startup::Prompt&)>;
    const std::pair<Step, QString> refusals[] = {
        {[&](startup::Prompt& p) { return o.deposits.assignReceiptNumber(numbered, {}, p); }, QStringLiteral("شماره قبض قبلا تعيين شده است")},
        {[&](startup::Prompt& p) { return o.deposits.setEmptyField(numbered, EmptyField::Owner, o.owner, p); },
         QStringLiteral("براي تغيير پيمانکار از قسمت ويرايش استفاده کنيد")},
        {[&](startup::Prompt& p) { return o.deposits.setEmptyField(bare, EmptyField::Owner, 987654, p); }, QStringLiteral("کد تفضيلي يافت نشد")},
        {[&](startup::Prompt& p) { return o.deposits.setEmptyField(bare, EmptyField::Project, 987654, p); }, QStringLiteral("کد پروژه يافت نشد")},
        {[&](startup::Prompt& p) { return o.deposits.ownerFromVoucher(numbered, p); }, QStringLiteral("شماره سند مشخص نشده است")},
        {[&](startup::Prompt& p) { return o.deposits.remove(0, p); }, QStringLiteral("هيچ اطلاعاتي وارد نشده است")},
    };
    for (const auto& [step, message] : refusals) {
        ScriptedPrompt p({}, true);
        EXPECT_FALSE(step(p));
        EXPECT_EQ(p.infos, QStringList{message});
    }

    ScriptedPrompt p({}, true);
    ASSERT_TRUE(o.deposits.setEmptyField(bare, EmptyField::Owner, o.owner, p)) << p.text().toStdString();
    EXPECT_EQ(o.at(bare, "TAFSILI").toInt(), o.owner);
    ASSERT_TRUE(o.deposits.assignReceiptNumber(bare, QStringLiteral("1409/02/10"), p));
    EXPECT_EQ(o.at(bare, "SEPNO").toInt(), 10);   // after the month's 9
    EXPECT_EQ(o.at(bare, "SEPDATE").toString(), QStringLiteral("1409/02/10"));

    // From the accounting voucher row a demo deposit was read from.
    const int read = int(count(o.db(), QStringLiteral("SELECT MIN(IDX) FROM SEP_DAR WHERE SNDYER = 1405 AND SNDNO > 0 AND SNDROW > 0")));
    ASSERT_GT(read, 0);
    const int row = o.at(read, "SNDROW").toInt();
    const auto rows = accounting::Vouchers(*o.session).rows(o.at(read, "SNDNO").toInt());
    ASSERT_TRUE(rows);
    const auto it = std::find_if(rows->cbegin(), rows->cend(), [&](const accounting::VoucherRow& r) { return r.row == row; });
    ASSERT_NE(it, rows->cend());
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE SEP_DAR SET TAFSILI = -1, TIKSUDMO = NULL WHERE IDX = :i"), {{":i", read}}));
    ASSERT_TRUE(o.deposits.ownerFromVoucher(read, p)) << p.text().toStdString();
    EXPECT_EQ(o.at(read, "TAFSILI").toInt(), it->tafsil.value_or(-2));
    EXPECT_EQ(o.at(read, "TIKSUDMO").toString(), QStringLiteral("P"));
}

TEST(ReceivedDeposits, TheDescriptionBoxOffersTheStandardDescriptionsThenTheFixedPhrases)
{
    Office o;
    DepositDescriptions descriptions(*o.session);
    ScriptedPrompt p;
    const auto code = descriptions.save({0, QStringLiteral("سپرده بيمه")}, true, p);
    ASSERT_TRUE(code) << p.text().toStdString();
    EXPECT_FALSE(descriptions.save({0, QString(31, QLatin1Char('x'))}, true, p));
    const auto choices = descriptions.choices();
    ASSERT_TRUE(choices);
    const qint64 stored = count(o.db(), QStringLiteral("SELECT COUNT(*) FROM SEPDESCR"));
    ASSERT_EQ(choices->size(), stored + fixedDescriptions().size());
    EXPECT_EQ(choices->at(int(stored) - 1), QStringLiteral("سپرده بيمه"));
    EXPECT_EQ(choices->mid(int(stored)), fixedDescriptions());
}

TEST(ReceivedDeposits, AGroupOperationThatFailsOnOneRowChangesNoneAndSaysWhy)
{
    Office o;
    QList<int> rows;
    for (int i = 0; i < 3; ++i)
        rows << o.add(16, {{"SEPROW", 7}});
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("CREATE TRIGGER refuse_one BEFORE UPDATE ON SEP_DAR WHEN NEW.IDX = %1 "
                                                   "BEGIN SELECT RAISE(ABORT, 'row refused'); END").arg(rows[2])));
    const qint64 audit = o.audit();
    ScriptedPrompt p({true});
    const Outcome out = o.deposits.numberRows(month(16), p);
    EXPECT_FALSE(out);
    EXPECT_TRUE(out.message.contains(QStringLiteral("row refused"))) << out.message.toStdString();
    EXPECT_EQ(p.infos, QStringList{out.message});
    for (int idx : rows)
        EXPECT_EQ(o.at(idx, "SEPROW").toInt(), 7);
    EXPECT_EQ(o.audit(), audit);
}

TEST(ReceivedDeposits, TheSendingLetterAndTheCreditNoticeReachEveryListedRow)
{
    Office o;
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("INSERT INTO BESTANKARI (IDXNO, BESNO, BESDATE, ERSALLETTERNO, ERSALLETTERDATE) VALUES "
                                                   "(901, '5001', '1409/03/10', '88/ذ', '1409/03/01'), (902, '5002', '1409/03/11', NULL, NULL)")));
    const int a = o.add(3), b = o.add(3), other = o.add(4);

    ScriptedPrompt noLetterNumber({true});
    EXPECT_FALSE(o.deposits.assignCreditAll(month(3), 902, noLetterNumber));
    EXPECT_TRUE(noLetterNumber.text().contains(QStringLiteral("در قسمت عمليات،شماره نامه ارسالي به خزانه را تعيين کنيد")));
    ScriptedPrompt unknown({true});
    EXPECT_FALSE(o.deposits.sendToTreasury(month(3), 999, unknown));
    EXPECT_EQ(o.at(a, "TIK_ERSAL").toInt(), 0);

    // The credit notice goes on rows sent with a letter only.
    ScriptedPrompt unsent({true});
    EXPECT_FALSE(o.deposits.assignCreditAll(month(3), 901, unsent));
    EXPECT_EQ(unsent.infos, QStringList{QStringLiteral("در قسمت عمليات،شماره نامه ارسالي به خزانه را تعيين کنيد")});
    ScriptedPrompt send({true});
    ASSERT_TRUE(o.deposits.sendToTreasury(month(3), 901, send)) << send.text().toStdString();
    ScriptedPrompt sure({true});
    ASSERT_TRUE(o.deposits.assignCreditAll(month(3), 901, sure)) << sure.text().toStdString();
    for (int idx : {a, b}) {
        EXPECT_EQ(o.at(idx, "ELAMBESIDX").toInt(), 901);
        EXPECT_EQ(o.at(idx, "TIK_ERSAL").toInt(), 1);
        EXPECT_EQ(o.at(idx, "TIKBESTANKARI").toString(), QStringLiteral("1"));
        EXPECT_EQ(o.at(idx, "ERSALVAJHKHAZANE_NO").toString(), QStringLiteral("88/ذ"));
        EXPECT_EQ(o.at(idx, "ERSALVAJHKHAZANE_DATE").toString(), QStringLiteral("1409/03/01"));
    }
    EXPECT_EQ(o.at(other, "ELAMBESIDX").toInt(), 0);
    // A credit notice that names no letter goes on rows that carry theirs, which they keep.
    ScriptedPrompt later({true});
    ASSERT_TRUE(o.deposits.assignCreditAll(month(3), 902, later)) << later.text().toStdString();
    EXPECT_EQ(o.at(a, "ELAMBESIDX").toInt(), 902);
    EXPECT_EQ(o.at(a, "ERSALVAJHKHAZANE_NO").toString(), QStringLiteral("88/ذ"));

    const auto letter = creditLetter(*o.session, 901);
    ASSERT_TRUE(letter);
    EXPECT_EQ(letter->creditNo, QStringLiteral("5001"));
    const auto choices = creditLetterChoices(*o.session);
    ASSERT_TRUE(choices);
    EXPECT_TRUE(choices->contains({901, QStringLiteral("5001 - 1409/03/10")}));
}

TEST(ReceivedDeposits, ADamagedAmountIsNamedInsteadOfSummed)
{
    Office o;
    o.add(12, {{"AMOUNT", 100}});
    for (const char* damage : {"'abc'", "9e999", "9.2e18"}) {
        const int bad = o.add(12);
        ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("UPDATE SEP_DAR SET AMOUNT = %1 WHERE IDX = %2").arg(QLatin1String(damage)).arg(bad)));
        const auto t = depositTotals(*o.session, month(12));
        ASSERT_TRUE(t.failed()) << damage;
        EXPECT_EQ(t.error(), damagedAmountText(bad)) << damage;
        ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("DELETE FROM SEP_DAR WHERE IDX = %1").arg(bad)));
    }
    EXPECT_EQ(depositTotals(*o.session, month(12))->amount.sum, 100);
}

TEST(ReceivedDeposits, GroupOperationsTakeExactlyTheRowsTheGridShowsInItsOrder)
{
    Office o;
    const int a = o.add(17), b = o.add(17), c = o.add(17), d = o.add(17);
    const int elsewhere = o.add(16);
    DepositFilter shown = month(17);
    shown.shown = QList<int>{d, b};   // the grid's own filter hides a and c, its sort puts d first

    ScriptedPrompt p({true});
    ASSERT_TRUE(o.deposits.confirmAll(shown, p)) << p.text().toStdString();
    QStringList marks;
    for (int idx : {a, b, c, d})
        marks << o.at(idx, "TIKSUDMO").toString();
    EXPECT_EQ(marks, (QStringList{{}, "P", {}, "P"}));

    ScriptedPrompt number({true});
    ASSERT_TRUE(o.deposits.renumberFrom(shown, d, number)) << number.text().toStdString();
    EXPECT_EQ(o.at(b, "SEPNO").toLongLong(), o.at(d, "SEPNO").toLongLong() + 1);   // in the grid's order
    EXPECT_TRUE(o.at(a, "SEPNO").isNull() || o.at(a, "SEPNO").toLongLong() == 0);

    // A row shown that the conditions no longer list: the list changed, nothing is done.
    DepositFilter stale = month(17);
    stale.shown = QList<int>{c, elsewhere};
    const qint64 audit = o.audit();
    ScriptedPrompt refused({true});
    EXPECT_FALSE(o.deposits.unconfirmAll(stale, refused));
    EXPECT_EQ(refused.infos, QStringList{work::listChangedText(elsewhere)});
    EXPECT_EQ(o.audit(), audit);

    DepositFilter one = month(17);
    one.shown = QList<int>{c};
    ScriptedPrompt remove({true});
    const Outcome removed = o.deposits.removeAll(one, remove);
    ASSERT_TRUE(removed) << remove.text().toStdString();
    EXPECT_EQ(removed.changed, 1);
    EXPECT_EQ(removed.kept, 0);
    EXPECT_EQ(o.rowsOf(17), 3);
}

TEST(ReceivedDeposits, ACheckNumberLongerThanAReceiptNumberIsNotCopiedIntoIt)
{
    Office o;
    const int fits = o.add(5, {{"CHKNO", 4455}});
    const int tooLong = o.add(5, {{"CHKNO", 12345678901234LL}});
    ScriptedPrompt p({true});
    EXPECT_FALSE(o.deposits.receiptFromCheque(month(5), p));
    ASSERT_EQ(p.infos.size(), 1);
    EXPECT_TRUE(p.infos[0].contains(QStringLiteral("شناسه %1").arg(tooLong))) << p.infos[0].toStdString();
    EXPECT_TRUE(o.at(fits, "SEPNO").isNull());
    EXPECT_TRUE(o.at(tooLong, "SEPNO").isNull());
}

TEST(ReceivedDeposits, OrderingTheMonthClearsTheRowsTheListHides)
{
    Office o;
    const int hidden = o.add(6, {{"SEPROW", 1}, {"TIKSUDMO", "P"}});
    const int first = o.add(6, {{"SEPROW", 5}}), second = o.add(6);
    DepositFilter open = month(6);
    open.confirmation = Confirmation::Open;
    open.order = DepositOrder::Identifier;
    ScriptedPrompt p({true});
    ASSERT_TRUE(o.deposits.numberRows(open, p)) << p.text().toStdString();
    EXPECT_EQ(o.at(first, "SEPROW").toInt(), 1);
    EXPECT_EQ(o.at(second, "SEPROW").toInt(), 2);
    EXPECT_EQ(o.at(hidden, "SEPROW").toInt(), 0);   // no second row 1
}

TEST(ReceivedDeposits, DeletesNeedTheDeleteBitOfTheDepositsEntry)
{
    Office o;
    const int plain = o.add(7);
    o.add(7);
    ScriptedPrompt quiet;
    ASSERT_TRUE(startup::logInAs(*o.session, QStringLiteral("4"), QStringLiteral("1111"), quiet)) << quiet.text().toStdString();
    ScriptedPrompt one({true}), all({true});
    EXPECT_FALSE(o.deposits.remove(plain, one));
    EXPECT_EQ(one.infos, QStringList{startup::refusalText()});
    EXPECT_TRUE(one.questions.isEmpty());
    EXPECT_FALSE(o.deposits.removeAll(month(7), all));
    EXPECT_EQ(o.rowsOf(7), 2);
    // Writing is his: a mark still steps.
    ScriptedPrompt mark;
    EXPECT_TRUE(o.deposits.stepStatement(plain, mark)) << mark.text().toStdString();

    ASSERT_TRUE(startup::logInAs(*o.session, QStringLiteral("3"), QStringLiteral("1234"), quiet));
    ScriptedPrompt manager({true});
    EXPECT_TRUE(o.deposits.remove(o.add(7), manager)) << manager.text().toStdString();
}

TEST(ReceivedDeposits, TheProposedReceiptNumberIsFreeInItsRangeAndSavingItNeverAsks)
{
    Office o;
    const int current = o.add(8, {{"SEPNO", 10}});
    o.add(8, {{"SEPNO", 11}});
    o.add(9, {{"SEPNO", 12}});          // another month numbers its own receipts
    o.add(8, {{"MY", 1408}, {"SEPNO", 12}});   // and another year
    const auto d = o.deposits.newDeposit(month(8), current);
    ASSERT_TRUE(d) << d.error().toStdString();
    EXPECT_EQ(d->sepNo, 12);
    Deposit typedOne = typed(o, 8);
    typedOne.sepNo = d->sepNo;
    ScriptedPrompt p({false});
    ASSERT_TRUE(o.deposits.save(typedOne, true, p)) << p.text().toStdString();
    EXPECT_TRUE(p.questions.isEmpty()) << p.questions.join('|').toStdString();

    // Editing an old deposit whose number another year holds asks nothing either; its
    // own month holding the number again asks, and no means no.
    o.add(8, {{"MY", 1408}, {"SEPNO", 10}});
    Deposit old = *o.deposits.read(current);
    ScriptedPrompt edit({false});
    ASSERT_TRUE(o.deposits.save(old, false, edit)) << edit.text().toStdString();
    EXPECT_TRUE(edit.questions.isEmpty());
    old.mm = 9;
    old.sepNo = 12;
    ScriptedPrompt moved({false});
    EXPECT_FALSE(o.deposits.save(old, false, moved));
    EXPECT_EQ(moved.questions, QStringList{QStringLiteral("شماره قبض سپرده تکراري است،ادامه مي دهيد؟")});
}

TEST(ReceivedDeposits, ThePrintedReceiptsAreNumberedInOneUnitOfWork)
{
    Office o;
    o.add(10, {{"SEPNO", 40}});
    const QList<int> rows{o.add(10), o.add(10), o.add(10)};
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("CREATE TRIGGER refuse_last BEFORE UPDATE OF SEPNO ON SEP_DAR WHEN NEW.IDX = %1 "
                                                   "BEGIN SELECT RAISE(ABORT, 'refused'); END").arg(rows[2])));
    ScriptedPrompt p;
    EXPECT_FALSE(o.deposits.assignReceiptNumbers(rows, QStringLiteral("1409/10/02"), p));
    for (int idx : rows)
        EXPECT_TRUE(o.at(idx, "SEPNO").isNull()) << idx;
    ASSERT_TRUE(db::execSql(o.db(), QStringLiteral("DROP TRIGGER refuse_last")));
    ScriptedPrompt ok;
    ASSERT_TRUE(o.deposits.assignReceiptNumbers(rows, QStringLiteral("1409/10/02"), ok)) << ok.text().toStdString();
    QList<qint64> numbers;
    for (int idx : rows)
        numbers << o.at(idx, "SEPNO").toLongLong();
    EXPECT_EQ(numbers, (QList<qint64>{41, 42, 43}));
}

TEST(ReceivedDeposits, TheOwnerIsTakenFromTheVoucherOfTheDepositsOwnYear)
{
    Office o;
    startup::Session& s = *o.session;
    QSqlDatabase y1404 = s.server()->database(startup::Session::accountingDbNameFor(s.installationNumber(), QStringLiteral("0"), 1404));
    const int n = int(std::max(count(y1404, QStringLiteral("SELECT MAX(SNDNO) FROM SNDHEAD")), count(s.accounting(), QStringLiteral("SELECT MAX(SNDNO) FROM SNDHEAD")))) + 1;
    const std::pair<QSqlDatabase, int> books[] = {{y1404, 1001}, {s.accounting(), 1002}};
    for (const auto& [db, party] : books) {
        ASSERT_TRUE(db::execSql(db, QStringLiteral("INSERT INTO SNDHEAD (SNDNO, SNDDATE, DESCR, KIND, STATE, USERID) VALUES (:n, '1404/05/05', 'x', 1, 2, 3)"),
                                {{":n", n}}));
        ASSERT_TRUE(db::execSql(db, QStringLiteral("INSERT INTO SNDROW (SNDNO, ROW, KOL, MOIN, TAFSIL, TAFSIL2, DESCR, BED, BES) VALUES (:n, 1, 210, 7, :t, -1, 'x', 0, 5)"),
                                {{":n", n}, {":t", party}}));
    }
    const int idx = o.add(11, {{"SNDNO", n}, {"SNDROW", 1}, {"SNDYER", 1404}, {"TAFSILI", -1}});
    ScriptedPrompt p;
    ASSERT_TRUE(o.deposits.ownerFromVoucher(idx, p)) << p.text().toStdString();
    EXPECT_EQ(o.at(idx, "TAFSILI").toInt(), 1001);
    EXPECT_EQ(s.accountingDbName(), startup::Session::accountingDbNameFor(s.installationNumber(), QStringLiteral("0"), 1405));
}
