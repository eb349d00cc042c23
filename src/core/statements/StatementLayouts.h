#pragma once
// The banks' statement layouts as data: one entry per layout says how its lines are
// cut (a separator, fixed positions, or the cells of a spreadsheet row), how many
// header lines come first, where each field stands, how dates are written and how
// the amount shows debit and credit. One parser reads them all; a new bank layout is
// one more entry. The card acquirers' settlement files have a layout of the same kind.
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace orvak::statements {

enum class Source {
    Delimited,     // cells cut at the separator (quotes as in CSV)
    Fixed,         // fields at fixed character positions
    Spreadsheet,   // the cells of a workbook's rows (or of the converter's .TMP file)
};

// The separator of a delimited layout; Chosen is the reading screen's "نوع جدا کننده".
enum class Separator { Chosen, Comma, Tab, Semicolon };

enum class DateForm {
    YearFirst,   // 1403/05/14, 03/05/14, 14030514, 030514 (with / - . or none)
    DayFirst,    // 14/05/1403
};

enum class AmountForm {
    DebitCredit,   // two columns
    Signed,        // one column, a debit negative (-1,000, 1,000- or (1,000))
    WithSide,      // one column and a column that says which side
};

// The fields a statement line may carry.
enum class Field {
    Date, Time, Description, Extra, Branch, Document, Cheque, Identifier, Transaction, Kind,
    Debit, Credit, Amount, Side, Balance,
};
inline constexpr int FieldCount = int(Field::Balance) + 1;

// Where a field stands: the cell (from 0) of a delimited or spreadsheet line, or the
// first character (from 0) and width of a fixed one. index -1: the layout has none.
struct Position {
    int index = -1;
    int width = 0;
    bool present() const { return index >= 0; }
};

struct StatementLayout {
    int number = 0;             // the stored format: position in the list, from 1
    QString title;              // as the format list shows it
    QString bank;               // SURATHESAB.BANK
    Source source = Source::Delimited;
    Separator separator = Separator::Chosen;
    int headerLines = 0;
    DateForm dateForm = DateForm::YearFirst;
    AmountForm amountForm = AmountForm::DebitCredit;
    std::array<Position, FieldCount> fields{};
    QString columnsMessage;     // shown before reading, where the layout asks for one column order

    const Position& at(Field f) const { return fields[size_t(f)]; }
    bool has(Field f) const { return at(f).present(); }
    // The separator character, with the chosen one where the layout takes it.
    QChar separatorChar(QChar chosen) const;
};

// The 33 statement layouts in the order of the format list ("قالب فايل دريافتي").
const QList<StatementLayout>& statementLayouts();
// The layout of a stored format number; nullptr outside 1..33.
const StatementLayout* statementLayout(int number);
inline constexpr int DefaultStatementFormat = 33;
QStringList statementFormatTitles();

// What one field's column says in the README and the format list's help: "تاريخ",
// "ساعت", ... in the layout's order.
QString fieldTitle(Field f);
// The layout's columns described in one line ("1 تاريخ، 2 ساعت، ..." or positions).
QString describeColumns(const StatementLayout& layout);

// The settlement file ("شاپرک"): its fields, in the order of SURATHESABSHAPARAK.
enum class SettlementField {
    Terminal, MerchantAccount, Date, Time, Card, Amount, Trace, Reference, Kind, Extra, Order,
    SettledDate, Cycle, SettlementTrace, Balance, Branch, Description,
};
inline constexpr int SettlementFieldCount = int(SettlementField::Description) + 1;

struct SettlementLayout {
    QString title;
    Separator separator = Separator::Chosen;
    int headerLines = 1;
    std::array<Position, SettlementFieldCount> fields{};
    const Position& at(SettlementField f) const { return fields[size_t(f)]; }
};
const SettlementLayout& settlementLayout();

} // namespace orvak::statements
