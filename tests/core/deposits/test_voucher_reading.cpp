#include "core/deposits/ReceiptSerialCheck.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/deposits/VoucherReading.h"
#include "core/deposits/VoucherReadingCriteria.h"
#include "core/db/Db.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

using namespace orvak;
using namespace orvak::deposits;

namespace {

// A ledger no demo voucher uses, so that only the fixture's rows are read.
constexpr int Kol = 21999;

qint64 count(QSqlDatabase db, const QString& sql)
{
    return db::scalar(db, sql).value_or(QVariant(-1)).toLongLong();
}

struct Line {
    int row;
    int kol;
    qint64 bed, bes;
    QString descr;
    QString account;
    int tafsil = 0;
};

void addVoucher(QSqlDatabase acc, int number, const QString& date, const QList<Line>& lines)
{
    ASSERT_TRUE(db::execSql(acc, QStringLiteral("INSERT INTO SNDHEAD (SNDNO, SNDDATE, DESCR, KIND, STATE, USERID) VALUES (:n, :d, 'x', 1, 2, 3)"),
                            {{QStringLiteral(":n"), number}, {QStringLiteral(":d"), date}}));
    for (const Line& l : lines) {
        ASSERT_TRUE(db::execSql(acc,
                                QStringLiteral("INSERT INTO SNDROW (SNDNO, ROW, KOL, MOIN, TAFSIL, TAFSIL2, TAMINKIND, DESCR, BED, BES, CHKNO, CHKDAT, ACCOUNT, ACCDETAIL1) "
                                               "VALUES (:n, :r, :k, 1, :t, :t2, :tk, :ds, :bd, :bs, 4455, :d, :a, 'D1')"),
                                {{QStringLiteral(":n"), number}, {QStringLiteral(":r"), l.row}, {QStringLiteral(":k"), l.kol},
                                 {QStringLiteral(":t"), l.tafsil ? QVariant(l.tafsil) : QVariant()}, {QStringLiteral(":t2"), l.tafsil ? QVariant(7) : QVariant()},
                                 {QStringLiteral(":tk"), l.tafsil ? QVariant(3) : QVariant()}, {QStringLiteral(":ds"), l.descr},
                                 {QStringLiteral(":bd"), l.bed}, {QStringLiteral(":bs"), l.bes}, {QStringLiteral(":d"), date},
                                 {QStringLiteral(":a"), l.account}}));
    }
}

struct Fixture {
    test::DemoOffice d;
    startup::Session& s = *d.session;
    int first = 0;   // the first fixture voucher

    Fixture()
    {
        s.setCurrentUserCode(3);
        first = int(count(s.accounting(), QStringLiteral("SELECT MAX(SNDNO) FROM SNDHEAD"))) + 1;
        // Dated in a month after the demo's last voucher: the month holds these alone.
        addVoucher(s.accounting(), first, QStringLiteral("1405/10/05"),
                   {{1, Kol, 0, 500000, QStringLiteral("سپرده حسن انجام کار"), {}},
                    {2, Kol, 300, 0, QStringLiteral("کسر سپرده بيمه"), {}},
                    {3, Kol, 700, 900, QStringLiteral("سپرده مناقصه"), {}},
                    {4, 11005, 0, 1000, QStringLiteral("بانک"), QStringLiteral("21006"), 1001}});
        addVoucher(s.accounting(), first + 1, QStringLiteral("1405/10/20"), {{1, Kol, 0, 250, QStringLiteral("ساير سپرده ها"), QStringLiteral("21007")}});
    }

