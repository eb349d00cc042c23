#include "core/statements/StatementLayouts.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace orvak::statements {

QChar StatementLayout::separatorChar(QChar chosen) const
{
    switch (separator) {
    case Separator::Comma: return QLatin1Char(',');
    case Separator::Tab: return QLatin1Char('\t');
    case Separator::Semicolon: return QLatin1Char(';');
    case Separator::Chosen: break;
    }
    return chosen.isNull() ? QLatin1Char(';') : chosen;
}

namespace {

using F = Field;

struct Entry {
    int number;
    const char* title;
    const char* bank;
    Source source;
    Separator separator;
    int headers;
    AmountForm amount;
    // Delimited and spreadsheet layouts: the fields in cell order (a gap: a column
    // nobody reads). Fixed layouts: each field with its start and width.
    std::initializer_list<std::pair<Field, Position>> fields;
    const char* message = nullptr;
    DateForm dateForm = DateForm::YearFirst;
};

// A column nobody reads, in a cell layout's order.
constexpr Field Skip = Field(-1);

StatementLayout make(const Entry& e)
{
    StatementLayout l;
    l.number = e.number;
    l.title = QString::fromUtf8(e.title);
    l.bank = QString::fromUtf8(e.bank);
    l.source = e.source;
    l.separator = e.separator;
    l.headerLines = e.headers;
    l.amountForm = e.amount;
    l.dateForm = e.dateForm;
    for (const auto& [field, at] : e.fields)
        l.fields[size_t(field)] = at;
    if (e.message)
        l.columnsMessage = QString::fromUtf8(e.message);
    return l;
}

// A layout whose fields are cells, in order.
StatementLayout cellsLayout(int number, const char* title, const char* bank, Source source, Separator separator, int headers,
                            AmountForm amount, std::initializer_list<Field> order, const char* message = nullptr,
                            DateForm dateForm = DateForm::YearFirst)
{
    Entry e{number, title, bank, source, separator, headers, amount, {}, message, dateForm};
    StatementLayout l = make(e);
    int i = 0;
    for (Field f : order) {
        if (f != Skip)
            l.fields[size_t(f)] = Position{i, 0};
        ++i;
    }
    return l;
}

// A fixed-width layout: each field with its first character (from 0) and width.
StatementLayout fixedLayout(int number, const char* title, const char* bank, int headers, AmountForm amount,
                            std::initializer_list<std::pair<Field, Position>> fields)
{
    Entry e{number, title, bank, Source::Fixed, Separator::Chosen, headers, amount, fields};
    return make(e);
}

constexpr auto Del = Source::Delimited;
constexpr auto Xls = Source::Spreadsheet;
constexpr auto DC = AmountForm::DebitCredit;
constexpr auto Sgn = AmountForm::Signed;
constexpr auto Side = AmountForm::WithSide;

QList<StatementLayout> makeLayouts()
{
    QList<StatementLayout> l;
    // Disk files of the banks' branches: fixed positions.
    l << fixedLayout(1, "ديسكت بانك ملت فايل با پسوند CDS", "ملت", 0, Side,
                     {{F::Date, {0, 8}}, {F::Time, {8, 6}}, {F::Document, {14, 10}}, {F::Branch, {24, 5}}, {F::Side, {29, 1}},
                      {F::Amount, {30, 15}}, {F::Balance, {45, 15}}, {F::Description, {60, 50}}});
    l << fixedLayout(2, "ديسكت بانك ملي", "ملي", 0, DC,
                     {{F::Date, {0, 6}}, {F::Branch, {6, 4}}, {F::Document, {10, 8}}, {F::Debit, {18, 14}}, {F::Credit, {32, 14}},
                      {F::Balance, {46, 15}}, {F::Description, {61, 40}}});
    l << fixedLayout(3, "ديسكت بانك صادرات", "صادرات", 0, DC,
                     {{F::Date, {6, 10}}, {F::Time, {16, 5}}, {F::Branch, {21, 4}}, {F::Document, {25, 10}}, {F::Debit, {35, 15}},
                      {F::Credit, {50, 15}}, {F::Balance, {65, 16}}, {F::Description, {81, 60}}});
    l << cellsLayout(4, "بانک صادرات نمونه دوم", "صادرات", Del, Separator::Chosen, 1, DC,
                     {F::Date, F::Time, F::Document, F::Branch, F::Description, F::Debit, F::Credit, F::Balance});
    l << cellsLayout(5, "سپهر صادرات - فايل تيدبل شده کامادار(CSV)", "صادرات", Del, Separator::Comma, 5, DC,
                     {F::Date, F::Time, F::Description, F::Branch, F::Document, F::Debit, F::Credit, F::Balance, F::Identifier},
                     "تاريخ\tساعت\tشرح\tکد شعبه\tفيش/حواله\tبرداشت\tواريز\tمانده\tاطلاعات اضاف");
    l << fixedLayout(6, "صورتحساب متني BBS بانک ملي", "ملي", 2, DC,
                     {{F::Date, {0, 10}}, {F::Time, {11, 5}}, {F::Document, {17, 10}}, {F::Branch, {28, 5}}, {F::Debit, {34, 16}},
                      {F::Credit, {51, 16}}, {F::Balance, {68, 17}}, {F::Description, {86, 60}}});
    l << cellsLayout(7, "صورتحساب اينترنتي سيستم يکپارچه سيبا - نمونه 1", "ملي", Del, Separator::Tab, 3, DC,
                     {Skip, F::Date, F::Time, F::Description, F::Document, F::Branch, F::Debit, F::Credit, F::Balance});
    l << cellsLayout(8, "صورتحساب اينترنتي حسابهاي معمولي بانک ملي نمونه 1", "ملي", Del, Separator::Tab, 3, DC,
                     {F::Date, F::Time, F::Document, F::Description, F::Branch, F::Debit, F::Credit, F::Balance});
    l << cellsLayout(9, "صورتحساب اينترنتي حسابهاي معمولي بانک ملي نمونه 2", "ملي", Del, Separator::Tab, 3, DC,
                     {Skip, F::Date, F::Description, F::Debit, F::Credit, F::Balance, F::Branch, F::Document});
    l << cellsLayout(10, "(NEW)ديسكت بانك ملت", "ملت", Del, Separator::Chosen, 0, Side,
                     {F::Date, F::Time, F::Document, F::Branch, F::Side, F::Amount, F::Balance, F::Description});
    l << fixedLayout(11, "ديسكت بانك رفاه کارگران", "رفاه کارگران", 0, DC,
                     {{F::Date, {0, 8}}, {F::Document, {8, 8}}, {F::Branch, {16, 4}}, {F::Debit, {20, 15}}, {F::Credit, {35, 15}},
                      {F::Balance, {50, 15}}, {F::Description, {65, 50}}});
    l << cellsLayout(12, "سيستم يکپارچه جام ملت", "ملت", Del, Separator::Tab, 1, DC,
                     {Skip, F::Date, F::Time, F::Description, F::Document, F::Branch, F::Debit, F::Credit, F::Balance});
    l << fixedLayout(13, "سيستم يکپارچه جام ملت - ديسکت باجه CDS File", "ملت", 0, Side,
                     {{F::Date, {0, 8}}, {F::Time, {8, 6}}, {F::Document, {14, 10}}, {F::Branch, {24, 5}}, {F::Side, {29, 1}},
                      {F::Amount, {30, 15}}, {F::Balance, {45, 15}}, {F::Identifier, {60, 20}}, {F::Description, {80, 50}}});
    l << cellsLayout(14, "صورتحساب اينترنتي سيستم يکپارچه سيبا - نمونه 2", "ملي", Del, Separator::Tab, 3, DC,
                     {Skip, F::Date, F::Time, F::Document, F::Description, F::Debit, F::Credit, F::Balance, F::Branch, F::Identifier});
    l << cellsLayout(15, "ديسكت بانك مسكن - فايل متن", "مسکن", Del, Separator::Chosen, 1, DC,
                     {F::Date, F::Document, F::Description, F::Debit, F::Credit, F::Balance, F::Branch});
    l << cellsLayout(16, "بانک تجارت- سيستم يکپارچه csv", "تجارت", Del, Separator::Comma, 1, DC,
                     {F::Date, F::Time, F::Document, F::Branch, F::Description, F::Debit, F::Credit, F::Balance, F::Identifier});
    l << cellsLayout(17, "سيستم يکپارچه تحت وب بانک مسکن csv", "مسکن", Del, Separator::Comma, 1, DC,
                     {Skip, F::Date, F::Time, F::Description, F::Document, F::Debit, F::Credit, F::Balance});
    l << cellsLayout(18, "صورتحساب بانک مسکن- ياسوج", "مسکن", Del, Separator::Tab, 2, DC,
                     {Skip, F::Date, F::Description, F::Document, F::Debit, F::Credit, F::Balance});
    l << cellsLayout(19, "صورتحساب بانك ملتcsv", "ملت", Del, Separator::Comma, 1, Sgn,
                     {Skip, F::Date, F::Time, F::Description, F::Amount, F::Balance, F::Branch, F::Document, F::Identifier});
    l << cellsLayout(20, "سيستم يکپارچه تحت وب بانک مسکن csv", "مسکن", Del, Separator::Comma, 1, Side,
                     {F::Date, F::Time, F::Description, F::Document, F::Amount, F::Side, F::Balance});
    l << cellsLayout(21, "سيستم يکپارچه جام ملت نمونه داراي شناسه واريز", "ملت", Del, Separator::Tab, 1, DC,
                     {Skip, F::Date, F::Time, F::Description, F::Identifier, F::Document, F::Branch, F::Debit, F::Credit, F::Balance});
    l << cellsLayout(22, "قالب بانک کشاورزي تبديل شده به CSV", "کشاورزي", Del, Separator::Comma, 1, DC,
                     {Skip, F::Date, F::Time, F::Branch, F::Document, F::Description, F::Debit, F::Credit, F::Balance});
    l << cellsLayout(23, "CSV بانک مسکن جديد", "مسکن", Del, Separator::Comma, 1, DC,
                     {F::Date, F::Time, F::Description, F::Cheque, F::Debit, F::Credit, F::Balance},
                     "تاريخ چک - ساعت- شرح - شماره چک - بدهکار - بستانکار - مانده");
    l << cellsLayout(24, "بانک مهر اقتصاد", "مهر اقتصاد", Del, Separator::Tab, 1, DC,
                     {Skip, F::Description, F::Date, F::Time, F::Credit, F::Debit, F::Balance, F::Branch, F::Transaction, F::Cheque, F::Extra},
                     "رديف\tشرح\tتاريخ\tساعت\tبستانکار\tبدهکار\tمانده\tشعبه عامل\tشماره سند\tشماره برگه/چک\tيادداشت");
    l << cellsLayout(25, "نمونه بانک توسعه تعاون", "توسعه تعاون", Del, Separator::Tab, 1, DC,
                     {Skip, F::Branch, Skip, F::Date, F::Time, F::Transaction, F::Document, F::Cheque, F::Description, F::Debit, F::Credit,
                      F::Balance},
                     "رديف\tکد شعبه\tنام شعبه\tتاريخ\tساعت\tشماره سند\tشماره فيش\tشماره برگه/چک\tتوضيحات\tبدهکار\tبستانکار\tمانده");
    l << cellsLayout(26, "پست بانک", "پست بانک", Del, Separator::Tab, 1, DC,
                     {F::Date, F::Time, F::Description, F::Cheque, F::Debit, F::Credit, F::Balance},
                     "تاريخ چک - ساعت- شرح - شماره چک - بدهکار - بستانکار - مانده");
    l << cellsLayout(27, "صورتحساب اينترنتي سيستم يکپارچه سيبا - نمونه 3", "ملي", Del, Separator::Tab, 3, DC,
                     {F::Date, F::Time, F::Description, F::Document, F::Debit, F::Credit, F::Balance, F::Branch, F::Identifier});
    l << cellsLayout(28, "صورتحساب اينترنتي سيستم يکپارچه سيبا - نمونه 4", "ملي", Del, Separator::Tab, 3, DC,
                     {Skip, F::Date, F::Time, F::Transaction, F::Document, F::Description, F::Branch, F::Debit, F::Credit, F::Balance,
                      F::Identifier});
    l << cellsLayout(29, "صورتحساب بانک مرکزي فايل اکسل Turnover.xls", "مرکزي", Xls, Separator::Tab, 2, DC,
                     {Skip, F::Date, F::Description, F::Document, F::Debit, F::Credit, F::Balance});
    l << cellsLayout(30, "بانک ملت جديد 99", "ملت", Del, Separator::Comma, 1, DC,
                     {Skip, F::Date, F::Time, F::Document, F::Branch, F::Description, F::Debit, F::Credit, F::Balance, F::Identifier});
    l << cellsLayout(31, "بانک مسکن شعبه رضالو", "مسکن", Del, Separator::Tab, 1, DC,
                     {F::Date, F::Description, F::Document, F::Credit, F::Debit, F::Balance, F::Branch});
    l << cellsLayout(32, "صورتحساب بانک مرکزي فايل اکسل 1400Turnover.xls", "مرکزي", Xls, Separator::Tab, 1, DC,
                     {Skip, F::Date, F::Time, F::Description, F::Transaction, F::Document, F::Identifier, F::Debit, F::Credit, F::Balance});
    l << cellsLayout(33, "صورتحساب بانک مرکزي فايل اکسل 1400Turnover.xls", "مرکزي", Xls, Separator::Tab, 1, Sgn,
                     {Skip, F::Date, F::Time, F::Description, F::Document, F::Identifier, F::Amount, F::Balance, F::Branch});
    return l;
}

} // namespace

