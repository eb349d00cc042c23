#include "core/deposits/DepositImport.h"

#include "core/deposits/Deposit.h"
#include "core/deposits/DepositKinds.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/deposits/RequestWork.h"
#include "core/io/CsvBook.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace orvak::deposits {

using startup::Prompt;

namespace {

const QString S = QStringLiteral("");

QString key(ImportField f)
{
    for (const ImportFieldInfo& i : importFields()) {
        if (i.field == f)
            return i.key;
    }
    return {};
}

QString caption(ImportField f)
{
    for (const ImportFieldInfo& i : importFields()) {
        if (i.field == f)
            return i.caption;
    }
    return {};
}

// Texts are cut to their columns, as every other writer of these tables does.
QString cut(const QString& text, int width) { return text.trimmed().left(width); }

QString rowText(int row, const QString& why)
{
    return QStringLiteral("رديف %1 فايل: %2").arg(row).arg(why);
}

QString badCell(ImportField f, const QString& text, const QString& what)
{
    return QStringLiteral("%1 «%2» %3").arg(caption(f), text.trimmed(), what);
}

QString nothingKeptText() { return QStringLiteral("هيچ اطلاعاتي از فايل ثبت نشد."); }

} // namespace

const QList<ImportFieldInfo>& importFields()
{
    static const QList<ImportFieldInfo> fields{
        {ImportField::ReceiptNo, QStringLiteral("SEPNO"), QStringLiteral("شماره قبض سپرده")},
        {ImportField::ReceiptDate, QStringLiteral("SEPDATE"), QStringLiteral("تاريخ قبض")},
        {ImportField::DocumentNo, QStringLiteral("CHKNO"), QStringLiteral("شماره مدرک")},
        {ImportField::PaymentDate, QStringLiteral("CHKDATE"), QStringLiteral("تاريخ واريز")},
        {ImportField::OwnerCode, QStringLiteral("TAFSILI"), QStringLiteral("کد اورواکي پيمانکار")},
        {ImportField::OwnerNid, QStringLiteral("NID"), QStringLiteral("کد ملي پيمانکار")},
        {ImportField::OwnerName, QStringLiteral("NAME"), QStringLiteral("نام پيمانکار")},
        {ImportField::Contract, QStringLiteral("PAYMENT"), QStringLiteral("پيمان/قرارداد")},
        {ImportField::Plan, QStringLiteral("TARHNO"), QStringLiteral("طرح")},
        {ImportField::Project, QStringLiteral("PROJNO"), QStringLiteral("پروژه")},
        {ImportField::Remarks, QStringLiteral("DESCR"), QStringLiteral("ملاحظات")},
        {ImportField::Amount, QStringLiteral("AMOUNT"), QStringLiteral("مبلغ سپرده")},
        {ImportField::Row, QStringLiteral("SEPROW"), QStringLiteral("رديف")},
        {ImportField::Year, QStringLiteral("MY"), QStringLiteral("سال")},
        {ImportField::Month, QStringLiteral("MM"), QStringLiteral("ماه")},
        {ImportField::RefundMark, QStringLiteral("REFUND"), QStringLiteral("استرداد؟")},
        {ImportField::RefundDate, QStringLiteral("RADDATE"), QStringLiteral("تاريخ استرداد")},
        {ImportField::VoucherNo, QStringLiteral("SNDNO"), QStringLiteral("ش.سند")},
        {ImportField::RefundAmount, QStringLiteral("RADAMOUNT"), QStringLiteral("مبلغ استرداد")},
        {ImportField::CreditNo, QStringLiteral("BESNO"), QStringLiteral("ش.بس")},
        {ImportField::CreditYear, QStringLiteral("BESYEAR"), QStringLiteral("سال")},
        {ImportField::CreditMonth, QStringLiteral("BESMONTH"), QStringLiteral("ماه")},
    };
    return fields;
}

