#include "core/deposits/DepositPrints.h"

#include "core/deposits/DepositKinds.h"
#include "core/deposits/DepositList.h"
#include "core/startup/Session.h"
#include "core/util/AmountWords.h"
#include "core/util/Numbers.h"

#include "core/db/Db.h"

#include <QSqlQuery>

namespace orvak::deposits {

namespace {

using io::CellFormat;
using io::ReportColumn;

// The names a field's value stands for, as the list looks them up.
io::LookupTable namesOf(startup::Session& session, const QList<io::ListField>& columns, const QString& title)
{
    for (const io::ListField& c : columns) {
        if (c.title == title && c.lookup)
            return c.lookup(session);
    }
    return {};
}

QString amountText(qint64 v) { return v == 0 ? QStringLiteral("0") : util::FormatAmount(v); }
QString numberText(qint64 v) { return v ? QString::number(v) : QString(); }

// A column of the report and how a row fills it.
struct Printed {
    ReportColumn column;
    std::function<QString(const PrintedDeposit&)> text;
    std::function<double(const PrintedDeposit&)> amount;
};

Printed textCol(const char* title, double weight, std::function<QString(const PrintedDeposit&)> text, CellFormat f = CellFormat::Text)
{
    return {{QString::fromUtf8(title), weight, f, false}, std::move(text), {}};
}
Printed amountCol(const char* title, std::function<qint64(const PrintedDeposit&)> v)
{
    return {{QString::fromUtf8(title), 1.4, CellFormat::Amount, true},
            [v](const PrintedDeposit& p) { return amountText(v(p)); },
            [v](const PrintedDeposit& p) { return double(v(p)); }};
}

io::ReportModel fill(const QList<PrintedDeposit>& rows, const QList<Printed>& columns, QStringList titles,
                     std::vector<io::ReportSignature> signatures)
{
    io::ReportModel m;
    m.titleLines = std::move(titles);
    m.signatures = std::move(signatures);
    for (const Printed& c : columns) {
        m.columns.push_back(c.column);
        if (c.column.total && m.wordsColumn < 0)
            m.wordsColumn = int(m.columns.size()) - 1;
    }
    for (const PrintedDeposit& r : rows) {
        QStringList texts;
        std::vector<double> values;
        for (const Printed& c : columns) {
            texts << c.text(r);
            values.push_back(c.amount ? c.amount(r) : 0.0);
        }
        m.addRow(texts, values);
    }
    return m;
}

Printed rowCol() { return textCol("رديف", 0.5, [](const PrintedDeposit& p) { return numberText(p.deposit.sepRow); }, CellFormat::Integer); }
Printed receiptCol() { return textCol("شماره قبض", 0.9, [](const PrintedDeposit& p) { return numberText(p.deposit.sepNo); }, CellFormat::Integer); }
Printed receiptDateCol() { return textCol("تاريخ قبض", 1.1, [](const PrintedDeposit& p) { return p.deposit.sepDate; }, CellFormat::JalaliDate); }
Printed ownerCol() { return textCol("صاحب سپرده", 2.2, [](const PrintedDeposit& p) { return p.owner; }); }
Printed chequeCol() { return textCol("شماره مدرک واريزي", 1.3, [](const PrintedDeposit& p) { return numberText(p.deposit.chkNo); }, CellFormat::Integer); }
Printed chequeDateCol() { return textCol("تاريخ واريز", 1.1, [](const PrintedDeposit& p) { return p.deposit.chkDate; }, CellFormat::JalaliDate); }
Printed kindCol() { return textCol("نوع سپرده", 1.8, [](const PrintedDeposit& p) { return kindListText(p.deposit.sepKind); }); }
Printed amountOfDeposit() { return amountCol("مبلغ سپرده", [](const PrintedDeposit& p) { return p.deposit.amount; }); }
Printed contractCol() { return textCol("قرارداد", 1.2, [](const PrintedDeposit& p) { return p.contractNo; }); }

} // namespace

db::Fetched<QList<PrintedDeposit>> printedDeposits(startup::Session& session, const DepositFilter& filter)
{
    using Rows = QList<PrintedDeposit>;
    const FilterSql listed = listedSql(filter, QStringLiteral("SELECT * FROM SEP_DAR"));
    QSqlQuery q(session.deposits());
    q.setForwardOnly(true);
    QString error;
    if (!db::prepareBound(q, listed.where, listed.binds, &error))
        return db::Fetched<Rows>::failure(error);
    if (!q.exec())
        return db::Fetched<Rows>::failure(q.lastError().text());
    const QList<io::ListField> columns = receivedDepositsList(filter).columns;
    const io::LookupTable owners = namesOf(session, columns, QStringLiteral("صاحب سپرده"));
    const io::LookupTable ids = namesOf(session, columns, QStringLiteral("شناسه/کد ملي"));
    const io::LookupTable plans = namesOf(session, columns, QStringLiteral("طرح"));
    const io::LookupTable projects = namesOf(session, columns, QStringLiteral("نام پروژه"));
    const io::LookupTable contracts = namesOf(session, columns, QStringLiteral("شماره قرارداد"));
    const io::LookupTable contractDates = namesOf(session, columns, QStringLiteral("تاريخ قرارداد"));
    Rows rows;
    while (q.next()) {
        PrintedDeposit p;
        p.deposit = depositFrom(q.record());
        p.owner = owners.value(p.deposit.tafsili);
        p.ownerId = ids.value(p.deposit.tafsili);
        p.plan = plans.value(p.deposit.tarhNo);
        p.project = projects.value(p.deposit.projNo);
        p.contractNo = contracts.value(p.deposit.payment);
        p.contractDate = contractDates.value(p.deposit.payment);
        rows << p;
    }
    return db::Fetched<Rows>::found(rows);
}

QStringList listPrintTexts()
{
    return {QStringLiteral("نمونه عمومي"),      QStringLiteral("شامل مبالغ و پروژه"), QStringLiteral("شامل مبالغ، طرح و قرارداد"),
            QStringLiteral("به تفکيک قرارداد"), QStringLiteral("به تفکيک اشخاص"),    QStringLiteral("به تفکيک سال")};
}

io::ReportModel depositListReport(const QList<PrintedDeposit>& rows, ListPrint model, const QString& date,
                                  std::vector<io::ReportSignature> signatures)
{
    const QStringList titles = {QStringLiteral(" صورت ريز سپرده دريافتي در تاريخ ") + io::isolateLtr(date)};
    QList<Printed> columns;
    int group = -1;
    QList<PrintedDeposit> ordered = rows;
    // A grouped model keeps the list order within each group.
    auto groupBy = [&ordered](auto key) {
        std::stable_sort(ordered.begin(), ordered.end(), [key](const PrintedDeposit& a, const PrintedDeposit& b) { return key(a) < key(b); });
    };
    switch (model) {
    case ListPrint::General:
        columns = {rowCol(), receiptCol(), receiptDateCol(), ownerCol(), chequeCol(), chequeDateCol(), kindCol(), amountOfDeposit()};
        break;
    case ListPrint::AmountsAndProject:
        columns = {rowCol(), receiptCol(), ownerCol(), chequeCol(), chequeDateCol(),
                   textCol("نام پروژه", 1.8, [](const PrintedDeposit& p) { return p.project; }), amountOfDeposit(),
                   amountCol("مبلغ استرداد شده", [](const PrintedDeposit& p) { return p.deposit.amountRad; }),
                   amountCol("مانده", [](const PrintedDeposit& p) { return p.deposit.amountMandeh; })};
        break;
    case ListPrint::AmountsPlanContract:
        columns = {rowCol(), receiptCol(), ownerCol(), textCol("طرح", 1.6, [](const PrintedDeposit& p) { return p.plan; }), contractCol(),
                   textCol("تاريخ قرارداد", 1.1, [](const PrintedDeposit& p) { return p.contractDate; }, CellFormat::JalaliDate),
                   amountOfDeposit(), amountCol("مانده", [](const PrintedDeposit& p) { return p.deposit.amountMandeh; })};
        break;
    case ListPrint::ByContract:
        groupBy([](const PrintedDeposit& p) { return p.deposit.payment; });
        columns = {contractCol(), rowCol(), receiptCol(), ownerCol(), chequeCol(), chequeDateCol(), amountOfDeposit()};
        group = 0;
        break;
    case ListPrint::ByOwner:
        groupBy([](const PrintedDeposit& p) { return p.deposit.tafsili; });
        columns = {ownerCol(), rowCol(), receiptCol(), receiptDateCol(), chequeCol(), chequeDateCol(), kindCol(), amountOfDeposit()};
        group = 0;
        break;
    case ListPrint::ByYear:
        groupBy([](const PrintedDeposit& p) { return p.deposit.my; });
        columns = {textCol("سال", 0.6, [](const PrintedDeposit& p) { return QString::number(p.deposit.my); }, CellFormat::Integer),
                   textCol("ماه", 0.9, [](const PrintedDeposit& p) { return monthName(p.deposit.mm); }), rowCol(), receiptCol(), ownerCol(),
                   chequeCol(), amountOfDeposit()};
        group = 0;
        break;
    }
    io::ReportModel m = fill(ordered, columns, titles, std::move(signatures));
    m.groupColumn = group;
    m.landscape = columns.size() > 8;
    return m;
}

QStringList receiptPrintTexts()
{
    return {QStringLiteral("چاپ قبض بر اساس نمونه طراحي شده"), QStringLiteral("چاپ کامل قبض سپرده"), QStringLiteral("چاپ محتواي پشت قبض سپرده"),
            QStringLiteral("افقي - بر روي قبض سپرده"), QStringLiteral("عمودي -بر روي قبض سپرده")};
}

QString designedReceiptMissingText() { return QStringLiteral("نمونه طراحي شده هنوز ساخته نشده است"); }

db::Fetched<ReceiptToGive> receiptToGive(startup::Session& session, const Deposit& deposit)
{
    // The numbering of "تعيين شماره قبض سپرده": within the month's list and the range.
    const auto largest = db::scalar(session.deposits(),
                                    QStringLiteral("SELECT MAX(SEPNO) FROM SEP_DAR WHERE MY = :MY AND MM = :MM AND COALESCE(SAVABEGH, 0) = :Sav"),
                                    {{QStringLiteral(":MY"), deposit.my}, {QStringLiteral(":MM"), deposit.mm}, {QStringLiteral(":Sav"), deposit.savabegh}});
    if (largest.failed())
        return db::Fetched<ReceiptToGive>::failure(largest.error());
    ReceiptToGive r;
    r.number = (largest && !largest->isNull()) ? largest->toLongLong() + 1 : 1;
    r.date = session.clock().todayJalali();
    return db::Fetched<ReceiptToGive>::found(r);
}

QString printReceiptQuestion(const Deposit& deposit, const std::optional<ReceiptToGive>& toGive)
{
    const QString ask = QStringLiteral(" قبض /فيش سپرده چاپ شود ؟ شماره") + QLatin1Char(' ');
    if (deposit.sepNo != 0 || !toGive)
        return ask + io::isolateLtr(QString::number(deposit.sepNo));
    const QString no = io::isolateLtr(QString::number(toGive->number));
    return ask + no + QLatin1Char('\n') + QStringLiteral("اين سپرده شماره قبض ندارد؛ پيش از چاپ شماره قبض ") + no + QStringLiteral(" و تاريخ قبض ")
        + io::isolateLtr(toGive->date) + QStringLiteral(" به آن داده مي شود.");
}

namespace {

// Receipts stand each for itself: their amounts are not summed over the page.
io::ReportModel perReceipt(io::ReportModel m)
{
    for (io::ReportColumn& c : m.columns)
        c.total = false;
    m.wordsColumn = -1;
    return m;
}

} // namespace

std::optional<io::ReportModel> receiptReport(const QList<PrintedDeposit>& rows, ReceiptPrint model, std::vector<io::ReportSignature> signatures)
{
    const auto words = [](const PrintedDeposit& p) { return p.deposit.amount > 0 ? util::AmountToWords(quint64(p.deposit.amount)) + QStringLiteral(" ريال") : QString(); };
    switch (model) {
    case ReceiptPrint::Designed: return std::nullopt;
    case ReceiptPrint::Full: {
        // A receipt is a form, not a list: each deposit its own box of captions and
        // values under the receipt's number and date, signed at its foot.
        io::ReportModel m;
        m.titleLines = {QStringLiteral("قبض سپرده")};
        m.signatures = std::move(signatures);
        for (const PrintedDeposit& p : rows) {
            const Deposit& d = p.deposit;
            io::ReportRecord r;
            r.titleLines = {QStringLiteral("شماره قبض: ") + io::isolateLtr(numberText(d.sepNo)) + QStringLiteral("        تاريخ قبض: ")
                            + io::isolateLtr(d.sepDate)};
            const QString contract =
                p.contractNo.isEmpty() ? QString() : p.contractNo + (p.contractDate.isEmpty() ? QString() : QStringLiteral(" تاريخ ") + p.contractDate);
            r.fields = {
                {QStringLiteral("صاحب سپرده"), p.owner},
                {QStringLiteral("شناسه/کد ملي"), p.ownerId},
                {QStringLiteral("قرارداد"), contract},
                {QStringLiteral("طرح"), p.plan},
                {QStringLiteral("نام پروژه"), p.project},
                {QStringLiteral("نوع سپرده"), kindListText(d.sepKind)},
                {QStringLiteral("شماره مدرک واريزي"), numberText(d.chkNo)},
                {QStringLiteral("تاريخ واريز"), d.chkDate},
                {QStringLiteral("مبلغ سپرده"), amountText(d.amount) + QStringLiteral(" ريال")},
                {QStringLiteral("مبلغ به حروف"), words(p)},
                {QStringLiteral("شرح/بابت"), d.descr},
            };
            m.records.push_back(std::move(r));
        }
        return m;
    }
    case ReceiptPrint::Back:
        return perReceipt(fill(rows,
                               {receiptCol(), ownerCol(), textCol("مبلغ به حروف", 3.0, words),
                                amountCol("مبلغ استرداد شده", [](const PrintedDeposit& p) { return p.deposit.amountRad; }),
                                amountCol("مانده", [](const PrintedDeposit& p) { return p.deposit.amountMandeh; })},
                               {QStringLiteral("پشت قبض سپرده")}, std::move(signatures)));
    case ReceiptPrint::Landscape: {
        io::ReportModel m = perReceipt(fill(rows,
                                            {receiptCol(), receiptDateCol(), ownerCol(), contractCol(), kindCol(), chequeCol(), chequeDateCol(),
                                             textCol("شرح/بابت", 2.0, [](const PrintedDeposit& p) { return p.deposit.descr; }), amountOfDeposit()},
                                            {QStringLiteral("قبض سپرده")}, std::move(signatures)));
        m.landscape = true;
        return m;
    }
    case ReceiptPrint::Portrait:
        return perReceipt(fill(rows, {receiptCol(), receiptDateCol(), ownerCol(), chequeCol(), amountOfDeposit()}, {QStringLiteral("قبض سپرده")},
                               std::move(signatures)));
    }
    return std::nullopt;
}

} // namespace orvak::deposits
