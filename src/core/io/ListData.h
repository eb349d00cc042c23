#pragma once
// The data behind every list screen: a parameterised query, its declared columns,
// and the rows it returned, held column by column. Sorting and filtering work on a
// vector of row numbers, never on copies of the rows.
#include "core/db/Cursor.h"
#include "core/db/StoredColumn.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QSqlQuery;

namespace orvak::io {

enum class CellFormat { Text, Integer, Amount, JalaliDate, Boolean };

class RowSet;

struct ListColumn {
    QString field;          // name in the query result; empty for a computed column
    QString title;
    int width = 100;        // pixels on screen
    CellFormat format = CellFormat::Text;
    bool total = false;     // summed under the grid
    // A computed (lookup) column: its text from the row. Such a column cannot be
    // sorted by the query.
    std::function<QString(const RowSet&, int row)> compute;
    bool visible = true;

    bool isComputed() const { return bool(compute); }
};

// A column of the query, and a computed (lookup) column.
ListColumn fieldColumn(const QString& field, const QString& title, int width, CellFormat format = CellFormat::Text, bool total = false);
ListColumn computedColumn(const QString& title, int width, std::function<QString(const RowSet&, int row)> compute);

struct SortField {
    QString field;
    bool ascending = true;
};

// The ORDER BY rewrite of the title sort: every line holding ORDER BY is cut after it
// and continued with the fields and their directions, in order. Returns the text
// unchanged when no line holds ORDER BY (or no field is given).
QString orderedSql(const QString& sql, const QList<SortField>& fields);
// The query without its ORDER BY part, for aggregates over the same conditions.
QString withoutOrderBy(const QString& sql);

// Sums of fields over the rows of a query (its conditions, without its order), in
// the order of the fields; nullopt on a database error.
std::optional<std::vector<double>> sumsOver(QSqlDatabase db, const QString& sql, const QVariantMap& params, const QStringList& fields);

// The rows of one query, column by column: the one store every reader of a list
// (grid, filter, sort, totals, exports, reports, orvakctl) goes through.
class RowSet {
public:
    RowSet() = default;

    // Runs the query with its bound values and fetches the first rows; the rest are
    // fetched on demand (fetchMore) or at once (fetchAll).
    bool open(QSqlDatabase db, const QString& sql, const QVariantMap& params, QString* error = nullptr, int firstRows = 256);
    bool canFetchMore() const;
    int fetchMore(int rows);   // rows added
    void fetchAll();
    void close();
    // Why the reading stopped before the last row (empty when it did not).
    const QString& failure() const { return failure_; }

    int rowCount() const { return rows_; }
    int columnCount() const { return int(names_.size()); }
    const QStringList& fieldNames() const { return names_; }
    int fieldIndex(const QString& name) const;   // case-insensitive; -1 when absent

    bool isNull(int row, int column) const;
    QVariant value(int row, int column) const;
    QString text(int row, int column) const;
    // The stored text of a text column's cell, without a copy: valid while the rows
    // are neither fetched further nor closed. Empty for a number column (see text).
    QStringView textView(int row, int column) const;
    double number(int row, int column) const;   // 0 for NULL or text that is no number
    bool isNumeric(int column) const;

    // Bytes the cells take in memory (their typed columns, texts, offsets and null
    // marks).
    qint64 bytesHeld() const;

    // Appends a row (tests and in-memory lists).
    void setFieldNames(const QStringList& names);
    void appendRow(const QVariantList& values);

private:
    void finishFetching();

    QStringList names_;
    std::vector<db::StoredColumn> columns_;
    int rows_ = 0;
    std::shared_ptr<db::Cursor> cursor_;
    bool atEnd_ = true;
    QString failure_;
};

} // namespace orvak::io
