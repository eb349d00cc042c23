#include "core/db/sqlite/SqliteCursor.h"

#include "core/db/sqlite/SqliteFiles.h"
#include "core/db/sqlite/SqliteHandle.h"
#include "core/db/StoredColumn.h"

#include <QStringDecoder>
#include <algorithm>
#include <vector>

namespace orvak::db {

namespace {

bool bindValue(sqlite3_stmt* statement, int index, const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::UnknownType:
        return sqlite3_bind_null(statement, index) == SQLITE_OK;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Short:
        return sqlite3_bind_int64(statement, index, v.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, index, v.toDouble()) == SQLITE_OK;
    default: {
        if (v.isNull())
            return sqlite3_bind_null(statement, index) == SQLITE_OK;
        const QByteArray value = v.toString().toUtf8();
        return sqlite3_bind_text(statement, index, value.constData(), int(value.size()), SQLITE_TRANSIENT) == SQLITE_OK;
    }
    }
}

class SqliteCursor;

// The statements of this thread stopped between rows: each holds its database's
// read lock while it waits (a grid fetches as it scrolls), which in the rollback
// journal keeps every other connection from committing.
thread_local std::vector<SqliteCursor*> waitingReads;

class SqliteCursor final : public Cursor {
public:
    explicit SqliteCursor(sqlite3* handle) : handle_(handle) {}
    ~SqliteCursor() override
    {
        stopWaiting();
        if (statement_)
            sqlite3_finalize(statement_);
    }

