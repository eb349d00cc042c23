#include "core/db/Cursor.h"

#include "core/db/DatabaseErrors.h"
#include "core/db/Db.h"
#include "core/db/sqlite/SqliteCursor.h"
#include "core/db/StoredColumn.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace orvak::db {

CellType cellTypeOf(const QVariant& value)
{
    if (value.isNull())
        return CellType::Null;
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return CellType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return CellType::Real;
    default:
        return CellType::Text;
    }
}

QStringView Cursor::text(int column) const
{
    text_ = value(column).toString();
    return text_;
}

QByteArrayView Cursor::utf8(int column) const
{
    utf8_ = value(column).toString().toUtf8();
    return utf8_;
}

int Cursor::readRows(std::span<StoredColumn> columns, int rows)
{
    int read = 0;
    for (; read < rows && next(); ++read) {
        for (size_t c = 0; c < columns.size(); ++c) {
            const int column = int(c);
            switch (type(column)) {
            case CellType::Null:
                columns[c].appendNull();
                break;
            case CellType::Integer:
                columns[c].appendInteger(integer(column));
                break;
            case CellType::Real:
                columns[c].appendReal(real(column));
                break;
            case CellType::Text:
                columns[c].appendText(text(column));
                break;
            }
        }
    }
    return read;
}

namespace {

class QtCursor final : public Cursor {
public:
    explicit QtCursor(QSqlDatabase db) : query_(db) { query_.setForwardOnly(true); }

    bool open(const QString& sql, const QVariantMap& binds, QString* error)
    {
        if (!prepareBound(query_, sql, binds, error))
            return false;
        if (!query_.exec()) {
            if (error)
                *error = errorText(query_.lastError(), query_.driver());
            return false;
        }
        const QSqlRecord record = query_.record();
        for (int i = 0; i < record.count(); ++i)
            names_ << record.fieldName(i);
        return true;
    }
    QStringList fieldNames() const override { return names_; }
    bool next() override
    {
        if (query_.next())
            return true;
        if (query_.lastError().isValid())
            failure_ = errorText(query_.lastError(), query_.driver());
        return false;
    }
    QVariant value(int column) const override { return query_.value(column); }
    void release() override { query_.finish(); }

private:
    QSqlQuery query_;
    QStringList names_;
};

} // namespace

std::unique_ptr<Cursor> openCursor(QSqlDatabase db, const QString& sql, const QVariantMap& binds, QString* error)
{
    if (auto raw = openSqliteCursor(db, sql, binds, error); raw || (error && !error->isEmpty()))
        return raw;
    auto cursor = std::make_unique<QtCursor>(db);
    if (!cursor->open(sql, binds, error))
        return nullptr;
    return cursor;
}

} // namespace orvak::db
