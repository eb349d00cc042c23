#pragma once
// The few places where SQL Server and the embedded database differ. Services write
// the common subset (INSERT INTO, DELETE FROM, COALESCE, substring, [names]) and ask
// the dialect for the rest.
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvak::db {

template <class T>
class Fetched;

struct ColumnInfo {
    QString name;
    QString type;   // declared type as the database reports it, e.g. "varchar(30)"
};

class Dialect {
public:
    virtual ~Dialect() = default;
    virtual QString name() const = 0;
    // Another database's table, for a statement run on this database's connection.
    virtual QString qualified(const QString& database, const QString& table) const = 0;
    // "SELECT " + topClause(n) + "... " + limitClause(n)
    virtual QString topClause(int n) const = 0;
    virtual QString limitClause(int n) const = 0;
    virtual QString serverClockSql() const = 0;
    virtual bool tableExists(QSqlDatabase db, const QString& table) const = 0;
    virtual QList<ColumnInfo> columns(QSqlDatabase db, const QString& table) const = 0;
    // The text a view, function or procedure was made with, as the server keeps it.
    virtual Fetched<QString> objectDefinition(QSqlDatabase db, const QString& name) const = 0;
    // One column line of a table script in this database's syntax (no trailing comma).
    // identityAsKey: an identity column of a table without a key line becomes the key.
    virtual QString columnLine(const QString& scriptLine, bool identityAsKey) const = 0;
    // Whether two declared types differ enough to re-type the column.
    virtual bool sameType(const QString& declared, const QString& scriptType) const;
    virtual bool begin(QSqlDatabase db) const = 0;
    virtual bool commit(QSqlDatabase db) const = 0;
    virtual void rollback(QSqlDatabase db) const = 0;
    virtual bool isUniqueViolation(const QSqlError& error) const = 0;

    // The key columns of a table of this connection's database, or of another one
    // (its name in database) reachable from it.
    virtual QStringList primaryKey(QSqlDatabase db, const QString& database, const QString& table) const = 0;
    // What identifies a row across an UPDATE that may change its key: the engine's
    // own row id where it has one, otherwise the key columns' old values.
    virtual QStringList rowIdentity(const QStringList& keys) const = 0;
    // UPDATE target SET set WHERE where, giving back each changed row: its identity
    // before the change as __id0.., then the columns after it (all when empty).
    virtual QString updateReturning(const QString& target, const QString& set, const QString& where,
                                    const QStringList& identity, const QStringList& columns) const = 0;
    // DELETE FROM target WHERE where, giving back the deleted rows.
    virtual QString deleteReturning(const QString& target, const QString& where) const = 0;
};

class SqlServerDialect final : public Dialect {
public:
    QString name() const override { return QStringLiteral("SQL Server"); }
    QString qualified(const QString& database, const QString& table) const override;
    QString topClause(int n) const override;
    QString limitClause(int) const override { return {}; }
    QString serverClockSql() const override;
    bool tableExists(QSqlDatabase db, const QString& table) const override;
    QList<ColumnInfo> columns(QSqlDatabase db, const QString& table) const override;
    Fetched<QString> objectDefinition(QSqlDatabase db, const QString& name) const override;
    QString columnLine(const QString& scriptLine, bool identityAsKey) const override;
    bool begin(QSqlDatabase db) const override { return db.transaction(); }
    bool commit(QSqlDatabase db) const override { return db.commit(); }
    void rollback(QSqlDatabase db) const override { db.rollback(); }
    bool isUniqueViolation(const QSqlError& error) const override;
    QStringList primaryKey(QSqlDatabase db, const QString& database, const QString& table) const override;
    QStringList rowIdentity(const QStringList& keys) const override;
    QString updateReturning(const QString& target, const QString& set, const QString& where,
                            const QStringList& identity, const QStringList& columns) const override;
    QString deleteReturning(const QString& target, const QString& where) const override;
};

class SqliteDialect final : public Dialect {
public:
    QString name() const override { return QStringLiteral("SQLite"); }
    QString qualified(const QString& database, const QString& table) const override;
    QString topClause(int) const override { return {}; }
    QString limitClause(int n) const override;
    QString serverClockSql() const override;
    bool tableExists(QSqlDatabase db, const QString& table) const override;
    QList<ColumnInfo> columns(QSqlDatabase db, const QString& table) const override;
    Fetched<QString> objectDefinition(QSqlDatabase db, const QString& name) const override;
    QString columnLine(const QString& scriptLine, bool identityAsKey) const override;
    bool begin(QSqlDatabase db) const override;
    bool commit(QSqlDatabase db) const override;
    void rollback(QSqlDatabase db) const override;
    bool isUniqueViolation(const QSqlError& error) const override;
    QStringList primaryKey(QSqlDatabase db, const QString& database, const QString& table) const override;
    QStringList rowIdentity(const QStringList& keys) const override;
    QString updateReturning(const QString& target, const QString& set, const QString& where,
                            const QStringList& identity, const QStringList& columns) const override;
    QString deleteReturning(const QString& target, const QString& where) const override;
};

// Parts of a table-script column line.
struct ColumnLine {
    QString name;          // without brackets
    QString type;          // "varchar(30)", "INT", ...
    QString rest;          // everything after the type
    std::optional<QString> defaultValue;   // inside default( ... )
    bool identity = false;
};
std::optional<ColumnLine> parseColumnLine(const QString& line);
// The line with its default clause (and identity) removed, for ALTER COLUMN.
QString withoutDefault(const QString& line);
QString stripTrailingComma(const QString& line);

} // namespace orvak::db
