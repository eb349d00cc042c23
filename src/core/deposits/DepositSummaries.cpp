#include "core/deposits/DepositSummaries.h"

#include "core/deposits/DepositKinds.h"
#include "core/deposits/DepositList.h"
#include "core/deposits/DepositPrints.h"
#include "core/letters/ReportFooter.h"
#include "core/startup/Session.h"
#include "core/util/Numbers.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace orvak::deposits {

namespace {

using io::CellFormat;
using io::ReportColumn;

qint64 rials(const QVariant& v) { return v.isNull() ? 0 : qint64(std::llround(v.toDouble())); }
QString amountText(qint64 v) { return v == 0 ? QStringLiteral("0") : util::FormatAmount(v); }
QString numberText(qint64 v) { return v ? QString::number(v) : QString(); }

io::LookupTable namesOf(startup::Session& session, const QString& title)
{
    for (const io::ListField& c : receivedDepositsList().columns) {
        if (c.title == title && c.lookup)
            return c.lookup(session);
    }
    return {};
}
io::LookupTable ownerNames(startup::Session& session) { return namesOf(session, QStringLiteral("صاحب سپرده")); }

// Runs a read; every row handed to each.
QString readRows(QSqlDatabase db, const QString& sql, const QVariantMap& binds, const std::function<void(const QSqlQuery&)>& each)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    QString error;
    if (!db::prepareBound(q, sql, binds, &error))
        return error.isEmpty() ? QStringLiteral("?") : error;
    if (!q.exec())
        return q.lastError().text();
    while (q.next())
        each(q);
    return {};
}

ReportColumn textColumn(const char* title, double weight, CellFormat f = CellFormat::Text) { return {QString::fromUtf8(title), weight, f, false}; }
ReportColumn sumColumn(const char* title) { return {QString::fromUtf8(title), 1.4, CellFormat::Amount, true}; }

// The three sums every grouped report ends its line with.
const char* const ThreeSums = "SUM(AMOUNT) AS S1, SUM(COALESCE(AMOUNT_RAD, 0)) AS S2, SUM(COALESCE(AMOUNT_MANDEH, 0)) AS S3";

struct Grouped {
    QList<QVariantList> keys;   // per line, the grouping values
    QList<std::vector<qint64>> sums;
};

// The listed rows summed per key (SQL grouping over the list's conditions).
db::Fetched<Grouped> grouped(startup::Session& session, const DepositFilter& filter, const QStringList& keys, const QString& extraSums,
                             const QString& from = QStringLiteral("SEP_DAR"), const QString& extra = {})
{
    const FilterSql where = filterSql(filter, extra);
    QString select = QStringLiteral("SELECT ") + keys.join(QStringLiteral(", ")) + QStringLiteral(", ") + QLatin1String(ThreeSums);
    if (!extraSums.isEmpty())
        select += QStringLiteral(", ") + extraSums;
    const QString sql = select + QStringLiteral(" FROM ") + from + QStringLiteral(" WHERE ") + where.where + QStringLiteral(" GROUP BY ")
        + keys.join(QStringLiteral(", ")) + QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", "));
    Grouped g;
    const int sumCount = 3 + (extraSums.isEmpty() ? 0 : 1);
    const QString error = readRows(session.deposits(), sql, where.binds, [&](const QSqlQuery& q) {
        QVariantList k;
        for (int i = 0; i < keys.size(); ++i)
            k << q.value(i);
        std::vector<qint64> s;
        for (int i = 0; i < sumCount; ++i)
            s.push_back(rials(q.value(int(keys.size()) + i)));
        g.keys << k;
        g.sums << s;
    });
    if (!error.isEmpty())
        return db::Fetched<Grouped>::failure(error);
    return db::Fetched<Grouped>::found(g);
}

io::ReportModel frame(const SummaryInfo& info, const DepositFilter& filter, std::vector<io::ReportSignature> signatures)
{
    io::ReportModel m;
    m.emptyBody = true;
    m.titleLines = {info.title, filter.periodText()};
    m.signatures = std::move(signatures);
    return m;
}

// Columns of texts then the sums, the first summed column in words.
void setColumns(io::ReportModel& m, const QList<ReportColumn>& columns)
{
    for (const ReportColumn& c : columns) {
        m.columns.push_back(c);
        if (c.total && m.wordsColumn < 0)
            m.wordsColumn = int(m.columns.size()) - 1;
    }
}

void addSums(io::ReportModel& m, QStringList texts, const std::vector<qint64>& sums)
{
    std::vector<double> values(texts.size(), 0.0);
    for (qint64 s : sums) {
        texts << amountText(s);
        values.push_back(double(s));
    }
    m.addRow(texts, values);
}