void ImportMapping::set(ImportField f, const QString& column)
{
    if (column.trimmed().isEmpty())
        columns.remove(f);
    else
        columns.insert(f, column.trimmed());
}

bool ImportMapping::save(const QString& path, QString* error) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = f.errorString();
        return false;
    }
    QByteArray out;
    for (const ImportFieldInfo& i : importFields()) {
        if (columns.contains(i.field))
            out += (i.key + QLatin1Char('=') + columns.value(i.field) + QLatin1Char('\n')).toUtf8();
    }
    f.write(out);
    if (!f.commit()) {
        *error = f.errorString();
        return false;
    }
    return true;
}

std::optional<ImportMapping> ImportMapping::load(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("فايل انتخاب فيلدها خوانده نشد: ") + f.errorString();
        return std::nullopt;
    }
    ImportMapping m;
    int line = 0;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        ++line;
        QString text = QString::fromUtf8(raw).trimmed();
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = text.indexOf(QLatin1Char('='));
        const QString k = eq < 0 ? text : text.left(eq).trimmed();
        bool known = false;
        for (const ImportFieldInfo& i : importFields()) {
            if (i.key.compare(k, Qt::CaseInsensitive) == 0) {
                m.set(i.field, text.mid(eq + 1));
                known = true;
            }
        }
        if (eq < 0 || !known) {
            *error = QStringLiteral("سطر %1 فايل انتخاب فيلدها خوانا نيست: %2").arg(line).arg(text);
            return std::nullopt;
        }
    }
    return m;
}

QString mappingFilePath(const QString& startFolder) { return QDir(startFolder).filePath(QStringLiteral("ReadXLSSepordeh.TMP")); }

QString workbookRefusalText() { return QStringLiteral("خطا! در شناسايي فايل اکسل"); }
QString doneText() { return QStringLiteral("انجام شد"); }

std::optional<SheetInfo> sheetsOf(const QString& path, QString* error)
{
    QString why;
    const auto book = io::openSpreadsheet(path, &why);
    if (!book) {
        *error = workbookRefusalText() + QLatin1Char('\n') + why;
        return std::nullopt;
    }
    return SheetInfo{book->sheetNames()};
}

std::optional<QStringList> columnTitles(const QString& path, int sheet, QString* error)
{
    QString why;
    const auto book = io::openSpreadsheet(path, &why);
    if (!book) {
        *error = workbookRefusalText() + QLatin1Char('\n') + why;
        return std::nullopt;
    }
    if (sheet < 0 || sheet >= book->sheetNames().size()) {
        *error = QStringLiteral("صفحه مورد نظر در فايل نيست");
        return std::nullopt;
    }
    QStringList titles;
    const bool read = book->readSheet(sheet, [&](int, const QStringList& cells) {
        for (const QString& c : cells) {
            if (!c.trimmed().isEmpty()) {
                for (const QString& t : cells)
                    titles << t.trimmed();
                return false;
            }
        }
        return true;
    }, &why);
    if (!read) {
        *error = workbookRefusalText() + QLatin1Char('\n') + why;
        return std::nullopt;
    }
    while (!titles.isEmpty() && titles.last().isEmpty())
        titles.removeLast();
    return titles;
}

std::optional<qint64> importAmount(const QString& text)
{
    QString t = util::normalizeDigits(text).trimmed();
    // The Arabic thousands separator and the spaces a grouped amount may carry.
    t.remove(QChar(0x066C)).remove(QChar(0x060C)).remove(QChar(0x00A0)).remove(QChar(0x202F));
    if (t.endsWith(QStringLiteral("ريال")))
        t.chop(4);
    t = t.trimmed();
    if (t.isEmpty())
        return 0;
    return util::parseAmount(t);
}

