#include "core/db/UnitOfWork.h"

#include "core/db/Cursor.h"
#include "core/db/BulkInserter.h"
#include "core/db/DatabaseErrors.h"
#include "core/util/Jalali.h"

#include <QLocale>
#include <cmath>
#include <unordered_map>
#include <QRegularExpression>
#include <QSqlError>

namespace orvak::db {

namespace {

const char* storeName(Store store)
{
    switch (store) {
    case Store::Common:
        return "common";
    case Store::Deposits:
        return "deposits";
    case Store::Accounting:
        return "accounting";
    }
    return "";
}

QString notOpen(Store store)
{
    switch (store) {
    case Store::Common:
        return QStringLiteral("بانک اطلاعاتي مشترک باز نيست");
    case Store::Deposits:
        return QStringLiteral("بانک اطلاعاتي سپرده ها و تضمينات باز نيست");
    case Store::Accounting:
        return QStringLiteral("بانک اطلاعاتي حسابداري سال مالي باز نيست");
    }
    return {};
}


bool same(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    // The engine hands back 5 and 5.0 or "5" alike for one stored value.
    const int ta = a.typeId(), tb = b.typeId();
    if (ta == tb && (ta == QMetaType::LongLong || ta == QMetaType::QString))
        return ta == QMetaType::LongLong ? a.toLongLong() == b.toLongLong() : a.toString() == b.toString();
    bool na = false, nb = false;
    const double da = a.toDouble(&na), db = b.toDouble(&nb);
    if (na && nb)
        return da == db;
    return a.toString() == b.toString();
}

// The columns a SET clause assigns ("A = :a, [B] = B + 1" -> A, B); empty when
// the clause is not of that plain form, and then every column is compared.
QStringList assignedColumns(const QString& set)
{
    QStringList parts;
    int depth = 0;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= set.size(); ++i) {
        const QChar c = i < set.size() ? set[i] : QLatin1Char(',');
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('('))
            ++depth;
        else if (!quoted && c == QLatin1Char(')'))
            --depth;
        else if (!quoted && depth == 0 && c == QLatin1Char(',')) {
            parts << set.mid(start, i - start);
            start = i + 1;
        }
    }
    static const QRegularExpression column(QStringLiteral("^\\s*\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?\\s*="));
    QStringList columns;
    for (const QString& p : parts) {
        const QRegularExpressionMatch m = column.match(p);
        if (!m.hasMatch())
            return {};
        columns << m.captured(1);
    }
    return columns;
}

// Passwords, even scrambled, stay out of the history: only that they changed.
bool secret(const QString& column) { return column.contains(QLatin1String("PASS"), Qt::CaseInsensitive); }

void appendJsonString(QString& out, QStringView text)
{
    out += QLatin1Char('"');
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
}

// One value of a change, as the history's JSON holds it.
void appendJsonValue(QString& out, const QString& column, const QVariant& v)
{
    if (!v.isValid() || v.isNull()) {
        out += QLatin1String("null");
        return;
    }
    if (secret(column)) {
        out += QLatin1String("\"****\"");
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        out += QString::number(v.toLongLong());
        return;
    case QMetaType::Bool:
        out += v.toBool() ? QLatin1String("true") : QLatin1String("false");
        return;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (!std::isfinite(d))
            appendJsonString(out, QString::number(d));   // JSON has no infinity
        else
            out += QString::number(d, 'g', QLocale::FloatingPointShortest);
        return;
    }
    case QMetaType::QByteArray:
        // A picture or file is not text: the history keeps its size only.
        appendJsonString(out, QStringLiteral("(%1 bytes)").arg(v.toByteArray().size()));
        return;
    default:
        appendJsonString(out, v.toString());
    }
}

// {"COLUMN":[old,new],...}, written as the rows go by: no object per entry.
class Changes {
public:
    void add(const QString& column, const QVariant& before, const QVariant& after)
    {
        text_ += text_.isEmpty() ? QLatin1Char('{') : QLatin1Char(',');
        appendJsonString(text_, column);
        text_ += QLatin1String(":[");
        appendJsonValue(text_, column, before);
        text_ += QLatin1Char(',');
        appendJsonValue(text_, column, after);
        text_ += QLatin1Char(']');
    }
    bool isEmpty() const { return text_.isEmpty(); }
    QString take()
    {
        QString out = text_.isEmpty() ? QStringLiteral("{}") : text_ + QLatin1Char('}');
        text_.clear();
        return out;
    }

private:
    QString text_;
};

