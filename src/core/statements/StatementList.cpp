#include "core/statements/StatementList.h"

#include "core/basedata/Lookups.h"
#include "core/statements/StatementDates.h"
#include "core/statements/StatementStore.h"
#include "core/startup/Session.h"
#include "core/util/Numbers.h"

#include <QSqlQuery>

#include <cmath>

namespace orvak::statements {

using io::CellFormat;

QStringList amountKindTexts()
{
    return {QStringLiteral("همه"), QStringLiteral("فقط واريزي"), QStringLiteral("برداشت ها"), QStringLiteral("برداشت چک/انتقالي"),
            QStringLiteral("برداشت اصلاحات")};
}

QStringList depositPlaceTexts() { return {QStringLiteral("همه"), QStringLiteral("شعبه"), QStringLiteral("POS"), QStringLiteral("حواله  بانکي")}; }

QStringList statementOrderTexts()
{
    return {QStringLiteral("رديف ثبت"), QStringLiteral("تاريخ عمليات"), QStringLiteral("شماره چک"), QStringLiteral("مبلغ چک")};
}

namespace {

const QString WholeFrom = QStringLiteral("%1/01/01").arg(FirstWindowYear);
const QString WholeTo = QStringLiteral("%1/12/30").arg(LastWindowYear);

QString fromOf(const StatementFilter& f) { return f.from.isEmpty() ? WholeFrom : f.from; }
QString toOf(const StatementFilter& f) { return f.to.isEmpty() ? WholeTo : f.to; }

// The place conditions on DESCR (a card payment's mark, a remittance's words).
const QString PosSql = QStringLiteral("COALESCE(DESCR, '') LIKE '%شاپرک%'");
const QString RemittanceSql = QStringLiteral("(COALESCE(DESCR, '') LIKE '%حواله%' OR COALESCE(DESCR, '') LIKE '%ساتنا%' OR COALESCE(DESCR, '') LIKE '%پايا%')");

struct Where {
    QString sql;
    QVariantMap binds;
};

Where whereOf(const StatementFilter& f)
{
    Where w;
    QStringList terms{QStringLiteral("HESABNO = :Hesab")};
    w.binds.insert(QStringLiteral(":Hesab"), f.account);
    terms << storedRangeSql(QStringLiteral("CHKDATE"), fromOf(f), toOf(f), w.binds, QStringLiteral(":D"));
    switch (f.kind) {
    case AmountKind::All: break;
    case AmountKind::Credits: terms << QStringLiteral("FLAG = 1"); break;
    case AmountKind::Debits: terms << QStringLiteral("FLAG = 0"); break;
    case AmountKind::ChequeOrTransfer: terms << QStringLiteral("ZARIB = 0"); break;
    case AmountKind::Corrections: terms << QStringLiteral("ZARIB = -1"); break;
    }
    const std::pair<int, const char*> codes[] = {{f.branch, "SHOBEH"}, {f.province, "OSTAN"}, {f.office, "SARPARASTI"}};
    for (const auto& [code, column] : codes) {
        if (code == -1)
            continue;
        const QString name = QStringLiteral(":") + QString::fromLatin1(column);
        terms << QStringLiteral("%1 = %2").arg(QLatin1String(column), name);
        w.binds.insert(name, code);
    }
    switch (f.place) {
    case DepositPlace::All: break;
    case DepositPlace::Pos: terms << PosSql; break;
    case DepositPlace::Remittance: terms << QStringLiteral("NOT ") + PosSql << RemittanceSql; break;
    case DepositPlace::Branch: terms << QStringLiteral("NOT ") + PosSql << QStringLiteral("NOT ") + RemittanceSql; break;
    }
    w.sql = terms.join(QStringLiteral(" AND "));
    return w;
}

QString orderOf(StatementOrder o)
{
    switch (o) {
    case StatementOrder::Row: return QStringLiteral("ROW");
    case StatementOrder::Date: return storedOrderSql(QStringLiteral("CHKDATE")) + QStringLiteral(", CHKTIME, ROW");
    case StatementOrder::Number: return QStringLiteral("CHKNO, ROW");
    case StatementOrder::Amount: return QStringLiteral("AMOUNT, ROW");
    }
    return QStringLiteral("ROW");
}

io::CodeTexts signClassTexts()
{
    io::CodeTexts t;
    t.entries = {{1, QStringLiteral("واريز")}, {0, QStringLiteral("چک/انتقالي")}, {-1, QStringLiteral("اصلاحات")}};
    return t;
}

io::LookupReader commonNames(const char* sql) { return basedata::namesReader(sql, false); }

QList<io::ListField> lineColumns()
{
    return {
        io::dataField(QStringLiteral("ROW"), QStringLiteral("رديف"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("CHKDATE"), QStringLiteral("تاريخ تراکنش"), 75),
        io::dataField(QStringLiteral("CHKTIME"), QStringLiteral("ساعت"), 45),
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("شرح"), 220),
        io::dataField(QStringLiteral("CREDIT"), QStringLiteral("واريز"), 100, CellFormat::Amount, true),
        io::dataField(QStringLiteral("DEBIT"), QStringLiteral("برداشت"), 100, CellFormat::Amount, true),
        io::dataField(QStringLiteral("AMOUNTBANK"), QStringLiteral("مانده بانک"), 110, CellFormat::Amount),
        io::dataField(QStringLiteral("CHKNO"), QStringLiteral("شماره مدرک"), 90, CellFormat::Integer),
        io::codeField(QStringLiteral("ZARIB"), QStringLiteral("نوع"), 70, signClassTexts()),
        io::dataField(QStringLiteral("SHOBEH"), QStringLiteral("کد شعبه"), 60, CellFormat::Integer),
        io::lookupField(QStringLiteral("SHOBEH"), QStringLiteral("نام شعبه"), 120, commonNames("SELECT CODESHOBEH, NAME FROM SHOBEH")),
        io::dataField(QStringLiteral("SARPARASTI"), QStringLiteral("کد سرپرستي"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("OSTAN"), QStringLiteral("کد استان"), 55, CellFormat::Integer),
        io::dataField(QStringLiteral("SHENASEH"), QStringLiteral("شناسه"), 110),
        io::dataField(QStringLiteral("TRANSACTIONNO"), QStringLiteral("شماره تراکنش"), 110),
        io::dataField(QStringLiteral("BANK"), QStringLiteral("بانک"), 70),
    };
}

} // namespace

io::ListDefinition statementLinesList(const StatementFilter& f)
{
    const Where w = whereOf(f);
    io::ListDefinition d;
    d.name = QStringLiteral("statement-lines");
    d.title = QStringLiteral("اطلاعات صورتحساب دريافتي از بانک");
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT ROW, HESABNO, CHKDATE, CHKTIME, DESCR, FLAG, ZARIB, "
                           "CASE WHEN FLAG = 1 THEN AMOUNT ELSE 0 END AS CREDIT, CASE WHEN FLAG = 1 THEN 0 ELSE AMOUNT END AS DEBIT, "
                           "AMOUNT, AMOUNTBANK, CHKNO, SHOBEH, SARPARASTI, OSTAN, SHENASEH, TRANSACTIONNO, BANK FROM SURATHESAB WHERE ")
        + w.sql + QStringLiteral("\nORDER BY ") + orderOf(f.order);
    for (auto it = w.binds.cbegin(); it != w.binds.cend(); ++it)
        d.parameters.append({it.key(), it.value()});
    d.columns = lineColumns();
    d.keyField = QStringLiteral("ROW");
    d.historyTable = StatementTable;
    d.historyKey = {QStringLiteral("HESABNO"), QStringLiteral("ROW")};
    return d;
}

io::ListDefinition statementLinesList()
{
    StatementFilter f;
    f.account = 1;
    return statementLinesList(f);
}

io::ListDefinition settlementLinesList(const StatementFilter& f)
{
    io::ListDefinition d;
    d.name = QStringLiteral("settlement-lines");
    d.title = QStringLiteral("اطلاعات شاپرک");
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT ROW, HESABNO, PAYANENO, HESABPAZIRANDENO, DATETRAKONESH, TIMETRAKONESH, KARTNO, AMOUNT, PAYGIRINO, ERJANO, "
                           "KINDTRAKONESH, DATEVARIZPAZIRANDE, PAYGIRIVARIZINO, SHOBEH, DESCRTRAKONESH FROM SURATHESABSHAPARAK "
                           "WHERE HESABNO = :Hesab AND DATEVARIZPAZIRANDE >= :From AND DATEVARIZPAZIRANDE <= :To\nORDER BY ROW");
    d.parameters = {{QStringLiteral(":Hesab"), f.account}, {QStringLiteral(":From"), fromOf(f)}, {QStringLiteral(":To"), toOf(f)}};
    d.columns = {
        io::dataField(QStringLiteral("ROW"), QStringLiteral("رديف"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("DATEVARIZPAZIRANDE"), QStringLiteral("تاريخ واريز به پذيرنده"), 90, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("DATETRAKONESH"), QStringLiteral("تاريخ تراکنش"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("TIMETRAKONESH"), QStringLiteral("ساعت"), 45),
        io::dataField(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ"), 100, CellFormat::Amount, true),
        io::dataField(QStringLiteral("PAYANENO"), QStringLiteral("شماره پايانه"), 90),
        io::dataField(QStringLiteral("KARTNO"), QStringLiteral("شماره کارت"), 120),
        io::dataField(QStringLiteral("PAYGIRINO"), QStringLiteral("شماره پيگيري"), 90),
        io::dataField(QStringLiteral("ERJANO"), QStringLiteral("شماره ارجاع"), 90),
        io::dataField(QStringLiteral("PAYGIRIVARIZINO"), QStringLiteral("پيگيري واريز"), 90),
        io::dataField(QStringLiteral("KINDTRAKONESH"), QStringLiteral("نوع تراکنش"), 80),
        io::dataField(QStringLiteral("SHOBEH"), QStringLiteral("کد شعبه"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("DESCRTRAKONESH"), QStringLiteral("شرح"), 160),
    };
    d.keyField = QStringLiteral("ROW");
    d.historyTable = SettlementTable;
    d.historyKey = {QStringLiteral("HESABNO"), QStringLiteral("ROW")};
    return d;
}

io::ListDefinition settlementLinesList()
{
    StatementFilter f;
    f.account = 1;
    return settlementLinesList(f);
}

QList<io::ListDefinition> statementLists() { return {statementLinesList(), settlementLinesList()}; }

db::Fetched<StatementTotals> statementTotals(startup::Session& session, const StatementFilter& f)
{
    const Where w = whereOf(f);
    const auto row = db::firstRow(session.deposits(),
                                  QStringLiteral("SELECT SUM(CASE WHEN FLAG = 1 THEN AMOUNT ELSE 0 END), SUM(CASE WHEN FLAG = 1 THEN 1 ELSE 0 END), "
                                                 "SUM(CASE WHEN FLAG = 1 THEN 0 ELSE AMOUNT END), SUM(CASE WHEN FLAG = 1 THEN 0 ELSE 1 END) "
                                                 "FROM SURATHESAB WHERE ")
                                      + w.sql,
                                  w.binds);
    if (row.failed())
        return db::Fetched<StatementTotals>::failure(row.error());
    StatementTotals t;
    if (row) {
        t.credit = qint64(std::llround(row->value(0).toDouble()));
        t.credits = row->value(1).toInt();
        t.debit = qint64(std::llround(row->value(2).toDouble()));
        t.debits = row->value(3).toInt();
    }
    const auto s = db::firstRow(session.deposits(),
                                QStringLiteral("SELECT SUM(AMOUNT), COUNT(*) FROM SURATHESABSHAPARAK WHERE HESABNO = :h AND DATEVARIZPAZIRANDE >= :f "
                                               "AND DATEVARIZPAZIRANDE <= :t"),
                                {{QStringLiteral(":h"), f.account}, {QStringLiteral(":f"), fromOf(f)}, {QStringLiteral(":t"), toOf(f)}});
    if (s.failed())
        return db::Fetched<StatementTotals>::failure(s.error());
    if (s) {
        t.settlement = qint64(std::llround(s->value(0).toDouble()));
        t.settlements = s->value(1).toInt();
    }
    return db::Fetched<StatementTotals>::found(t);
}

QString statementTotalText(const StatementTotals& t)
{
    const QString zero = QStringLiteral("0");
    auto amount = [&](qint64 v) { return v == 0 ? zero : util::FormatAmount(v); };
    return QStringLiteral("جمع صورتحساب: واريز %1 (%2 سطر)، برداشت %3 (%4 سطر)، خالص %5")
        .arg(amount(t.credit))
        .arg(t.credits)
        .arg(amount(t.debit))
        .arg(t.debits)
        .arg(t.credit - t.debit == 0 ? zero : (t.credit - t.debit < 0 ? QStringLiteral("-") : QString()) + util::FormatAmount(std::llabs(t.credit - t.debit)));
}

QString settlementTotalText(const StatementTotals& t)
{
    return QStringLiteral("جمع شاپرک: %1 (%2 سطر)").arg(t.settlement == 0 ? QStringLiteral("0") : util::FormatAmount(t.settlement)).arg(t.settlements);
}

QString AccountBalance::balanceText() const
{
    if (balance == 0)
        return QStringLiteral("صفر");
    return (balance < 0 ? QStringLiteral("-") : QString()) + util::FormatAmount(std::llabs(balance));
}

db::Fetched<QList<AccountBalance>> accountBalances(startup::Session& session, const QString& date)
{
    if (!storedDate(date))
        return db::Fetched<QList<AccountBalance>>::failure(
            QStringLiteral("تاريخ گزارش بايد تاريخي از %1 تا %2 باشد").arg(FirstWindowYear).arg(LastWindowYear));
    QList<AccountBalance> out;
    {
        QSqlQuery q(session.common());
        q.setForwardOnly(true);
        QString why;
        if (!db::prepareBound(q,
                              QStringLiteral("SELECT h.CODE, h.HESABNO, b.NAME, h.HESABSUBJECT FROM HESAB h LEFT JOIN BANKNAME b ON b.CODE = h.BANK "
                                             "WHERE (h.BRANCHC = :c OR h.BRANCHC = 0 OR h.BRANCHC IS NULL) ORDER BY h.CODE"),
                              {{QStringLiteral(":c"), session.SectionCode().toInt()}}, &why)
            || !q.exec())
            return db::Fetched<QList<AccountBalance>>::failure(why.isEmpty() ? q.lastError().text() : why);
        while (q.next()) {
            AccountBalance a;
            a.account = q.value(0).toInt();
            a.number = q.value(1).toString().trimmed();
            a.bank = q.value(2).toString().trimmed();
            a.subject = q.value(3).toString().trimmed();
            out << a;
        }
        if (q.lastError().isValid())
            return db::Fetched<QList<AccountBalance>>::failure(q.lastError().text());
    }
    for (AccountBalance& a : out) {
        QVariantMap binds{{QStringLiteral(":h"), a.account}};
        const QString range = storedRangeSql(QStringLiteral("CHKDATE"), WholeFrom, date, binds);
        // The last line of the last date not after the chosen one: its balance.
        const auto last = db::firstRow(session.deposits(),
                                       QStringLiteral("SELECT CHKDATE, AMOUNTBANK FROM SURATHESAB WHERE HESABNO = :h AND ") + range
                                           + QStringLiteral(" ORDER BY CASE WHEN CHKDATE < '%1' THEN 1 ELSE 0 END DESC, CHKDATE DESC, CHKTIME DESC, ROW DESC")
                                                 .arg(FirstWindowYear % 100),
                                       binds);
        if (last.failed())
            return db::Fetched<QList<AccountBalance>>::failure(last.error());
        if (last) {
            a.date = fullDate(last->value(0).toString()).value_or(QString());
            a.balance = qint64(std::llround(last->value(1).toDouble()));
        }
    }
    return db::Fetched<QList<AccountBalance>>::found(out);
}

io::ReportModel balanceReport(const QList<AccountBalance>& balances, const QString& date)
{
    io::ReportModel m;
    m.titleLines = {QStringLiteral("گزارش مانده حسابهاي بانکي"), QStringLiteral("مانده در تاريخ ") + date};
    m.columns = {{QStringLiteral("کد حساب"), 0.6, CellFormat::Integer},
                 {QStringLiteral("شماره حساب"), 1.4},
                 {QStringLiteral("بانک"), 0.8},
                 {QStringLiteral("شرح حساب"), 2.0},
                 {QStringLiteral("تاريخ آخرين صورتحساب"), 1.0},
                 {QStringLiteral("مانده"), 1.2}};
    for (const AccountBalance& a : balances)
        m.addRow({QString::number(a.account), a.number, a.bank, a.subject, a.date, a.balanceText()});
    return m;
}

} // namespace orvak::statements
