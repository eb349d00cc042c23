#include "core/deposits/RequestRefundLists.h"
#include "core/io/ListData.h"
#include "support/DemoOffice.h"
#include "support/TestSupport.h"

using namespace orvak;

namespace {

qint64 count(QSqlDatabase db, const char* sql) { return db::scalar(db, QString::fromUtf8(sql)).value_or(QVariant(-1)).toLongLong(); }

io::RowSet listed(startup::Session& s, const io::ListDefinition& d)
{
    io::RowSet rows;
    QString why;
    EXPECT_TRUE(rows.open(s.deposits(), d.sql, d.defaultParameters(), &why)) << why.toStdString();
    rows.fetchAll();
    return rows;
}

} // namespace

// The demo's requests, refunds and floats agree with the registers' rules, and the
// control lists show what was planted for them.
TEST(RequestDemo, RequestsRefundsAndFloatsFollowTheRulesAndTheMismatchesShow)
{
    test::DemoOffice o;
    QSqlDatabase db = o.session->deposits();
    const char* const broken[] = {
        "SELECT COUNT(*) FROM SEP_DAR d WHERE TIK_DARKHASTVJH <> CASE WHEN EXISTS (SELECT 1 FROM SEP_REQR q JOIN SEP_REQH h ON h.REQ_IDX = q.REQ_IDX "
        "WHERE q.SEPIDX = d.IDX AND h.REQSTATUSE >= 1) THEN 1 ELSE 0 END OR TIK_DARKHASTVJHOK <> CASE WHEN EXISTS (SELECT 1 FROM SEP_REQR q JOIN "
        "SEP_REQH h ON h.REQ_IDX = q.REQ_IDX WHERE q.SEPIDX = d.IDX AND h.REQSTATUSE >= 3) THEN 1 ELSE 0 END",
        "SELECT COUNT(*) FROM SEP_DAR d WHERE TANKHAHSTATUS <> CASE WHEN EXISTS (SELECT 1 FROM SEP_RADR1 r JOIN SEP_RADH h ON h.RAD_IDX = r.RAD_IDX "
        "WHERE r.SEPIDX = d.IDX AND h.TIK_AZTANKHAH = 1) THEN 1 ELSE 0 END",
        "SELECT COUNT(*) FROM SEP_DAR d WHERE TIK_ESTERDAD <> CASE WHEN EXISTS (SELECT 1 FROM SEP_RADR1 r WHERE r.SEPIDX = d.IDX) THEN 1 ELSE 0 END",
        "SELECT COUNT(*) FROM SEP_DAR WHERE AMOUNT_MANDEH < 0",
        "SELECT COUNT(*) FROM SEP_REQH WHERE ANS_AMOUNT > REQ_AMOUNT",
        "SELECT COUNT(*) FROM SEP_REQR q JOIN SEP_REQH h ON h.REQ_IDX = q.REQ_IDX WHERE q.REQSTATUSE <> h.REQSTATUSE",
        "SELECT COUNT(*) FROM SEP_REQR q WHERE NOT EXISTS (SELECT 1 FROM SEP_REQH h WHERE h.REQ_IDX = q.REQ_IDX)",
        "SELECT COUNT(*) FROM SEP_RADR1 r WHERE NOT EXISTS (SELECT 1 FROM SEP_RADH h WHERE h.RAD_IDX = r.RAD_IDX)",
        "SELECT COUNT(*) FROM SEP_RADR1 r WHERE r.REQIDX > 0 AND NOT EXISTS (SELECT 1 FROM SEP_REQR q WHERE q.REQ_IDX = r.REQIDX AND q.REQ_ROW = r.REQROW "
        "AND q.SEPIDX = r.SEPIDX)",
        "SELECT COUNT(*) FROM (SELECT REQIDX, REQROW FROM SEP_RADR1 WHERE REQIDX > 0 GROUP BY REQIDX, REQROW HAVING COUNT(*) > 1) t",
    };
    for (const char* sql : broken)
        EXPECT_EQ(count(db, sql), 0) << sql;

    const io::RowSet notRequested = listed(*o.session, deposits::refundedNotRequestedList());
    int byHand = 0;
    for (int r = 0; r < notRequested.rowCount(); ++r)
        byHand += io::fieldValue(notRequested, r, QStringLiteral("DESCR")).toString() == QStringLiteral("استرداد مستقيم بدون درخواست وجه از خزانه");
    EXPECT_EQ(byHand, 3);
    EXPECT_GT(notRequested.rowCount(), byHand);   // the floats' refunds besides

    const io::RowSet notRefunded = listed(*o.session, deposits::requestedNotRefundedList());
    int waiting = 0;
    for (int r = 0; r < notRefunded.rowCount(); ++r)
        waiting += io::fieldValue(notRefunded, r, QStringLiteral("DESCR")).toString() == QStringLiteral("درخواست شده و واريز شده، در انتظار استرداد");
    EXPECT_EQ(waiting, 2);
}

// Every list's summed columns, as the frame sums them in SQL over the list's own
// parameters, are what its rows add up to (an empty bound must not read as NULL).
TEST(RequestDemo, TheListsTotalsAreTheirRowsSums)
{
    test::DemoOffice o;
    for (const io::ListDefinition& d : deposits::requestRefundLists()) {
        QStringList fields;
        for (const io::ListField& c : d.columns) {
            if (c.total && !c.isComputed())
                fields << c.field;
        }
        if (fields.isEmpty())
            continue;
        const io::RowSet rows = listed(*o.session, d);
        const auto sums = io::sumsOver(o.session->deposits(), d.sql, d.defaultParameters(), fields);
        ASSERT_TRUE(sums) << d.name.toStdString();
        for (qsizetype i = 0; i < fields.size(); ++i) {
            double expected = 0;
            for (int r = 0; r < rows.rowCount(); ++r)
                expected += rows.number(r, rows.fieldIndex(fields[i]));
            EXPECT_DOUBLE_EQ((*sums)[size_t(i)], expected) << d.name.toStdString() << " " << fields[i].toStdString();
        }
        if (d.name == QLatin1String("fund-requests") || d.name == QLatin1String("refunds") || d.name == QLatin1String("refunded-deposits")) {
            EXPECT_GT(rows.rowCount(), 0) << d.name.toStdString();
        }
    }
}