// Where each key column stands among names (-1 when absent).
std::vector<int> placesOf(const QStringList& keys, const QStringList& names, int offset = 0)
{
    std::vector<int> places;
    for (const QString& k : keys) {
        int at = -1;
        for (int i = offset; i < names.size(); ++i) {
            if (names[i].compare(k, Qt::CaseInsensitive) == 0) {
                at = i;
                break;
            }
        }
        places.push_back(at);
    }
    return places;
}

QString keyOf(const QStringList& keys, const std::vector<int>& places, const QVariantList& row)
{
    QVariantList values;
    for (int at : places)
        values << (at >= 0 && at < row.size() ? row[at] : QVariant());
    return auditKey(keys, values);
}

} // namespace

UnitOfWork::UnitOfWork(WorkPlace place)
    : place_(std::move(place))
{
    if (!server()) {
        error_ = notOpen(Store::Common);
        return;
    }
    own_ = !place_.deposits.isEmpty() ? place_.deposits : place_.common;
    if (own_.isEmpty()) {
        error_ = notOpen(Store::Common);
        return;
    }
    QString why;
    db_ = server()->database(own_, &why);
    if (!db_.isOpen()) {
        error_ = why.isEmpty() ? notOpen(Store::Common) : why;
        return;
    }
    // Attaching is refused inside a transaction, so the others are reached first.
    for (const QString& other : {place_.common, place_.accounting}) {
        if (!other.isEmpty() && other.compare(own_, Qt::CaseInsensitive) != 0 && !server()->attachForReading(db_, other, &why)) {
            error_ = why;
            return;
        }
    }
    // A grid's half-read list would hold a read lock that keeps this work from committing.
    finishWaitingReads();
    if (!dialect().begin(db_)) {
        error_ = db_.lastError().isValid() ? errorText(db_.lastError(), db_) : QStringLiteral("شروع تراکنش ممکن نيست");
        return;
    }
    begun_ = true;
}

UnitOfWork::~UnitOfWork()
{
    if (begun_ && !finished_)
        rollback();
}

bool UnitOfWork::fail(const QString& why)
{
    if (error_.isEmpty())
        error_ = why.isEmpty() ? QStringLiteral("عمليات انجام نشد") : why;
    return false;
}

bool UnitOfWork::step(bool ok, const QString& why) { return ok ? true : fail(why); }

QString UnitOfWork::databaseOf(Store store) const
{
    switch (store) {
    case Store::Common:
        return place_.common;
    case Store::Deposits:
        return place_.deposits;
    case Store::Accounting:
        return place_.accounting;
    }
    return {};
}

bool UnitOfWork::reachable(Store store)
{
    if (databaseOf(store).isEmpty())
        return fail(notOpen(store));
    return true;
}

QString UnitOfWork::table(Store store, const QString& name)
{
    if (!reachable(store))
        return {};
    const QString database = databaseOf(store);
    if (database.compare(own_, Qt::CaseInsensitive) == 0)
        return QLatin1Char('[') + name + QLatin1Char(']');
    return dialect().qualified(database, name);
}

QString UnitOfWork::resolve(const QString& sql)
{
    static const QRegularExpression reference(QStringLiteral("\\{(common|deposits|accounting)\\}\\.\\[?([A-Za-z0-9_]+)\\]?"));
    QString out;
    qsizetype last = 0;
    auto it = reference.globalMatch(sql);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString which = m.captured(1);
        const Store store = which == QLatin1String("common") ? Store::Common
            : which == QLatin1String("deposits")             ? Store::Deposits
                                                             : Store::Accounting;
        out += sql.mid(last, m.capturedStart() - last) + table(store, m.captured(2));
        last = m.capturedEnd();
    }
    return out + sql.mid(last);
}

bool UnitOfWork::exec(const QString& sql, const QVariantMap& binds, int* rowsAffected)
{
    if (!ok())
        return false;
    const QString text = resolve(sql);
    QString why;
    return ok() && step(execSql(db_, text, binds, &why, rowsAffected), why);
}

Fetched<QSqlRecord> UnitOfWork::firstRow(const QString& sql, const QVariantMap& binds)
{
    if (!ok())
        return Fetched<QSqlRecord>::failure(error_);
    const QString text = resolve(sql);
    if (!ok())
        return Fetched<QSqlRecord>::failure(error_);
    return db::firstRow(db_, text, binds);
}

Fetched<QVariant> UnitOfWork::scalar(const QString& sql, const QVariantMap& binds)
{
    if (!ok())
        return Fetched<QVariant>::failure(error_);
    const QString text = resolve(sql);
    if (!ok())
        return Fetched<QVariant>::failure(error_);
    return db::scalar(db_, text, binds);
}