std::optional<qint64> importNumber(const QString& text)
{
    QString t = util::normalizeDigits(text).trimmed();
    t.remove(QChar(0x066C)).remove(QChar(0x060C));
    if (t.isEmpty())
        return 0;
    // A workbook's number cell of a whole value is already without a fraction; "12.0"
    // from a text cell is still the number 12.
    if (t.endsWith(QStringLiteral(".0")))
        t.chop(2);
    return util::parseWholeNumber(t);
}

std::optional<QString> importDate(const QString& text)
{
    QString t = util::normalizeDigits(text).trimmed();
    if (t.isEmpty() || t == QString::fromUtf16(util::EmptyDateText).trimmed() || t == QStringLiteral("/  /"))
        return QString();
    t.replace(QLatin1Char('-'), QLatin1Char('/')).replace(QLatin1Char('.'), QLatin1Char('/')).replace(QChar(0x066B), QLatin1Char('/'));
    t.remove(QLatin1Char(' '));
    bool whole = false;
    const qint64 n = t.toLongLong(&whole);
    if (whole && t.size() <= 5 && n >= 1 && n < 100000) {
        // An Excel date cell: days from 1899-12-30.
        const QDate g = QDate(1899, 12, 30).addDays(n);
        const util::JalaliDate j = util::toJalali(g);
        if (j.isValid() && j.year >= 1300 && j.year <= 1600)
            return j.toText();
        return std::nullopt;
    }
    if (whole && t.size() == 8) {
        if (const auto j = util::parseJalali(t))
            return j->toText();
        return std::nullopt;
    }
    const QStringList parts = t.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return std::nullopt;
    int v[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        v[i] = parts[i].toInt(&ok);
        if (!ok || parts[i].isEmpty())
            return std::nullopt;
    }
    // Day first ("05/01/1403") as some books write it.
    if (v[0] <= 31 && parts[2].size() == 4)
        std::swap(v[0], v[2]);
    // Two-digit years as the family writes them: 80-99 are 13xx, 00-79 14xx.
    if (parts[0].size() <= 2 && v[0] < 100)
        v[0] += v[0] >= 80 ? 1300 : 1400;
    const util::JalaliDate j{v[0], v[1], v[2]};
    if (!j.isValid() || j.year < 1300 || j.year > 1600)
        return std::nullopt;
    return j.toText();
}

DepositImport::DepositImport(startup::Session& session) : session_(session) {}

namespace {

// The import's state over the work: what the tables held when it began and what it
// added since, so that no row asks the database again.
struct Run {
    Run(const ImportRequest& q, db::UnitOfWork& work, ImportResult& out) : request(q), w(work), result(out) {}
    const ImportRequest& request;
    db::UnitOfWork& w;
    ImportResult& result;
    QHash<QString, int> byNid;
    QHash<int, bool> codes;
    QHash<QString, int> newByName;   // owners made by this import without identifier
    QHash<int, bool> projects;
    qint64 nextIdx = 1, nextSerial = 1, nextRad = 1, nextOwner = 1;
    QList<int> columnOf;             // by field: the cell's index, -1 unmapped
    bool header = false;
    QString error;

