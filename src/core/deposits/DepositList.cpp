#include "core/deposits/DepositList.h"

#include "core/basedata/Lookups.h"
#include "core/deposits/CreditLetters.h"
#include "core/deposits/Deposit.h"
#include "core/deposits/DepositDescriptions.h"
#include "core/deposits/DepositKinds.h"
#include "core/startup/Session.h"

#include <QSqlQuery>

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
    return {QStringLiteral("جمع کل مبالغ سپرده ها:"), QStringLiteral("جمع ارسال شده به خزانه:"),
            QStringLiteral("جمع تائيد شده با صورتحساب بانک:"), QStringLiteral("جمع  استرداد شده :"),
            QStringLiteral("مانده ي سپرده ها:")};
}

db::Fetched<DepositTotals> depositTotals(startup::Session& session, const DepositFilter& filter)
{
    const FilterSql where = filterSql(filter);
    const QString sql = QStringLiteral(
                            "SELECT COUNT(*), SUM(AMOUNT), "
                            "SUM(CASE WHEN TIK_ERSAL = 1 THEN 1 ELSE 0 END), SUM(CASE WHEN TIK_ERSAL = 1 THEN AMOUNT ELSE 0 END), "
                            "SUM(CASE WHEN TIKSUDMO = 'P' THEN 1 ELSE 0 END), SUM(CASE WHEN TIKSUDMO = 'P' THEN AMOUNT ELSE 0 END), "
                            "SUM(CASE WHEN AMOUNT_RAD <> 0 THEN 1 ELSE 0 END), SUM(AMOUNT_RAD), "
                            "SUM(CASE WHEN AMOUNT_MANDEH <> 0 THEN 1 ELSE 0 END), SUM(AMOUNT_MANDEH) "
                            "FROM SEP_DAR WHERE ")
        + where.where;
    const auto row = db::firstRow(session.deposits(), sql, where.binds);
    if (row.failed())
        return db::Fetched<DepositTotals>::failure(row.error());
    DepositTotals t;
    if (row) {
        const QSqlRecord& r = *row;
        t.amount = {rialsOf(r.value(1)), r.value(0).toInt()};
        t.sent = {rialsOf(r.value(3)), r.value(2).toInt()};
        t.confirmed = {rialsOf(r.value(5)), r.value(4).toInt()};
        t.refunded = {rialsOf(r.value(7)), r.value(6).toInt()};
        t.balance = {rialsOf(r.value(9)), r.value(8).toInt()};
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