std::optional<qint64> UnitOfWork::nextKey(Store store, const QString& name, const QString& column, const QString& where,
                                         const QVariantMap& binds)
{
    const QString target = table(store, name);
    if (!ok())
        return std::nullopt;
    QString sql = QStringLiteral("SELECT MAX([%1]) FROM %2").arg(column, target);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    const Fetched<QVariant> v = db::scalar(db_, sql, binds);
    if (v.failed()) {
        fail(v.error());
        return std::nullopt;
    }
    return (v && !v->isNull()) ? v->toLongLong() + 1 : 1;
}

QStringList UnitOfWork::keysOf(Store store, const QString& name)
{
    const QString cacheKey = QString::fromLatin1(storeName(store)) + QLatin1Char('.') + name.toUpper();
    if (const auto it = keys_.constFind(cacheKey); it != keys_.constEnd())
        return *it;
    const QString database = databaseOf(store);
    const bool own = database.compare(own_, Qt::CaseInsensitive) == 0;
    const QStringList keys = dialect().primaryKey(db_, own ? QString() : database, name);
    if (keys.isEmpty())
        fail(QStringLiteral("جدول %1 کليد ندارد؛ تغييرات آن قابل ثبت در تاريخچه نيست").arg(name));
    keys_.insert(cacheKey, keys);
    return keys;
}

BulkInserter* UnitOfWork::prepared(const QString& sql, const QStringList& columns)
{
    const QString cacheKey = sql + QLatin1Char('\x1f') + columns.join(QLatin1Char(','));
    std::shared_ptr<BulkInserter>& statement = statements_[cacheKey];
    if (!statement || !statement->isValid()) {
        if (statement) {
            // The shortcuts may point at the statement being replaced.
            lastInsert_ = {};
            for (BulkInserter*& e : entryStatements_)
                e = nullptr;
        }
        statement = std::make_shared<BulkInserter>(db_, sql, columns);
        if (!statement->isValid()) {
            fail(statement->error());
            return nullptr;
        }
    }
    return statement.get();
}

QString UnitOfWork::historyTarget(Store store)
{
    QString& target = historyTargets_[int(store)];
    if (target.isEmpty()) {
        // A database whose structure update has not run yet keeps no history of its
        // own: its entries go to the common database, which always does.
        const QString own = table(store, QStringLiteral("AUDITTRAIL"));
        if (!ok())
            return {};
        const bool has = store == Store::Common
            || execSql(db_, QStringLiteral("SELECT 1 FROM %1 WHERE 1 = 0").arg(own), {}, nullptr);
        target = has ? own : table(Store::Common, QStringLiteral("AUDITTRAIL"));
    }
    return target;
}

bool UnitOfWork::writeEntry(Store store, const QString& name, QChar op, const QString& key, const QString& changes)
{
    if (!place_.audited)
        return true;
    const QString target = historyTarget(store);
    if (!ok())
        return false;
    if (stamp_[0].isEmpty()) {
        // One time for all the entries of this work.
        const QDateTime now = place_.clock ? place_.clock() : QDateTime::currentDateTime();
        stamp_[0] = util::toJalali(now.date()).toText();
        stamp_[1] = now.time().toString(QStringLiteral("HH:mm:ss"));
    }
    static const QStringList columns{QStringLiteral("PROGID"),    QStringLiteral("ADATE"),     QStringLiteral("ATIME"),
                                     QStringLiteral("UCODE"),     QStringLiteral("WORKSTATION"), QStringLiteral("DBNAME"),
                                     QStringLiteral("TABLENAME"), QStringLiteral("ROWKEY"),    QStringLiteral("OP"),
                                     QStringLiteral("CHANGES")};
    BulkInserter*& entry = entryStatements_[int(store)];
    if (!entry || !entry->isValid())
        entry = prepared(target, columns);
    if (!entry)
        return false;
    entry->add(place_.programId).add(stamp_[0]).add(stamp_[1]).add(place_.userCode).add(place_.workstation)
        .add(databaseOf(store)).add(name).add(key).add(QString(op)).add(changes);
    if (!entry->insert())
        return fail(entry->error());
    ++entries_;
    return true;
}

