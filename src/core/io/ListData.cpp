#include "core/io/ListData.h"

#include "core/db/Db.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <QSqlRecord>

namespace orvak::io {

ListColumn fieldColumn(const QString& field, const QString& title, int width, CellFormat format, bool total)
{
    ListColumn c;
    c.field = field;
    c.title = title;
    c.width = width;
    c.format = format;
    c.total = total;
    return c;
}

ListColumn computedColumn(const QString& title, int width, std::function<QString(const RowSet&, int row)> compute)
{
    ListColumn c;
    c.title = title;
    c.width = width;
    c.compute = std::move(compute);
    return c;
}

QString orderedSql(const QString& sql, const QList<SortField>& fields)
{
    if (fields.isEmpty())
        return sql;
    QStringList order;
    for (const SortField& f : fields)
        order << QStringLiteral("[%1] %2").arg(f.field, f.ascending ? QStringLiteral("ASC") : QStringLiteral("DESC"));
    QStringList lines = sql.split(QLatin1Char('\n'));
    static const QRegularExpression orderBy(QStringLiteral("ORDER\\s+BY"), QRegularExpression::CaseInsensitiveOption);
    for (QString& line : lines) {
        const QRegularExpressionMatch m = orderBy.match(line);
        if (m.hasMatch())
            line = line.left(m.capturedEnd()) + QLatin1Char(' ') + order.join(QStringLiteral(", "));
    }
    return lines.join(QLatin1Char('\n'));
}

QString withoutOrderBy(const QString& sql)
{
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b.*$"),
                                            QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QString s = sql;
    s.remove(orderBy);
    return s.trimmed();
}

std::optional<std::vector<double>> sumsOver(QSqlDatabase db, const QString& sql, const QVariantMap& params, const QStringList& fields)
{
    if (fields.isEmpty())
        return std::vector<double>{};
    QStringList sums;
    for (const QString& f : fields)
        sums << QStringLiteral("SUM([%1])").arg(f);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT %1 FROM (%2) q").arg(sums.join(QStringLiteral(", ")), withoutOrderBy(sql)));
    db::bindAll(q, params);
    if (!q.exec() || !q.next())
        return std::nullopt;
    std::vector<double> out;
    for (int i = 0; i < fields.size(); ++i)
        out.push_back(q.value(i).toDouble());
    return out;
}

// ---- rows

bool RowSet::open(QSqlDatabase db, const QString& sql, const QVariantMap& params, QString* error, int firstRows)
{
    close();
    QString why;
    std::unique_ptr<db::Cursor> cursor = db::openCursor(db, sql, params, &why);
    if (!cursor) {
        if (error)
            *error = why;
        return false;
    }
    setFieldNames(cursor->fieldNames());
    cursor_ = std::move(cursor);
    atEnd_ = false;
    fetchMore(firstRows);
    // A statement that fails does so at its first step.
    if (!cursor_->failure().isEmpty()) {
        if (error)
            *error = cursor_->failure();
        close();
        return false;
    }
    return true;
}

void RowSet::setFieldNames(const QStringList& names)
{
    names_ = names;
    columns_.assign(size_t(names.size()), db::StoredColumn{});
    rows_ = 0;
}

void RowSet::close()
{
    cursor_.reset();
    atEnd_ = true;
    failure_.clear();
    names_.clear();
    columns_.clear();
    rows_ = 0;
}

bool RowSet::canFetchMore() const { return cursor_ && !atEnd_; }

namespace {

// Appends a cell read as its type from a value.
template <typename Source>
void appendCell(db::StoredColumn& column, db::CellType type, const Source& source)
{
    switch (type) {
    case db::CellType::Null:
        column.appendNull();
        break;
    case db::CellType::Integer:
        column.appendInteger(source.integer());
        break;
    case db::CellType::Real:
        column.appendReal(source.real());
        break;
    case db::CellType::Text:
        column.appendText(source.text());
        break;
    }
}

struct ValueCell {
    const QVariant& value;
    qint64 integer() const { return value.toLongLong(); }
    double real() const { return value.toDouble(); }
    QString text() const { return value.toString(); }
};

} // namespace

void RowSet::finishFetching()
{
    atEnd_ = true;
    failure_ = cursor_->failure();
    cursor_->release();
}

int RowSet::fetchMore(int rows)
{
    if (!canFetchMore())
        return 0;
    const int added = rows > 0 ? cursor_->readRows(columns_, rows) : 0;
    rows_ += added;
    if (added < rows)
        finishFetching();
    return added;
}

void RowSet::fetchAll()
{
    while (canFetchMore())
        fetchMore(4096);
}

void RowSet::appendRow(const QVariantList& values)
{
    for (int c = 0; c < int(columns_.size()); ++c) {
        const QVariant v = values.value(c);
        appendCell(columns_[size_t(c)], db::cellTypeOf(v), ValueCell{v});
    }
    ++rows_;
}

int RowSet::fieldIndex(const QString& name) const
{
    for (int i = 0; i < names_.size(); ++i) {
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool RowSet::isNull(int row, int column) const
{
    if (column < 0 || column >= int(columns_.size()) || row < 0 || row >= rows_)
        return true;
    return columns_[size_t(column)].isNull(size_t(row));
}

QVariant RowSet::value(int row, int column) const
{
    if (isNull(row, column))
        return {};
    const db::StoredColumn& c = columns_[size_t(column)];
    switch (c.kind()) {
    case db::StoredColumn::Int:
        return c.integer(size_t(row));
    case db::StoredColumn::Real:
        return c.real(size_t(row));
    case db::StoredColumn::Text:
        return c.text(size_t(row)).toString();
    case db::StoredColumn::Unknown:
        break;
    }
    return {};
}

QString RowSet::text(int row, int column) const
{
    if (isNull(row, column))
        return {};
    const db::StoredColumn& c = columns_[size_t(column)];
    switch (c.kind()) {
    case db::StoredColumn::Int:
        return QString::number(c.integer(size_t(row)));
    case db::StoredColumn::Real: {
        const double d = c.real(size_t(row));
        return d == double(qint64(d)) ? QString::number(qint64(d)) : QString::number(d, 'f', 3);
    }
    case db::StoredColumn::Text:
        return c.text(size_t(row)).toString();
    case db::StoredColumn::Unknown:
        break;
    }
    return {};
}

QStringView RowSet::textView(int row, int column) const
{
    if (isNull(row, column) || columns_[size_t(column)].kind() != db::StoredColumn::Text)
        return {};
    return columns_[size_t(column)].text(size_t(row));
}

double RowSet::number(int row, int column) const
{
    if (isNull(row, column))
        return 0.0;
    const db::StoredColumn& c = columns_[size_t(column)];
    switch (c.kind()) {
    case db::StoredColumn::Int:
        return double(c.integer(size_t(row)));
    case db::StoredColumn::Real:
        return c.real(size_t(row));
    case db::StoredColumn::Text:
        return c.text(size_t(row)).trimmed().toDouble();
    case db::StoredColumn::Unknown:
        break;
    }
    return 0.0;
}

bool RowSet::isNumeric(int column) const
{
    if (column < 0 || column >= int(columns_.size()))
        return false;
    const auto k = columns_[size_t(column)].kind();
    return k == db::StoredColumn::Int || k == db::StoredColumn::Real;
}

qint64 RowSet::bytesHeld() const
{
    qint64 bytes = 0;
    for (const db::StoredColumn& c : columns_)
        bytes += c.bytes();
    return bytes;
}

} // namespace orvak::io
