#include "core/accounting/VoucherWriter.h"
#include "core/accounting/Vouchers.h"
#include "core/db/Db.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

#include <tuple>

using namespace orvak;
using namespace orvak::accounting;

namespace {

qint64 count(QSqlDatabase db, const QString& sql)
{
    return db::scalar(db, sql).value_or(QVariant(-1)).toLongLong();
}

// What the accounting database and the history hold, to tell "nothing changed".
struct Snapshot {
    qint64 heads, rows, debit, audit;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(startup::Session& s)
{
    return {count(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDHEAD")), count(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW")),
            count(s.accounting(), QStringLiteral("SELECT SUM(BED) FROM SNDROW")), test::historyCount(s)};
}

VoucherLine line(int kol, int moin, qint64 debit, qint64 credit, const QString& descr = QStringLiteral("شرح"))
{
    VoucherLine l;
    l.kol = kol;
    l.moin = moin;
    l.debit = debit;
    l.credit = credit;
    l.description = descr;
    return l;
}

VoucherPosting fourRows()
{
    VoucherPosting p;
    p.date = QStringLiteral("1405/08/01");
    p.description = QStringLiteral("سند آزمايشي");
    VoucherLine party = line(21007, 1, 0, 123456789012345, QStringLiteral("سپرده حسن انجام کار"));
    party.tafsil = 1001;
    party.tafsil2 = 7;
    party.account = QStringLiteral("21006");
    p.lines = {line(81001, 1, 123456789012347, 0), line(11005, 1, 0, 1), line(11005, 1, 0, 1), party};
    return p;
}

} // namespace