QList<ReportColumn> threeSums()
{
    return {sumColumn("مبلغ سپرده"), sumColumn("مبلغ استرداد شده"), sumColumn("مانده")};
}

// The listed deposits (with extra conditions) as the detailed list prints them.
db::Fetched<QList<PrintedDeposit>> depositsWith(startup::Session& session, const DepositFilter& filter, const QString& extra,
                                                const QString& order = {})
{
    using Rows = QList<PrintedDeposit>;
    FilterSql listed = listedSql(filter, QStringLiteral("SELECT * FROM SEP_DAR"), extra);
    if (!order.isEmpty()) {
        const qsizetype at = listed.where.lastIndexOf(QStringLiteral("ORDER BY"));
        if (at >= 0)
            listed.where = listed.where.left(at) + QStringLiteral("ORDER BY ") + order;
    }
    const io::LookupTable owners = ownerNames(session);
    const io::LookupTable projects = namesOf(session, QStringLiteral("نام پروژه"));
    const io::LookupTable contracts = namesOf(session, QStringLiteral("شماره قرارداد"));
    Rows rows;
    const QString error = readRows(session.deposits(), listed.where, listed.binds, [&](const QSqlQuery& q) {
        PrintedDeposit p;
        p.deposit = depositFrom(q.record());
        p.owner = owners.value(p.deposit.tafsili);
        p.project = projects.value(p.deposit.projNo);
        p.contractNo = contracts.value(p.deposit.payment);
        rows << p;
    });
    if (!error.isEmpty())
        return db::Fetched<Rows>::failure(error);
    return db::Fetched<Rows>::found(rows);
}

io::ReportModel depositLines(const SummaryInfo& info, const DepositFilter& filter, const QList<PrintedDeposit>& rows, bool withSent,
                             std::vector<io::ReportSignature> signatures)
{
    io::ReportModel m = frame(info, filter, std::move(signatures));
    QList<ReportColumn> cols = {textColumn("رديف", 0.5, CellFormat::Integer), textColumn("شماره قبض", 0.9, CellFormat::Integer),
                                textColumn("تاريخ قبض", 1.0, CellFormat::JalaliDate), textColumn("صاحب سپرده", 2.2),
                                textColumn("شماره مدرک واريزي", 1.2, CellFormat::Integer), textColumn("تاريخ واريز", 1.0, CellFormat::JalaliDate)};
    if (withSent)
        cols << textColumn("ش نامه صورت ريز ارسالي", 1.1);
    cols << threeSums();
    setColumns(m, cols);
    int n = 0;
    for (const PrintedDeposit& p : rows) {
        QStringList t = {QString::number(++n), numberText(p.deposit.sepNo), p.deposit.sepDate, p.owner, numberText(p.deposit.chkNo),
                         p.deposit.chkDate};
        if (withSent)
            t << p.deposit.ersalNo;
        addSums(m, t, {p.deposit.amount, p.deposit.amountRad, p.deposit.amountMandeh});
    }
    m.landscape = true;
    return m;
}

const QString NoRequestSql = QStringLiteral("NOT EXISTS (SELECT 1 FROM SEP_REQR q WHERE q.SEPIDX = SEP_DAR.IDX)");

} // namespace

const QList<SummaryInfo>& summaries()
{
    static const QList<SummaryInfo> all = {
        {Summary::Detailed, QStringLiteral("detailed"), QStringLiteral("صورت ريز سپرده هاي دريافتي"), QStringLiteral("SEP_DETAILED")},
        {Summary::ByOwnerContract, QStringLiteral("owner-contract"), QStringLiteral("ريز سپرده ها"), QStringLiteral("SEP_OWNER_CONTRACT")},
        {Summary::ByOwner, QStringLiteral("owner"), QStringLiteral("خلاصه سپرده ها به تفکيک صاحب سپرده"), QStringLiteral("SEP_OWNER")},
        {Summary::ByYear, QStringLiteral("year"), QStringLiteral("خلاصه سپرده ها به تفکيک سال"), QStringLiteral("SEP_YEAR")},
        {Summary::ByProject, QStringLiteral("project"), QStringLiteral("خلاصه سپرده ها به تفکيک پروژه"), QStringLiteral("SEP_PROJECT")},
        {Summary::ByContract, QStringLiteral("contract"), QStringLiteral("خلاصه سپرده ها به تفکيک قرارداد"), QStringLiteral("SEP_CONTRACT")},
        {Summary::AllOwners, QStringLiteral("all-owners"), QStringLiteral("مانده سپرده هاي همه صاحبان سپرده"), QStringLiteral("SEP_ALL_OWNERS")},
        {Summary::Requested, QStringLiteral("requested"), QStringLiteral("سپرده هاي درخواست و مسترد شده به تفکيک صاحب سپرده و قرارداد"),
         QStringLiteral("SEP_REQUESTED")},
        {Summary::NeverRequested, QStringLiteral("never-requested"), QStringLiteral("صورت ريز سپرده هايي که اصلا درخواست نشده اند"),
         QStringLiteral("SEP_NEVER_REQ")},
        {Summary::PartlyRequested, QStringLiteral("partly-requested"), QStringLiteral("صورت ريز سپرده هايي که قسمتي از آنها درخواست شده"),
         QStringLiteral("SEP_PARTLY_REQ")},
        {Summary::DepositRequests, QStringLiteral("deposit-requests"), QStringLiteral("درخواست هاي سپرده"), QStringLiteral("SEP_DEPOSIT_REQ")},
        {Summary::SentToTreasury, QStringLiteral("treasury"), QStringLiteral("صورت ريز سپرده هاي ارسالي به خزانه"), QStringLiteral("SEP_TREASURY")},
        {Summary::Yearly, QStringLiteral("yearly"), QStringLiteral("گزارش ساليانه"), QStringLiteral("SEP_YEARLY")},
    };
    return all;
}

