#include "core/deposits/TreasuryLayouts.h"

#include "core/util/CodePage1256.h"
#include "core/util/Jalali.h"

namespace orvak::deposits {

namespace {

TreasuryField text(const char* source) { return {QString::fromUtf8(source)}; }
TreasuryField fixed(const char* source, int width, FieldForm form = FieldForm::Text)
{
    return {QString::fromUtf8(source), width, FieldAlign::Right, QLatin1Char(' '), form};
}
TreasuryField constant(const char* value) { return {QLatin1Char('=') + QString::fromUtf8(value)}; }
TreasuryLine one(const char* source) { return {text(source)}; }
TreasuryLine oneConstant(const char* value) { return {constant(value)}; }
TreasuryLine empty() { return {constant("")}; }

const char* const OrvakMark = "*****     ORVAK     *****";
const char* const Forty5 = "                                             ";

TreasuryLayout textLayout(int number, const char* caption, TextLayout layout, bool confirmedOnly = false)
{
    return {number, QString::fromUtf8(caption), TreasuryFileKind::Text, std::move(layout), confirmedOnly};
}
TreasuryLayout otherLayout(int number, const char* caption, TreasuryFileKind kind, bool confirmedOnly = false)
{
    return {number, QString::fromUtf8(caption), kind, {}, confirmedOnly};
}

QList<TreasuryLayout> makeRequestLayouts()
{
    QList<TreasuryLayout> l;
    l << otherLayout(1, "قالب 1 : سازمان امور اقتصادي و دارائي استان بوشهر", TreasuryFileKind::Dbase);

    TextLayout two;
    two.separator = QStringLiteral(",");
    two.head = {oneConstant("2.2"), one("AGENCY"), one("YEAR"), one("MONTH"), one("TODAY"), empty(), empty(), empty(),
                {text("SUM")},      one("COUNT"), empty(),   oneConstant(OrvakMark)};
    two.row = {text("N"), text("FISHNO"), text("FISHDATE"), text("AMOUNT"), text("AMOUNT"), text("OWNER"), text("KIND")};
    l << textLayout(2, "قالب 2 : سازمان امور اقتصادي و دارائي استان  تهران و  اصفهان", two);

    TextLayout three;
    three.head = {{fixed("=E", 1), fixed("=O", 1), fixed("REFUNDACC", 16), fixed("COUNT", 5), fixed("SUM", 16, FieldForm::Digits)}};
    three.row = {fixed("N", 5),
                 fixed("BESLETTERNO", 10),
                 fixed("BESLETTERDATE", 10, FieldForm::Date),
                 fixed("FISHNO", 10),
                 fixed("BESTANKARINO", 10),
                 fixed("BESTANKARIDATE", 10, FieldForm::Date),
                 fixed("ERSAL_ROW", 5),
                 fixed("AMOUNT", 16, FieldForm::Digits)};
    l << textLayout(3, "قالب 3 : نمونه عمومي - کليه استان ها", three);

    TextLayout four;
    four.separator = QStringLiteral(",");
    four.encoding = TreasuryEncoding::Utf8;
    four.head = {{constant("022"), text("COUNT"), text("SUM"), text("REQDATE")}};
    four.row = {text("N"),      text("CREDITNO_FILLED"), text("FISHNO"),     text("FISHDATE"), text("AMOUNT"), constant("0"),
                constant("14"), text("CONTRACTNO"),      constant("022"),    constant("1"),    text("OWNER")};
    l << textLayout(4, "قالب 4 : استان خراسان جنوبي", four);

    TextLayout five;
    five.separator = QStringLiteral(";");
    five.head = {oneConstant("رديف;رديف دستگاه;شماره بستانکاري;تاريخ بستانکاري;پيکره واريزي;کد ملي/کد شرکت;شماره فيش;تاريخ فيش;مبلغ")};
    five.row = {text("ERSAL_ROW"), text("AGENCY"), text("BESTANKARINO"), text("BESTANKARIDATE"), text("BESAMOUNT"),
                text("NID"),       text("FISHNO"), text("FISHDATE"),     text("AMOUNT")};
    l << textLayout(5, "قالب 5 : قالب فايل ريز پرداخت سپرده خزانه کل", five);

    l << otherLayout(6, "قالب 6 : قالب دارائي مازندران", TreasuryFileKind::Workbook);

    // Left open: the title line, a summary record with the codes E and O as layout 3
    // has them, and one record per row under the title's six columns.
    TextLayout seven;
    seven.separator = QStringLiteral(";");
    seven.head = {oneConstant("رديف;شماره قبض;کد دستگاه;تاريخ بستانکاري;مبلغ کل;تعداد رديف"),
                  {constant("E"), constant("O"), text("REFUNDACC"), text("REQDATE"), text("SUM"), text("COUNT")}};
    seven.row = {text("N"), text("FISHNO"), text("AGENCY"), text("BESTANKARIDATE"), text("AMOUNT"), constant("1")};
    l << textLayout(7, "قالب 7 : قالب اختصاصي 1", seven);

    TextLayout eight;
    eight.separator = QStringLiteral(";");
    eight.row = {text("N"),   text("FISHNO"), text("FISHDATE"), text("AMOUNT"), text("OWNER"),
                 text("NID"), text("BESTANKARINO"), constant("تملک دارائيهاي سرمايه اي 002")};
    l << textLayout(8, "قالب 8 : قالب اختصاصي 2", eight);
    return l;
}

QList<TreasuryLayout> makeListLayouts()
{
    QList<TreasuryLayout> l;
    l << otherLayout(1, "قالب 1 : سازمان امور اقتصادي و دارائي استان بوشهر", TreasuryFileKind::Dbase, true);

    TextLayout two;
    two.separator = QStringLiteral(",");
    two.head = {oneConstant("1"), one("AGENCY"), one("YEAR"), one("MONTH"), one("PAIDDATE"), empty(), empty(), empty(),
                one("SUM"),       one("COUNT")};
    for (int i = 0; i < 9; ++i)
        two.head << empty();
    two.head << oneConstant(OrvakMark);
    two.row = {text("N"), text("SEPNO"), text("SEPDATE"), text("AMOUNT"), text("OWNER")};
    l << textLayout(2, "قالب 2:سازمان امور اقتصادي و دارائي استان تهران و اصفهان", two, true);

    TextLayout three;
    three.head = {{fixed("=D", 1), fixed("=O", 1), fixed("TREASURYACC", 16), fixed("LETTERNO", 10, FieldForm::NoControl),
                   fixed("LETTERDATE", 10), fixed("YEARMONTH", 6), fixed("COUNT", 5), fixed("SUM", 16, FieldForm::Digits)}};
    three.row = {fixed("N", 5),
                 fixed("SEPNO", 10),
                 fixed("SEPDATE", 10, FieldForm::Date),
                 fixed("AMOUNT", 16, FieldForm::Digits),
                 fixed("CHKNO", 10, FieldForm::BlankZero),
                 fixed("CHKDATE", 10, FieldForm::Date),
                 fixed("OWNER", 50),
                 fixed("KIND", 50),
                 constant(Forty5),
                 text("CITY")};
    l << textLayout(3, "قالب 3: نمونه عمومي - کليه استان ها", three, true);

    // Left open: the request file's layout 4 over the list's deposits.
    TextLayout four;
    four.separator = QStringLiteral(",");
    four.encoding = TreasuryEncoding::Utf8;
    four.head = {{constant("022"), text("COUNT"), text("SUM"), text("FILEDATE")}};
    four.row = {text("N"),      text("CREDITNO_FILLED"), text("SEPNO"),   text("SEPDATE"), text("AMOUNT"), constant("0"),
                constant("14"), text("CONTRACTNO"),      constant("022"), constant("1"),   text("OWNER")};
    l << textLayout(4, "قالب4:  استان خراسان جنوبي", four, true);

    TextLayout five;
    five.separator = QStringLiteral(";");
    five.head = {oneConstant("رديف;کد دستگاه;نام دستگاه;نام شرکت;کد ملي/شناسه;مبلغ;شماره فيش;تاريخ فيش")};
    five.row = {text("SEPROW"), text("OFFICENAME"), text("AGENCYROW"), text("OWNER"),
                text("NID"),    text("AMOUNT"),     text("SEPNO"),     text("SEPDATE")};
    l << textLayout(5, "قالب 5: قالب فايل سپرده دريافتي خزانه کل", five);

    l << otherLayout(6, "قالب 6 : قالب دارائي مازندران", TreasuryFileKind::Workbook, true);

    TextLayout seven;
    seven.separator = QStringLiteral(";");
    seven.head = {oneConstant("رديف;شماره قبض;کد دستگاه;تاريخ وصول;مبلغ کل;تعداد رديف"),
                  {constant("D"), constant("O"), text("TREASURYACC"), text("FILEDATE"), text("SUM"), text("COUNT")}};
    seven.row = {text("N"), text("SEPNO"), text("AGENCY"), text("SEPDATE"), text("AMOUNT"), constant("1")};
    l << textLayout(7, "قالب 7 : قالب اختصاصي 1", seven, true);

    TextLayout eight;
    eight.separator = QStringLiteral(";");
    eight.row = {text("N"),   text("SEPNO"), text("SEPDATE"), text("AMOUNT"), text("OWNER_OR_UNKNOWN"),
                 text("NID"), constant("سپرده حسن انجام كار 10 درصد"), constant("تملک دارائيهاي سرمايه اي 002")};
    l << textLayout(8, "قالب 8 : قالب اختصاصي 2", eight, true);
    return l;
}

const TreasuryLayout* find(const QList<TreasuryLayout>& layouts, int number)
{
    return number >= 1 && number <= layouts.size() ? &layouts[number - 1] : nullptr;
}

} // namespace

const QList<TreasuryLayout>& requestLayouts()
{
    static const QList<TreasuryLayout> layouts = makeRequestLayouts();
    return layouts;
}

const QList<TreasuryLayout>& listLayouts()
{
    static const QList<TreasuryLayout> layouts = makeListLayouts();
    return layouts;
}

const TreasuryLayout* requestLayout(int number) { return find(requestLayouts(), number); }
const TreasuryLayout* listLayout(int number) { return find(listLayouts(), number); }

QString fieldText(const TreasuryField& field, const TreasuryRecord& values)
{
    QString v = field.source.startsWith(QLatin1Char('=')) ? field.source.mid(1) : values.value(field.source);
    switch (field.form) {
    case FieldForm::Text:
        break;
    case FieldForm::Date:
        if (v.size() != 10 || !util::parseJalali(v))
            v = QString::fromUtf16(util::EmptyDateText);
        break;
    case FieldForm::Digits: {
        QString digits;
        for (QChar c : v) {
            if (c.isDigit() || (c == QLatin1Char('-') && digits.isEmpty()))
                digits += c;
        }
        v = digits;
        break;
    }
    case FieldForm::BlankZero:
        if (v.trimmed().isEmpty() || v.trimmed() == QLatin1String("0"))
            v.clear();
        break;
    case FieldForm::NoControl:
        v.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
        break;
    }
    // A longer value is written whole; the rest of the line moves on.
    if (field.align == FieldAlign::Right && v.size() < field.width)
        v.prepend(QString(field.width - v.size(), field.pad));
    return v;
}

QString lineText(const TreasuryLine& line, const QString& separator, const TreasuryRecord& values)
{
    QString out;
    for (int i = 0; i < line.size(); ++i) {
        if (i)
            out += separator;
        out += fieldText(line[i], values);
    }
    return out;
}

TextFile writeTextFile(const TextLayout& layout, const TreasuryRecord& head, const QList<TreasuryRecord>& rows)
{
    TextFile file;
    file.bytes.reserve((rows.size() + layout.head.size()) * 200);
    int lineNo = 0;
    auto put = [&](const QString& line) {
        ++lineNo;
        if (layout.encoding == TreasuryEncoding::Utf8) {
            file.bytes += line.toUtf8();
        } else {
            const util::Encoded1256 e = util::encode1256(line);
            file.bytes += e.bytes;
            if (!e.ok() && file.unencodable.isEmpty()) {
                file.unencodable = e.unencodable;
                file.unencodableLine = lineNo;
            }
        }
        file.bytes += "\r\n";
    };
    for (const TreasuryLine& line : layout.head)
        put(lineText(line, layout.separator, head));
    TreasuryRecord values;
    for (int i = 0; i < rows.size(); ++i) {
        values = rows[i];
        values.insert(QStringLiteral("N"), QString::number(i + 1));
        put(lineText(layout.row, layout.separator, values));
    }
    return file;
}

QString dbaseDateParts(const QString& date)
{
    const auto d = date.size() == 10 ? util::parseJalali(date) : std::nullopt;
    if (!d)
        return QString(6, QLatin1Char(' '));
    auto part = [](int n) { return n < 10 ? QLatin1Char(' ') + QString::number(n) : QString::number(n); };
    return QString::number(d->year % 100).rightJustified(2, QLatin1Char('0')) + part(d->month) + part(d->day);
}

} // namespace orvak::deposits