TEST(Vouchers, ReadsTheDemoYearsVouchersLedgersAndChart)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    Vouchers v(s);
    ASSERT_TRUE(v.available());
    EXPECT_TRUE(v.missingText().isEmpty());
    EXPECT_EQ(accountingYear(s), 1405);

    const db::Fetched<int> last = v.lastNumber();
    ASSERT_TRUE(last);
    const db::Fetched<Voucher> voucher = v.voucher(*last);
    ASSERT_TRUE(voucher);
    EXPECT_EQ(voucher->head.number, *last);
    EXPECT_EQ(voucher->rows.size(), count(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE SNDNO = %1").arg(*last)));
    ASSERT_FALSE(voucher->rows.isEmpty());
    EXPECT_EQ(voucher->debit(), voucher->credit());
    for (qsizetype i = 1; i < voucher->rows.size(); ++i)
        EXPECT_LT(voucher->rows[i - 1].row, voucher->rows[i].row);

    EXPECT_TRUE(v.head(*last + 1).empty());
    EXPECT_TRUE(v.rows(*last + 1).empty());
    EXPECT_EQ(v.general(21007)->name, QStringLiteral("سپرده هاي دريافتي"));
    EXPECT_EQ(v.subsidiary(21007, 1)->name, QStringLiteral("سپرده حسن انجام کار"));
    EXPECT_TRUE(v.subsidiary(21007, 99).empty());
    EXPECT_EQ(v.chartAccount(QStringLiteral("21006"))->name, QStringLiteral("سپرده هاي دريافتي"));
    EXPECT_TRUE(v.chartDetail(QStringLiteral("21006")).empty());

    // A month's range of numbers holds every voucher dated in the month.
    const db::Fetched<int> first = v.firstOnOrAfter(QStringLiteral("1405/02/01"));
    const db::Fetched<int> end = v.lastOnOrBefore(QStringLiteral("1405/02/31"));
    ASSERT_TRUE(first && end);
    const auto month = v.range(*first, *end);
    ASSERT_TRUE(month);
    for (const Voucher& x : *month)
        EXPECT_TRUE(x.head.date >= QStringLiteral("1405/02/01") && x.head.date <= QStringLiteral("1405/02/31")) << x.head.date.toStdString();
    EXPECT_TRUE(v.firstOnOrAfter(QStringLiteral("1405/12/30")).empty());

    const int party = voucher->rows.first().tafsil.value_or(0);
    const auto ofParty = v.rowsOfParty(party);
    ASSERT_TRUE(ofParty);
    EXPECT_EQ(ofParty->size(), count(s.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDROW WHERE TAFSIL = %1").arg(party)));
}

TEST(Vouchers, APostedVoucherReadsBackExactlyAndItsRejectionLeavesTheDatabaseAsItWas)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);
    const Snapshot before = snapshot(s);
    const int last = *Vouchers(s).lastNumber();

    VoucherWriter writer(s);
    QString why;
    const std::optional<PostedVoucher> posted = writer.post(fourRows(), &why);
    ASSERT_TRUE(posted) << why.toStdString();
    EXPECT_EQ(posted->number, last + 1);
    EXPECT_EQ(posted->year, 1405);
    EXPECT_EQ(posted->rows, (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(snapshot(s).audit, before.audit + 5);

    const db::Fetched<Voucher> back = Vouchers(s).voucher(posted->number);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->head.date, QStringLiteral("1405/08/01"));
    EXPECT_EQ(back->head.userId, 3);
    EXPECT_EQ(back->head.state, NewState);
    ASSERT_EQ(back->rows.size(), 4);
    EXPECT_EQ(back->rows[0].debit, 123456789012347);
    EXPECT_EQ(back->rows[3].credit, 123456789012345);
    EXPECT_EQ(back->rows[3].tafsil, 1001);
    EXPECT_EQ(back->rows[3].account, QStringLiteral("21006"));
    EXPECT_FALSE(back->rows[0].tafsil.has_value());
    EXPECT_EQ(back->debit(), back->credit());

    // More rows go after the last one; clearing starts the voucher again.
    VoucherPosting more = fourRows();
    more.number = posted->number;
    more.lines = {line(81001, 1, 500, 0), line(11005, 1, 0, 500)};
    EXPECT_EQ(writer.post(more)->rows, (QList<int>{5, 6}));
    more.clearEarlier = true;
    EXPECT_EQ(writer.post(more)->rows, (QList<int>{1, 2}));
    EXPECT_EQ(Vouchers(s).rows(posted->number)->size(), 2);

    ASSERT_TRUE(writer.confirm(posted->number, &why)) << why.toStdString();
    EXPECT_EQ(Vouchers(s).head(posted->number)->state, ConfirmedState);

    ASSERT_TRUE(writer.reject(posted->number, &why)) << why.toStdString();
    const Snapshot after = snapshot(s);
    EXPECT_EQ(after.heads, before.heads);
    EXPECT_EQ(after.rows, before.rows);
    EXPECT_EQ(after.debit, before.debit);
    EXPECT_TRUE(Vouchers(s).voucher(posted->number).empty());

    EXPECT_FALSE(writer.reject(posted->number, &why));
    EXPECT_EQ(why, QStringLiteral("سند شماره %1 يافت نشد").arg(posted->number));
    EXPECT_FALSE(writer.confirm(posted->number, &why));
}

TEST(Vouchers, ARejectedPostingTakesBackItsOwnRowsAndTheHeadOnlyWhenItMadeIt)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    s.setCurrentUserCode(3);
    const Snapshot before = snapshot(s);
    VoucherWriter writer(s);
    QString why;
    PostingRecorder heard;
    const std::optional<PostedVoucher> first = writer.post(fourRows(), &why);
    ASSERT_TRUE(first) << why.toStdString();
    EXPECT_TRUE(first->headCreated);
    VoucherPosting more = fourRows();
    more.number = first->number;
    more.lines = {line(81001, 1, 500, 0), line(11005, 1, 0, 500)};
    const std::optional<PostedVoucher> second = writer.post(more, &why);
    ASSERT_TRUE(second) << why.toStdString();
    EXPECT_FALSE(second->headCreated);
    EXPECT_EQ(second->rows, (QList<int>{5, 6}));
    ASSERT_EQ(heard.postings().size(), 2);
    EXPECT_EQ(heard.last()->rows, second->rows);

    // The second posting goes back: the four rows the voucher held before stay.
    ASSERT_TRUE(writer.reject(*second, {}, &why)) << why.toStdString();
    const auto rows = Vouchers(s).rows(first->number);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 4);
    EXPECT_EQ(rows->last().row, 4);
    EXPECT_TRUE(Vouchers(s).head(first->number));

    // The first made the head and nothing is left under it: the head goes too.
    ASSERT_TRUE(writer.reject(*first, {}, &why)) << why.toStdString();
    const Snapshot after = snapshot(s);
    EXPECT_EQ(std::tie(after.heads, after.rows, after.debit), std::tie(before.heads, before.rows, before.debit));

    // A posting of another year is not taken back from this one.
    PostedVoucher elsewhere = *first;
    elsewhere.year = 1404;
    EXPECT_FALSE(writer.reject(elsewhere, {}, &why));
    EXPECT_EQ(why, QStringLiteral("سند شماره %1 در سال مالي 1404 صادر شده است").arg(first->number));
}