std::optional<SummaryInfo> summaryNamed(const QString& name)
{
    for (const SummaryInfo& s : summaries()) {
        if (s.name == name)
            return s;
    }
    return std::nullopt;
}

SummaryInfo summaryInfo(Summary id)
{
    for (const SummaryInfo& s : summaries()) {
        if (s.id == id)
            return s;
    }
    return summaries().front();
}

db::Fetched<io::ReportModel> summaryReport(startup::Session& session, Summary id, const SummaryRequest& request)
{
    const SummaryInfo info = summaryInfo(id);
    const auto footer = letters::GetReportFooter(session, info.kindrep, DepositReportGroup);
    if (footer.failed())
        return db::Fetched<io::ReportModel>::failure(footer.error());
    return summaryReport(session, id, request, letters::footerSignatures(footer.value_or({})));
}

db::Fetched<io::ReportModel> summaryReport(startup::Session& session, Summary id, const SummaryRequest& request,
                                           std::vector<io::ReportSignature> signatures)
{
    using Result = db::Fetched<io::ReportModel>;
    const SummaryInfo info = summaryInfo(id);
    const DepositFilter& filter = request.filter;
    io::ReportModel m = frame(info, filter, signatures);
    auto failed = [](const QString& e) { return Result::failure(e); };

    switch (id) {
    case Summary::Detailed: {
        const auto rows = depositsWith(session, filter, {});
        if (!rows)
            return failed(rows.error());
        const int model = std::clamp(request.model, 0, int(ListPrint::ByYear));
        io::ReportModel d = depositListReport(*rows, ListPrint(model), session.clock().todayJalali(), std::move(signatures));
        d.titleLines.prepend(info.title);
        d.emptyBody = true;
        return Result::found(d);
    }
    case Summary::ByOwnerContract:
    case Summary::ByOwner:
    case Summary::AllOwners: {
        const bool contract = id == Summary::ByOwnerContract;
        const auto g = grouped(session, filter, contract ? QStringList{QStringLiteral("TAFSILI"), QStringLiteral("PAYMENT")}
                                                         : QStringList{QStringLiteral("TAFSILI")},
                               {});
        if (!g)
            return failed(g.error());
        const io::LookupTable owners = ownerNames(session);
        const io::LookupTable contracts = namesOf(session, QStringLiteral("شماره قرارداد"));
        QList<int> order(g->keys.size());
        std::iota(order.begin(), order.end(), 0);
        if (id == Summary::AllOwners) {
            // Ordered by name, as the common detail-account list is.
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                return owners.value(g->keys[a][0].toLongLong()) < owners.value(g->keys[b][0].toLongLong());
            });
        }
        QList<ReportColumn> cols = {textColumn("كد", 0.6, CellFormat::Integer), textColumn("صاحب سپرده", 2.6)};
        if (contract)
            cols << textColumn("شماره قرارداد", 1.2);
        setColumns(m, cols + threeSums());
        for (int i : order) {
            const qint64 owner = g->keys[i][0].toLongLong();
            QStringList t = {QString::number(owner), owners.value(owner)};
            if (contract)
                t << contracts.value(g->keys[i][1].toLongLong());
            addSums(m, t, g->sums[i]);
        }
        if (contract)
            m.groupColumn = 1;
        return Result::found(m);
    }
    case Summary::ByYear: {
        const auto g = grouped(session, filter, {QStringLiteral("MY")}, {});
        if (!g)
            return failed(g.error());
        setColumns(m, QList<ReportColumn>{textColumn("سال", 0.8, CellFormat::Integer)} + threeSums());
        for (int i = 0; i < g->keys.size(); ++i)
            addSums(m, {g->keys[i][0].toString()}, g->sums[i]);
        return Result::found(m);
    }
    case Summary::ByProject:
    case Summary::ByContract: {
        DepositFilter f = filter;
        if (request.owner >= 0)
            f.owner = request.owner;
        const bool project = id == Summary::ByProject;
        const QStringList keys = project ? QStringList{QStringLiteral("PROJNO")}
                                         : QStringList{QStringLiteral("TAFSILI"), QStringLiteral("PAYMENT")};
        const auto g = grouped(session, f, keys, {});
        if (!g)
            return failed(g.error());
        const io::LookupTable owners = ownerNames(session);
        const io::LookupTable names = namesOf(session, project ? QStringLiteral("نام پروژه") : QStringLiteral("شماره قرارداد"));
        if (request.owner >= 0)
            m.titleLines << owners.value(request.owner);
        if (project) {
            setColumns(m, QList<ReportColumn>{textColumn("كد پروژه", 0.7, CellFormat::Integer), textColumn("نام پروژه", 2.6)} + threeSums());
            for (int i = 0; i < g->keys.size(); ++i) {
                const qint64 p = g->keys[i][0].toLongLong();
                addSums(m, {QString::number(p), names.value(p)}, g->sums[i]);
            }
        } else {
            // The owner's totals as the group's sub-totals.
            setColumns(m, QList<ReportColumn>{textColumn("صاحب سپرده", 2.2), textColumn("شماره قرارداد", 1.4)} + threeSums());
            for (int i = 0; i < g->keys.size(); ++i) {
                addSums(m, {owners.value(g->keys[i][0].toLongLong()), names.value(g->keys[i][1].toLongLong())}, g->sums[i]);
            }
            m.groupColumn = 0;
        }
        return Result::found(m);
    }
    case Summary::Requested: {
        const auto g = grouped(session, filter, {QStringLiteral("TAFSILI"), QStringLiteral("PAYMENT")},
                               QStringLiteral("SUM(COALESCE(View1.sumAmount, 0)) AS S4"),
                               QStringLiteral("SEP_DAR LEFT JOIN View1 ON View1.sepidx = SEP_DAR.IDX"));
        if (!g)
            return failed(g.error());
        const io::LookupTable owners = ownerNames(session);
        const io::LookupTable contracts = namesOf(session, QStringLiteral("شماره قرارداد"));
        setColumns(m, QList<ReportColumn>{textColumn("صاحب سپرده", 2.2), textColumn("شماره قرارداد", 1.2)} + threeSums()
                          + QList<ReportColumn>{sumColumn("مبلغ درخواست شده")});
        QList<int> order(g->keys.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return owners.value(g->keys[a][0].toLongLong()) < owners.value(g->keys[b][0].toLongLong());
        });
        for (int i : order)
            addSums(m, {owners.value(g->keys[i][0].toLongLong()), contracts.value(g->keys[i][1].toLongLong())}, g->sums[i]);
        m.groupColumn = 0;
        m.landscape = true;
        return Result::found(m);
    }
    case Summary::NeverRequested:
    case Summary::SentToTreasury: {
        const bool sent = id == Summary::SentToTreasury;
        const auto rows = depositsWith(session, filter, sent ? QStringLiteral("COALESCE(TIK_ERSAL, 0) = 1") : NoRequestSql,
                                       sent ? QStringLiteral("SEPNO, IDX") : QString());
        if (!rows)
            return failed(rows.error());
        return Result::found(depositLines(info, filter, *rows, sent, std::move(signatures)));
    }
    case Summary::PartlyRequested: {
        const FilterSql where = filterSql(filter, QStringLiteral("COALESCE(AMOUNT, 0) <> View1.sumAmount"));
        setColumns(m, {textColumn("شناسه", 0.7, CellFormat::Integer), textColumn("شماره قبض", 0.9, CellFormat::Integer),
                       textColumn("تاريخ قبض", 1.0, CellFormat::JalaliDate), sumColumn("مبلغ سپرده"), sumColumn("مبلغ درخواست شده")});
        const QString error = readRows(session.deposits(),
                                       QStringLiteral("SELECT IDX, AMOUNT, SEPNO, SEPDATE, View1.sumAmount FROM SEP_DAR JOIN View1 ON View1.sepidx = SEP_DAR.IDX WHERE ")
                                           + where.where + QStringLiteral(" ORDER BY IDX"),
                                       where.binds, [&](const QSqlQuery& q) {
                                           const qint64 a = rials(q.value(1)), r = rials(q.value(4));
                                           m.addRow({q.value(0).toString(), numberText(q.value(2).toLongLong()), q.value(3).toString(),
                                                     amountText(a), amountText(r)},
                                                    {0, 0, 0, double(a), double(r)});
                                       });
        if (!error.isEmpty())
            return failed(error);
        return Result::found(m);
    }
    case Summary::DepositRequests: {
        m.titleLines = {info.title, QStringLiteral("شناسه سپرده ") + QString::number(request.deposit)};
        setColumns(m, {textColumn("شماره درخواست", 1.2), textColumn("تاريخ درخواست", 1.0, CellFormat::JalaliDate),
                       textColumn("رديف", 0.5, CellFormat::Integer), textColumn("شرح", 2.4), sumColumn("مبلغ درخواست شده")});
        qint64 sum = 0;
        int count = 0;
        const QString error = readRows(session.deposits(),
                                       QStringLiteral("SELECT h.REQNO, h.REQDATE, r.REQ_ROW, r.DESCR, r.AMOUNT FROM SEP_REQR r "
                                                      "LEFT JOIN SEP_REQH h ON h.REQ_IDX = r.REQ_IDX WHERE r.SEPIDX = :Dep ORDER BY r.REQ_IDX, r.REQ_ROW"),
                                       {{QStringLiteral(":Dep"), request.deposit}}, [&](const QSqlQuery& q) {
                                           const qint64 a = rials(q.value(4));
                                           sum += a;
                                           ++count;
                                           m.addRow({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                                                     amountText(a)},
                                                    {0, 0, 0, 0, double(a)});
                                       });
        if (!error.isEmpty())
            return failed(error);
        m.titleLines << QStringLiteral("تعداد درخواست ها: %1   جمع: %2").arg(count).arg(amountText(sum));
        return Result::found(m);
    }
    case Summary::Yearly: {
        const auto filled = fillYearlyReport(session, filter);
        if (!filled)
            return failed(filled.error());
        const io::LookupTable owners = ownerNames(session);
        const io::LookupTable contracts = namesOf(session, QStringLiteral("شماره قرارداد"));
        setColumns(m, QList<ReportColumn>{textColumn("سال", 0.6, CellFormat::Integer), textColumn("صاحب سپرده", 2.2),
                                          textColumn("شماره قرارداد", 1.1), textColumn("نوع سپرده", 1.8)}
                          + threeSums());
        const QString error = readRows(session.deposits(),
                                       QStringLiteral("SELECT Y, TAFSILI, PAYMENT, SEPKIND, AMOUNT, AMOUNT_RAD, AMOUNT_MANDEH FROM REP_SEP02 "
                                                      "WHERE UID = :U ORDER BY ROW"),
                                       {{QStringLiteral(":U"), session.currentUserCode()}}, [&](const QSqlQuery& q) {
                                           addSums(m, {q.value(0).toString(), owners.value(q.value(1).toLongLong()),
                                                       contracts.value(q.value(2).toLongLong()), kindListText(q.value(3).toInt())},
                                                   {rials(q.value(4)), rials(q.value(5)), rials(q.value(6))});
                                       });
        if (!error.isEmpty())
            return failed(error);
        m.groupColumn = 0;
        m.landscape = true;
        return Result::found(m);
    }
    }

    return Result::failure(QStringLiteral("?"));
}