    ReadingCriteria criteria(ReadSide side) const
    {
        ReadingCriteria c;
        c.year = 1405;
        c.monthIndex = 9;
        c.kol = Kol;
        c.side = side;
        return c;
    }
    qint64 depositRows() { return count(s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR")); }
    qint64 auditRows() { return test::historyCount(s); }
};

} // namespace

TEST(VoucherReading, DebitChoiceReadsCreditRowsUntickedAndTheTransferTakesCreditFirstInRowOrder)
{
    Fixture f;
    VoucherReading reading(f.s);
    startup::CollectingPrompt prompt;
    QString why;
    const auto summary = reading.read(f.criteria(ReadSide::Debit), prompt, &why);
    ASSERT_TRUE(summary) << why.toStdString();
    EXPECT_EQ(summary->rows, 4);
    EXPECT_EQ(summary->ticked, 2);
    EXPECT_EQ(summary->debit, 1000);
    EXPECT_EQ(summary->credit, 500000 + 900 + 250);
    EXPECT_EQ(summary->alreadyTransferred, 0);

    const auto rows = reading.rows();
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 4);
    EXPECT_FALSE((*rows)[0].ticked);   // debit 0, credit 500000
    EXPECT_TRUE((*rows)[1].ticked);
    EXPECT_TRUE((*rows)[2].ticked);
    EXPECT_FALSE((*rows)[3].ticked);
    // The party and the contract come from the voucher's row on account 21006; the
    // second voucher has none.
    EXPECT_EQ((*rows)[0].party, 1001);
    EXPECT_EQ((*rows)[0].contract, 7);
    EXPECT_EQ((*rows)[0].fundingKind, 3);
    EXPECT_FALSE((*rows)[0].partyName.isEmpty());
    EXPECT_FALSE((*rows)[3].party.has_value());
    EXPECT_FALSE((*rows)[3].contract.has_value());
    EXPECT_EQ(count(f.s.deposits(), QStringLiteral("SELECT COUNT(*) FROM TEMPREADSND WHERE ACCDETAIL1 = 'D1' AND TAFSIL = 1001")), 3);

    const qint64 nextRow = count(f.s.deposits(), QStringLiteral("SELECT COALESCE(MAX(SEPROW), 0) + 1 FROM SEP_DAR WHERE MY = 1405 AND MM = 10"));
    const qint64 nextIdx = count(f.s.deposits(), QStringLiteral("SELECT MAX(IDX) + 1 FROM SEP_DAR"));
    const auto moved = reading.transfer(1405, 10, Repeats::Skip, &why);
    ASSERT_TRUE(moved) << why.toStdString();
    EXPECT_EQ(moved->rows, 2);
    QSqlQuery q(f.s.deposits());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT IDX, SEPROW, AMOUNT, AMOUNT_MANDEH, AMOUNT_RAD, TAFSILI, PAYMENT, PROJNO, SNDNO, SNDROW, SNDYER, FROMOLDM, "
                                      "SEPKIND, SAVABEGH, ELAMBESIDX, SEPNO, CHKNO, CHKDATE, DESCR FROM SEP_DAR WHERE IDX >= %1 ORDER BY IDX").arg(nextIdx)));
    const qint64 amounts[] = {300, 900};   // a row with both sides transfers its credit
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toLongLong(), nextIdx + i);
        EXPECT_EQ(q.value(1).toLongLong(), nextRow + i);
        EXPECT_EQ(q.value(2).toLongLong(), amounts[i]);
        EXPECT_EQ(q.value(3).toLongLong(), amounts[i]);
        EXPECT_EQ(q.value(4).toInt(), 0);
        EXPECT_EQ(q.value(5).toInt(), 1001);
        EXPECT_EQ(q.value(6).toInt(), 7);
        EXPECT_EQ(q.value(7).toInt(), -1);
        EXPECT_EQ(q.value(8).toInt(), f.first);
        EXPECT_EQ(q.value(9).toInt(), 2 + i);
        EXPECT_EQ(q.value(10).toInt(), 1405);
        EXPECT_EQ(q.value(11).toInt(), 2);
        EXPECT_EQ(q.value(12).toInt(), 1);
        EXPECT_EQ(q.value(13).toInt(), 0);
        EXPECT_EQ(q.value(14).toInt(), 0);
        EXPECT_TRUE(q.value(15).isNull());
        EXPECT_EQ(q.value(16).toLongLong(), 4455);
        EXPECT_EQ(q.value(17).toString(), QStringLiteral("1405/10/05"));
    }
    EXPECT_FALSE(q.next());

    // The same reading again offers the rows once more, unticked, and says they are in
    // already; a transfer leaves them out, and a row ticked by hand goes in again only
    // when the user said so.
    const auto again = reading.read(f.criteria(ReadSide::Debit), prompt, &why);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->alreadyTransferred, 2);
    EXPECT_EQ(again->ticked, 0);
    const auto none = reading.transfer(1405, 10, Repeats::Skip, &why);
    ASSERT_TRUE(none) << why.toStdString();
    EXPECT_EQ(none->rows, 0);
    ASSERT_TRUE(reading.toggle(2));
    EXPECT_EQ(reading.tickedInRegister(), 1);
    const auto skipped = reading.transfer(1405, 10, Repeats::Skip, &why);
    ASSERT_TRUE(skipped);
    EXPECT_EQ(skipped->rows, 0);
    EXPECT_EQ(skipped->skipped, 1);
    const auto rowsOf = [&](int row) {
        return count(f.s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE SNDYER = 1405 AND SNDNO = %1 AND SNDROW = %2").arg(f.first).arg(row));
    };
    EXPECT_EQ(rowsOf(2), 1);
    ASSERT_TRUE(reading.transfer(1405, 10, Repeats::EnterShown, &why));
    EXPECT_EQ(rowsOf(2), 2);
    EXPECT_EQ(rowsOf(3), 1);
}