bool UnitOfWork::insert(Store store, const QString& name, const QVariantMap& values)
{
    const QString target = table(store, name);
    if (!ok())
        return false;
    // One statement for every row of the same table and columns in this work.
    const QStringList columns = values.keys();
    BulkInserter* statement = lastInsert_.statement;
    if (!statement || !statement->isValid() || lastInsert_.target != target || lastInsert_.columns != columns) {
        statement = prepared(target, columns);
        if (!statement)
            return false;
        lastInsert_ = {target, columns, statement};
    }
    for (auto it = values.begin(); it != values.end(); ++it)
        statement->add(it.value());
    if (!statement->insert()) {
        clashed_ = statement->clashed();
        return fail(statement->error());
    }
    if (!place_.audited)
        return true;
    const QStringList keys = keysOf(store, name);
    if (!ok())
        return false;
    QVariantList keyValues;
    for (const QString& k : keys) {
        auto it = values.constFind(k);
        if (it == values.constEnd()) {
            for (auto j = values.begin(); j != values.end(); ++j) {
                if (j.key().compare(k, Qt::CaseInsensitive) == 0)
                    it = j;
            }
        }
        keyValues << (it != values.constEnd() ? it.value() : QVariant());
    }
    Changes changes;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (!it.value().isNull())
            changes.add(it.key(), {}, it.value());
    }
    return writeEntry(store, name, QLatin1Char('I'), auditKey(keys, keyValues), changes.take());
}

bool UnitOfWork::update(Store store, const QString& name, const QVariantMap& values, const QString& where,
                        const QVariantMap& binds, int* rowsChanged)
{
    QStringList set;
    QVariantMap all = binds;
    int i = 0;
    for (auto it = values.begin(); it != values.end(); ++it, ++i) {
        const QString mark = QStringLiteral(":set%1").arg(i);
        set << QStringLiteral("[%1] = %2").arg(it.key(), mark);
        all.insert(mark, it.value());
    }
    return update(store, name, set.join(QStringLiteral(", ")), where, all, rowsChanged);
}

namespace {

// The rows as they were before a change, found again by their identity: the
// engine's row number where it has one, the key's text elsewhere.
class RowsBefore {
public:
    void add(const Cursor& c, int identityColumns, QVariantList row)
    {
        if (identityColumns == 1 && c.type(0) == CellType::Integer)
            byNumber_.emplace(c.integer(0), rows_.size());
        else
            byText_.insert(identity(c, identityColumns), rows_.size());
        rows_.push_back(std::move(row));
    }
    const QVariantList* find(const Cursor& c, int identityColumns) const
    {
        if (identityColumns == 1 && c.type(0) == CellType::Integer) {
            const auto it = byNumber_.find(c.integer(0));
            return it == byNumber_.end() ? nullptr : &rows_[it->second];
        }
        const auto it = byText_.constFind(identity(c, identityColumns));
        return it == byText_.constEnd() ? nullptr : &rows_[*it];
    }
    size_t size() const { return rows_.size(); }

private:
    static QString identity(const Cursor& c, int columns)
    {
        QStringList parts;
        for (int i = 0; i < columns; ++i)
            parts << c.value(i).toString();
        return parts.join(QChar(0x1f));
    }
    std::vector<QVariantList> rows_;
    std::unordered_map<qint64, size_t> byNumber_;
    QHash<QString, size_t> byText_;
};

} // namespace

