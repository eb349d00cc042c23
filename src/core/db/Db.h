#pragma once
// Small helpers every service uses: statements with bound values, reads that tell
// "no row" from "the query failed", work inside one transaction, and new keys as
// "largest + 1" taken inside that transaction.
#include "core/db/Dialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace orvak::db {

// What a read found: a value, no row, or a failure with its reason. Tests as true
// only when a value was found, so a failed read is never taken for an answer;
// callers that must fail closed ask failed().
template <class T>
class Fetched {
public:
    static Fetched found(T value) { return Fetched(State::Found, std::move(value), {}); }
    static Fetched none() { return Fetched(State::None, T{}, {}); }
    static Fetched failure(QString why) { return Fetched(State::Failed, T{}, std::move(why)); }

    bool has_value() const { return state_ == State::Found; }
    explicit operator bool() const { return has_value(); }
    bool empty() const { return state_ == State::None; }
    bool failed() const { return state_ == State::Failed; }
    const QString& error() const { return error_; }

    const T& operator*() const { return value_; }
    const T* operator->() const { return &value_; }
    const T& value() const { return value_; }
    T value_or(T fallback) const { return has_value() ? value_ : std::move(fallback); }

private:
    enum class State { Found, None, Failed };
    Fetched(State s, T v, QString e) : state_(s), value_(std::move(v)), error_(std::move(e)) {}
    State state_;
    T value_;
    QString error_;
};

// Binds the values by name (":name" or "name" -> value); names the statement does
// not use are left out, so one map can serve several statements.
void bindAll(QSqlQuery& q, const QVariantMap& binds);
// Prepares the statement and binds the values; false with the reason in *error.
bool prepareBound(QSqlQuery& q, const QString& sql, const QVariantMap& binds, QString* error = nullptr);

// Runs one statement with its bound values (":name" -> value).
bool execSql(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {}, QString* error = nullptr,
             int* rowsAffected = nullptr);
// The first column of the first row.
Fetched<QVariant> scalar(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {}, QString* error = nullptr);
// The first row of a query.
Fetched<QSqlRecord> firstRow(QSqlDatabase db, const QString& sql, const QVariantMap& binds = {});

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
