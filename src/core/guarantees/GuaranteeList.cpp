#include "core/guarantees/GuaranteeList.h"

#include "core/basedata/CodedTable.h"
#include "core/basedata/Lookups.h"
#include "core/guarantees/Guarantee.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/guarantees/GuaranteeDue.h"
#include "core/guarantees/GuaranteeSearch.h"
#include "core/guarantees/GuaranteeTexts.h"
#include "core/letters/LetterFooter.h"
#include "core/startup/Session.h"
#include "core/util/Numbers.h"

#include <QSqlQuery>

namespace orvak::guarantees {

namespace {

using io::CellFormat;

io::LookupReader commonTexts(const char* sql, bool perSection = true) { return basedata::namesReader(sql, perSection); }

QList<io::ListField> columnsShown()
{
    return {
        io::dataField(QStringLiteral("IDX"), QStringLiteral("كد شناسائي"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("ZNO"), QStringLiteral("شماره تضمين"), 110),
        io::codeField(QStringLiteral("ZSTATUSE"), QStringLiteral("وضعيت"), 90, statusCodeTexts()),
        io::codeField(QStringLiteral("ZTYPE"), QStringLiteral("نوع تضمين"), 150, typeCodeTexts()),
        io::codeField(QStringLiteral("ZKIND"), QStringLiteral("ماهيت تضمين"), 130, kindCodeTexts()),
        io::dataField(QStringLiteral("TAFSILNO"), QStringLiteral("كد تفصيلي"), 70, CellFormat::Integer),
        io::lookupField(QStringLiteral("TAFSILNO"), QStringLiteral("پيمانكار"), 200, commonTexts("SELECT CODE, NAME FROM TAFSILI WHERE CI = :CI")),
        io::lookupField(QStringLiteral("PAYMENT"), QStringLiteral("شماره قرارداد"), 90, commonTexts("SELECT CODE, PAYMENTNO FROM PAYMENTS WHERE CI = :CI")),
        io::lookupField(QStringLiteral("PAYMENT"), QStringLiteral("تاريخ قرارداد"), 80, commonTexts("SELECT CODE, PAYMENTDATE FROM PAYMENTS WHERE CI = :CI")),
        io::dataField(QStringLiteral("SUDDATE"), QStringLiteral("تاريخ صدور"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("SARRESID"), QStringLiteral("تاريخ سر رسيد"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("AMOUNT"), QStringLiteral("ارزش ريالي"), 110, CellFormat::Amount, true),
        io::codeField(QStringLiteral("VAHEDEPOOL"), QStringLiteral("واحد پول"), 70, currencyCodeTexts()),
        io::dataField(QStringLiteral("AMOUNTARZI"), QStringLiteral("ارزش ارزي"), 80, CellFormat::Amount),
        io::lookupField(QStringLiteral("SUDBANKCODE"), QStringLiteral("بانک"), 90,
                        commonTexts("SELECT b.CODE, n.NAME FROM BANKBRANCHNAME b LEFT JOIN BANKNAME n ON n.CODE = b.BANKID", false)),
        io::lookupField(QStringLiteral("SUDBANKCODE"), QStringLiteral("نام شعبه"), 130, commonTexts("SELECT CODE, BRANCHNAME FROM BANKBRANCHNAME", false)),
        io::lookupField(QStringLiteral("SUDBANKCODE"), QStringLiteral("نشاني شعبه"), 200, commonTexts("SELECT CODE, ADRESS FROM BANKBRANCHNAME", false)),
        io::lookupField(QStringLiteral("SUDBANKCODE"), QStringLiteral("تلفن شعبه"), 90, commonTexts("SELECT CODE, TEL FROM BANKBRANCHNAME", false)),
        io::lookupField(QStringLiteral("SUDBANKCODE"), QStringLiteral("کد پستي شعبه"), 90, commonTexts("SELECT CODE, POSTCODE FROM BANKBRANCHNAME", false)),
        io::lookupField(QStringLiteral("TARHNO"), QStringLiteral("طرح"), 150, commonTexts("SELECT CODE, NAMET FROM TARH WHERE CI = :CI")),
        io::lookupField(QStringLiteral("PROJNO"), QStringLiteral("نام پروژه"), 150, commonTexts("SELECT PROJNO, NAMEP FROM PROJEH WHERE CI = :CI")),
        io::dataField(QStringLiteral("DESCR"), QStringLiteral("موضوع تضمين"), 200),
        io::dataField(QStringLiteral("ZPOS"), QStringLiteral("رديف بايگاني"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("ZEMPLACE"), QStringLiteral("محل نگهداري"), 80),
        io::dataField(QStringLiteral("ZCOUNT"), QStringLiteral("تعداد ضمائم"), 50, CellFormat::Integer),
        io::dataField(QStringLiteral("SNDNO"), QStringLiteral("شماره سند"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("SNDSUDDATE"), QStringLiteral("تاريخ سند"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("SEPAMNO"), QStringLiteral("سپام"), 100),
        io::dataField(QStringLiteral("LETTERNO"), QStringLiteral("شماره آخرين نامه"), 90),
        io::dataField(QStringLiteral("LETTERDATE"), QStringLiteral("تاريخ آخرين نامه"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("SARRESID1"), QStringLiteral("سررسيد اوليه"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("AMOUNT1"), QStringLiteral("مبلغ اوليه"), 110, CellFormat::Amount),
    };
}

// Every condition is a parameter, so that the catalogue's copy takes each of them
// (orvakctl list guarantees --param PTafsil=12); cancelled and seized rows are
// hidden by their codes, which a ticked box replaces with one no row holds.
const QString BaseWhere = QStringLiteral(
    "((TAFSILNO = :PTafsil) OR (:PTafsil = -1)) AND ((PAYMENT = :PPayment) OR (:PPayment = -1))"
    " AND (((COALESCE(ZSTATUSE, 0) <> :PHideCancelled) AND (COALESCE(ZSTATUSE, 0) <> :PHideSeized)) OR (COALESCE(ZSTATUSE, 0) = :PStatus))"
    " AND ((ZKIND = :PKind) OR (:PKind = -1)) AND ((ZTYPE = :PType) OR (:PType = -1))"
    " AND ((COALESCE(ZSTATUSE, 0) = :PStatus) OR (:PStatus = -1))"
    " AND ((:PIssueFrom = '') OR (SUDDATE >= :PIssueFrom)) AND ((:PIssueTo = '') OR (SUDDATE <= :PIssueTo))"
    " AND ((:PDueFrom = '') OR (SARRESID >= :PDueFrom)) AND ((:PDueTo = '') OR (SARRESID <= :PDueTo))"
    " AND ((:PVoucherFrom = '') OR (SNDSUDDATE >= :PVoucherFrom)) AND ((:PVoucherTo = '') OR (SNDSUDDATE <= :PVoucherTo))");

constexpr int NoStatus = -2;

QString orderSql(GuaranteeOrder o)
{
    switch (o) {
    case GuaranteeOrder::Idx: return QStringLiteral("IDX");
    case GuaranteeOrder::Number: return QStringLiteral("ZNO, IDX");
    case GuaranteeOrder::IssueDate: return QStringLiteral("SUDDATE, IDX");
    case GuaranteeOrder::DueDate: return QStringLiteral("SARRESID, IDX");
    case GuaranteeOrder::Type: return QStringLiteral("ZTYPE, IDX");
    case GuaranteeOrder::Amount: return QStringLiteral("AMOUNT, IDX");
    case GuaranteeOrder::ArchiveRow: return QStringLiteral("ZPOS, IDX");
    }
    return QStringLiteral("IDX");
}

// A typed date of a range: empty or real, as stored.
std::optional<QString> rangeDate(const QString& text)
{
    QString bare = text;
    bare.remove(QLatin1Char('/')).remove(QLatin1Char(' '));
    if (bare.isEmpty())
        return QString();
    return basedata::storedDate(text);
}

enum class FieldKind { Text, Number, Date };

FieldKind kindOfField(const QString& field)
{
    static const QStringList numbers = {QStringLiteral("IDX"), QStringLiteral("AMOUNT"), QStringLiteral("TAFSILNO"), QStringLiteral("PAYMENT"),
                                        QStringLiteral("SUDBANKCODE"), QStringLiteral("ZSTATUSE"), QStringLiteral("ZKIND"), QStringLiteral("ZTYPE"),
                                        QStringLiteral("ZPOS"), QStringLiteral("ZCOUNT"), QStringLiteral("SNDNO"), QStringLiteral("AMOUNT1"),
                                        QStringLiteral("PROJNO"), QStringLiteral("TARHNO"), QStringLiteral("AMOUNTARZI"), QStringLiteral("VAHEDEPOOL")};
    static const QStringList dates = {QStringLiteral("SUDDATE"), QStringLiteral("SARRESID"), QStringLiteral("SARRESID1"), QStringLiteral("SNDSUDDATE"),
                                      QStringLiteral("EBTALDATE"), QStringLiteral("LETTERDATE")};
    return numbers.contains(field) ? FieldKind::Number : dates.contains(field) ? FieldKind::Date : FieldKind::Text;
}

struct Where {
    QString sql;
    QVariantMap binds;
};

std::optional<Where> whereOf(const GuaranteeFilter& f, QString* why)
{
    auto fail = [&](const QString& text) -> std::optional<Where> {
        if (why)
            *why = text;
        return std::nullopt;
    };
    Where w{BaseWhere, {}};
    w.binds = {{QStringLiteral(":PTafsil"), f.party},
               {QStringLiteral(":PPayment"), f.contract},
               {QStringLiteral(":PHideCancelled"), f.showCancelled ? NoStatus : StatusCancelled},
               {QStringLiteral(":PHideSeized"), f.showSeized ? NoStatus : StatusSeized},
               {QStringLiteral(":PKind"), f.kind},
               {QStringLiteral(":PType"), f.type},
               {QStringLiteral(":PStatus"), f.status}};
    const std::tuple<const QString*, const char*, const char*> dates[] = {
        {&f.issuedFrom, ":PIssueFrom", "تاريخ صدور"}, {&f.issuedTo, ":PIssueTo", "تاريخ صدور"},
        {&f.dueFrom, ":PDueFrom", "تاريخ سر رسيد"},   {&f.dueTo, ":PDueTo", "تاريخ سر رسيد"},
        {&f.voucherFrom, ":PVoucherFrom", "تاريخ سند"}, {&f.voucherTo, ":PVoucherTo", "تاريخ سند"}};
    for (const auto& [text, name, caption] : dates) {
        const auto d = rangeDate(*text);
        if (!d)
            return fail(QString::fromUtf8(caption) + QStringLiteral(" درست نيست: ") + *text);
        // An empty date binds as '' (a null text would bind NULL and match nothing).
        w.binds.insert(QString::fromLatin1(name), d->isEmpty() ? QStringLiteral("") : *d);
    }
    if (f.condition) {
        const FreeCondition& c = *f.condition;
        bool known = false;
        for (const auto& [field, caption] : conditionFields())
            known = known || field == c.field;
        if (!known)
            return fail(QStringLiteral("ستون شرط در فهرست تضمينات نيست: ") + c.field);
        if (!conditionOperators().contains(c.op))
            return fail(QStringLiteral("عملگر شرط درست نيست: ") + c.op);
        QVariant value;
        switch (kindOfField(c.field)) {
        case FieldKind::Number: {
            const auto n = util::parseAmount(c.value);
            if (!n)
                return fail(QStringLiteral("مقدار شرط عدد نيست: ") + c.value);
            value = double(*n);
            break;
        }
        case FieldKind::Date: {
            const auto d = basedata::storedDate(c.value);
            if (!d)
                return fail(QStringLiteral("مقدار شرط تاريخ نيست: ") + c.value);
            value = *d;
            break;
        }
        case FieldKind::Text: value = c.value.trimmed(); break;
        }
        w.sql += QStringLiteral(" AND (%1 %2 :PCondition)").arg(c.field, c.op);
        w.binds.insert(QStringLiteral(":PCondition"), value);
    }
    return w;
}

} // namespace

QStringList orderTexts()
{
    return {QStringLiteral("كد شناسائي"), QStringLiteral("شماره تضمين"), QStringLiteral("تاريخ صدور"), QStringLiteral("تاريخ سر رسيد"),
            QStringLiteral("نوع تضمين"), QStringLiteral("مبلغ"), QStringLiteral("رديف بايگاني")};
}

QStringList conditionOperators()
{
    return {QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">=")};
}

QList<std::pair<QString, QString>> conditionFields()
{
    return {{QStringLiteral("IDX"), QStringLiteral("كد شناسائي")},       {QStringLiteral("ZNO"), QStringLiteral("شماره تضمين")},
            {QStringLiteral("AMOUNT"), QStringLiteral("ارزش ريالي")},     {QStringLiteral("AMOUNT1"), QStringLiteral("مبلغ اوليه")},
            {QStringLiteral("SUDDATE"), QStringLiteral("تاريخ صدور")},    {QStringLiteral("SARRESID"), QStringLiteral("تاريخ سر رسيد")},
            {QStringLiteral("SARRESID1"), QStringLiteral("سررسيد اوليه")}, {QStringLiteral("ZPOS"), QStringLiteral("رديف بايگاني")},
            {QStringLiteral("ZCOUNT"), QStringLiteral("تعداد ضمائم")},    {QStringLiteral("SNDNO"), QStringLiteral("شماره سند")},
            {QStringLiteral("DESCR"), QStringLiteral("موضوع تضمين")},     {QStringLiteral("ZEMPLACE"), QStringLiteral("محل نگهداري")},
            {QStringLiteral("SEPAMNO"), QStringLiteral("سپام")},          {QStringLiteral("LETTERNO"), QStringLiteral("شماره آخرين نامه")},
            {QStringLiteral("TAFSILNO"), QStringLiteral("كد تفصيلي")},    {QStringLiteral("SUDBANKCODE"), QStringLiteral("كد شعبه")}};
}

std::optional<io::ListDefinition> guaranteeList(const GuaranteeFilter& filter, QString* why)
{
    const std::optional<Where> where = whereOf(filter, why);
    if (!where)
        return std::nullopt;
    io::ListDefinition d;
    d.name = QStringLiteral("guarantees");
    d.title = QStringLiteral("اطلاعات تضمينات");
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT * FROM ZEMANAT WHERE ") + where->sql + QStringLiteral("\nORDER BY ") + orderSql(filter.order);
    for (auto it = where->binds.cbegin(); it != where->binds.cend(); ++it)
        d.parameters.append({it.key(), it.value()});
    d.columns = columnsShown();
    d.keyField = QStringLiteral("IDX");
    d.historyTable = QStringLiteral("ZEMANAT");
    d.historyKey = {QStringLiteral("IDX")};
    d.rowKind = [](const io::RowSet& rows, int row) {
        const int s = io::fieldValue(rows, row, QStringLiteral("ZSTATUSE")).toInt();
        return s == StatusCancelled || s == StatusSeized ? io::RowKind::Blocked : io::RowKind::Normal;
    };
    return d;
}

io::ListDefinition guaranteeList() { return *guaranteeList(GuaranteeFilter{}); }

io::ListDefinition guaranteeHistoryList(int idx)
{
    io::ListDefinition d;
    d.name = QStringLiteral("guarantee-history");
    d.title = QStringLiteral("سوابق تضمين");
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT * FROM ZHIST WHERE ZIDX = :PIdx AND COALESCE(ANS, 0) <> 100\nORDER BY ROW");
    d.parameters = {{QStringLiteral(":PIdx"), idx}};
    d.columns = {
        io::dataField(QStringLiteral("ROW"), QStringLiteral("رديف"), 40, CellFormat::Integer),
        io::codeField(QStringLiteral("KIND"), QStringLiteral("نوع"), 100, statusCodeTexts()),
        io::dataField(QStringLiteral("LETTERNO"), QStringLiteral("شماره نامه"), 90),
        io::dataField(QStringLiteral("LETTERDATE"), QStringLiteral("تاريخ نامه"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ"), 110, CellFormat::Amount),
        io::dataField(QStringLiteral("SARRESID"), QStringLiteral("سررسيد"), 80, CellFormat::JalaliDate),
        io::codeField(QStringLiteral("ANS"), QStringLiteral("پاسخ داده شده"), 70,
                      io::CodeTexts{{{1, QStringLiteral("بلي")}, {2, QStringLiteral("خير")}}, QString()}),
        io::dataField(QStringLiteral("ANSLETTERNO"), QStringLiteral("شماره پاسخ"), 90),
        io::dataField(QStringLiteral("ANSLETTERDATE"), QStringLiteral("تاريخ پاسخ"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("LTRSABTDATE"), QStringLiteral("تاريخ ثبت"), 80, CellFormat::JalaliDate),
    };
    d.keyField = QStringLiteral("ROW");
    d.historyTable = QStringLiteral("ZHIST");
    d.historyKey = {QStringLiteral("ZIDX"), QStringLiteral("ROW")};
    return d;
}

QList<io::ListDefinition> guaranteeLists()
{
    return {guaranteeList(), guaranteeSubjectsList(), archiveFoldersList(), guaranteeHistoryList(), dueList(), searchList()};
}

QString countLabel() { return QStringLiteral("فقره تضمين"); }
QString amountLabel() { return QStringLiteral("مبلغ کل ضمانتنامه ها:"); }

db::Fetched<GuaranteeTotals> totalsOf(const db::Fetched<QSqlRecord>& row)
{
    if (row.failed())
        return db::Fetched<GuaranteeTotals>::failure(row.error());
    GuaranteeTotals t;
    if (row) {
        t.amount = rialsOf(row->value(0));
        t.count = row->value(1).toInt();
    }
    return db::Fetched<GuaranteeTotals>::found(t);
}

db::Fetched<GuaranteeTotals> guaranteeTotals(startup::Session& session, const GuaranteeFilter& filter)
{
    QString why;
    const std::optional<Where> where = whereOf(filter, &why);
    if (!where)
        return db::Fetched<GuaranteeTotals>::failure(why);
    const auto row = db::firstRow(session.deposits(),
                                  QStringLiteral("Select SUM(Amount) as SumAmount,Count(Amount) as CountZ From Zemanat WHERE ") + where->sql, where->binds);
    return totalsOf(row);
}

GuaranteeTotals guaranteeTotals(const io::RowSet& rows, const std::vector<int>& shown)
{
    GuaranteeTotals t;
    const int amount = rows.fieldIndex(QStringLiteral("AMOUNT"));
    if (amount < 0)
        return t;
    for (int r : shown) {
        const QVariant v = rows.value(r, amount);
        if (v.isNull())
            continue;
        ++t.count;
        t.amount += rialsOf(v);
    }
    return t;
}

QList<int> idxOf(const io::RowSet& rows, const std::vector<int>& shown)
{
    QList<int> idx;
    const int f = rows.fieldIndex(QStringLiteral("IDX"));
    if (f < 0)
        return idx;
    for (int r : shown)
        idx << rows.value(r, f).toInt();
    return idx;
}

db::Fetched<io::ReportModel> guaranteeCards(startup::Session& session, const QList<int>& idx)
{
    io::ReportModel m;
    m.titleLines = {QStringLiteral("مشخصات تضمين"), session.site().organisationName};
    const int section = session.SectionCode().toInt();
    auto name = [&](const QString& sql, int code) -> db::Fetched<QString> {
        if (code <= 0)
            return db::Fetched<QString>::found(QString());
        const auto v = db::scalar(session.common(), sql, {{QStringLiteral(":Key"), code}, {QStringLiteral(":CI"), section}});
        if (v.failed())
            return db::Fetched<QString>::failure(v.error());
        return db::Fetched<QString>::found(v ? v->toString().trimmed() : QString());
    };
    for (int i : idx) {
        const auto r = db::firstRow(session.deposits(), QStringLiteral("SELECT * FROM ZEMANAT WHERE IDX = :i"), {{QStringLiteral(":i"), i}});
        if (r.failed())
            return db::Fetched<io::ReportModel>::failure(r.error());
        if (!r)
            continue;
        const Guarantee g = guaranteeFrom(*r);
        const auto party = name(QStringLiteral("SELECT NAME FROM TAFSILI WHERE CODE = :Key AND CI = :CI"), g.tafsilNo);
        const auto contract = name(QStringLiteral("SELECT PAYMENTNO FROM PAYMENTS WHERE CODE = :Key AND CI = :CI"), g.payment);
        const auto branch = name(QStringLiteral("SELECT BRANCHNAME FROM BANKBRANCHNAME WHERE CODE = :Key"), g.sudBankCode);
        const auto project = name(QStringLiteral("SELECT NAMEP FROM PROJEH WHERE PROJNO = :Key AND CI = :CI"), g.projNo);
        for (const auto* f : {&party, &contract, &branch, &project}) {
            if (f->failed())
                return db::Fetched<io::ReportModel>::failure(f->error());
        }
        auto amount = [](qint64 v) { return v == 0 ? QStringLiteral("0") : util::FormatAmount(v); };
        io::ReportRecord rec;
        rec.titleLines = {QStringLiteral("كد شناسائي تضمين: %1").arg(g.idx)};
        rec.fields = {{QStringLiteral("شماره تضمين"), g.zno},
                      {QStringLiteral("نوع تضمين"), typeLabel(g.type)},
                      {QStringLiteral("ماهيت تضمين"), kindLabel(g.kind)},
                      {QStringLiteral("وضعيت"), statusLabel(g.status)},
                      {QStringLiteral("پيمانكار"), *party},
                      {QStringLiteral("شماره قرارداد"), *contract},
                      {QStringLiteral("نام پروژه"), *project},
                      {QStringLiteral("نام شعبه"), *branch},
                      {QStringLiteral("تاريخ صدور"), g.sudDate},
                      {QStringLiteral("تاريخ سر رسيد"), g.sarresid},
                      {QStringLiteral("ارزش ريالي"), amount(g.amount) + QStringLiteral(" ريال")},
                      {QStringLiteral("موضوع تضمين"), g.descr},
                      {QStringLiteral("رديف بايگاني"), QString::number(g.zpos)},
                      {QStringLiteral("محل نگهداري"), g.zemPlace},
                      {QStringLiteral("تعداد ضمائم"), QString::number(g.zcount)}};
        m.records.push_back(rec);
    }
    m.signatures = letters::signatureBlocks(session, QStringLiteral("zemanat"), letters::GuaranteeReportsGroup);
    return db::Fetched<io::ReportModel>::found(m);
}

} // namespace orvak::guarantees