TEST(Vouchers, ABadPostingIsRefusedAndChangesNothing)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const Snapshot before = snapshot(s);
    struct Case {
        const char* name;
        std::function<void(VoucherPosting&)> spoil;
        QString message;
    };
    const QList<Case> cases = {
        {"no rows", [](VoucherPosting& p) { p.lines.clear(); }, QStringLiteral("اطلاعات کامل نيست")},
        {"no date", [](VoucherPosting& p) { p.date.clear(); }, QStringLiteral("اطلاعات کامل نيست")},
        {"an impossible date", [](VoucherPosting& p) { p.date = QStringLiteral("1405/13/01"); }, QStringLiteral("تاريخ سند درست نيست: 1405/13/01")},
        {"another year", [](VoucherPosting& p) { p.date = QStringLiteral("1404/12/29"); }, QStringLiteral("تاريخ سند 1404/12/29 در سال مالي 1405 نيست")},
        {"both sides", [](VoucherPosting& p) { p.lines[1].debit = 1; }, QString()},
        {"neither side", [](VoucherPosting& p) { p.lines[1].credit = 0; }, QString()},
        {"negative", [](VoucherPosting& p) { p.lines[1].credit = -1; }, QString()},
        {"too large", [](VoucherPosting& p) { p.lines[1].credit = LargestAmount + 1; }, QStringLiteral("رديف 2: مبلغ بيش از حد مجاز است")},
        {"long text", [](VoucherPosting& p) { p.lines[2].description = QString(161, QChar(0x0628)); }, QStringLiteral("رديف 3: شرح بيش از 160 حرف است")},
        {"no ledger", [](VoucherPosting& p) { p.lines[0].kol = 0; }, QStringLiteral("اطلاعات کامل نيست: کد حساب کل رديف 1")},
    };
    for (const Case& c : cases) {
        VoucherPosting p = fourRows();
        c.spoil(p);
        QString why;
        EXPECT_FALSE(VoucherWriter(s).post(p, &why)) << c.name;
        if (c.message.isEmpty()) {
            EXPECT_TRUE(why.startsWith(QStringLiteral("رديف 2:"))) << c.name << ": " << why.toStdString();
        } else {
            EXPECT_EQ(why, c.message) << c.name;
        }
    }
    EXPECT_EQ(snapshot(s), before);

    // A row the database refuses takes the head and the rows before it along.
    ASSERT_TRUE(db::execSql(s.accounting(), QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON SNDROW WHEN NEW.BES = 1 BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    QString why;
    EXPECT_FALSE(VoucherWriter(s).post(fourRows(), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("refused"))) << why.toStdString();
    EXPECT_EQ(snapshot(s), before);
}

// A year's file that is there but damaged is named as damaged, not as missing.
TEST(Vouchers, ADamagedAccountingDatabaseIsReportedAsDamaged)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    const QString file = d.dir.filePath(QStringLiteral("DATA/ORVAKC275C0Y1404.db"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.write(QByteArray(100, 'x'));
    }
    startup::CollectingPrompt quiet;
    EXPECT_FALSE(s.OpenAccountingYear(1404, QStringLiteral("0"), quiet));
    EXPECT_FALSE(s.AccountingDbOpen());
    EXPECT_TRUE(quiet.text().contains(QStringLiteral("خراب است"))) << quiet.text().toStdString();
    EXPECT_TRUE(quiet.text().contains(QStringLiteral("ORVAKC275C0Y1404.db"))) << quiet.text().toStdString();
}

TEST(Vouchers, WithoutTheYearsAccountingDatabaseReadsFindNothingAndPostingsAreRefused)
{
    test::DemoOffice d;
    startup::Session& s = *d.session;
    startup::CollectingPrompt quiet;
    EXPECT_FALSE(s.OpenAccountingYear(1390, QStringLiteral("0"), quiet));
    Vouchers v(s);
    EXPECT_FALSE(v.available());
    EXPECT_EQ(accountingYear(s), 0);
    const QString message = startup::accountingMissingMessage(QStringLiteral("ORVAKC275C0Y1390"));
    EXPECT_EQ(v.missingText(), message);
    EXPECT_EQ(quiet.text(), message);
    EXPECT_TRUE(v.lastNumber().empty());
    EXPECT_TRUE(v.voucher(1).empty());
    EXPECT_TRUE(v.range(1, 100).empty());
    EXPECT_TRUE(v.general(21007).empty());
    EXPECT_TRUE(v.rowsOfParty(1).empty());

    QString why;
    EXPECT_FALSE(VoucherWriter(s).post(fourRows(), &why));
    EXPECT_EQ(why, message);
    EXPECT_FALSE(VoucherWriter(s).reject(1, &why));
    EXPECT_EQ(why, message);
    EXPECT_FALSE(VoucherWriter(s).confirm(1, &why));
}
