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

QString resortedSql(const QString& sql, const QString& field)
{
    QStringList lines = sql.split(QLatin1Char('\n'));
    static const QRegularExpression orderBy(QStringLiteral("ORDER\\s+BY"), QRegularExpression::CaseInsensitiveOption);
    // The direction word itself, not letters inside a column name ([CLASSCODE]).
    static const QRegularExpression ascending(QStringLiteral("\\bASC\\b"), QRegularExpression::CaseInsensitiveOption);
    for (QString& line : lines) {
        const QRegularExpressionMatch m = orderBy.match(line);
        if (!m.hasMatch())
            continue;
        const bool wasAscending = ascending.match(line.mid(m.capturedEnd())).hasMatch();
        line = line.left(m.capturedEnd()) + QStringLiteral(" [") + field + QLatin1Char(']')
            + (wasAscending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
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

// ---- columns

void RowSet::Column::convertToText()
{
    // The rows stored so far; the row being appended is not among them yet.
    const size_t n = kind == Int ? ints.size() : reals.size();
    texts.resize(n);
    for (size_t i = 0; i < n; ++i) {
        if (nulls[i])
            continue;
        texts[i] = kind == Int ? QString::number(ints[i]) : QString::number(reals[i], 'g', 17);
    }
    ints.clear();
    reals.clear();
    kind = Text;
}

void RowSet::Column::convertToReal()
{
    reals.resize(ints.size());
    for (size_t i = 0; i < ints.size(); ++i)
        reals[i] = double(ints[i]);
    ints.clear();
    kind = Real;
}

void RowSet::Column::append(const QVariant& v)
{
    const bool null = v.isNull();
    if (kind == Unknown && !null) {
        switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Bool:
            kind = Int;
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            kind = Real;
            break;
        default:
            kind = Text;
        }
        // Rows fetched before the first value were all NULL.
        const size_t n = nulls.size();
        if (kind == Int)
            ints.assign(n, 0);
        else if (kind == Real)
            reals.assign(n, 0.0);
        else
            texts.assign(n, QString());
    }
    nulls.push_back(null);
    switch (kind) {
    case Unknown:
        break;
    case Int: {
        bool ok = null;
        const qint64 i = null ? 0 : v.toLongLong(&ok);
        const bool integral = v.metaType().id() != QMetaType::Double && v.metaType().id() != QMetaType::Float;
        if (!null && (!ok || !integral)) {
            // A value that does not fit the column's kind widens the column.
            if (integral || v.metaType().id() == QMetaType::QString) {
                convertToText();
                texts.push_back(v.toString());
            } else {
                convertToReal();
                reals.push_back(v.toDouble());
            }
            return;
        }
        ints.push_back(i);
        break;
    }
    case Real: {
        bool ok = null;
        const double d = null ? 0.0 : v.toDouble(&ok);
        if (!null && !ok) {
            convertToText();
            texts.push_back(v.toString());
            return;
        }
        reals.push_back(d);
        break;
    }
    case Text:
        texts.push_back(null ? QString() : v.toString());
        break;
    }
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
    columns_.assign(size_t(names.size()), Column{});
    rows_ = 0;
}

void RowSet::close()
{
    cursor_.reset();
    atEnd_ = true;
    names_.clear();
    columns_.clear();
    rows_ = 0;
}

bool RowSet::canFetchMore() const { return cursor_ && !atEnd_; }

void RowSet::readRow()
{
    for (int c = 0; c < int(columns_.size()); ++c)
        columns_[size_t(c)].append(cursor_->value(c));
    ++rows_;
}

int RowSet::fetchMore(int rows)
{
    if (!canFetchMore())
        return 0;
    int added = 0;
    while (added < rows) {
        if (!cursor_->next()) {
            atEnd_ = true;
            cursor_->release();
            break;
        }
        readRow();
        ++added;
    }
    return added;
}

void RowSet::fetchAll()
{
    while (canFetchMore())
        fetchMore(4096);
}

void RowSet::appendRow(const QVariantList& values)
{
    for (int c = 0; c < int(columns_.size()); ++c)
        columns_[size_t(c)].append(values.value(c));
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
    return columns_[size_t(column)].nulls[size_t(row)];
}

QVariant RowSet::value(int row, int column) const
{
    if (isNull(row, column))
        return {};
    const Column& c = columns_[size_t(column)];
    switch (c.kind) {
    case Column::Int:
        return c.ints[size_t(row)];
    case Column::Real:
        return c.reals[size_t(row)];
    case Column::Text:
        return c.texts[size_t(row)];
    case Column::Unknown:
        break;
    }
    return {};
}

QString RowSet::text(int row, int column) const
{
    if (isNull(row, column))
        return {};
    const Column& c = columns_[size_t(column)];
    switch (c.kind) {
    case Column::Int:
        return QString::number(c.ints[size_t(row)]);
    case Column::Real: {
        const double d = c.reals[size_t(row)];
        return d == double(qint64(d)) ? QString::number(qint64(d)) : QString::number(d, 'f', 3);
    }
    case Column::Text:
        return c.texts[size_t(row)];
    case Column::Unknown:
        break;
    }
    return {};
}

double RowSet::number(int row, int column) const
{
    if (isNull(row, column))
        return 0.0;
    const Column& c = columns_[size_t(column)];
    switch (c.kind) {
    case Column::Int:
        return double(c.ints[size_t(row)]);
    case Column::Real:
        return c.reals[size_t(row)];
    case Column::Text:
        return c.texts[size_t(row)].trimmed().toDouble();
    case Column::Unknown:
        break;
    }
    return 0.0;
}

bool RowSet::isNumeric(int column) const
{
    if (column < 0 || column >= int(columns_.size()))
        return false;
    const auto k = columns_[size_t(column)].kind;
    return k == Column::Int || k == Column::Real;
}

} // namespace orvak::io