const QList<StatementLayout>& statementLayouts()
{
    static const QList<StatementLayout> layouts = makeLayouts();
    return layouts;
}

const StatementLayout* statementLayout(int number)
{
    const QList<StatementLayout>& all = statementLayouts();
    if (number < 1 || number > all.size())
        return nullptr;
    return &all[number - 1];
}

QStringList statementFormatTitles()
{
    QStringList titles;
    for (const StatementLayout& l : statementLayouts())
        titles << l.title;
    return titles;
}

QString fieldTitle(Field f)
{
    switch (f) {
    case Field::Date: return QStringLiteral("تاريخ");
    case Field::Time: return QStringLiteral("ساعت");
    case Field::Description: return QStringLiteral("شرح");
    case Field::Extra: return QStringLiteral("يادداشت (به شرح افزوده مي شود)");
    case Field::Branch: return QStringLiteral("کد شعبه");
    case Field::Document: return QStringLiteral("شماره مدرک/فيش");
    case Field::Cheque: return QStringLiteral("شماره چک");
    case Field::Identifier: return QStringLiteral("شناسه واريز");
    case Field::Transaction: return QStringLiteral("شماره سند/تراکنش");
    case Field::Kind: return QStringLiteral("نوع تراکنش");
    case Field::Debit: return QStringLiteral("برداشت");
    case Field::Credit: return QStringLiteral("واريز");
    case Field::Amount: return QStringLiteral("مبلغ");
    case Field::Side: return QStringLiteral("بدهکار/بستانکار");
    case Field::Balance: return QStringLiteral("مانده");
    }
    return {};
}

QString describeColumns(const StatementLayout& l)
{
    QList<std::pair<int, QString>> parts;
    for (int f = 0; f < FieldCount; ++f) {
        const Position& p = l.fields[size_t(f)];
        if (!p.present())
            continue;
        const QString title = fieldTitle(Field(f));
        parts << std::make_pair(p.index, l.source == Source::Fixed ? QStringLiteral("%1-%2 %3").arg(p.index + 1).arg(p.index + p.width).arg(title)
                                                                   : QStringLiteral("%1 %2").arg(p.index + 1).arg(title));
    }
    std::sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList out;
    for (const auto& p : parts)
        out << p.second;
    return out.join(QStringLiteral("، "));
}

const SettlementLayout& settlementLayout()
{
    static const SettlementLayout layout = [] {
        SettlementLayout s;
        s.title = QStringLiteral("فايل تسويه شاپرک");
        s.separator = Separator::Chosen;
        s.headerLines = 1;
        // The columns in the order of the settlement table.
        for (int f = 0; f < SettlementFieldCount; ++f)
            s.fields[size_t(f)] = Position{f, 0};
        return s;
    }();
    return layout;
}

} // namespace orvak::statements
