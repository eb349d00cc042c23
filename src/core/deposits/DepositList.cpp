#include "core/deposits/DepositList.h"

#include "core/basedata/Lookups.h"
#include "core/deposits/CreditLetters.h"
#include "core/deposits/Deposit.h"
#include "core/deposits/DepositDescriptions.h"
#include "core/deposits/DepositKinds.h"
#include "core/startup/Session.h"

#include "core/accounting/VoucherWriter.h"

#include <QSqlQuery>
#include <cmath>

namespace orvak::deposits {

namespace {

using io::CellFormat;

io::LookupReader commonTexts(const char* sql) { return basedata::namesReader(sql, true); }
io::LookupReader depositTexts(const char* sql) { return basedata::namesReader(sql, false, db::Store::Deposits); }

QList<io::ListField> depositColumnsShown()
{
    return {
        io::dataField(QStringLiteral("IDX"), QStringLiteral("شناسه"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("SEPROW"), QStringLiteral("رديف"), 45, CellFormat::Integer),
        io::dataField(QStringLiteral("TIKSUDMO"), QStringLiteral("تائيد"), 35),
        io::dataField(QStringLiteral("SEPNO"), QStringLiteral("شماره قبض سپرده"), 100, CellFormat::Integer),
        io::dataField(QStringLiteral("SEPDATE"), QStringLiteral("تاريخ قبض"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("TAFSILI"), QStringLiteral("كد صاحب سپرده"), 90, CellFormat::Integer),
        io::lookupField(QStringLiteral("TAFSILI"), QStringLiteral("صاحب سپرده"), 200,
                        commonTexts("SELECT CODE, NAME FROM TAFSILI WHERE CI = :CI")),
        io::lookupField(QStringLiteral("TAFSILI"), QStringLiteral("شناسه/کد ملي"), 90,
                        commonTexts("SELECT CODE, NID FROM TAFSILI WHERE CI = :CI")),
        io::dataField(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ سپرده"), 100, CellFormat::Amount, true),
        io::dataField(QStringLiteral("AMOUNT_RAD"), QStringLiteral("مبلغ استرداد شده"), 100, CellFormat::Amount, true),
        io::dataField(QStringLiteral("AMOUNT_MANDEH"), QStringLiteral("مانده"), 100, CellFormat::Amount, true),
        io::dataField(QStringLiteral("CHKNO"), QStringLiteral("شماره مدرک واريزي"), 100, CellFormat::Integer),
        io::dataField(QStringLiteral("CHKDATE"), QStringLiteral("تاريخ واريز"), 80, CellFormat::JalaliDate),
        io::codeField(QStringLiteral("SEPKIND"), QStringLiteral("نوع سپرده"), 180, kindCodeTexts()),
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("شرح/بابت"), 200),
        io::lookupField(QStringLiteral("PAYMENT"), QStringLiteral("شماره قرارداد"), 90,
                        commonTexts("SELECT CODE, PAYMENTNO FROM PAYMENTS WHERE CI = :CI")),
        io::lookupField(QStringLiteral("PAYMENT"), QStringLiteral("تاريخ قرارداد"), 80,
                        commonTexts("SELECT CODE, PAYMENTDATE FROM PAYMENTS WHERE CI = :CI")),
        io::lookupField(QStringLiteral("PAYMENT"), QStringLiteral("موضوع قرارداد"), 180,
                        commonTexts("SELECT CODE, DESCR FROM PAYMENTS WHERE CI = :CI")),
        io::lookupField(QStringLiteral("TARHNO"), QStringLiteral("طرح"), 160,
                        commonTexts("SELECT CODE, NAMET FROM TARH WHERE CI = :CI")),
        io::lookupField(QStringLiteral("PROJNO"), QStringLiteral("نام پروژه"), 160,
                        commonTexts("SELECT PROJNO, NAMEP FROM PROJEH WHERE CI = :CI")),
        io::dataField(QStringLiteral("SNDNO"), QStringLiteral("شماره سند"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("MOSALSAL"), QStringLiteral("ش. مسلسل"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("YERSEPROW"), QStringLiteral("ش. ثبت دفتر سپرده سال"), 120, CellFormat::Integer),
        io::dataField(QStringLiteral("MY"), QStringLiteral("سال"), 45, CellFormat::Integer),
        io::dataField(QStringLiteral("MM"), QStringLiteral("ماه"), 35, CellFormat::Integer),
        io::dataField(QStringLiteral("ERSALVAJHKHAZANE_NO"), QStringLiteral("ش نامه صورت ريز ارسالي"), 90),
        io::dataField(QStringLiteral("ERSALVAJHKHAZANE_DATE"), QStringLiteral("تاريخ نامه ارسالي"), 80, CellFormat::JalaliDate),
        io::lookupField(QStringLiteral("ELAMBESIDX"), QStringLiteral("شماره بستانکاري"), 80,
                        depositTexts("SELECT IDXNO, BESNO FROM BESTANKARI")),
        io::lookupField(QStringLiteral("ELAMBESIDX"), QStringLiteral("تاريخ بستانکاري"), 80,
                        depositTexts("SELECT IDXNO, BESDATE FROM BESTANKARI")),
    };
}

io::ListDefinition depositsBase(const QString& name, const QString& title, const FilterSql& where, const QString& order)
{
    io::ListDefinition d;
    d.name = name;
    d.title = title;
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT * FROM SEP_DAR WHERE ") + where.where + QStringLiteral("\nORDER BY ") + order;
    for (auto it = where.binds.cbegin(); it != where.binds.cend(); ++it)
        d.parameters.append({it.key(), it.value()});
    d.columns = depositColumnsShown();
    d.keyField = QStringLiteral("IDX");
    d.historyTable = QStringLiteral("SEP_DAR");
    d.historyKey = {QStringLiteral("IDX")};
    return d;
}

} // namespace

io::ListDefinition receivedDepositsList(const DepositFilter& filter)
{
    return depositsBase(QStringLiteral("received-deposits"), QStringLiteral("سپرده هاي دريافتي"), filterSql(filter),
                        orderSql(filter));
}

io::ListDefinition receivedDepositsList()
{
    DepositFilter f;
    f.year = 0;
    f.month = 1;
    return receivedDepositsList(f);
}

io::ListDefinition personDepositsList(int owner)
{
    FilterSql where{QStringLiteral("TAFSILI = :Owner"), {{QStringLiteral(":Owner"), owner}}};
    return depositsBase(QStringLiteral("person-deposits"), QStringLiteral("گزارش سپرده اشخاص"), where,
                        QStringLiteral("MY, MM, CHKDATE, IDX"));
}

QList<io::ListDefinition> depositLists() { return {receivedDepositsList(), personDepositsList(), depositDescriptionsList(), creditLettersList()}; }

QStringList totalLabels()
{
    return {QStringLiteral("جمع کل مبالغ سپرده ها:"),           QStringLiteral("جمع تائيد شده جهت ارسال به خزانه:"),
            QStringLiteral("جمع تائيد با صورتحساب بانك:"),       QStringLiteral("جمع  استرداد شده :"),
            QStringLiteral("مانده ي سپرده ها:"),                 QStringLiteral("جمع ارسال شده به خزانه:")};
}

QString damagedAmountText(qint64 idx)
{
    return QStringLiteral("مبلغ سپرده شناسه %1 مبلغ درستي نيست؛ جمع ها محاسبه نشد").arg(idx);
}

namespace {

// Beyond it a stored amount is damaged (a text reads as larger than every number).
constexpr double Largest = double(accounting::LargestAmount);

const QString DamagedSql = QStringLiteral(
    "(AMOUNT > :Big OR AMOUNT < -:Big OR AMOUNT_RAD > :Big OR AMOUNT_RAD < -:Big OR AMOUNT_MANDEH > :Big OR AMOUNT_MANDEH < -:Big)");

// A stored amount as whole rials; nullopt when it is no amount.
std::optional<qint64> storedAmount(const QVariant& v)
{
    if (v.isNull())
        return qint64(0);
    bool ok = false;
    const double x = v.toDouble(&ok);
    if (!ok || !std::isfinite(x) || std::fabs(x) > Largest)
        return std::nullopt;
    return qint64(std::llround(x));
}

} // namespace

db::Fetched<DepositTotals> depositTotals(startup::Session& session, const DepositFilter& filter)
{
    const FilterSql where = filterSql(filter);
    QVariantMap binds = where.binds;
    binds.insert(QStringLiteral(":Big"), Largest);
    const QString sql = QStringLiteral(
                            "SELECT COUNT(*), SUM(AMOUNT), "
                            "SUM(CASE WHEN TIKSUDMO = 'P' THEN 1 ELSE 0 END), SUM(CASE WHEN TIKSUDMO = 'P' THEN AMOUNT ELSE 0 END), "
                            "SUM(CASE WHEN CONTROLBANKOK = 1 THEN 1 ELSE 0 END), SUM(CASE WHEN CONTROLBANKOK = 1 THEN AMOUNT ELSE 0 END), "
                            "SUM(CASE WHEN AMOUNT_RAD <> 0 THEN 1 ELSE 0 END), SUM(AMOUNT_RAD), "
                            "SUM(CASE WHEN AMOUNT_MANDEH <> 0 THEN 1 ELSE 0 END), SUM(AMOUNT_MANDEH), "
                            "SUM(CASE WHEN TIK_ERSAL = 1 THEN 1 ELSE 0 END), SUM(CASE WHEN TIK_ERSAL = 1 THEN AMOUNT ELSE 0 END), "
                            "MIN(CASE WHEN ")
        + DamagedSql + QStringLiteral(" THEN IDX END) FROM SEP_DAR WHERE ") + where.where;
    const auto row = db::firstRow(session.deposits(), sql, binds);
    if (row.failed())
        return db::Fetched<DepositTotals>::failure(row.error());
    if (row && !row->value(12).isNull())
        return db::Fetched<DepositTotals>::failure(damagedAmountText(row->value(12).toLongLong()));
    DepositTotals t;
    if (row) {
        const QSqlRecord& r = *row;
        t.amount = {rialsOf(r.value(1)), r.value(0).toInt()};
        t.confirmed = {rialsOf(r.value(3)), r.value(2).toInt()};
        t.bankConfirmed = {rialsOf(r.value(5)), r.value(4).toInt()};
        t.refunded = {rialsOf(r.value(7)), r.value(6).toInt()};
        t.balance = {rialsOf(r.value(9)), r.value(8).toInt()};
        t.sent = {rialsOf(r.value(11)), r.value(10).toInt()};
    }
    return db::Fetched<DepositTotals>::found(t);
}

db::Fetched<DepositTotals> depositTotals(const io::RowSet& rows, const std::vector<int>& shown)
{
    const int idx = rows.fieldIndex(QStringLiteral("IDX"));
    const int amount = rows.fieldIndex(QStringLiteral("AMOUNT"));
    const int rad = rows.fieldIndex(QStringLiteral("AMOUNT_RAD"));
    const int mandeh = rows.fieldIndex(QStringLiteral("AMOUNT_MANDEH"));
    const int mark = rows.fieldIndex(QStringLiteral("TIKSUDMO"));
    const int bank = rows.fieldIndex(QStringLiteral("CONTROLBANKOK"));
    const int sent = rows.fieldIndex(QStringLiteral("TIK_ERSAL"));
    if (idx < 0 || amount < 0 || rad < 0 || mandeh < 0 || mark < 0 || bank < 0 || sent < 0)
        return db::Fetched<DepositTotals>::failure(QStringLiteral("ستون هاي جمع در فهرست نيست"));
    DepositTotals t;
    for (int r : shown) {
        const std::optional<qint64> a = storedAmount(rows.value(r, amount));
        const std::optional<qint64> back = storedAmount(rows.value(r, rad));
        const std::optional<qint64> left = storedAmount(rows.value(r, mandeh));
        if (!a || !back || !left)
            return db::Fetched<DepositTotals>::failure(damagedAmountText(rows.value(r, idx).toLongLong()));
        auto add = [](TotalLine& line, qint64 v) {
            line.sum += v;
            ++line.count;
        };
        add(t.amount, *a);
        if (rows.text(r, mark).trimmed() == Confirmed)
            add(t.confirmed, *a);
        if (rows.value(r, bank).toInt() == 1)
            add(t.bankConfirmed, *a);
        if (*back != 0)
            add(t.refunded, *back);
        if (*left != 0)
            add(t.balance, *left);
        if (rows.value(r, sent).toInt() == 1)
            add(t.sent, *a);
    }
    return db::Fetched<DepositTotals>::found(t);
}

db::Fetched<QList<int>> listedIdx(startup::Session& session, const DepositFilter& filter)
{
    const FilterSql listed = listedSql(filter, QStringLiteral("SELECT IDX FROM SEP_DAR"));
    QSqlQuery q(session.deposits());
    q.setForwardOnly(true);
    QString error;
    if (!db::prepareBound(q, listed.where, listed.binds, &error))
        return db::Fetched<QList<int>>::failure(error);
    if (!q.exec())
        return db::Fetched<QList<int>>::failure(q.lastError().text());
    QList<int> idx;
    while (q.next())
        idx << q.value(0).toInt();
    return db::Fetched<QList<int>>::found(idx);
}

} // namespace orvak::deposits