db::Fetched<int> fillYearlyReport(startup::Session& session, const DepositFilter& filter)
{
    const FilterSql where = filterSql(filter);
    QVariantMap binds = where.binds;
    binds.insert(QStringLiteral(":U"), session.currentUserCode());
    int written = 0;
    QString error;
    // A work table of the user's own: replaced whole, so that a report never reads
    // half of an earlier filling.
    const bool ok = session.inWork(
        [&](db::UnitOfWork& w) {
            written = 0;
            if (!w.exec(QStringLiteral("DELETE FROM {deposits}.REP_SEP02 WHERE UID = :U"), {{QStringLiteral(":U"), session.currentUserCode()}}))
                return false;
            QSqlQuery q(w.connection());
            q.setForwardOnly(true);
            QString why;
            const QString sql = w.resolve(QStringLiteral("SELECT MY, TAFSILI, PAYMENT, SEPKIND, ") + QLatin1String(ThreeSums)
                                          + QStringLiteral(" FROM {deposits}.SEP_DAR WHERE ") + where.where
                                          + QStringLiteral(" GROUP BY MY, TAFSILI, PAYMENT, SEPKIND ORDER BY MY, TAFSILI, PAYMENT, SEPKIND"));
            if (!db::prepareBound(q, sql, where.binds, &why) || !q.exec())
                return w.fail(why.isEmpty() ? q.lastError().text() : why);
            QList<QVariantList> rows;
            while (q.next())
                rows << QVariantList{q.value(0), q.value(1), q.value(2), q.value(3), q.value(4), q.value(5), q.value(6)};
            q.finish();
            for (const QVariantList& r : rows) {
                ++written;
                if (!w.exec(QStringLiteral("INSERT INTO {deposits}.REP_SEP02 (UID, ROW, Y, TAFSILI, PAYMENT, SEPKIND, AMOUNT, AMOUNT_RAD, AMOUNT_MANDEH) "
                                           "VALUES (:U, :R, :Y, :T, :P, :K, :A, :D, :M)"),
                            {{QStringLiteral(":U"), session.currentUserCode()}, {QStringLiteral(":R"), written}, {QStringLiteral(":Y"), r[0]},
                             {QStringLiteral(":T"), r[1]}, {QStringLiteral(":P"), r[2]}, {QStringLiteral(":K"), r[3]}, {QStringLiteral(":A"), r[4]},
                             {QStringLiteral(":D"), r[5]}, {QStringLiteral(":M"), r[6]}}))
                    return false;
            }
            return true;
        },
        &error);
    if (!ok)
        return db::Fetched<int>::failure(error);
    return db::Fetched<int>::found(written);
}

