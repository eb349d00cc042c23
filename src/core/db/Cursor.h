#pragma once
// A forward-only read of one statement, row by row, for lists that fetch as the
// grid scrolls. On the embedded database it reads straight from the engine's own
// statement (several times faster on large lists); elsewhere through Qt.
#include <QSqlDatabase>
#include <QStringList>
#include <QStringView>
#include <QVariant>
#include <QVariantMap>
#include <memory>
#include <span>

namespace orvak::db {

class StoredColumn;

// What a cell of the current row holds, so that a reader keeps it in its own type
// without a QVariant per cell.
enum class CellType { Null, Integer, Real, Text };

// The cell type of a value as Qt's drivers give it (booleans count as integers;
// anything that is no number reads as text).
CellType cellTypeOf(const QVariant& value);

class Cursor {
public:
    virtual ~Cursor() = default;
    virtual QStringList fieldNames() const = 0;
    // The next row; false at the end or on a failure (then failure() says why).
    virtual bool next() = 0;
    virtual QVariant value(int column) const = 0;
    // The cells of the current row in their own types; a back-end that can do better
    // than through value() says so.
    virtual CellType type(int column) const { return cellTypeOf(value(column)); }
    virtual qint64 integer(int column) const { return value(column).toLongLong(); }
    virtual double real(int column) const { return value(column).toDouble(); }
    // Valid until the next row or the next text of the cursor.
    virtual QStringView text(int column) const;
    // A text cell's UTF-8 bytes (a number's digits), valid as text() is.
    virtual QByteArrayView utf8(int column) const;
    // Reads up to `rows` rows on, appending each cell to its column (one column per
    // field) in its own type; returns the rows read, fewer only at the end or on a
    // failure. One call for many rows, so that a back-end reads its cells without a
    // call per cell.
    virtual int readRows(std::span<StoredColumn> columns, int rows);
    // Lets go of what the statement holds (read locks) once the rows are read.
    virtual void release() = 0;
    const QString& failure() const { return failure_; }

protected:
    QString failure_;

private:
    mutable QString text_;
    mutable QByteArray utf8_;
};

// Prepares and runs the statement with its values bound by name; nullptr with the
// reason in *error when it cannot.
std::unique_ptr<Cursor> openCursor(QSqlDatabase db, const QString& sql, const QVariantMap& binds, QString* error = nullptr);

// Reads the rest of every cursor of this thread that stands between two rows into
// memory, and lets its statement go: on the local server such a statement holds its
// file's read lock, and no connection can commit a change while another holds one.
// A unit of work calls it before it begins; the cursors go on reading as before.
void finishWaitingReads();

} // namespace orvak::db
