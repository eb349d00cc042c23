#include "core/db/sqlite/SqliteCursor.h"

#include "core/db/sqlite/SqliteFiles.h"
#include "core/db/sqlite/SqliteHandle.h"
#include "core/db/StoredColumn.h"

#include <QStringDecoder>

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

class SqliteCursor final : public Cursor {
public:
    explicit SqliteCursor(sqlite3* handle) : handle_(handle) {}
    ~SqliteCursor() override
    {
        if (statement_)
            sqlite3_finalize(statement_);
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
        const int rc = sqlite3_step(statement_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            failure_ = sqlite::engineError(handle_);
        return false;
    }
    QVariant value(int column) const override
    {
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
    qint64 integer(int column) const override { return sqlite3_column_int64(statement_, column); }
    double real(int column) const override { return sqlite3_column_double(statement_, column); }
    QStringView text(int column) const override
    {
        // The engine's UTF-8 (a blob's bytes too, as value() reads them) decoded into
        // one buffer kept from cell to cell: no allocation per cell.
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        const int size = sqlite3_column_bytes(statement_, column);
        if (text_.size() < size)
            text_.resize(size);   // never more UTF-16 units than UTF-8 bytes
        const QChar* end = decoder_.appendToBuffer(text_.data(), QByteArrayView(bytes, size));
        return QStringView(text_.constData(), end - text_.constData());
    }
    QByteArrayView utf8(int column) const override
    {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return QByteArrayView(bytes, sqlite3_column_bytes(statement_, column));
    }
    int readRows(std::span<StoredColumn> columns, int rows) override
    {
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
    void release() override { sqlite3_reset(statement_); }

private:
    sqlite3* handle_;
    sqlite3_stmt* statement_ = nullptr;
    QStringList names_;
    mutable QString text_;
    mutable QStringDecoder decoder_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

} // namespace

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
