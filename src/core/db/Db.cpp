#include "core/db/Db.h"

#include "core/db/DatabaseErrors.h"

#include <QSqlQuery>

namespace orvak::db {

void bindAll(QSqlQuery& q, const QVariantMap& binds)
{
    for (auto it = binds.begin(); it != binds.end(); ++it)
        q.bindValue(it.key().startsWith(QLatin1Char(':')) ? it.key() : QLatin1Char(':') + it.key(), it.value());
}

bool prepareBound(QSqlQuery& q, const QString& sql, const QVariantMap& binds, QString* error)
{
    if (!q.prepare(sql)) {
        if (error)
            *error = errorText(q.lastError(), q.driver());
        return false;
    }
    bindAll(q, binds);
    return true;
}

bool execSql(QSqlDatabase db, const QString& sql, const QVariantMap& binds, QString* error, int* rowsAffected)
{
    QSqlQuery q(db);
    if (!prepareBound(q, sql, binds, error))
        return false;
    if (!q.exec()) {
        if (error)
            *error = errorText(q.lastError(), db);
        return false;
    }
    if (rowsAffected)
        *rowsAffected = q.numRowsAffected();
    return true;
}

namespace {

// Runs a read and stands on its first row; the failure's reason otherwise.
bool firstOf(QSqlQuery& q, QSqlDatabase db, const QString& sql, const QVariantMap& binds, QString* why)
{
    if (!db.isOpen()) {
        *why = QStringLiteral("بانک اطلاعاتي باز نيست");
        return false;
    }
    q.setForwardOnly(true);
    if (!prepareBound(q, sql, binds, why))
        return false;
    if (!q.exec()) {
        *why = errorText(q.lastError(), db);
        return false;
    }
    return true;
}

// A read that stopped on a failure is no answer: it is told apart from "no row".
template <class T>
Fetched<T> nextOrFailure(QSqlQuery& q, QSqlDatabase db, const std::function<T()>& value, QString* error)
{
    if (q.next())
        return Fetched<T>::found(value());
    if (q.lastError().isValid()) {
        const QString why = errorText(q.lastError(), db);
        if (error)
            *error = why;
        return Fetched<T>::failure(why);
    }
    return Fetched<T>::none();
}

} // namespace

Fetched<QVariant> scalar(QSqlDatabase db, const QString& sql, const QVariantMap& binds, QString* error)
{
    QSqlQuery q(db);
    QString why;
    if (!firstOf(q, db, sql, binds, &why)) {
        if (error)
            *error = why;
        return Fetched<QVariant>::failure(why);
    }
    return nextOrFailure<QVariant>(q, db, [&] { return q.value(0); }, error);
}

Fetched<QSqlRecord> firstRow(QSqlDatabase db, const QString& sql, const QVariantMap& binds)
{
    QSqlQuery q(db);
    QString why;
    if (!firstOf(q, db, sql, binds, &why))
        return Fetched<QSqlRecord>::failure(why);
    return nextOrFailure<QSqlRecord>(q, db, [&] { return q.record(); }, nullptr);
}

void dropConnection(const QString& connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

bool inTransaction(QSqlDatabase db, const Dialect& dialect, const std::function<bool(QString*)>& work, QString* error)
{
    if (!dialect.begin(db)) {
        if (error)
            *error = db.lastError().text().isEmpty() ? QStringLiteral("شروع تراکنش ممکن نيست") : errorText(db.lastError(), db);
        return false;
    }
    QString why;
    if (!work(&why)) {
        dialect.rollback(db);
        if (error)
            *error = why;
        return false;
    }
    if (!dialect.commit(db)) {
        const QString text = db.lastError().isValid() ? errorText(db.lastError(), db) : QString();
        dialect.rollback(db);
        if (error)
            *error = text.isEmpty() ? QStringLiteral("ثبت تراکنش ممکن نشد") : text;
        return false;
    }
    return true;
}

std::optional<qint64> largestPlusOne(QSqlDatabase db, const QString& table, const QString& column, const QString& where,
                                     const QVariantMap& binds, QString* error)
{
    QString sql = QStringLiteral("SELECT MAX([%1]) FROM [%2]").arg(column, table);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    const Fetched<QVariant> v = scalar(db, sql, binds, error);
    if (v.failed())
        return std::nullopt;
    return (v && !v->isNull()) ? v->toLongLong() + 1 : 1;
}

bool insertWithNextKey(QSqlDatabase db, const Dialect& dialect, const QString& table, const QString& column,
                       const std::function<QSqlError(qint64)>& insert, qint64* key, QString* error, const QString& where,
                       const QVariantMap& binds)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool taken = false;
        qint64 chosen = 0;
        const bool ok = inTransaction(
            db, dialect,
            [&](QString* why) {
                const std::optional<qint64> next = largestPlusOne(db, table, column, where, binds, why);
                if (!next)
                    return false;
                chosen = *next;
                const QSqlError e = insert(chosen);
                if (e.isValid()) {
                    taken = dialect.isUniqueViolation(e);
                    *why = errorText(e, db);
                    return false;
                }
                return true;
            },
            error);
        if (ok) {
            if (key)
                *key = chosen;
            return true;
        }
        if (!taken)
            return false;
    }
    return false;
}

} // namespace orvak::db