TEST(VoucherReading, WordsLedgersChequeAndTicks)
{
    Fixture f;
    VoucherReading reading(f.s);
    startup::CollectingPrompt prompt;
    struct Case {
        std::array<QString, 4> words;
        int moin;
        qint64 cheque;
        int rows;
    } cases[] = {
        {{}, -1, -1, 4},
        {{QStringLiteral("حسن"), QStringLiteral("مناقصه"), {}, {}}, -1, -1, 2},
        {{QStringLiteral("سپرده"), {}, QStringLiteral("بيمه"), QStringLiteral("ساير")}, -1, -1, 2},
        {{QStringLiteral("نيست"), {}, {}, {}}, -1, -1, 0},   // one word of a pair narrows alone
        {{QString(), QStringLiteral("مناقصه"), {}, {}}, -1, -1, 1},
        {{}, 1, 4455, 4},
        {{}, 2, -1, 0},
        {{}, -1, 1, 0},
    };
    for (const Case& c : cases) {
        ReadingCriteria criteria = f.criteria(ReadSide::Both);
        criteria.words = c.words;
        criteria.moin = c.moin;
        criteria.chequeNo = c.cheque;
        const auto summary = reading.read(criteria, prompt);
        ASSERT_TRUE(summary);
        EXPECT_EQ(summary->rows, c.rows) << c.words[0].toStdString() << " " << c.moin;
        EXPECT_EQ(summary->ticked, c.rows);
    }

    ReadingCriteria noLedger = f.criteria(ReadSide::Both);
    noLedger.kol = 0;
    QString why;
    EXPECT_FALSE(reading.read(noLedger, prompt, &why));
    EXPECT_EQ(why, QStringLiteral("حساب مشخص نشده است"));
    EXPECT_TRUE(reading.rows().empty());   // the refused reading left the last one, which found none

    ASSERT_TRUE(reading.read(f.criteria(ReadSide::Credit), prompt));
    ASSERT_TRUE(reading.toggle(1));
    EXPECT_FALSE(reading.rows()->first().ticked);
    ASSERT_TRUE(reading.clearTicks());
    for (const ReadRow& r : reading.rows().value_or({}))
        EXPECT_FALSE(r.ticked);
    ASSERT_TRUE(reading.tickOnly(3));
    const QList<ReadRow> after = reading.rows().value_or({});
    ASSERT_EQ(after.size(), 4);
    for (const ReadRow& r : after)
        EXPECT_EQ(r.ticked, r.row == 3);
}

