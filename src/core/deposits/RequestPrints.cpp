#include "core/deposits/RequestPrints.h"

#include "core/basedata/Lookups.h"
#include "core/deposits/FundRequests.h"
#include "core/deposits/Refunds.h"
#include "core/startup/Session.h"
#include "core/util/AmountWords.h"
#include "core/util/Numbers.h"

#include <algorithm>

namespace orvak::deposits {

namespace {

using io::CellFormat;

QString amountText(qint64 v) { return v == 0 ? QStringLiteral("0") : util::FormatAmount(v); }
QString numberText(qint64 v) { return v ? QString::number(v) : QString(); }
QString wordsOf(qint64 v) { return util::AmountToWords(quint64(std::max<qint64>(0, v))); }

// A request row with the names it refers to.
struct Printed {
    FundRequestRow row;
    QString owner, contract;
};

// A column of a detailed list and how a row fills it.
struct Column {
    const char* title;
    double weight;
    CellFormat format;
    bool total;
    std::function<QString(const Printed&)> text;
    std::function<qint64(const Printed&)> amount;
};

Column textColumn(const char* title, double weight, std::function<QString(const Printed&)> text, CellFormat f = CellFormat::Text)
{
    return {title, weight, f, false, std::move(text), {}};
}
Column amountColumn(const char* title, std::function<qint64(const Printed&)> v, bool total = true)
{
    return {title, 1.4, CellFormat::Amount, total, [v](const Printed& p) { return amountText(v(p)); }, v};
}

Column col(char key)
{
    switch (key) {
    case 'r': return textColumn("رديف", 0.5, [](const Printed& p) { return QString::number(p.row.reqRow); }, CellFormat::Integer);
    case 'i': return textColumn("شناسه سپرده", 0.8, [](const Printed& p) { return numberText(p.row.sepIdx); }, CellFormat::Integer);
    case 'o': return textColumn("صاحب سپرده", 2.3, [](const Printed& p) { return p.owner; });
    case 'c': return textColumn("شماره قرارداد", 1.1, [](const Printed& p) { return p.contract; });
    case 'n': return textColumn("شماره قبض", 0.9, [](const Printed& p) { return numberText(p.row.fishNo); }, CellFormat::Integer);
    case 'd': return textColumn("تاريخ قبض", 1.0, [](const Printed& p) { return p.row.fishDate; }, CellFormat::JalaliDate);
    case 'f': return amountColumn("مبلغ سپرده", [](const Printed& p) { return p.row.fishAmount; }, false);
    case 'a': return amountColumn("مبلغ درخواستي", [](const Printed& p) { return p.row.amount; });
    case 'b': return textColumn("شماره بستانکاري", 0.9, [](const Printed& p) { return p.row.bestankariNo; });
    case 'e': return textColumn("تاريخ بستانکاري", 1.0, [](const Printed& p) { return p.row.bestankariDate; }, CellFormat::JalaliDate);
    case 'p': return amountColumn("پيکره واريزي", [](const Printed& p) { return p.row.peikareh; }, false);
    case 's': return textColumn("ش نامه ارسالي", 1.0, [](const Printed& p) { return p.row.ersalLetter; });
    case 'w': return textColumn("رديف صورت ريز", 0.7, [](const Printed& p) { return numberText(p.row.ersalRow); }, CellFormat::Integer);
    case 'l': return textColumn("ش. نامه درخواست ", 1.0, [](const Printed& p) { return p.row.letterNo; });
    case 'm': return textColumn("ملاحظات", 1.8, [](const Printed& p) { return p.row.descr; });
    default: break;
    }
    return textColumn("", 1, [](const Printed&) { return QString(); });
}

enum class Order { Row, ReceiptDateDesc, ReceiptDateAsc, Owner, Contract, Notice };
enum class Kind { Rows, ByNotice, NoticeTotals, NoticeTotalsWithRest };

// The detailed list's models: name, order, kind, columns (by key letter), whether the
// pages are of a fixed length, landscape.
struct DetailModel {
    const char* name;
    Order order;
    Kind kind;
    const char* columns;
    bool fixedLength;
    bool landscape;
};

const DetailModel Models[] = {
    {"نمونه 1", Order::Row, Kind::Rows, "rocnda", true, false},
    {"نمونه 2", Order::ReceiptDateDesc, Kind::Rows, "rndofa", true, false},
    {"نمونه 2-2", Order::Row, Kind::Rows, "rndofa", true, false},
    {"نمونه 3", Order::Row, Kind::Rows, "ronbdea", false, false},
    {"نمونه 4", Order::Owner, Kind::Rows, "ornda", false, false},
    {"نمونه 5", Order::Row, Kind::Rows, "rndswoa", false, false},
    {"نمونه 6", Order::Notice, Kind::NoticeTotals, "", false, false},
    {"نمونه 7", Order::Notice, Kind::ByNotice, "brndoa", false, false},
    {"نمونه 8", Order::Notice, Kind::NoticeTotalsWithRest, "", false, false},
    {"نمونه 9", Order::ReceiptDateAsc, Kind::Rows, "rndwoa", true, false},
    {"نمونه 10", Order::Row, Kind::Rows, "rolnam", false, false},
    {"نمونه 11", Order::Row, Kind::Rows, "rioncdfbesam", false, true},
    {"نمونه 12", Order::Contract, Kind::Rows, "cornda", false, false},
    {"نمونه 13", Order::Row, Kind::Rows, "rondba", true, false},
};
constexpr int RowsPerFixedPage = 25;

void sortRows(QList<Printed>& rows, Order order)
{
    auto by = [&rows](auto less) { std::stable_sort(rows.begin(), rows.end(), less); };
    switch (order) {
    case Order::Row: by([](const Printed& a, const Printed& b) { return a.row.reqRow < b.row.reqRow; }); break;
    case Order::ReceiptDateDesc:
        by([](const Printed& a, const Printed& b) {
            return a.row.fishDate != b.row.fishDate ? a.row.fishDate > b.row.fishDate : a.row.reqRow < b.row.reqRow;
        });
        break;
    case Order::ReceiptDateAsc:
        by([](const Printed& a, const Printed& b) {
            return a.row.fishDate != b.row.fishDate ? a.row.fishDate < b.row.fishDate : a.row.ersalRow < b.row.ersalRow;
        });
        break;
    case Order::Owner:
        by([](const Printed& a, const Printed& b) { return a.owner != b.owner ? a.owner < b.owner : a.row.reqRow < b.row.reqRow; });
        break;
    case Order::Contract:
        by([](const Printed& a, const Printed& b) { return a.contract != b.contract ? a.contract < b.contract : a.row.reqRow < b.row.reqRow; });
        break;
    case Order::Notice:
        by([](const Printed& a, const Printed& b) {
            if (a.row.bestankariDate != b.row.bestankariDate)
                return a.row.bestankariDate < b.row.bestankariDate;
            if (a.row.bestankariNo != b.row.bestankariNo)
                return a.row.bestankariNo < b.row.bestankariNo;
            return a.row.reqRow < b.row.reqRow;
        });
        break;
    }
}

// The rows of a credit notice summed, each sum beside the notice's own total.
void noticeTotals(io::ReportModel& m, const QList<Printed>& rows, bool withRest)
{
    m.columns = {{QStringLiteral("تاريخ بستانکاري"), 1.1, CellFormat::JalaliDate, false},
                 {QStringLiteral("شماره بستانکاري"), 1.1, CellFormat::Text, false},
                 {QStringLiteral("تعداد"), 0.6, CellFormat::Integer, false},
                 {QStringLiteral("جمع مبلغ درخواستي"), 1.5, CellFormat::Amount, true},
                 {QStringLiteral("پيکره واريزي"), 1.5, CellFormat::Amount, false}};
    if (withRest)
        m.columns.push_back({QStringLiteral("مانده پيکره"), 1.5, CellFormat::Amount, false});
    for (qsizetype i = 0; i < rows.size();) {
        const Printed& first = rows[i];
        qint64 sum = 0;
        int count = 0;
        qsizetype j = i;
        for (; j < rows.size() && rows[j].row.bestankariDate == first.row.bestankariDate && rows[j].row.bestankariNo == first.row.bestankariNo; ++j) {
            sum += rows[j].row.amount;
            ++count;
        }
        QStringList texts{first.row.bestankariDate, first.row.bestankariNo, QString::number(count), amountText(sum), amountText(first.row.peikareh)};
        std::vector<double> values{0, 0, 0, double(sum), 0};
        if (withRest) {
            texts << amountText(first.row.peikareh - sum);
            values.push_back(0);
        }
        m.addRow(texts, values);
        i = j;
    }
    m.wordsColumn = 3;
}

struct RefundBank {
    QString bank, branch;
};

RefundBank refundBank(startup::Session& session)
{
    const auto r = db::firstRow(session.deposits(), QStringLiteral("SELECT SEP_BANKRAD, SEP_BANKRAD_SHOBEH FROM GENERAL_INFO WHERE CODE = 1"));
    if (!r)
        return {};
    return {r->value(0).toString().trimmed(), r->value(1).toString().trimmed()};
}

} // namespace

QString emptyRowText() { return QStringLiteral("خالي"); }

QStringList requestLetterTexts()
{
    return {QStringLiteral("نمونه 1) تک نسخه اي"), QStringLiteral("نمونه 2) دو نسخه اي"), QStringLiteral("نمونه 3) تک نسخه اي"),
            QStringLiteral("نمونه 4) خطاب به رئيس اداره خزانه")};
}

db::Fetched<io::ReportModel> requestLetter(startup::Session& session, int reqIdx, int model, std::vector<io::ReportSignature> signatures)
{
    using Result = db::Fetched<io::ReportModel>;
    if (model < 0 || model >= requestLetterTexts().size())
        return Result::failure(QStringLiteral("نمونه نامه درست نيست"));
    FundRequests requests(session);
    const auto h = requests.read(reqIdx);
    if (!h)
        return h.failed() ? Result::failure(h.error()) : Result::none();
    // The count and amount as the rows hold them now.
    const auto sums = requests.rowSums(reqIdx);
    if (!sums)
        return Result::failure(sums.error());
    const RefundBank bank = refundBank(session);
    const startup::OfficeData& office = session.office();
    const QString count = io::isolateLtr(QString::number(sums->count));
    const QString amount = io::isolateLtr(amountText(sums->sum));
    const QString account = QStringLiteral("  مبلغ فوق را به حساب جاري  ") + io::isolateLtr(office.refundBankAccount)
        + QStringLiteral("   رد وجوه سپرده عمراني  ") + QStringLiteral("  نزد بانک  ") + bank.bank + QStringLiteral("  شعبه ") + bank.branch
        + QStringLiteral(" واريز و فيش مربوط را ارسال نماييد");
    const QString body = model == 2 ? QStringLiteral("   احتراما، به پيوست درخواست وجه  تعداد ") + count + QStringLiteral("  فقره سپرده ")
            + QStringLiteral("  به مبلغ ") + amount + QStringLiteral("  ريال ارسال، خواهشمند است دستور فرماييد  ") + account
                                    : QStringLiteral("   احتراما، به پيوست تعداد ") + count + QStringLiteral("  فقره سپرده ") + QStringLiteral("  به مبلغ ")
            + amount + QStringLiteral("  ريال ارسال مي گردد. خواهشمند است دستور فرماييد  ") + account;
    const QString addressee = model == 3 && !office.treasuryHeadName.isEmpty()
        ? QStringLiteral("جناب آقاي ") + office.treasuryHeadName + QStringLiteral(" رئيس محترم اداره خزانه")
        : QStringLiteral("اداره کل امور اقتصادي و دارايي ") + office.province + QStringLiteral(" - خزانه معين استان");
    QStringList letter{QStringLiteral("شماره: ") + io::isolateLtr(h->letterNo) + QStringLiteral("        تاريخ: ") + io::isolateLtr(h->letterDate),
                       addressee,
                       QStringLiteral("موضوع: درخواست وجه سپرده - درخواست شماره ") + io::isolateLtr(h->reqNo) + QStringLiteral(" تاريخ ")
                           + io::isolateLtr(h->reqDate),
                       // The wording's runs of spaces would print as gaps a reader takes for columns.
                       body.simplified(),
                       QStringLiteral("مبلغ به حروف: ") + wordsOf(sums->sum) + QStringLiteral(" ريال تمام ")};
    if (model == 2)
        letter << QStringLiteral("پيشاپيش از همکاري صميمانه آن اداره سپاسگزاري مي گردد.");
    letter << QStringLiteral("ذيحساب ") + office.officeName;
    io::ReportModel m;
    m.titleLines = {QStringLiteral("بسمه تعالي"), QStringLiteral("نامه درخواست وجه سپرده")};
    m.paragraphs = letter;
    if (model == 1) {
        // The second copy stays with the office, under the first.
        m.paragraphs << QStringLiteral("- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -") << QStringLiteral("نسخه دوم (بايگاني)");
        m.paragraphs << letter;
    }
    m.signatures = std::move(signatures);
    return Result::found(m);
}

QStringList requestDetailTexts()
{
    QStringList names;
    for (const DetailModel& d : Models)
        names << QString::fromUtf8(d.name);
    return names;
}

db::Fetched<io::ReportModel> requestDetail(startup::Session& session, int reqIdx, int model, std::vector<io::ReportSignature> signatures)
{
    using Result = db::Fetched<io::ReportModel>;
    if (model < 0 || model >= int(std::size(Models)))
        return Result::failure(QStringLiteral("نمونه گزارش درست نيست"));
    const DetailModel& dm = Models[model];
    const auto opened = FundRequests(session).open(reqIdx);
    if (!opened)
        return opened.failed() ? Result::failure(opened.error()) : Result::none();
    const io::LookupTable owners = basedata::namesByQuery(session, QStringLiteral("SELECT CODE, NAME FROM TAFSILI WHERE CI = :CI"), true);
    const io::LookupTable contracts = basedata::namesByQuery(session, QStringLiteral("SELECT CODE, PAYMENTNO FROM PAYMENTS WHERE CI = :CI"), true);
    QList<Printed> rows;
    for (const FundRequestRow& r : opened->rows)
        rows.append({r, owners.value(r.tafsilNo), contracts.value(r.paymanNo)});
    sortRows(rows, dm.order);

    io::ReportModel m;
    m.titleLines = {QStringLiteral("صورت ريز درخواست وجه سپرده از خزانه") + QStringLiteral(" - ") + QString::fromUtf8(dm.name),
                    QStringLiteral(" شماره درخواست: ") + io::isolateLtr(opened->header.reqNo) + QStringLiteral(" تاريخ ")
                        + io::isolateLtr(opened->header.reqDate)};
    m.signatures = std::move(signatures);
    m.grandTotalLabel = QStringLiteral("جمع به عدد");
    m.landscape = dm.landscape;
    if (dm.kind == Kind::NoticeTotals || dm.kind == Kind::NoticeTotalsWithRest) {
        noticeTotals(m, rows, dm.kind == Kind::NoticeTotalsWithRest);
        return Result::found(m);
    }
    QList<Column> columns;
    for (const char* k = dm.columns; *k; ++k)
        columns << col(*k);
    if (dm.kind == Kind::ByNotice)
        m.groupColumn = 0;
    for (const Column& c : columns) {
        m.columns.push_back({QString::fromUtf8(c.title), c.weight, c.format, c.total});
        if (c.total && m.wordsColumn < 0)
            m.wordsColumn = int(m.columns.size()) - 1;
    }
    for (const Printed& p : rows) {
        QStringList texts;
        std::vector<double> values;
        for (const Column& c : columns) {
            QString t = c.text(p);
            // The notice's number and date together name the group.
            if (dm.kind == Kind::ByNotice && &c == &columns.first())
                t = p.row.bestankariNo + QStringLiteral(" - ") + p.row.bestankariDate;
            texts << t;
            values.push_back(c.amount ? double(c.amount(p)) : 0.0);
        }
        m.addRow(texts, values);
    }
    if (dm.fixedLength) {
        // A fixed-length page is filled to its last line with empty rows.
        m.rowsPerPage = RowsPerFixedPage;
        const int n = int(m.rows.size());
        const int full = std::max(1, (n + RowsPerFixedPage - 1) / RowsPerFixedPage) * RowsPerFixedPage;
        for (int i = n; i < full; ++i) {
            QStringList texts;
            for (qsizetype c = 0; c < qsizetype(m.columns.size()); ++c)
                texts << (c == 0 ? emptyRowText() : QString());
            m.addRow(texts, std::vector<double>(m.columns.size(), 0.0));
        }
    }
    return Result::found(m);
}

db::Fetched<io::ReportModel> refundPaymentOrder(startup::Session& session, int radIdx, std::vector<io::ReportSignature> signatures)
{
    using Result = db::Fetched<io::ReportModel>;
    Refunds refunds(session);
    const auto h = refunds.read(radIdx);
    if (!h)
        return h.failed() ? Result::failure(h.error()) : Result::none();
    const auto rows = refunds.rows(radIdx);
    const auto cheques = refunds.cheques(radIdx);
    if (!rows || !cheques)
        return Result::failure(!rows ? rows.error() : cheques.error());
    const io::LookupTable owners = basedata::namesByQuery(session, QStringLiteral("SELECT CODE, NAME FROM TAFSILI WHERE CI = :CI"), true);
    const io::LookupTable contracts = basedata::namesByQuery(session, QStringLiteral("SELECT CODE, PAYMENTNO FROM PAYMENTS WHERE CI = :CI"), true);
    io::ReportModel m;
    m.titleLines = {QStringLiteral("دستور پرداخت استرداد سپرده")};
    m.signatures = std::move(signatures);
    io::ReportRecord r;
    r.titleLines = {QStringLiteral("رديف استرداد سپرده : ") + io::isolateLtr(QString::number(h->radIdx)) + QStringLiteral("        تاريخ استرداد: ")
                    + io::isolateLtr(h->radDate)};
    QStringList receipts;
    for (const RefundRow& x : *rows)
        receipts << QString::number(x.fishNo) + QStringLiteral(" (") + amountText(x.amount) + QStringLiteral(" ريال )");
    QStringList paid;
    for (const IssuedCheque& c : *cheques)
        paid << QStringLiteral("چک ") + QString::number(c.chkNo) + QStringLiteral(" تاريخ ") + c.chkDate + QStringLiteral(" مبلغ ") + amountText(c.amount)
                + QStringLiteral(" ريال ");
    r.fields = {
        {QStringLiteral("صاحب سپرده"), owners.value(h->tafsili)},
        {QStringLiteral("قرارداد"), contracts.value(h->payman)},
        {QStringLiteral("علت استرداد"), refundKindTexts().value(h->radKind)},
        {QStringLiteral("قبوض سپرده"), receipts.join(QStringLiteral("، "))},
        {QStringLiteral("مبلغ"), amountText(h->amount) + QStringLiteral(" ريال ")},
        {QStringLiteral("مبلغ به حروف"), wordsOf(h->amount) + QStringLiteral(" ريال ")},
        {QStringLiteral("چکهاي صادره جهت استرداد"), paid.join(QStringLiteral("، "))},
        {QStringLiteral("استرداد از محل تنخواه گردان موقت"), h->tikAzTankhah ? QStringLiteral("شماره تنخواه ") + QString::number(h->tankhahIdx) : QString()},
        {QStringLiteral("توضيحات"), h->descr},
    };
    m.records.push_back(std::move(r));
    return Result::found(m);
}

} // namespace orvak::deposits
