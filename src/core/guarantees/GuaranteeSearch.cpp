#include "core/guarantees/GuaranteeSearch.h"

#include "core/basedata/Lookups.h"
#include "core/guarantees/Guarantee.h"
#include "core/guarantees/GuaranteeCodes.h"
#include "core/letters/LetterFooter.h"
#include "core/startup/Session.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QSqlQuery>
#include <algorithm>

namespace orvak::guarantees {

namespace {

using io::CellFormat;

io::LookupReader commonTexts(const char* sql, bool perSection = true) { return basedata::namesReader(sql, perSection); }

// The at-sign is the end of a range left empty: no upper bound.
const QString NoEnd = QStringLiteral("@");

const QString SearchWhere = QStringLiteral(
    "((ZKIND = :PZKind) OR (:PZKind = -1)) AND ((ZTYPE = :PZType) OR (:PZType = -1))"
    " AND ((PROJNO = :PProjNo) OR (:PProjNo = -1)) AND ((SUDBANKCODE = :PBranch) OR (:PBranch = -1))"
    " AND ((PAYMENT = :PPayment) OR (:PPayment = -1)) AND ((TAFSILNO = :PTafsilNo) OR (:PTafsilNo = -1))"
    " AND ((:PDueFrom = '') OR (SARRESID >= :PDueFrom)) AND ((:PDueTo = '@') OR (SARRESID <= :PDueTo))"
    " AND ((:PIssueFrom = '') OR (SUDDATE >= :PIssueFrom)) AND ((:PIssueTo = '@') OR (SUDDATE <= :PIssueTo))"
    " AND ((EBTALDATE IS NULL) OR (EBTALDATE = '') OR (EBTALDATE >= :PCancelFrom)) AND ((:PCancelTo = '@') OR (EBTALDATE <= :PCancelTo))");

QString searchOrderSql(SearchOrder o)
{
    switch (o) {
    case SearchOrder::Idx: return QStringLiteral("IDX");
    case SearchOrder::Number: return QStringLiteral("ZNO, IDX");
    case SearchOrder::Type: return QStringLiteral("ZTYPE, IDX");
    case SearchOrder::Nature: return QStringLiteral("ZKIND, IDX");
    case SearchOrder::DueDate: return QStringLiteral("SARRESID, IDX");
    case SearchOrder::Party: return QStringLiteral("TAFSILNO, IDX");
    case SearchOrder::Branch: return QStringLiteral("SUDBANKCODE, IDX");
    case SearchOrder::Project: return QStringLiteral("PROJNO, IDX");
    case SearchOrder::Contract: return QStringLiteral("PAYMENT, IDX");
    case SearchOrder::ArchiveRow: return QStringLiteral("ZPOS, IDX");
    case SearchOrder::IssueDate: return QStringLiteral("SUDDATE, IDX");
    }
    return QStringLiteral("IDX");
}

struct Where {
    QString sql;
    QVariantMap binds;
};

std::optional<Where> searchWhere(startup::Session& session, const SearchFilter& f, QString* why)
{
    auto fail = [&](const QString& text) -> std::optional<Where> {
        if (why)
            *why = text;
        return std::nullopt;
    };
    Where w{SearchWhere, {}};
    w.binds = {{QStringLiteral(":PZKind"), f.nature},     {QStringLiteral(":PZType"), f.type},  {QStringLiteral(":PProjNo"), f.project},
               {QStringLiteral(":PBranch"), f.branch},    {QStringLiteral(":PPayment"), f.contract},
               {QStringLiteral(":PTafsilNo"), f.party}};
    struct Range {
        const QString* from;
        const QString* to;
        const char* fromName;
        const char* toName;
        const char* caption;
    };
    const Range ranges[] = {{&f.dueFrom, &f.dueTo, ":PDueFrom", ":PDueTo", "تاريخ سررسيد"},
                            {&f.issueFrom, &f.issueTo, ":PIssueFrom", ":PIssueTo", "تاريخ صدور"},
                            {&f.cancelFrom, &f.cancelTo, ":PCancelFrom", ":PCancelTo", "تاريخ ابطال"}};
    for (const Range& r : ranges) {
        QString ends[2];
        const QString* texts[2] = {r.from, r.to};
        for (int i = 0; i < 2; ++i) {
            QString bare = *texts[i];
            bare.remove(QLatin1Char('/')).remove(QLatin1Char(' '));
            if (bare.isEmpty() || bare == NoEnd)
                continue;
            const auto d = util::parseJalali(*texts[i]);
            if (!d)
                return fail(QString::fromUtf8(r.caption) + QStringLiteral(" درست نيست: ") + *texts[i]);
            ends[i] = d->toText();
        }
        if (!ends[0].isEmpty() && !ends[1].isEmpty() && ends[1] < ends[0])
            return fail(QString::fromUtf8(r.caption) + QStringLiteral(": ") + QStringLiteral("تاريخ پايان از تاريخ شروع كمتر است"));
        // An empty start binds as '' (a null text would bind NULL and match nothing).
        w.binds.insert(QString::fromLatin1(r.fromName), ends[0].isEmpty() ? QStringLiteral("") : ends[0]);
        w.binds.insert(QString::fromLatin1(r.toName), ends[1].isEmpty() ? NoEnd : ends[1]);
    }
    if (!f.number.trimmed().isEmpty()) {
        if (f.number.trimmed().size() > 20)
            return fail(QStringLiteral("شماره تضمين بيش از 20 نويسه است"));
        QString pattern = f.number.trimmed();
        pattern.replace(QLatin1Char('!'), QStringLiteral("!!")).replace(QLatin1Char('%'), QStringLiteral("!%")).replace(QLatin1Char('_'), QStringLiteral("!_"));
        w.sql += QStringLiteral(" AND (ZNO LIKE :PZNo ESCAPE '!')");
        w.binds.insert(QStringLiteral(":PZNo"), QLatin1Char('%') + pattern + QLatin1Char('%'));
    }
    // The ticked statuses and the bank's branches are codes this program holds
    // (checked whole numbers), never typed text.
    if (!f.statuses.isEmpty()) {
        QStringList codes;
        for (int s : f.statuses) {
            if (s < 0 || s > 24)
                return fail(QStringLiteral("وضعيت تضمين درست نيست: %1").arg(s));
            codes << QString::number(s);
        }
        w.sql += QStringLiteral(" AND (COALESCE(ZSTATUSE, 0) IN (") + codes.join(QLatin1Char(',')) + QStringLiteral("))");
    }
    if (f.bank >= 0) {
        QSqlQuery q(session.common());
        QString error;
        if (!db::prepareBound(q, QStringLiteral("SELECT CODE FROM BANKBRANCHNAME WHERE BANKID = :Bank ORDER BY CODE"), {{QStringLiteral(":Bank"), f.bank}},
                              &error)
            || !q.exec())
            return fail(error.isEmpty() ? q.lastError().text() : error);
        QStringList codes;
        while (q.next())
            codes << QString::number(q.value(0).toLongLong());
        w.sql += codes.isEmpty() ? QStringLiteral(" AND (1 = 0)") : QStringLiteral(" AND (SUDBANKCODE IN (") + codes.join(QLatin1Char(',')) + QStringLiteral(", 0))");
    }
    return w;
}

QList<io::ListField> searchColumns()
{
    return {
        io::dataField(QStringLiteral("IDX"), QStringLiteral("كد شناسائي"), 60, CellFormat::Integer),
        io::dataField(QStringLiteral("ZNO"), QStringLiteral("شماره تضمين"), 110),
        io::codeField(QStringLiteral("ZSTATUSE"), QStringLiteral("وضعيت"), 90, statusCodeTexts()),
        io::codeField(QStringLiteral("ZTYPE"), QStringLiteral("نوع تضمين"), 150, typeCodeTexts()),
        io::codeField(QStringLiteral("ZKIND"), QStringLiteral("ماهيت تضمين"), 130, kindCodeTexts()),
        io::lookupField(QStringLiteral("TAFSILNO"), QStringLiteral("پيمانكار"), 200, commonTexts("SELECT CODE, NAME FROM TAFSILI WHERE CI = :CI")),
        io::lookupField(QStringLiteral("PAYMENT"), QStringLiteral("شماره قرارداد"), 90, commonTexts("SELECT CODE, PAYMENTNO FROM PAYMENTS WHERE CI = :CI")),
        io::lookupField(QStringLiteral("PROJNO"), QStringLiteral("نام پروژه"), 150, commonTexts("SELECT PROJNO, NAMEP FROM PROJEH WHERE CI = :CI")),
        io::lookupField(QStringLiteral("SUDBANKCODE"), QStringLiteral("نام شعبه"), 130, commonTexts("SELECT CODE, BRANCHNAME FROM BANKBRANCHNAME", false)),
        io::dataField(QStringLiteral("SUDDATE"), QStringLiteral("تاريخ صدور"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("SARRESID"), QStringLiteral("تاريخ سر رسيد"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("EBTALDATE"), QStringLiteral("تاريخ ابطال"), 80, CellFormat::JalaliDate),
        io::dataField(QStringLiteral("AMOUNT"), QStringLiteral("مبلغ تضمين"), 110, CellFormat::Amount, true),
        io::dataField(QStringLiteral("ZPOS"), QStringLiteral("رديف بايگاني"), 60, CellFormat::Integer),
    };
}

struct Named {
    Guarantee g;
    QString party, branch, project;
};

db::Fetched<std::vector<Named>> namedGuarantees(startup::Session& session, const QList<int>& idx)
{
    const int section = session.SectionCode().toInt();
    QHash<QString, QString> cache;
    auto name = [&](const QString& sql, int code, bool perSection) -> db::Fetched<QString> {
        if (code <= 0)
            return db::Fetched<QString>::found(QString());
        const QString key = sql + QLatin1Char('#') + QString::number(code);
        if (cache.contains(key))
            return db::Fetched<QString>::found(cache.value(key));
        QVariantMap b{{QStringLiteral(":Key"), code}};
        if (perSection)
            b.insert(QStringLiteral(":CI"), section);
        const auto v = db::scalar(session.common(), sql, b);
        if (v.failed())
            return db::Fetched<QString>::failure(v.error());
        cache.insert(key, v ? v->toString().trimmed() : QString());
        return db::Fetched<QString>::found(cache.value(key));
    };
    std::vector<Named> out;
    for (int i : idx) {
        const auto r = db::firstRow(session.deposits(), QStringLiteral("SELECT * FROM ZEMANAT WHERE IDX = :i"), {{QStringLiteral(":i"), i}});
        if (r.failed())
            return db::Fetched<std::vector<Named>>::failure(r.error());
        if (!r)
            continue;
        Named n{guaranteeFrom(*r), {}, {}, {}};
        const auto party = name(QStringLiteral("SELECT NAME FROM TAFSILI WHERE CODE = :Key AND CI = :CI"), n.g.tafsilNo, true);
        const auto bank = name(QStringLiteral("SELECT n.NAME FROM BANKBRANCHNAME b LEFT JOIN BANKNAME n ON n.CODE = b.BANKID WHERE b.CODE = :Key"),
                               n.g.sudBankCode, false);
        const auto branchName = name(QStringLiteral("SELECT BRANCHNAME FROM BANKBRANCHNAME WHERE CODE = :Key"), n.g.sudBankCode, false);
        const db::Fetched<QString> branch = bank.failed() ? bank : branchName.failed() ? branchName
            : db::Fetched<QString>::found(bank->isEmpty() ? *branchName : branchName->isEmpty() ? *bank : *bank + QStringLiteral(" - ") + *branchName);
        const auto project = name(QStringLiteral("SELECT NAMEP FROM PROJEH WHERE PROJNO = :Key AND CI = :CI"), n.g.projNo, true);
        for (const auto* f : {&party, &branch, &project}) {
            if (f->failed())
                return db::Fetched<std::vector<Named>>::failure(f->error());
        }
        n.party = *party;
        n.branch = *branch;
        n.project = *project;
        out.push_back(std::move(n));
    }
    return db::Fetched<std::vector<Named>>::found(std::move(out));
}

io::ReportModel listModel(startup::Session& session, const std::vector<Named>& rows, bool byBranch)
{
    io::ReportModel m;
    m.titleLines = {byBranch ? QStringLiteral("فهرست تضمينات به تفکيک شعب") : QStringLiteral("فهرست ضمانت نامه هاي بانكي و ساير تضمين ها"),
                    session.site().organisationName, QStringLiteral("فرم شماره 2")};
    m.landscape = true;
    m.columns = {{QStringLiteral("رديف"), 0.45, CellFormat::Integer},
                 {QStringLiteral("شماره تضمين"), 1.1},
                 {QStringLiteral("نوع تضمين"), 1.4},
                 {QStringLiteral("بانك تضمين دهنده"), 1.5},
                 {QStringLiteral("پروژه"), 1.4},
                 {QStringLiteral("پيمانكار"), 1.6},
                 {QStringLiteral("ش بايگاني"), 0.6, CellFormat::Integer},
                 {QStringLiteral("تاريخ صدور"), 0.85, CellFormat::JalaliDate},
                 {QStringLiteral("سررسيد"), 0.85, CellFormat::JalaliDate},
                 {QStringLiteral("مبلغ تضمين"), 1.2, CellFormat::Amount, true}};
    m.wordsColumn = 9;
    if (byBranch)
        m.groupColumn = 3;
    int n = 0;
    for (const Named& r : rows)
        m.addRow({QString::number(++n), r.g.zno, typeLabel(r.g.type), r.branch, r.project, r.party, QString::number(r.g.zpos), r.g.sudDate, r.g.sarresid,
                  util::FormatAmount(r.g.amount)},
                 {0, 0, 0, 0, 0, 0, 0, 0, 0, double(r.g.amount)});
    m.signatures = letters::signatureBlocks(session, QStringLiteral("zemlist"), letters::GuaranteeReportsGroup);
    if (m.signatures.empty())
        m.signatures = {{QStringLiteral("ذيحساب و مدير امور مالي"), {}}, {QStringLiteral("مسئول امور مالي"), {}},
                        {QStringLiteral("دفترداري و تنظيم حسابها"), {}}, {QStringLiteral("حسابدار"), {}}};
    return m;
}

} // namespace

QStringList searchOrderTexts()
{
    return {QStringLiteral("شماره شناسائي"), QStringLiteral("شماره تضمين"), QStringLiteral("نوع تضمين"), QStringLiteral("ماهيت تضمين"),
            QStringLiteral("تاريخ سررسيد"),  QStringLiteral("پيمانكار"),    QStringLiteral("شعبه بانك"), QStringLiteral("پروژه"),
            QStringLiteral("پيمان"),         QStringLiteral("رديف بايگاني"), QStringLiteral("تاريخ صدور")};
}

QStringList searchNatureTexts()
{
    return {QStringLiteral("همه"), QStringLiteral("شركت در مناقصه"), QStringLiteral("حسن اجراي تعهدات"), QStringLiteral("استرداد وجه الضمان"),
            QStringLiteral("دريافت پيش پرداخت")};
}

QStringList searchTypeTexts()
{
    QStringList t{QStringLiteral("همه")};
    for (int i = 0; i < 14; ++i)
        t << typeLabel(i);
    return t;
}

const QList<StatusTick>& statusTicks()
{
    static const QList<StatusTick> ticks = {{QStringLiteral("همه"), -1},        {QStringLiteral("معتبر"), 0},        {QStringLiteral("تمديد"), 1},
                                            {QStringLiteral("تقليل"), 2},       {QStringLiteral("ابطال"), 3},        {QStringLiteral("ضبط"), 4},
                                            {QStringLiteral("تقليل وتمديد"), 5}, {QStringLiteral("صدور"), 6},         {QStringLiteral("درخواست صدور"), 7},
                                            {QStringLiteral("تاييد"), 8},       {QStringLiteral("درخواست تمديد"), 10}};
    return ticks;
}

QString searchTitle() { return QStringLiteral("جستجو در اطلاعات تضمينات"); }
QString searchCountSuffix() { return QStringLiteral(" فقره تضمين"); }

std::optional<io::ListDefinition> searchList(startup::Session& session, const SearchFilter& filter, QString* why)
{
    const auto w = searchWhere(session, filter, why);
    if (!w)
        return std::nullopt;
    io::ListDefinition d;
    d.name = QStringLiteral("guarantees-search");
    d.title = searchTitle();
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT * FROM ZEMANAT WHERE ") + w->sql + QStringLiteral("\nORDER BY ") + searchOrderSql(filter.order);
    for (auto it = w->binds.cbegin(); it != w->binds.cend(); ++it)
        d.parameters.append({it.key(), it.value()});
    d.columns = searchColumns();
    d.keyField = QStringLiteral("IDX");
    d.historyTable = QStringLiteral("ZEMANAT");
    d.historyKey = {QStringLiteral("IDX")};
    return d;
}

io::ListDefinition searchList()
{
    io::ListDefinition d;
    d.name = QStringLiteral("guarantees-search");
    d.title = searchTitle();
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT * FROM ZEMANAT WHERE ") + SearchWhere + QStringLiteral("\nORDER BY IDX");
    d.parameters = {{QStringLiteral(":PZKind"), -1},   {QStringLiteral(":PZType"), -1},  {QStringLiteral(":PProjNo"), -1},
                    {QStringLiteral(":PBranch"), -1},  {QStringLiteral(":PPayment"), -1}, {QStringLiteral(":PTafsilNo"), -1},
                    {QStringLiteral(":PDueFrom"), QStringLiteral("")}, {QStringLiteral(":PDueTo"), NoEnd},
                    {QStringLiteral(":PIssueFrom"), QStringLiteral("")}, {QStringLiteral(":PIssueTo"), NoEnd},
                    {QStringLiteral(":PCancelFrom"), QStringLiteral("")}, {QStringLiteral(":PCancelTo"), NoEnd}};
    d.columns = searchColumns();
    d.keyField = QStringLiteral("IDX");
    d.historyTable = QStringLiteral("ZEMANAT");
    d.historyKey = {QStringLiteral("IDX")};
    return d;
}

db::Fetched<GuaranteeTotals> searchTotals(startup::Session& session, const SearchFilter& filter)
{
    QString why;
    const auto w = searchWhere(session, filter, &why);
    if (!w)
        return db::Fetched<GuaranteeTotals>::failure(why);
    const auto row = db::firstRow(session.deposits(), QStringLiteral("SELECT SUM(AMOUNT) AS SumAmount, COUNT(*) FROM ZEMANAT WHERE ") + w->sql, w->binds);
    return totalsOf(row);
}

db::Fetched<io::ReportModel> searchReport(startup::Session& session, const QList<int>& idx)
{
    const auto rows = namedGuarantees(session, idx);
    if (!rows)
        return db::Fetched<io::ReportModel>::failure(rows.error());
    return db::Fetched<io::ReportModel>::found(listModel(session, *rows, false));
}

db::Fetched<io::ReportModel> searchReportByBranch(startup::Session& session, const QList<int>& idx)
{
    auto rows = namedGuarantees(session, idx);
    if (!rows)
        return db::Fetched<io::ReportModel>::failure(rows.error());
    std::vector<Named> sorted = *rows;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Named& a, const Named& b) { return a.g.sudBankCode < b.g.sudBankCode; });
    return db::Fetched<io::ReportModel>::found(listModel(session, sorted, true));
}

} // namespace orvak::guarantees