TEST(VoucherReading, EachDepositRowOnTheDepositAccountKeepsItsOwnParty)
{
    Fixture f;
    const int n = f.first + 2;
    addVoucher(f.s.accounting(), n, QStringLiteral("1405/10/25"),
               {{1, Kol, 0, 10, QStringLiteral("الف"), QStringLiteral("21006"), 1001},
                {2, Kol, 0, 20, QStringLiteral("ب"), QStringLiteral("21006"), 1002},
                {3, Kol, 0, 30, QStringLiteral("ج"), {}},
                {4, Kol, 0, 0, QStringLiteral("د"), {}}});
    ReadingCriteria c = f.criteria(ReadSide::Credit);
    c.rangeKind = RangeKind::NumberRange;
    c.from = c.to = QString::number(n);
    VoucherReading reading(f.s);
    startup::CollectingPrompt prompt;
    ASSERT_TRUE(reading.read(c, prompt));
    const QList<ReadRow> rows = reading.rows().value_or({});
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].party, 1001);
    EXPECT_EQ(rows[1].party, 1002);
    EXPECT_EQ(rows[2].party, 1001);   // a row of another account: the voucher's first
    EXPECT_FALSE(rows[3].ticked);

    // Ticked, the row without an amount stops the whole transfer.
    c.side = ReadSide::Both;
    ASSERT_TRUE(reading.read(c, prompt));
    const qint64 before = f.depositRows();
    QString why;
    EXPECT_FALSE(reading.transfer(1405, 10, Repeats::Skip, &why));
    EXPECT_EQ(why, QStringLiteral("مبلغ رديف 4 صفر است"));
    EXPECT_EQ(f.depositRows(), before);
}

TEST(VoucherReading, VoucherRangeFromMonthTypedNumbersAndSupplementMonths)
{
    const ReadingMonth m = readingMonth(1401, 12);
    EXPECT_EQ(m.firstDay(), QStringLiteral("1402/01/01"));
    EXPECT_EQ(m.lastDay(), QStringLiteral("1402/01/31"));
    EXPECT_EQ(readingMonth(1401, 11).lastDay(), QStringLiteral("1401/12/31"));

    Fixture f;
    VoucherReading reading(f.s);
    struct Case {
        RangeKind kind;
        QString from, to;
        int first, last;   // offsets from the first fixture voucher
    } cases[] = {
        {RangeKind::MonthRange, {}, {}, 0, 1},
        {RangeKind::NumberRange, QString::number(f.first + 1), QString::number(f.first + 1), 1, 1},
        {RangeKind::NumberRange, {}, QString::number(f.first), 0, 0},
        {RangeKind::NumberRange, QString::number(f.first + 1), QStringLiteral("0"), 1, 1},
        {RangeKind::DateRange, QStringLiteral("1405/10/10"), QStringLiteral("1405/10/31"), 1, 1},
    };
    for (const Case& c : cases) {
        ReadingCriteria criteria = f.criteria(ReadSide::Both);
        criteria.rangeKind = c.kind;
        criteria.from = c.from;
        criteria.to = c.to;
        const auto range = reading.voucherRange(criteria);
        ASSERT_TRUE(range);
        EXPECT_EQ(range->from, f.first + c.first) << int(c.kind) << c.from.toStdString();
        EXPECT_EQ(range->to, f.first + c.last) << int(c.kind) << c.to.toStdString();
    }

    // "فروردين متمم" of 1404 reads the 1404 database's vouchers dated 1405/01.
    {
        QSqlDatabase acc1404 = f.s.server()->database(startup::Session::accountingDbNameFor(f.s.installationNumber(), QStringLiteral("0"), 1404));
        const int n = int(count(acc1404, QStringLiteral("SELECT MAX(SNDNO) FROM SNDHEAD"))) + 1;
        addVoucher(acc1404, n, QStringLiteral("1405/01/10"), {{1, Kol, 0, 10, QStringLiteral("متمم"), {}}});
        addVoucher(acc1404, n + 1, QStringLiteral("1405/02/01"), {{1, Kol, 0, 20, QStringLiteral("بعد"), {}}});
    }
    ReadingCriteria supplement = f.criteria(ReadSide::Credit);
    supplement.year = 1404;
    supplement.monthIndex = 12;
    startup::CollectingPrompt prompt;
    {
        AccountingYearScope scope(f.s);
        const auto summary = reading.read(supplement, prompt);
        ASSERT_TRUE(summary);
        EXPECT_EQ(summary->rows, 1);
        EXPECT_EQ(summary->credit, 10);
        EXPECT_EQ(f.s.accountingDbName(), startup::Session::accountingDbNameFor(f.s.installationNumber(), QStringLiteral("0"), 1404));
    }
    EXPECT_EQ(f.s.accountingDbName(), startup::Session::accountingDbNameFor(f.s.installationNumber(), QStringLiteral("0"), 1405));
    EXPECT_EQ(f.s.CurrentYear(), 1405);
}

