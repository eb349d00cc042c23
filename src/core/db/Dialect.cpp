#include "core/db/Dialect.h"

#include "core/db/Db.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

namespace orvak::db {

namespace {

QString bracket(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char(']'), QStringLiteral("]]"));
    return QLatin1Char('[') + n + QLatin1Char(']');
}

// The structure update reads every column line of the scripts at each run: the
// patterns are made once.
const QRegularExpression& defaultCall()
{
    static const QRegularExpression re(QStringLiteral("\\bdefault\\s*\\("), QRegularExpression::CaseInsensitiveOption);
    return re;
}

const QRegularExpression& identityCall()
{
    static const QRegularExpression re(QStringLiteral("\\bidentity\\s*\\("), QRegularExpression::CaseInsensitiveOption);
    return re;
}

// Finds "keyword(" and returns the position just after the balanced ')'.
std::optional<std::pair<int, int>> findCall(const QString& line, const QRegularExpression& call)
{
    const QRegularExpressionMatch m = call.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    int depth = 0;
    bool inString = false;
    for (int i = m.capturedEnd() - 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('\''))
            inString = !inString;
        else if (!inString && c == QLatin1Char('('))
            ++depth;
        else if (!inString && c == QLatin1Char(')') && --depth == 0)
            return std::make_pair(int(m.capturedStart()), i + 1);
    }
    return std::nullopt;
}

// A catalogue's answer: no row or a NULL text both mean the object is absent.
Fetched<QString> definitionOf(const Fetched<QVariant>& text)
{
    if (text.failed())
        return Fetched<QString>::failure(text.error());
    return text && !text->isNull() ? Fetched<QString>::found(text->toString()) : Fetched<QString>::none();
}

} // namespace

QString stripTrailingComma(const QString& line)
{
    QString t = line.trimmed();
    if (t.endsWith(QLatin1Char(',')))
        t.chop(1);
    return t.trimmed();
}

std::optional<ColumnLine> parseColumnLine(const QString& raw)
{
    const QString line = stripTrailingComma(raw);
    static const QRegularExpression re(
        QStringLiteral("^(\\[[^\\]]+\\]|[A-Za-z_#@][A-Za-z0-9_#@$]*)\\s+([A-Za-z_]+(?:\\s*\\(\\s*(?:\\d+|max)\\s*(?:,\\s*\\d+\\s*)?\\))?)(.*)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    ColumnLine c;
    c.name = m.captured(1);
    if (c.name.startsWith(QLatin1Char('[')))
        c.name = c.name.mid(1, c.name.size() - 2);
    c.type = m.captured(2).simplified().remove(QLatin1Char(' '));
    c.rest = m.captured(3).trimmed();
    if (const auto call = findCall(c.rest, defaultCall())) {
        const QString clause = c.rest.mid(call->first, call->second - call->first);
        c.defaultValue = clause.mid(clause.indexOf(QLatin1Char('(')) + 1).chopped(1).trimmed();
    }
    c.identity = findCall(c.rest, identityCall()).has_value();
    return c;
}

QString withoutDefault(const QString& raw)
{
    QString line = stripTrailingComma(raw);
    for (const QRegularExpression* keyword : {&defaultCall(), &identityCall()}) {
        if (const auto call = findCall(line, *keyword))
            line.remove(call->first, call->second - call->first);
    }
    return line.simplified();
}

bool Dialect::sameType(const QString& declared, const QString& scriptType) const
{
    // An identity key is declared INTEGER on the embedded database.
    auto norm = [](QString t) {
        t = t.toUpper().remove(QLatin1Char(' '));
        return t == QLatin1String("INTEGER") ? QStringLiteral("INT") : t;
    };
    return norm(declared) == norm(scriptType);
}

// ---- SQL Server

QString SqlServerDialect::qualified(const QString& database, const QString& table) const
{
    return bracket(database) + QStringLiteral(".dbo.") + bracket(table);
}

QString SqlServerDialect::topClause(int n) const { return QStringLiteral("TOP %1 ").arg(n); }

QString SqlServerDialect::serverClockSql() const { return QStringLiteral("select getdate() as serverDateTime"); }

bool SqlServerDialect::tableExists(QSqlDatabase db, const QString& table) const
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_SCHEMA = 'dbo' AND TABLE_NAME = :name"));
    q.bindValue(QStringLiteral(":name"), table);
    return q.exec() && q.next();
}

QList<ColumnInfo> SqlServerDialect::columns(QSqlDatabase db, const QString& table) const
{
    QList<ColumnInfo> out;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH FROM INFORMATION_SCHEMA.COLUMNS "
                             "WHERE TABLE_SCHEMA = 'dbo' AND TABLE_NAME = :name ORDER BY ORDINAL_POSITION"));
    q.bindValue(QStringLiteral(":name"), table);
    if (q.exec()) {
        while (q.next()) {
            QString type = q.value(1).toString();
            if (!q.value(2).isNull())
                type += QStringLiteral("(%1)").arg(q.value(2).toInt() < 0 ? QStringLiteral("max") : q.value(2).toString());
            out << ColumnInfo{q.value(0).toString(), type};
        }
    }
    return out;
}