    // Reads the rest of the rows into memory and lets the statement go, so that the
    // cursor goes on from there holding no lock.
    void spool()
    {
        std::vector<Cell> cells;
        QByteArray bytes;
        const int count = int(names_.size());
        auto keep = [&] {
            for (int c = 0; c < count; ++c) {
                Cell cell;
                switch (sqlite3_column_type(statement_, c)) {
                case SQLITE_INTEGER:
                    cell.type = CellType::Integer;
                    cell.integer = sqlite3_column_int64(statement_, c);
                    break;
                case SQLITE_FLOAT:
                    cell.type = CellType::Real;
                    cell.real = sqlite3_column_double(statement_, c);
                    break;
                case SQLITE_NULL:
                    break;
                default: {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, c));
                    cell.type = CellType::Text;
                    cell.integer = bytes.size();
                    cell.size = sqlite3_column_bytes(statement_, c);
                    bytes.append(text, cell.size);
                }
                }
                cells.push_back(cell);
            }
        };
        keep();   // the row the reader stands on
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(statement_)) == SQLITE_ROW)
            keep();
        if (rc != SQLITE_DONE)
            spoolFailure_ = sqlite::engineError(handle_);
        sqlite3_reset(statement_);
        stopWaiting();
        spool_ = std::move(cells);
        spoolBytes_ = std::move(bytes);
        spooled_ = true;
        at_ = 0;
    }

    bool open(const QString& sql, const QVariantMap& binds, QString* error)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(handle_, text.constData(), int(text.size()), &statement_, nullptr) != SQLITE_OK) {
            if (error)
                *error = sqlite::engineError(handle_);
            return false;
        }
        for (auto it = binds.begin(); it != binds.end(); ++it) {
            const QByteArray name = (it.key().startsWith(QLatin1Char(':')) ? it.key() : QLatin1Char(':') + it.key()).toUtf8();
            const int index = sqlite3_bind_parameter_index(statement_, name.constData());
            if (index != 0 && !bindValue(statement_, index, it.value())) {
                if (error)
                    *error = sqlite::engineError(handle_);
                return false;
            }
        }
        for (int i = 0; i < sqlite3_column_count(statement_); ++i)
            names_ << QString::fromUtf8(sqlite3_column_name(statement_, i));
        return true;
    }

    QStringList fieldNames() const override { return names_; }
    bool next() override
    {
        if (spooled_) {
            if ((at_ + 2) * size_t(names_.size()) <= spool_.size()) {
                ++at_;
                return true;
            }
            at_ = spool_.size();   // past the end
            failure_ = spoolFailure_;
            return false;
        }
        const int rc = sqlite3_step(statement_);
        if (rc == SQLITE_ROW) {
            startWaiting();
            return true;
        }
        stopWaiting();
        if (rc != SQLITE_DONE)
            failure_ = sqlite::engineError(handle_);
        return false;
    }
    QVariant value(int column) const override
    {
        if (spooled_) {
            switch (cell(column).type) {
            case CellType::Integer:
                return cell(column).integer;
            case CellType::Real:
                return cell(column).real;
            case CellType::Null:
                return {};
            case CellType::Text:
                return text(column).toString();
            }
        }
        switch (sqlite3_column_type(statement_, column)) {
        case SQLITE_INTEGER:
            return qint64(sqlite3_column_int64(statement_, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement_, column);
        case SQLITE_NULL:
            return {};
        default:
            return text(column).toString();
        }
    }
    CellType type(int column) const override
    {
        if (spooled_)
            return cell(column).type;
        switch (sqlite3_column_type(statement_, column)) {
        case SQLITE_INTEGER:
            return CellType::Integer;
        case SQLITE_FLOAT:
            return CellType::Real;
        case SQLITE_NULL:
            return CellType::Null;
        default:
            return CellType::Text;
        }
    }
    qint64 integer(int column) const override
    {
        if (spooled_) {
            const Cell& c = cell(column);
            return c.type == CellType::Integer ? c.integer : c.type == CellType::Real ? qint64(c.real) : text(column).toLongLong();
        }
        return sqlite3_column_int64(statement_, column);
    }
    double real(int column) const override
    {
        if (spooled_) {
            const Cell& c = cell(column);
            return c.type == CellType::Real ? c.real : c.type == CellType::Integer ? double(c.integer) : text(column).toDouble();
        }
        return sqlite3_column_double(statement_, column);
    }
    QStringView text(int column) const override
    {
        // The engine's UTF-8 (a blob's bytes too, as value() reads them) decoded into
        // one buffer kept from cell to cell: no allocation per cell.
        const QByteArrayView raw = utf8(column);
        const char* bytes = raw.data();
        const int size = int(raw.size());
        if (text_.size() < size)
            text_.resize(size);   // never more UTF-16 units than UTF-8 bytes
        const QChar* end = decoder_.appendToBuffer(text_.data(), QByteArrayView(bytes, size));
        return QStringView(text_.constData(), end - text_.constData());
    }
    QByteArrayView utf8(int column) const override
    {
        if (spooled_) {
            const Cell& c = cell(column);
            if (c.type == CellType::Text)
                return QByteArrayView(spoolBytes_.constData() + c.integer, c.size);
            if (c.type == CellType::Null)
                return {};
            number_ = c.type == CellType::Integer ? QByteArray::number(c.integer) : QByteArray::number(c.real, 'g', 15);
            return number_;
        }
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return QByteArrayView(bytes, sqlite3_column_bytes(statement_, column));
    }
    int readRows(std::span<StoredColumn> columns, int rows) override
    {
        if (spooled_)
            return Cursor::readRows(columns, rows);
        sqlite3_stmt* const statement = statement_;
        const int count = int(columns.size());
        int read = 0;
        for (; read < rows && next(); ++read) {
            for (int c = 0; c < count; ++c) {
                StoredColumn& column = columns[size_t(c)];
                switch (sqlite3_column_type(statement, c)) {
                case SQLITE_INTEGER:
                    column.appendInteger(sqlite3_column_int64(statement, c));
                    break;
                case SQLITE_FLOAT:
                    column.appendReal(sqlite3_column_double(statement, c));
                    break;
                case SQLITE_NULL:
                    column.appendNull();
                    break;
                default: {
                    // A blob's bytes read as text too, as value() reads them.
                    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                    column.appendUtf8(bytes, size_t(sqlite3_column_bytes(statement, c)));
                }
                }
            }
        }
        return read;
    }
    // A reset statement holds no read lock while the list stays open.
    void release() override
    {
        stopWaiting();
        sqlite3_reset(statement_);
    }

private:
    struct Cell {
        CellType type = CellType::Null;
        qint64 integer = 0;   // a text's place in the spooled bytes
        double real = 0;
        int size = 0;
    };
    const Cell& cell(int column) const { return spool_[at_ * size_t(names_.size()) + size_t(column)]; }
    void startWaiting()
    {
        if (!waiting_) {
            waitingReads.push_back(this);
            waiting_ = true;
        }
    }
    void stopWaiting()
    {
        if (waiting_) {
            waitingReads.erase(std::remove(waitingReads.begin(), waitingReads.end(), this), waitingReads.end());
            waiting_ = false;
        }
    }

    sqlite3* handle_;
    sqlite3_stmt* statement_ = nullptr;
    QStringList names_;
    mutable QString text_;
    mutable QStringDecoder decoder_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
    bool waiting_ = false;
    bool spooled_ = false;
    std::vector<Cell> spool_;
    QByteArray spoolBytes_;
    QString spoolFailure_;
    size_t at_ = 0;
    mutable QByteArray number_;
};

} // namespace

void finishWaitingReads()
{
    // Spooling takes each cursor off the list.
    while (!waitingReads.empty())
        waitingReads.back()->spool();
}

std::unique_ptr<Cursor> openSqliteCursor(QSqlDatabase db, const QString& sql, const QVariantMap& binds, QString* error)
{
    sqlite3* handle = sqliteHandleOf(db);
    if (!handle)
        return nullptr;
    auto cursor = std::make_unique<SqliteCursor>(handle);
    if (!cursor->open(sql, binds, error))
        return nullptr;
    return cursor;
}

} // namespace orvak::db