    QString cell(const QStringList& cells, ImportField f) const
    {
        const int i = columnOf.value(int(f), -1);
        return i >= 0 && i < cells.size() ? cells.at(i) : QString();
    }
    bool mapped(ImportField f) const { return columnOf.value(int(f), -1) >= 0; }
};

bool prepare(Run& r)
{
    auto next = [&](db::Store store, const char* table, const char* column, const QString& where, qint64* into) {
        const auto k = r.w.nextKey(store, QString::fromLatin1(table), QString::fromLatin1(column), where);
        if (!k)
            return false;
        *into = *k;
        return true;
    };
    if (!next(db::Store::Deposits, "SEP_DAR", "IDX", {}, &r.nextIdx) || !next(db::Store::Deposits, "SEP_DAR", "MOSALSAL", {}, &r.nextSerial)
        || !next(db::Store::Deposits, "SEP_RADH", "RAD_IDX", {}, &r.nextRad)
        || !next(db::Store::Common, "TAFSILI", "CODE", QStringLiteral("CI = 0"), &r.nextOwner))
        return false;
    if (!requestwork::eachRow(r.w, QStringLiteral("SELECT CODE, NID FROM {common}.TAFSILI WHERE CI = 0"), {}, [&](const QSqlRecord& rec) {
            const int code = rec.value(0).toInt();
            r.codes.insert(code, true);
            const QString nid = util::normalizeDigits(rec.value(1).toString()).trimmed();
            if (!nid.isEmpty() && !r.byNid.contains(nid))
                r.byNid.insert(nid, code);
        }))
        return false;
    return requestwork::eachRow(r.w, QStringLiteral("SELECT PROJNO FROM {common}.PROJEH WHERE CI = 0"), {},
                                [&](const QSqlRecord& rec) { r.projects.insert(rec.value(0).toInt(), true); });
}

bool takeHeader(Run& r, const QStringList& cells)
{
    QHash<QString, int> at;
    for (int i = 0; i < cells.size(); ++i) {
        const QString t = cells.at(i).trimmed().toCaseFolded();
        if (!t.isEmpty() && !at.contains(t))
            at.insert(t, i);
    }
    r.columnOf = QList<int>(ImportFieldCount, -1);
    QStringList missing;
    for (auto it = r.request.mapping.columns.cbegin(); it != r.request.mapping.columns.cend(); ++it) {
        const auto found = at.constFind(it.value().trimmed().toCaseFolded());
        if (found == at.constEnd())
            missing << QStringLiteral("%1 («%2»)").arg(it.value(), caption(it.key()));
        else
            r.columnOf[int(it.key())] = found.value();
    }
    if (!missing.isEmpty()) {
        missing.sort();
        r.error = QStringLiteral("ستونهاي انتخاب شده در صفحه نيست: ") + missing.join(QStringLiteral("، "));
        return false;
    }
    r.header = true;
    return true;
}

// An owner for the row: by identifier, by code, or a new detail account.
std::optional<int> ownerOf(Run& r, const QStringList& cells, QString* why)
{
    const QString nidCell = r.cell(cells, ImportField::OwnerNid);
    QString nid = util::normalizeDigits(nidCell).trimmed();
    nid.remove(QLatin1Char('-')).remove(QLatin1Char(' '));
    if (nid.endsWith(QStringLiteral(".0")))
        nid.chop(2);
    if (nid.size() > 15) {
        *why = badCell(ImportField::OwnerNid, nidCell, QStringLiteral("بيش از 15 رقم است"));
        return std::nullopt;
    }
    const QString codeCell = r.cell(cells, ImportField::OwnerCode);
    const auto code = importNumber(codeCell);
    if (!code || *code < 0 || *code > 999'999'999) {
        *why = badCell(ImportField::OwnerCode, codeCell, QStringLiteral("کد نيست"));
        return std::nullopt;
    }
    const QString name = cut(r.cell(cells, ImportField::OwnerName), 100);
    if (!nid.isEmpty()) {
        if (const auto it = r.byNid.constFind(nid); it != r.byNid.constEnd()) {
            ++r.result.ownersFound;
            return it.value();
        }
    }
    if (*code > 0 && r.codes.contains(int(*code))) {
        ++r.result.ownersFound;
        return int(*code);
    }
    if (nid.isEmpty() && name.isEmpty())
        return *code > 0 ? std::optional<int>() : std::optional<int>(-1);
    if (nid.isEmpty()) {
        if (const auto it = r.newByName.constFind(name); it != r.newByName.constEnd())
            return it.value();
    }
    const int made = int(r.nextOwner++);
    const QString empty = S;
    if (!r.w.insert(db::Store::Common, QStringLiteral("TAFSILI"),
                    {{QStringLiteral("CI"), 0},           {QStringLiteral("CODE"), made},         {QStringLiteral("NAME"), name},
                     {QStringLiteral("NID"), nid.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(nid)},
                     {QStringLiteral("HESABJARI"), empty}, {QStringLiteral("HESABMOSHTARAK"), empty}, {QStringLiteral("ADDRESS"), empty},
                     {QStringLiteral("TELL"), empty},      {QStringLiteral("FAX"), empty},         {QStringLiteral("WEB"), empty}}))
        return std::nullopt;
    r.codes.insert(made, true);
    if (!nid.isEmpty())
        r.byNid.insert(nid, made);
    else
        r.newByName.insert(name, made);
    ++r.result.ownersCreated;
    return made;
}

// One sheet row into the register; false with the cause in *why (or the work failed).
bool importRow(Run& r, int sheetRow, const QStringList& cells, QString* why)
{
    auto number = [&](ImportField f, qint64 most, qint64 empty, qint64* into) {
        const QString t = r.cell(cells, f);
        if (t.trimmed().isEmpty()) {
            *into = empty;
            return true;
        }
        const auto n = importNumber(t);
        if (!n || *n < 0 || *n > most) {
            *why = badCell(f, t, QStringLiteral("عدد نيست"));
            return false;
        }
        *into = *n;
        return true;
    };
    auto date = [&](ImportField f, QString* into) {
        const QString t = r.cell(cells, f);
        const auto d = importDate(t);
        if (!d) {
            *why = badCell(f, t, QStringLiteral("تاريخ نيست"));
            return false;
        }
        *into = *d;
        return true;
    };
    auto amount = [&](ImportField f, qint64* into) {
        const QString t = r.cell(cells, f);
        const auto a = importAmount(t);
        if (!a || *a < 0) {
            *why = badCell(f, t, QStringLiteral("عدد نيست"));
            return false;
        }
        *into = *a;
        return true;
    };

    Deposit d;
    qint64 v = 0;
    if (!number(ImportField::ReceiptNo, LargestReceiptNo, 0, &v))
        return false;
    d.sepNo = v;
    if (!date(ImportField::ReceiptDate, &d.sepDate) || !date(ImportField::PaymentDate, &d.chkDate))
        return false;
    if (!number(ImportField::DocumentNo, 99'999'999'999'999, 0, &v))
        return false;
    d.chkNo = v;
    for (auto [f, into] : {std::pair{ImportField::Contract, &d.payment}, {ImportField::Plan, &d.tarhNo}, {ImportField::Project, &d.projNo},
                           {ImportField::Row, &d.sepRow}, {ImportField::VoucherNo, &d.sndNo}}) {
        const bool key = f == ImportField::Contract || f == ImportField::Plan || f == ImportField::Project;
        if (!number(f, 999'999'999, key ? -1 : 0, &v))
            return false;
        *into = int(key && v == 0 ? -1 : v);
    }
    if (!amount(ImportField::Amount, &d.amount))
        return false;
    if (d.amount == 0) {
        *why = caption(ImportField::Amount) + QStringLiteral(" خالي است");
        return false;
    }
    qint64 year = 0, month = 0;
    if (!number(ImportField::Year, 9999, 0, &year) || !number(ImportField::Month, 99, 0, &month))
        return false;
    const QString from = !d.chkDate.isEmpty() ? d.chkDate : d.sepDate;
    if (year == 0 && !from.isEmpty())
        year = from.left(4).toInt();
    if (month == 0 && !from.isEmpty())
        month = from.mid(5, 2).toInt();
    if (year < 1300 || year > 1600) {
        *why = year == 0 ? QStringLiteral("سال سپرده معلوم نيست") : badCell(ImportField::Year, r.cell(cells, ImportField::Year), QStringLiteral("سال نيست"));
        return false;
    }
    if (month < 1 || month > MonthCount) {
        *why = month == 0 ? QStringLiteral("ماه سپرده معلوم نيست") : badCell(ImportField::Month, r.cell(cells, ImportField::Month), QStringLiteral("ماه نيست"));
        return false;
    }
    d.my = int(year);
    d.mm = int(month);
    d.descr = cut(r.cell(cells, ImportField::Remarks), 120);
    d.sepKind = r.request.kind;
    d.savabegh = 1;
    d.amountMandeh = d.amount;

    const bool refunded = util::normalizeDigits(r.cell(cells, ImportField::RefundMark)).trimmed() == QStringLiteral("1");
    qint64 refundAmount = 0;
    QString refundDate;
    if (refunded) {
        if (!amount(ImportField::RefundAmount, &refundAmount) || !date(ImportField::RefundDate, &refundDate))
            return false;
        if (refundAmount == 0)
            refundAmount = d.amount;
        if (refundAmount > d.amount) {
            *why = QStringLiteral("مبلغ استرداد بيش از مبلغ سپرده است");
            return false;
        }
    }

    const auto owner = ownerOf(r, cells, why);
    if (!owner) {
        if (why->isEmpty() && r.w.ok())
            *why = badCell(ImportField::OwnerCode, r.cell(cells, ImportField::OwnerCode), QStringLiteral("در تفصيلي ها نيست"));
        return false;
    }
    d.tafsili = *owner;

    if (d.projNo > 0 && !r.projects.contains(d.projNo)) {
        if (!r.w.insert(db::Store::Common, QStringLiteral("PROJEH"),
                        {{QStringLiteral("CI"), 0}, {QStringLiteral("PROJNO"), d.projNo}, {QStringLiteral("NAMEP"), S}}))
            return false;
        r.projects.insert(d.projNo, true);
        ++r.result.projectsCreated;
    }

    d.idx = int(r.nextIdx++);
    d.mosalsal = r.nextSerial++;
    if (refunded) {
        d.tikEsterdad = 1;
        d.amountRad = refundAmount;
        d.amountMandeh = d.amount - refundAmount;
    }
    if (!r.w.insert(db::Store::Deposits, QStringLiteral("SEP_DAR"), depositValues(d)))
        return false;
    ++r.result.deposits;
    r.result.amount += d.amount;
    if (!refunded)
        return true;
    const int rad = int(r.nextRad++);
    const QVariant radDate = refundDate.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(refundDate);
    if (!r.w.insert(db::Store::Deposits, QStringLiteral("SEP_RADH"),
                    {{QStringLiteral("RAD_IDX"), rad},          {QStringLiteral("RADDATE"), radDate},   {QStringLiteral("REQ_IDX"), 0},
                     {QStringLiteral("TAFSILI"), d.tafsili},    {QStringLiteral("PAYMAN"), d.payment},  {QStringLiteral("RADKIND"), 0},
                     {QStringLiteral("DESCR"), d.descr},        {QStringLiteral("AMOUNT"), double(refundAmount)},
                     {QStringLiteral("SNDNO"), 0},              {QStringLiteral("TIK_AZTANKHAH"), 0}})
        || !r.w.insert(db::Store::Deposits, QStringLiteral("SEP_RADR1"),
                       {{QStringLiteral("RAD_IDX"), rad},       {QStringLiteral("RAD_ROW"), 1},         {QStringLiteral("TAFSILI"), d.tafsili},
                        {QStringLiteral("PAYMAN"), d.payment},  {QStringLiteral("SEPIDX"), d.idx},      {QStringLiteral("AMOUNT"), double(refundAmount)},
                        {QStringLiteral("DESCR"), d.descr},     {QStringLiteral("REQIDX"), 0}})
        || !r.w.insert(db::Store::Deposits, QStringLiteral("SEP_RADR2"),
                       {{QStringLiteral("RAD_IDX"), rad},       {QStringLiteral("RAD_ROW"), 1},         {QStringLiteral("TAFSILI"), d.tafsili},
                        {QStringLiteral("PAYMAN"), d.payment},  {QStringLiteral("CHKKIND"), 1},         {QStringLiteral("AMOUNT"), double(refundAmount)},
                        {QStringLiteral("CHKDATE"), radDate},   {QStringLiteral("MY"), d.my},           {QStringLiteral("TARHNO"), d.tarhNo},
                        {QStringLiteral("PROJNO"), d.projNo},   {QStringLiteral("SNDNO"), 0}}))
        return false;
    ++r.result.refunds;
    (void)sheetRow;
    return true;
}

} // namespace