Fetched<QString> SqlServerDialect::objectDefinition(QSqlDatabase db, const QString& name) const
{
    return definitionOf(scalar(db, QStringLiteral("SELECT OBJECT_DEFINITION(OBJECT_ID(:name))"), {{QStringLiteral(":name"), name}}));
}

QString SqlServerDialect::columnLine(const QString& scriptLine, bool) const { return stripTrailingComma(scriptLine); }

bool SqlServerDialect::isUniqueViolation(const QSqlError& error) const
{
    // 2627: primary key or unique constraint, 2601: unique index.
    const QString code = error.nativeErrorCode();
    return code.contains(QStringLiteral("2627")) || code.contains(QStringLiteral("2601"))
        || error.text().contains(QStringLiteral("duplicate key"), Qt::CaseInsensitive);
}

// ---- SQLite

QString SqliteDialect::qualified(const QString& database, const QString& table) const
{
    return bracket(database) + QLatin1Char('.') + bracket(table);
}

QString SqliteDialect::limitClause(int n) const { return QStringLiteral(" LIMIT %1").arg(n); }

QString SqliteDialect::serverClockSql() const
{
    return QStringLiteral("select strftime('%Y-%m-%dT%H:%M:%f', 'now', 'localtime') as serverDateTime");
}

bool SqliteDialect::tableExists(QSqlDatabase db, const QString& table) const
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = :name COLLATE NOCASE"));
    q.bindValue(QStringLiteral(":name"), table);
    return q.exec() && q.next();
}

QList<ColumnInfo> SqliteDialect::columns(QSqlDatabase db, const QString& table) const
{
    QList<ColumnInfo> out;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(bracket(table)))) {
        while (q.next())
            out << ColumnInfo{q.value(1).toString(), q.value(2).toString()};
    }
    return out;
}

Fetched<QString> SqliteDialect::objectDefinition(QSqlDatabase db, const QString& name) const
{
    return definitionOf(scalar(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE type IN ('view', 'trigger') AND name = :name COLLATE NOCASE"),
                               {{QStringLiteral(":name"), name}}));
}

QString SqliteDialect::columnLine(const QString& scriptLine, bool identityAsKey) const
{
    QString line = stripTrailingComma(scriptLine);
    static const QRegularExpression collate(QStringLiteral("COLLATE\\s+[A-Za-z0-9_]+"), QRegularExpression::CaseInsensitiveOption);
    line.replace(collate, QStringLiteral("COLLATE NOCASE"));
    static const QRegularExpression getdate(QStringLiteral("getdate\\s*\\(\\s*\\)"), QRegularExpression::CaseInsensitiveOption);
    line.replace(getdate, QStringLiteral("CURRENT_TIMESTAMP"));
    static const QRegularExpression maxSize(QStringLiteral("\\b(n?varchar|varbinary)\\s*\\(\\s*max\\s*\\)"), QRegularExpression::CaseInsensitiveOption);
    line.replace(maxSize, QStringLiteral("TEXT"));
    const std::optional<ColumnLine> c = parseColumnLine(line);
    if (c && c->identity) {
        if (identityAsKey)
            return QLatin1Char('[') + c->name + QStringLiteral("] INTEGER PRIMARY KEY AUTOINCREMENT");
        line = withoutDefault(line);
        if (c->defaultValue)
            line += QStringLiteral(" default(") + *c->defaultValue + QLatin1Char(')');
    }
    return line;
}

