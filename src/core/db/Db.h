#pragma once
// Small helpers every service uses: statements with bound values, work inside one
// transaction, and new keys as "largest + 1" taken inside that transaction.
#include "core/db/Dialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace orvak::db {

// Runs one statement with its bound values (":name" -> value).
bool execSql(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {}, QString* error = nullptr,
             int* rowsAffected = nullptr);
// The first column of the first row, or nullopt (no row, or an error in *error).
std::optional<QVariant> scalar(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {}, QString* error = nullptr);

// The first row of a query, or nullopt (no row or an error).
std::optional<QSqlRecord> firstRow(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {});

// Closes and forgets a named connection (the caller holds no copy of it).
void dropConnection(const QString& connectionName);

// Runs work inside one transaction: committed when it returns true, rolled back
// otherwise (and when the commit fails).
bool inTransaction(QSqlDatabase db, const Dialect& dialect, const std::function<bool(QString* error)>& work,
                   QString* error = nullptr);

// Largest value of column (within where, if given) plus one; 1 in an empty table.
std::optional<qint64> largestPlusOne(QSqlDatabase db, const QString& table, const QString& column,
                                     const QString& where = {}, const QVariantMap& binds = {}, QString* error = nullptr);

// Inserts a row under a new key inside one transaction. When the insert fails
// because another workstation took the same number in the meantime, it tries once
// more with a fresh number. insert returns an invalid QSqlError on success.
bool insertWithNextKey(QSqlDatabase db, const Dialect& dialect, const QString& table, const QString& column,
                       const std::function<QSqlError(qint64 key)>& insert, qint64* key = nullptr,
                       QString* error = nullptr, const QString& where = {}, const QVariantMap& binds = {});

} // namespace orvak::db