// ---- the owner's ledger

QString ledgerKindText(const LedgerLine& line) { return line.refund ? QStringLiteral("استرداد") : QStringLiteral("دريافت"); }
QString ledgerReceiptPromptText() { return QStringLiteral("شماره قبض/فيش را وارد كنيد"); }

db::Fetched<QList<LedgerLine>> ownerLedger(startup::Session& session, int owner, int contract)
{
    using Lines = QList<LedgerLine>;
    QVariantMap binds{{QStringLiteral(":O"), owner}, {QStringLiteral(":P"), contract}};
    const QString sql = QStringLiteral(
        "SELECT 0 AS K, SEPDATE, SEPNO, AMOUNT, 0 AS PAID, CHKNO, CHKDATE, DESCR, IDX, PROJNO FROM SEP_DAR "
        "WHERE TAFSILI = :O AND (:P = -1 OR PAYMENT = :P) "
        "UNION ALL "
        "SELECT 1 AS K, '' AS SEPDATE, 0 AS SEPNO, 0 AS AMOUNT, c.AMOUNT AS PAID, c.CHKNO, c.CHKDATE, c.DESCR, c.RAD_IDX AS IDX, c.PROJNO "
        "FROM SEP_RADR2 c WHERE c.RAD_IDX IN (SELECT r.RAD_IDX FROM SEP_RADR1 r WHERE r.TAFSILI = :O AND (:P = -1 OR r.PAYMAN = :P)) "
        "ORDER BY CHKDATE, K, IDX");
    Lines lines;
    qint64 balance = 0;
    const QString error = readRows(session.deposits(), sql, binds, [&](const QSqlQuery& q) {
        LedgerLine l;
        l.refund = q.value(0).toInt() == 1;
        l.date = q.value(1).toString();
        l.document = q.value(2).toLongLong();
        l.received = rials(q.value(3));
        l.paid = rials(q.value(4));
        l.chequeNo = q.value(5).toLongLong();
        l.chequeDate = q.value(6).toString();
        l.description = q.value(7).toString();
        l.idx = q.value(8).toInt();
        l.project = q.value(9).isNull() ? -1 : q.value(9).toInt();
        balance += l.received - l.paid;
        l.balance = balance;
        lines << l;
    });
    if (!error.isEmpty())
        return db::Fetched<Lines>::failure(error);
    return db::Fetched<Lines>::found(lines);
}