bool UnitOfWork::update(Store store, const QString& name, const QString& set, const QString& where, const QVariantMap& binds,
                        int* rowsChanged)
{
    const QString target = table(store, name);
    if (!ok())
        return false;
    const QString condition = where.trimmed().isEmpty() ? QStringLiteral("1=1") : resolve(where);
    QString why;
    if (!place_.audited) {
        return step(execSql(db_, QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(target, set, condition), binds, &why, rowsChanged), why);
    }
    const QStringList keys = keysOf(store, name);
    if (!ok())
        return false;
    const QStringList identity = dialect().rowIdentity(keys);
    const int offset = int(identity.size());
    QStringList ids;
    for (int k = 0; k < offset; ++k)
        ids << QStringLiteral("%1 AS __id%2").arg(identity[k]).arg(k);
    // Only the assigned columns can change; the key columns name the entry.
    QStringList compared = assignedColumns(set);
    QString wanted = QStringLiteral("*");
    if (!compared.isEmpty()) {
        for (const QString& k : keys) {
            if (!compared.contains(k, Qt::CaseInsensitive))
                compared << k;
        }
        QStringList bracketed;
        for (const QString& c : compared)
            bracketed << QLatin1Char('[') + c + QLatin1Char(']');
        wanted = bracketed.join(QStringLiteral(", "));
    }

    RowsBefore before;
    QStringList names;
    {
        std::unique_ptr<Cursor> old = openCursor(
            db_, QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4").arg(ids.join(QStringLiteral(", ")), wanted, target, condition), binds, &why);
        if (!old)
            return fail(why);
        names = old->fieldNames();
        while (old->next()) {
            QVariantList row;
            row.reserve(names.size());
            for (int c = 0; c < names.size(); ++c)
                row << old->value(c);
            before.add(*old, offset, std::move(row));
        }
        if (!old->failure().isEmpty())
            return fail(old->failure());
    }
    if (before.size() == 0) {
        if (rowsChanged)
            *rowsChanged = 0;
        return true;
    }
    const std::vector<int> keyPlaces = placesOf(keys, names, offset);
    std::unique_ptr<Cursor> changed = openCursor(db_, dialect().updateReturning(target, set, condition, identity, compared), binds, &why);
    if (!changed)
        return fail(why);
    const QStringList after = changed->fieldNames();
    // Where each returned column stands among the columns read before.
    std::vector<int> oldIndex(size_t(after.size()), -1);
    for (int c = offset; c < after.size(); ++c)
        oldIndex[size_t(c)] = int(names.indexOf(after[c]));
    int count = 0;
    Changes changes;
    while (changed->next()) {
        ++count;
        const QVariantList* old = before.find(*changed, offset);
        for (int c = offset; c < after.size(); ++c) {
            const int o = oldIndex[size_t(c)];
            const QVariant was = (old && o >= 0 && o < old->size()) ? (*old)[o] : QVariant();
            const QVariant now = changed->value(c);
            if (!same(was, now))
                changes.add(after[c], was, now);
        }
        if (changes.isEmpty())
            continue;
        if (!writeEntry(store, name, QLatin1Char('U'), old ? keyOf(keys, keyPlaces, *old) : QString(), changes.take()))
            return false;
    }
    if (!changed->failure().isEmpty())
        return fail(changed->failure());
    if (rowsChanged)
        *rowsChanged = count;
    return true;
}

bool UnitOfWork::remove(Store store, const QString& name, const QString& where, const QVariantMap& binds, int* rowsDeleted)
{
    const QString target = table(store, name);
    if (!ok())
        return false;
    const QString condition = where.trimmed().isEmpty() ? QStringLiteral("1=1") : resolve(where);
    QString why;
    if (!place_.audited)
        return step(execSql(db_, QStringLiteral("DELETE FROM %1 WHERE %2").arg(target, condition), binds, &why, rowsDeleted), why);
    const QStringList keys = keysOf(store, name);
    if (!ok())
        return false;
    std::unique_ptr<Cursor> gone = openCursor(db_, dialect().deleteReturning(target, condition), binds, &why);
    if (!gone)
        return fail(why);
    const QStringList names = gone->fieldNames();
    const std::vector<int> keyPlaces = placesOf(keys, names);
    int count = 0;
    QVariantList row;
    Changes changes;
    while (gone->next()) {
        ++count;
        row.clear();
        for (int c = 0; c < names.size(); ++c) {
            row << gone->value(c);
            if (!row.last().isNull())
                changes.add(names[c], row.last(), {});
        }
        if (!writeEntry(store, name, QLatin1Char('D'), keyOf(keys, keyPlaces, row), changes.take()))
            return false;
    }
    if (!gone->failure().isEmpty())
        return fail(gone->failure());
    if (rowsDeleted)
        *rowsDeleted = count;
    return true;
}

void UnitOfWork::dropStatements()
{
    lastInsert_ = {};
    for (BulkInserter*& e : entryStatements_)
        e = nullptr;
    statements_.clear();
}

bool UnitOfWork::commit()
{
    if (!begun_ || finished_)
        return false;
    dropStatements();
    if (!ok()) {
        rollback();
        return false;
    }
    if (!dialect().commit(db_)) {
        const QString text = db_.lastError().isValid() ? errorText(db_.lastError(), db_) : QString();
        rollback();
        return fail(text.isEmpty() ? QStringLiteral("ثبت تراکنش ممکن نشد") : text);
    }
    finished_ = true;
    return true;
}

void UnitOfWork::rollback()
{
    if (!begun_ || finished_)
        return;
    dropStatements();
    dialect().rollback(db_);
    finished_ = true;
}

bool inWork(const WorkPlace& place, const std::function<bool(UnitOfWork&)>& work, QString* error)
{
    for (int attempt = 0;; ++attempt) {
        UnitOfWork unit(place);
        if (unit.ok() && work(unit) && unit.commit())
            return true;
        if (unit.ok())
            unit.fail({});
        unit.rollback();
        if (unit.clashed() && attempt == 0)
            continue;
        if (error)
            *error = unit.error();
        return false;
    }
}

} // namespace orvak::db
