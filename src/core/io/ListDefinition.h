#pragma once
// A list as its register declares it, once for the screen, orvakctl and reports:
// the database it reads, its query with named parameters and their defaults, its
// columns (formats, code-to-text maps, looked-up names, totals), its key and how a
// row is marked. The screen adds only what is its own (commands, colours).
#include "core/io/ListData.h"

#include <QHash>
#include <QList>
#include <utility>

namespace orvak::io {

// Which of the installation's databases a list reads.
enum class ListDatabase { Common, Deposits, Accounting };

// What a list reads on the running installation: its databases and the current
// financial section. The session provides it; the list layer knows nothing above.
class ListSource {
public:
    virtual ~ListSource() = default;
    // An invalid handle where the database is not open.
    virtual QSqlDatabase listDatabase(ListDatabase which) = 0;
    virtual int listSection() const = 0;
};

// How a row stands out; the screen chooses the colour of each kind.
enum class RowKind { Normal, Blocked };

// The texts of a coded field.
struct CodeTexts {
    QList<std::pair<qint64, QString>> entries;
    QString otherwise;   // for a code that is not listed

    bool isEmpty() const { return entries.isEmpty(); }
    // NULL reads as code 0, as everywhere the program reads these fields.
    QString textOf(const QVariant& code) const;
    QStringList texts() const;   // in the order of the entries
    // Codes 0, 1, 2, ... for the texts in their order.
    static CodeTexts numbered(const QStringList& texts, const QString& otherwise = {});
};

// Texts by key, read from the installation each time the list opens (so that rows
// added meanwhile show their names).
using LookupTable = QHash<qint64, QString>;
using LookupReader = std::function<LookupTable(ListSource&)>;

struct ListField {
    QString field;      // in the query's result; a coded or looked-up column reads it
    QString title;
    int width = 100;    // pixels on screen
    CellFormat format = CellFormat::Text;
    bool total = false;
    CodeTexts codes;       // shown as the text of the field's code
    LookupReader lookup;   // shown as the text found under the field's value
    bool visible = true;

    // Shown as a text the query does not hold: not sortable by the query.
    bool isComputed() const { return !codes.isEmpty() || bool(lookup); }
};

ListField dataField(const QString& name, const QString& title, int width, CellFormat format = CellFormat::Text, bool total = false);
ListField codeField(const QString& name, const QString& title, int width, CodeTexts codes);
ListField lookupField(const QString& name, const QString& title, int width, LookupReader lookup);

struct ListParameter {
    QString name;     // as bound in the query: ":ProgId"
    QVariant value;   // the default; its type is the type a caller's value must have
};

struct ListDefinition {
    QString name;    // orvakctl's name of the list
    QString title;
    ListDatabase database = ListDatabase::Common;
    QString sql;     // its ORDER BY on a line of its own, for the title sort
    QList<ListParameter> parameters;
    QList<ListField> columns;
    QString keyField;
    // The table whose rows the list shows and its key fields in the key's order,
    // for the change history of the current row; empty where the rows are not
    // one table's.
    QString historyTable;
    QStringList historyKey;
    std::function<RowKind(const RowSet&, int row)> rowKind;   // empty: every row Normal

    QVariantMap defaultParameters() const;
    // The declared parameter of a name, with or without its ':' (case-insensitive).
    const ListParameter* parameter(const QString& name) const;
    bool hasTotals() const;
};

// A caller's text for a parameter, read as the parameter's type (whole numbers
// tolerantly); nullopt when it is not such a value.
std::optional<QVariant> parameterValue(const ListParameter& parameter, const QString& text);

// The value of a row's field (by name), or an invalid value when the query has no
// such field.
QVariant fieldValue(const RowSet& rows, int row, const QString& field);

} // namespace orvak::io