io::ReportModel ledgerReport(const QList<LedgerLine>& lines, const QString& ownerName, bool debtRegister,
                             std::vector<io::ReportSignature> signatures)
{
    io::ReportModel m;
    m.emptyBody = true;
    m.titleLines = {debtRegister ? QStringLiteral("گزارش سپرده ها براي سامانه بدهي")
                                 : QStringLiteral("دفتر سپرده هاي دريافتي و پرداختي به تفکيک صاحبان سپرده"),
                    ownerName};
    m.signatures = std::move(signatures);
    setColumns(m, {textColumn("نوع", 0.8), textColumn("تاريخ", 1.0, CellFormat::JalaliDate), textColumn("شماره سند", 0.8, CellFormat::Integer),
                   sumColumn("دريافت"), sumColumn("پرداخت"), textColumn("شماره چک/فيش", 1.2, CellFormat::Integer),
                   textColumn("تاريخ چک/فيش", 1.0, CellFormat::JalaliDate), textColumn("شرح", 2.2),
                   {QStringLiteral("مانده"), 1.4, CellFormat::Amount, false}});
    for (const LedgerLine& l : lines) {
        m.addRow({ledgerKindText(l), l.date, QString::number(l.document), amountText(l.received), amountText(l.paid), numberText(l.chequeNo),
                  l.chequeDate, l.description, amountText(l.balance)},
                 {0, 0, 0, double(l.received), double(l.paid), 0, 0, 0, 0});
    }
    m.landscape = true;
    return m;
}