bool SqliteDialect::begin(QSqlDatabase db) const
{
    // Take the write lock at once: "largest + 1" must not be read by two writers.
    QSqlQuery q(db);
    return q.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

bool SqliteDialect::commit(QSqlDatabase db) const
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("COMMIT"));
}

void SqliteDialect::rollback(QSqlDatabase db) const
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("ROLLBACK"));
}

bool SqliteDialect::isUniqueViolation(const QSqlError& error) const
{
    // SQLITE_CONSTRAINT_PRIMARYKEY 1555, SQLITE_CONSTRAINT_UNIQUE 2067, or the text.
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("1555") || code == QLatin1String("2067") || code == QLatin1String("19")
        || error.text().contains(QStringLiteral("UNIQUE constraint failed"), Qt::CaseInsensitive);
}

// ---- keys and changed rows

QStringList SqlServerDialect::primaryKey(QSqlDatabase db, const QString& database, const QString& table) const
{
    const QString schema = database.isEmpty() ? QString() : bracket(database) + QLatin1Char('.');
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT k.COLUMN_NAME FROM %1INFORMATION_SCHEMA.TABLE_CONSTRAINTS c JOIN %1INFORMATION_SCHEMA.KEY_COLUMN_USAGE k "
                             "ON k.CONSTRAINT_NAME = c.CONSTRAINT_NAME AND k.TABLE_NAME = c.TABLE_NAME "
                             "WHERE c.CONSTRAINT_TYPE = 'PRIMARY KEY' AND c.TABLE_NAME = :name ORDER BY k.ORDINAL_POSITION")
                  .arg(schema));
    q.bindValue(QStringLiteral(":name"), table);
    QStringList keys;
    if (q.exec()) {
        while (q.next())
            keys << q.value(0).toString();
    }
    return keys;
}

QStringList SqlServerDialect::rowIdentity(const QStringList& keys) const { return keys; }

QString SqlServerDialect::updateReturning(const QString& target, const QString& set, const QString& where,
                                          const QStringList& identity, const QStringList& columns) const
{
    QStringList out;
    for (int i = 0; i < identity.size(); ++i)
        out << QStringLiteral("DELETED.%1 AS __id%2").arg(bracket(identity[i])).arg(i);
    if (columns.isEmpty())
        out << QStringLiteral("INSERTED.*");
    for (const QString& c : columns)
        out << QStringLiteral("INSERTED.") + bracket(c);
    return QStringLiteral("UPDATE %1 SET %2 OUTPUT %3 WHERE %4").arg(target, set, out.join(QStringLiteral(", ")), where);
}

QStringList SqliteDialect::primaryKey(QSqlDatabase db, const QString& database, const QString& table) const
{
    const QString schema = database.isEmpty() ? QString() : bracket(database) + QLatin1Char('.');
    QSqlQuery q(db);
    QList<std::pair<int, QString>> keyed;
    if (q.exec(QStringLiteral("PRAGMA %1table_info(%2)").arg(schema, bracket(table)))) {
        while (q.next()) {
            if (const int pk = q.value(5).toInt(); pk > 0)
                keyed.append({pk, q.value(1).toString()});
        }
    }
    std::sort(keyed.begin(), keyed.end());
    QStringList keys;
    for (const auto& k : keyed)
        keys << k.second;
    return keys;
}

QStringList SqliteDialect::rowIdentity(const QStringList&) const { return {QStringLiteral("rowid")}; }

QString SqliteDialect::updateReturning(const QString& target, const QString& set, const QString& where,
                                       const QStringList& identity, const QStringList& columns) const
{
    QStringList out;
    for (int i = 0; i < identity.size(); ++i)
        out << QStringLiteral("%1 AS __id%2").arg(identity[i]).arg(i);
    if (columns.isEmpty())
        out << QStringLiteral("*");
    for (const QString& c : columns)
        out << bracket(c);
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3 RETURNING %4").arg(target, set, where, out.join(QStringLiteral(", ")));
}

QString SqlServerDialect::deleteReturning(const QString& target, const QString& where) const
{
    return QStringLiteral("DELETE FROM %1 OUTPUT DELETED.* WHERE %2").arg(target, where);
}

QString SqliteDialect::deleteReturning(const QString& target, const QString& where) const
{
    return QStringLiteral("DELETE FROM %1 WHERE %2 RETURNING *").arg(target, where);
}

} // namespace orvak::db
