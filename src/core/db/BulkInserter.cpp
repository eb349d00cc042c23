#include "core/db/BulkInserter.h"

#include "core/db/DatabaseErrors.h"
#include "core/db/Dialect.h"
#include "core/db/sqlite/SqliteFiles.h"
#include "core/db/sqlite/SqliteHandle.h"

#include <QSqlError>
#include <QSqlQuery>

namespace orvak::db {

// For drivers other than the embedded one the rows go through QSqlQuery.
struct BulkInserter::Impl {
    sqlite3* handle = nullptr;
    sqlite3_stmt* statement = nullptr;
    std::unique_ptr<QSqlQuery> query;
    int columns = 0;
};

BulkInserter::BulkInserter(QSqlDatabase db, const QString& table, const QStringList& columns)
    : d_(std::make_unique<Impl>())
{
    d_->columns = int(columns.size());
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    // A name given already bracketed may be another database's table.
    const QString target = table.startsWith(QLatin1Char('[')) ? table : QLatin1Char('[') + table + QLatin1Char(']');
    const QString sql = QStringLiteral("INSERT INTO %1 ([%2]) VALUES (%3)")
                            .arg(target, columns.join(QStringLiteral("], [")), marks.join(QLatin1Char(',')));
    if (sqlite3* handle = sqliteHandleOf(db)) {
        d_->handle = handle;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(d_->handle, utf8.constData(), int(utf8.size()), &d_->statement, nullptr) != SQLITE_OK) {
            error_ = sqlite::engineError(d_->handle);
            return;
        }
    } else {
        d_->query = std::make_unique<QSqlQuery>(db);
        if (!d_->query->prepare(sql)) {
            error_ = errorText(d_->query->lastError(), d_->query->driver());
            return;
        }
    }
    ok_ = true;
}

BulkInserter::~BulkInserter()
{
    if (d_->statement)
        sqlite3_finalize(d_->statement);
}

BulkInserter& BulkInserter::add(qint64 value)
{
    if (d_->statement)
        sqlite3_bind_int64(d_->statement, ++column_, value);
    else if (d_->query)
        d_->query->bindValue(column_++, value);
    return *this;
}

BulkInserter& BulkInserter::add(double value)
{
    if (d_->statement)
        sqlite3_bind_double(d_->statement, ++column_, value);
    else if (d_->query)
        d_->query->bindValue(column_++, value);
    return *this;
}

BulkInserter& BulkInserter::add(const QString& value)
{
    if (value.isNull())
        return addNull();
    if (d_->statement) {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(d_->statement, ++column_, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    } else if (d_->query) {
        d_->query->bindValue(column_++, value);
    }
    return *this;
}

BulkInserter& BulkInserter::add(const char* utf8)
{
    if (d_->statement)
        sqlite3_bind_text(d_->statement, ++column_, utf8, -1, SQLITE_TRANSIENT);
    else if (d_->query)
        d_->query->bindValue(column_++, QString::fromUtf8(utf8));
    return *this;
}

BulkInserter& BulkInserter::addNull()
{
    if (d_->statement)
        sqlite3_bind_null(d_->statement, ++column_);
    else if (d_->query)
        d_->query->bindValue(column_++, QVariant());
    return *this;
}

BulkInserter& BulkInserter::add(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return addNull();
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return add(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return add(value.toDouble());
    case QMetaType::QByteArray:
        if (d_->statement) {
            const QByteArray bytes = value.toByteArray();
            sqlite3_bind_blob(d_->statement, ++column_, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        } else if (d_->query) {
            d_->query->bindValue(column_++, value);
        }
        return *this;
    default:
        return add(value.toString());
    }
}

bool BulkInserter::insert()
{
    if (!ok_)
        return false;
    if (column_ != d_->columns) {
        error_ = QStringLiteral("row has %1 values for %2 columns").arg(column_).arg(d_->columns);
        ok_ = false;
        return false;
    }
    column_ = 0;
    if (d_->statement) {
        const int rc = sqlite3_step(d_->statement);
        sqlite3_reset(d_->statement);
        if (rc != SQLITE_DONE) {
            clashed_ = (sqlite3_extended_errcode(d_->handle) & 0xff) == SQLITE_CONSTRAINT
                && (sqlite3_extended_errcode(d_->handle) == SQLITE_CONSTRAINT_PRIMARYKEY || sqlite3_extended_errcode(d_->handle) == SQLITE_CONSTRAINT_UNIQUE);
            error_ = sqlite::engineError(d_->handle);
            ok_ = false;
            return false;
        }
    } else if (!d_->query->exec()) {
        const QSqlError e = d_->query->lastError();
        clashed_ = SqlServerDialect().isUniqueViolation(e);
        error_ = errorText(e, d_->query->driver());
        ok_ = false;
        return false;
    }
    ++rows_;
    return true;
}

} // namespace orvak::db