int findLedgerLine(const QList<LedgerLine>& lines, LedgerSearch by, qint64 value, int from)
{
    for (int i = std::max(0, from); i < lines.size(); ++i) {
        const LedgerLine& l = lines[i];
        const bool hit = by == LedgerSearch::Receipt ? (l.document == value || l.chequeNo == value)
                       : by == LedgerSearch::Amount  ? (l.received == value || l.paid == value)
                                                     : l.project == value;
        if (hit)
            return i;
    }
    return -1;
}

// ---- balances

db::Fetched<QList<OwnerBalance>> ownerBalances(startup::Session& session, int owner, const QString& asOf)
{
    using Rows = QList<OwnerBalance>;
    QVariantMap binds{{QStringLiteral(":O"), owner}};
    QString sql;
    if (asOf.isEmpty()) {
        sql = QStringLiteral("SELECT TAFSILI, SUM(AMOUNT), SUM(COALESCE(AMOUNT_RAD, 0)), SUM(COALESCE(AMOUNT_MANDEH, 0)), COUNT(*) FROM SEP_DAR "
                             "WHERE TAFSILI IS NOT NULL AND (:O = -1 OR TAFSILI = :O) GROUP BY TAFSILI ORDER BY TAFSILI");
    } else {
        binds.insert(QStringLiteral(":D"), asOf);
        sql = QStringLiteral(
            "SELECT d.TAFSILI, SUM(d.AMOUNT), SUM(COALESCE(x.RAD, 0)), SUM(d.AMOUNT) - SUM(COALESCE(x.RAD, 0)), COUNT(*) FROM SEP_DAR d "
            "LEFT JOIN (SELECT r.SEPIDX, SUM(r.AMOUNT) AS RAD FROM SEP_RADR1 r JOIN SEP_RADH h ON h.RAD_IDX = r.RAD_IDX "
            "WHERE h.RADDATE <= :D GROUP BY r.SEPIDX) x ON x.SEPIDX = d.IDX "
            "WHERE d.TAFSILI IS NOT NULL AND (:O = -1 OR d.TAFSILI = :O) AND d.CHKDATE <= :D GROUP BY d.TAFSILI ORDER BY d.TAFSILI");
    }
    const io::LookupTable owners = ownerNames(session);
    Rows rows;
    const QString error = readRows(session.deposits(), sql, binds, [&](const QSqlQuery& q) {
        OwnerBalance b;
        b.owner = q.value(0).toInt();
        b.name = owners.value(b.owner);
        b.amount = rials(q.value(1));
        b.refunded = rials(q.value(2));
        b.balance = rials(q.value(3));
        b.deposits = q.value(4).toInt();
        rows << b;
    });
    if (!error.isEmpty())
        return db::Fetched<Rows>::failure(error);
    return db::Fetched<Rows>::found(rows);
}

// ---- the balance browser

QStringList balanceKindTexts()
{
    return {QStringLiteral("همه سپرده ها"), QStringLiteral("سپرده  بدون مانده"), QStringLiteral("سپرده هاي داراي مانده")};
}

QString balanceKindSql(BalanceKind kind)
{
    switch (kind) {
    case BalanceKind::All: return {};
    case BalanceKind::Zero: return QStringLiteral("COALESCE(AMOUNT_MANDEH, 0) = 0");
    case BalanceKind::NonZero: return QStringLiteral("COALESCE(AMOUNT_MANDEH, 0) <> 0");
    }
    return {};
}

QString browserKindText(int kind) { return kind >= 1 && kind <= 3 ? kindListText(kind) : QString(); }

io::ListDefinition balanceBrowserList(const DepositFilter& filter, BalanceKind kind)
{
    io::ListDefinition d = receivedDepositsList(filter);
    d.name = QStringLiteral("deposit-balances");
    d.title = QStringLiteral("مرور و گزارش سپرده هاي دريافتي");
    const FilterSql where = filterSql(filter, balanceKindSql(kind));
    d.sql = QStringLiteral("SELECT * FROM SEP_DAR WHERE ") + where.where + QStringLiteral("\nORDER BY ") + orderSql(filter);
    d.parameters.clear();
    for (auto it = where.binds.cbegin(); it != where.binds.cend(); ++it)
        d.parameters.append({it.key(), it.value()});
    io::CodeTexts kinds;
    for (int k = 1; k <= 3; ++k)
        kinds.entries.append({k, kindListText(k)});
    for (io::ListField& f : d.columns) {
        if (f.field == QStringLiteral("SEPKIND") && !f.codes.isEmpty())
            f.codes = kinds;
    }
    return d;
}

io::ListDefinition balanceBrowserList()
{
    DepositFilter f;
    return balanceBrowserList(f, BalanceKind::All);
}

// ---- the overview and the charts