ImportResult DepositImport::run(const ImportRequest& request, Prompt& prompt, const std::function<bool(int)>& progress)
{
    ImportResult result;
    auto refuse = [&](const QString& text) {
        result.message = text;
        prompt.info(text);
        return result;
    };
    if (request.kind < 1 || request.kind > KindCount)
        return refuse(QStringLiteral("نوع سپرده را انتخاب کنيد"));
    if (request.mapping.column(ImportField::Amount).isEmpty())
        return refuse(QStringLiteral("ابتدا نام فايل و سپس  اسامي ستونهاي متناظر را مشخص فرمائيد.") + QLatin1Char('\n') + caption(ImportField::Amount));
    if (!request.dryRun && !request.administrator && !ReceivedDeposits(session_).mayWrite(prompt)) {
        result.message = writeRefusalText();
        return result;
    }
    QString why;
    const auto book = io::openSpreadsheet(request.path, &why);
    if (!book)
        return refuse(workbookRefusalText() + QLatin1Char('\n') + why);
    if (request.sheet < 0 || request.sheet >= book->sheetNames().size())
        return refuse(QStringLiteral("صفحه مورد نظر در فايل نيست"));

    QString failure;
    bool rolledBack = false;
    const bool committed = session_.inWork([&](db::UnitOfWork& w) {
        result = ImportResult{};
        Run r{request, w, result};
        if (!prepare(r))
            return false;
        QString readError;
        const bool read = book->readSheet(request.sheet, [&](int sheetRow, const QStringList& cells) {
            bool blank = true;
            for (const QString& c : cells) {
                if (!c.trimmed().isEmpty()) {
                    blank = false;
                    break;
                }
            }
            if (blank)
                return true;
            if (!r.header)
                return takeHeader(r, cells);
            ++result.rows;
            QString cause;
            if (!importRow(r, sheetRow, cells, &cause)) {
                result.failedRow = sheetRow;
                r.error = rowText(sheetRow, cause.isEmpty() ? w.error() : cause);
                return false;
            }
            if (progress && result.rows % 500 == 0 && !progress(result.rows)) {
                result.stopped = true;
                return false;
            }
            return true;
        }, &readError);
        if (!read)
            r.error = workbookRefusalText() + QLatin1Char('\n') + readError;
        else if (r.error.isEmpty() && !result.stopped && !r.header)
            r.error = QStringLiteral("صفحه انتخاب شده خالي است");
        else if (r.error.isEmpty() && !result.stopped && result.rows == 0)
            r.error = QStringLiteral("صفحه انتخاب شده رديفي زير عنوان ستونها ندارد");
        if (!r.error.isEmpty()) {
            failure = r.error;
            return false;
        }
        if (result.stopped || request.dryRun) {
            rolledBack = true;
            return false;
        }
        return w.ok();
    }, &why);
    if (committed) {
        if (progress)
            progress(result.rows);
        result.done = true;
        result.message = doneText();
        prompt.info(result.message);
        return result;
    }
    if (rolledBack && request.dryRun && !result.stopped) {
        result.done = true;
        result.message = doneText();
        return result;
    }
    result.done = false;
    if (result.stopped)
        return refuse(QStringLiteral("عمليات متوقف شد. ") + nothingKeptText());
    const QString cause = !failure.isEmpty() ? failure : why;
    return refuse(cause + QLatin1Char('\n') + nothingKeptText());
}

} // namespace orvak::deposits