TEST(VoucherReading, ATransferThatFailsMidwayChangesNothing)
{
    Fixture f;
    VoucherReading reading(f.s);
    startup::CollectingPrompt prompt;
    ASSERT_TRUE(reading.read(f.criteria(ReadSide::Both), prompt));
    // The register refuses the third row.
    ASSERT_TRUE(db::execSql(f.s.deposits(), QStringLiteral("CREATE TRIGGER refuse_third BEFORE INSERT ON SEP_DAR WHEN NEW.SNDROW = 3 "
                                                          "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    const qint64 rows = f.depositRows();
    const qint64 audit = f.auditRows();
    QString why;
    EXPECT_FALSE(reading.transfer(1405, 10, Repeats::Skip, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(f.depositRows(), rows);
    EXPECT_EQ(f.auditRows(), audit);
    EXPECT_EQ(reading.rows()->size(), 4);   // the reading is still there to try again
}

TEST(VoucherReading, LastReadingFileRoundTripAndDamagedFiles)
{
    QTemporaryDir dir;
    ReadingCriteria c;
    c.year = 1405;
    c.monthIndex = 13;
    c.kol = 21007;
    c.moin = 2;
    c.from = QStringLiteral("12");
    c.to = QStringLiteral("40");
    c.words = {QStringLiteral("حسن انجام"), {}, QStringLiteral("سپرده"), QStringLiteral("كار")};
    ASSERT_TRUE(writeLastReading(dir.path(), c));
    const auto back = readLastReading(dir.path());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->kol, 21007);
    EXPECT_EQ(back->moin, 2);
    EXPECT_EQ(back->from, QStringLiteral("12"));
    EXPECT_EQ(back->to, QStringLiteral("40"));
    EXPECT_EQ(back->words, c.words);
    c.moin = -1;
    ASSERT_TRUE(writeLastReading(dir.path(), c));
    EXPECT_EQ(readLastReading(dir.path())->moin, -1);

    const QByteArray damaged[] = {
        "",
        "1405\r\n3\r\n21007\r\n",                                   // short
        "1405\r\n3\r\nabc\r\n1\r\n\r\n\r\na\r\nb\r\nc\r\nd\r\n1\r\n",   // ledger no number
        "1405\r\n3\r\n0\r\n1\r\n\r\n\r\na\r\nb\r\nc\r\nd\r\n1\r\n",     // no ledger
        "1405\r\n3\r\n21007\r\n1\r\nx'--\r\n\r\na\r\nb\r\nc\r\nd\r\n",  // range not a number
        QByteArray("1405\r\n3\r\n21007\r\n1\r\n\r\n\r\na") + QByteArray(1, '\0') + "\r\nb\r\nc\r\nd\r\n",
    };
    for (const QByteArray& bytes : damaged) {
        ASSERT_TRUE(test::writeBytes(readingFilePath(dir.path()), bytes));
        EXPECT_FALSE(readLastReading(dir.path())) << bytes.toStdString();
    }
    // A file of the older programs, in code page 1256.
    ASSERT_TRUE(test::writeBytes(readingFilePath(dir.path()), QByteArray("1405\r\n3\r\n21007\r\n\r\n\r\n\r\n\xd3\x81\xd1\xcf\xe5\r\n\r\n\r\n\r\n1\r\n")));
    const auto old = readLastReading(dir.path());
    ASSERT_TRUE(old);
    EXPECT_EQ(old->words[0], QStringLiteral("سپرده"));
    QFile::remove(readingFilePath(dir.path()));
    EXPECT_FALSE(readLastReading(dir.path()));
}

TEST(ReceiptSerialCheck, RangeAndNextNumber)
{
    const QString mismatch = QStringLiteral("شماره قبض ها تطابق ندارند");
    const QString incomplete = QStringLiteral("محدوده فيش ها را کامل مشخص کنيد. از .... تا .....");
    struct Case {
        qint64 first, last, next;
        QString message;
        qint64 nextAfterFirst;
    } cases[] = {
        {100, 200, 150, {}, 150},
        {100, 200, 100, {}, 100},
        {100, 200, 250, {}, 100},
        {100, 200, 50, mismatch, 100},
        {200, 100, 200, mismatch, 200},
        {0, 200, 0, incomplete, 0},
        {100, 0, 100, mismatch, 100},   // the mismatch is checked before the incomplete range
        {0, 0, 0, incomplete, 0},
        {5000000000LL, 5000000099LL, 5000000010LL, {}, 5000000010LL},
    };
    for (const Case& c : cases) {
        deposits::ReceiptSerial s;
        s.first = c.first;
        s.last = c.last;
        s.next = c.next;
        EXPECT_EQ(checkReceiptSerial(s), c.message) << c.first << ".." << c.last << " " << c.next;
        EXPECT_EQ(nextAfterFirst(s), c.nextAfterFirst) << c.first << ".." << c.last << " " << c.next;
    }
}

TEST(VoucherReading, SavedCriteriaAreAddedOnceAndDeletedAfterTheQuestion)
{
    Fixture f;
    SavedReadingCriteria saved(f.s);
    const qint64 before = saved.all().value_or({}).size();
    SavedCriteria c;
    c.section = 1;
    c.kol = Kol;
    c.moin = 2;
    c.words = {QStringLiteral("حسن' OR 1=1 --"), {}, {}, {}};
    c.side = ReadSide::Both;
    QString why;
    ASSERT_TRUE(saved.add(c, &why)) << why.toStdString();
    EXPECT_FALSE(saved.add(c, &why));
    EXPECT_FALSE(why.isEmpty());
    SavedCriteria none = c;
    none.kol = 0;
    EXPECT_FALSE(saved.add(none, &why));
    EXPECT_EQ(why, QStringLiteral("حساب مشخص نشده است"));
    const QList<SavedCriteria> all = saved.all().value_or({});
    ASSERT_EQ(all.size(), before + 1);
    const auto it = std::find_if(all.begin(), all.end(), [](const SavedCriteria& s) { return s.kol == Kol; });
    ASSERT_NE(it, all.end());
    EXPECT_EQ(it->words, c.words);
    EXPECT_EQ(it->side, ReadSide::Both);

    startup::CollectingPrompt no(false), yes(true);
    EXPECT_FALSE(saved.remove(1, Kol, 2, no));
    EXPECT_EQ(saved.all().value_or({}).size(), before + 1);
    ASSERT_TRUE(saved.remove(1, Kol, 2, yes));
    EXPECT_EQ(saved.all().value_or({}).size(), before);
}

TEST(VoucherReading, AnotherWorkstationsReadingNeverChangesWhatThisOneTransfers)
{
    Fixture f;
    VoucherReading mine(f.s), theirs(f.s);
    startup::CollectingPrompt prompt;
    const auto read = mine.read(f.criteria(ReadSide::Credit), prompt);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->ticked, 3);
    // Between the reading and its transfer another workstation reads another month.
    ReadingCriteria other = f.criteria(ReadSide::Both);
    other.kol = 21007;
    other.monthIndex = 7;
    const auto theirRows = theirs.read(other, prompt);
    ASSERT_TRUE(theirRows);
    ASSERT_GT(theirRows->rows, 0);
    const qint64 before = f.depositRows();
    QString why;
    const auto moved = mine.transfer(1405, 10, Repeats::Skip, &why);
    ASSERT_TRUE(moved) << why.toStdString();
    EXPECT_EQ(moved->rows, 3);
    EXPECT_EQ(f.depositRows(), before + 3);
    EXPECT_EQ(count(f.s.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR WHERE IDX >= %1 AND SNDNO IN (%2, %3)")
                                         .arg(moved->firstIndex).arg(f.first).arg(f.first + 1)),
              3);
}

TEST(VoucherReading, ARowTheRegisterCannotHoldStopsTheWholeTransferAndIsNamed)
{
    Fixture f;
    struct Case {
        const char* what;
        QString change;   // on the voucher's first row (or its party's row)
        QString reason;
    } cases[] = {
        {"cheque of letters", QStringLiteral("UPDATE SNDROW SET CHKNO = 'abc' WHERE SNDNO = %1 AND ROW = 1"), QStringLiteral("شماره چک/فيش")},
        {"long date", QStringLiteral("UPDATE SNDROW SET CHKDAT = '%2' WHERE SNDNO = %1 AND ROW = 1"), QStringLiteral("تاريخ چک/فيش")},
        {"no date", QStringLiteral("UPDATE SNDROW SET CHKDAT = '1405/99/99' WHERE SNDNO = %1 AND ROW = 1"), QStringLiteral("تاريخ چک/فيش")},
        {"huge amount", QStringLiteral("UPDATE SNDROW SET BES = 9.2e18 WHERE SNDNO = %1 AND ROW = 1"), QStringLiteral("مبلغ رديف سند")},
        {"text amount", QStringLiteral("UPDATE SNDROW SET BES = 'x1' WHERE SNDNO = %1 AND ROW = 1"), QStringLiteral("مبلغ رديف سند")},
        {"nobody", QStringLiteral("UPDATE SNDROW SET TAFSIL = 987654 WHERE SNDNO = %1 AND ROW = 4"), QStringLiteral("کد تفضيلي 987654 يافت نشد")},
    };
    const QString restore = QStringLiteral("UPDATE SNDROW SET CHKNO = 4455, CHKDAT = '1405/10/05', BES = CASE ROW WHEN 1 THEN 500000 ELSE BES END, "
                                           "TAFSIL = CASE ROW WHEN 4 THEN 1001 ELSE TAFSIL END WHERE SNDNO = %1");
    const qint64 before = f.depositRows();
    for (const Case& c : cases) {
        const QString change = QString(c.change).replace(QStringLiteral("%1"), QString::number(f.first)).replace(QStringLiteral("%2"), QString(5000, QLatin1Char('1')));
        ASSERT_TRUE(db::execSql(f.s.accounting(), change));
        VoucherReading reading(f.s);
        startup::CollectingPrompt prompt;
        QString why;
        ASSERT_TRUE(reading.read(f.criteria(ReadSide::Credit), prompt, &why)) << c.what << why.toStdString();
        EXPECT_FALSE(reading.transfer(1405, 10, Repeats::Skip, &why)) << c.what;
        EXPECT_TRUE(why.startsWith(QStringLiteral("رديف 1 (سند %1 رديف 1): ").arg(f.first))) << c.what << " " << why.toStdString();
        EXPECT_TRUE(why.contains(c.reason)) << c.what << " " << why.toStdString();
        EXPECT_EQ(f.depositRows(), before) << c.what;
        ASSERT_TRUE(db::execSql(f.s.accounting(), restore.arg(f.first)));
    }
}

TEST(VoucherReading, WordsAreSearchedAsTypedUnderTheSearchKeyAndAnEmptyWordMatchesEverything)
{
    Fixture f;
    const int n = f.first + 2;
    addVoucher(f.s.accounting(), n, QStringLiteral("1405/10/26"),
               {{1, Kol, 0, 10, QStringLiteral("-"), {}},
                {2, Kol, 0, 20, QStringLiteral("تضمين 5%_الف"), {}},
                {3, Kol, 0, 30, QStringLiteral("تضمين 55xالف"), {}},
                {4, Kol, 0, 40, QStringLiteral("كارفرماي اصلي"), {}},
                {5, Kol, 0, 50, QStringLiteral("نيم\u200Cفصل"), {}}});
    ASSERT_TRUE(db::execSql(f.s.accounting(), QStringLiteral("UPDATE SNDROW SET DESCR = NULL WHERE SNDNO = %1 AND ROW = 1").arg(n)));
    struct Case {
        QString word;
        QList<int> rows;   // the voucher rows read
    } cases[] = {
        {{}, {1, 2, 3, 4, 5}},                                    // no word: every row, one without a description too
        {QStringLiteral("\u200C  "), {1, 2, 3, 4, 5}},            // nothing but ZWNJ and spaces
        {QStringLiteral("5%_"), {2}},                             // the signs of LIKE are searched as themselves
        {QStringLiteral("کارفرمای"), {4}},                        // Persian Kaf and Yeh find the Arabic ones
        {QStringLiteral("نيمفصل"), {5}},                          // ZWNJ does not count
    };
    VoucherReading reading(f.s);
    startup::CollectingPrompt prompt;
    for (const Case& c : cases) {
        ReadingCriteria criteria = f.criteria(ReadSide::Both);
        criteria.rangeKind = RangeKind::NumberRange;
        criteria.from = criteria.to = QString::number(n);
        criteria.words[0] = c.word;
        QString why;
        ASSERT_TRUE(reading.read(criteria, prompt, &why)) << why.toStdString();
        QList<int> got;
        for (const ReadRow& r : reading.rows().value_or({}))
            got << r.voucherRow;
        EXPECT_EQ(got, c.rows) << c.word.toStdString();
    }

    // A word longer than any description is refused in Persian, before any reading.
    ReadingCriteria tooLong = f.criteria(ReadSide::Both);
    tooLong.words[2] = QString(60000, QChar(0x0633));
    QString why;
    EXPECT_FALSE(reading.read(tooLong, prompt, &why));
    EXPECT_EQ(why, QStringLiteral("كلمه جستجو طولاني تر از 160 حرف است"));
}

TEST(VoucherReading, TheCommandLinesReadingAndTransferAreOneWorkUnderTheWriteLevel)
{
    Fixture f;
    startup::CollectingPrompt prompt;
    const qint64 before = f.depositRows();
    QString why;

    // A user whose write level is 1 transfers nothing, and the reading goes with it.
    ASSERT_TRUE(db::execSql(f.s.common(), QStringLiteral("UPDATE PROGUSERS SET SEL2 = 1 WHERE PROGID = 3 AND UCODE = 3")));
    VoucherReading reviewer(f.s);
    EXPECT_FALSE(reviewer.readAndTransfer(f.criteria(ReadSide::Credit), 1405, 10, prompt, &why));
    EXPECT_EQ(why, writeRefusalText());
    EXPECT_EQ(f.depositRows(), before);
    EXPECT_TRUE(reviewer.rows().empty());
    startup::CollectingPrompt quiet;
    EXPECT_FALSE(reviewer.read(f.criteria(ReadSide::Credit), quiet) && reviewer.transfer(1405, 10, Repeats::Skip, &why));
    EXPECT_EQ(f.depositRows(), before);

    // The administrator of the server machine (no user) writes as user 0, and a second
    // run leaves out what the first brought in.
    f.s.setCurrentUserCode(0);
    VoucherReading admin(f.s, Writer::Administrator);
    const auto first = admin.readAndTransfer(f.criteria(ReadSide::Credit), 1405, 10, prompt, &why);
    ASSERT_TRUE(first) << why.toStdString();
    EXPECT_EQ(first->second.rows, 3);
    EXPECT_EQ(f.depositRows(), before + 3);
    EXPECT_EQ(test::historyCount(f.s, QStringLiteral("TABLENAME = 'SEP_DAR' AND UCODE = 0 AND WORKSTATION <> ''")), 3);
    const auto second = admin.readAndTransfer(f.criteria(ReadSide::Credit), 1405, 10, prompt, &why);
    ASSERT_TRUE(second) << why.toStdString();
    EXPECT_EQ(second->first.alreadyTransferred, 3);
    EXPECT_EQ(second->first.ticked, 0);
    EXPECT_EQ(second->second.rows, 0);
    EXPECT_EQ(f.depositRows(), before + 3);
}

TEST(VoucherReading, TheLastReadingIsWrittenInCodePage1256AndNeverThroughALinkOrOverAFolder)
{
    QTemporaryDir dir;
    ReadingCriteria c;
    c.year = 1405;
    c.kol = 21007;
    c.words = {QStringLiteral("سپرده"), {}, {}, {}};
    ASSERT_TRUE(writeLastReading(dir.path(), c));
    EXPECT_TRUE(test::fileBytes(readingFilePath(dir.path())).contains(QByteArray("\xd3\x81\xd1\xcf\xe5\r\n")));
    EXPECT_EQ(readLastReading(dir.path())->words[0], QStringLiteral("سپرده"));

    QFile::remove(readingFilePath(dir.path()));
    const QString elsewhere = dir.filePath(QStringLiteral("other.txt"));
    ASSERT_TRUE(test::writeBytes(elsewhere, "keep"));
    ASSERT_TRUE(QFile::link(elsewhere, readingFilePath(dir.path())));
    QString why;
    EXPECT_FALSE(writeLastReading(dir.path(), c, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("پيوند"))) << why.toStdString();
    EXPECT_EQ(test::fileBytes(elsewhere), QByteArray("keep"));

    QFile::remove(readingFilePath(dir.path()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ReadACC.INI")));
    EXPECT_FALSE(writeLastReading(dir.path(), c, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("فايل نيست"))) << why.toStdString();
}