db::Fetched<DepositOverview> depositOverview(startup::Session& session)
{
    DepositOverview o;
    const auto row = db::firstRow(session.deposits(),
                                  QStringLiteral("SELECT SUM(COALESCE(AMOUNT_MANDEH, 0)), "
                                                 "SUM(CASE WHEN COALESCE(AMOUNT_MANDEH, 0) <> 0 THEN 1 ELSE 0 END), "
                                                 "SUM(CASE WHEN COALESCE(SEPNO, 0) = 0 THEN 1 ELSE 0 END), "
                                                 "SUM(CASE WHEN COALESCE(TIK_ERSAL, 0) = 1 AND COALESCE(ELAMBESIDX, 0) = 0 THEN 1 ELSE 0 END) FROM SEP_DAR"));
    if (row.failed())
        return db::Fetched<DepositOverview>::failure(row.error());
    if (row) {
        o.openBalance = rials(row->value(0));
        o.openDeposits = row->value(1).toInt();
        o.awaitingReceipt = row->value(2).toInt();
        o.creditMissing = row->value(3).toInt();
    }
    const auto waiting = db::scalar(session.deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_REQH WHERE REQSTATUSE IN (1, 2)"));
    if (waiting.failed())
        return db::Fetched<DepositOverview>::failure(waiting.error());
    o.awaitingTreasury = waiting ? waiting->toInt() : 0;
    return db::Fetched<DepositOverview>::found(o);
}

db::Fetched<QList<ChartPoint>> receivedRefundedByMonth(startup::Session& session, int year)
{
    using Points = QList<ChartPoint>;
    Points points;
    for (int m = 1; m <= 12; ++m)
        points << ChartPoint{monthName(m), 0, 0};
    const QVariantMap binds{{QStringLiteral(":Y"), year}, {QStringLiteral(":From"), QStringLiteral("%1/01/01").arg(year)},
                            {QStringLiteral(":To"), QStringLiteral("%1/12/31").arg(year)}};
    QString error = readRows(session.deposits(), QStringLiteral("SELECT MM, SUM(AMOUNT) FROM SEP_DAR WHERE MY = :Y AND MM BETWEEN 1 AND 12 GROUP BY MM"),
                             binds, [&](const QSqlQuery& q) { points[q.value(0).toInt() - 1].value = rials(q.value(1)); });
    if (error.isEmpty()) {
        error = readRows(session.deposits(),
                         QStringLiteral("SELECT h.RADDATE, SUM(r.AMOUNT) FROM SEP_RADR1 r JOIN SEP_RADH h ON h.RAD_IDX = r.RAD_IDX "
                                        "WHERE h.RADDATE BETWEEN :From AND :To GROUP BY h.RADDATE"),
                         binds, [&](const QSqlQuery& q) {
                             const int m = q.value(0).toString().mid(5, 2).toInt();
                             if (m >= 1 && m <= 12)
                                 points[m - 1].second += rials(q.value(1));
                         });
    }
    if (!error.isEmpty())
        return db::Fetched<Points>::failure(error);
    return db::Fetched<Points>::found(points);
}

db::Fetched<QList<ChartPoint>> balanceByKind(startup::Session& session)
{
    using Points = QList<ChartPoint>;
    Points points;
    const QString error = readRows(session.deposits(),
                                   QStringLiteral("SELECT SEPKIND, SUM(COALESCE(AMOUNT_MANDEH, 0)) FROM SEP_DAR GROUP BY SEPKIND HAVING SUM(COALESCE(AMOUNT_MANDEH, 0)) <> 0 ORDER BY SEPKIND"),
                                   {}, [&](const QSqlQuery& q) { points << ChartPoint{kindListText(q.value(0).toInt()), rials(q.value(1)), 0}; });
    if (!error.isEmpty())
        return db::Fetched<Points>::failure(error);
    return db::Fetched<Points>::found(points);
}

db::Fetched<QList<ChartPoint>> largestOwners(startup::Session& session, int count)
{
    using Points = QList<ChartPoint>;
    const io::LookupTable owners = ownerNames(session);
    Points points;
    const QString error = readRows(session.deposits(),
                                   QStringLiteral("SELECT TAFSILI, SUM(COALESCE(AMOUNT_MANDEH, 0)) AS B FROM SEP_DAR WHERE TAFSILI IS NOT NULL "
                                                  "GROUP BY TAFSILI ORDER BY B DESC, TAFSILI"),
                                   {}, [&](const QSqlQuery& q) {
                                       if (points.size() < count)
                                           points << ChartPoint{owners.value(q.value(0).toLongLong()), rials(q.value(1)), 0};
                                   });
    if (!error.isEmpty())
        return db::Fetched<Points>::failure(error);
    return db::Fetched<Points>::found(points);
}

} // namespace orvak::deposits
