#include "ui/framework/ListModel.h"

#include "core/io/ListOutput.h"

#include <QBrush>
#include <QCollator>
#include <QTimer>
#include <algorithm>
#include <numeric>

namespace orvak::ui::framework {

ListModel::ListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void ListModel::setColumns(const QList<io::ListColumn>& columns)
{
    beginResetModel();
    columns_ = columns;
    fieldIndex_.clear();
    endResetModel();
}

int ListModel::fieldOf(int column) const
{
    return column >= 0 && size_t(column) < fieldIndex_.size() ? fieldIndex_[size_t(column)] : -1;
}

bool ListModel::open(QSqlDatabase db, const QString& sql, const QVariantMap& params, QString* error)
{
    beginResetModel();
    const bool ok = rows_.open(db, sql, params, error);
    fieldIndex_.clear();
    for (const io::ListColumn& c : columns_)
        fieldIndex_.push_back(c.isComputed() ? -1 : rows_.fieldIndex(c.field));
    order_.clear();
    ordered_ = false;
    if (ok && (filter_ || !sortKeys_.isEmpty())) {
        rows_.fetchAll();
        rebuildOrder();
    }
    endResetModel();
    ++reading_;
    if (ok && canFetchMore({}))
        QTimer::singleShot(0, this, [this, reading = reading_] { readOn(reading); });
    return ok;
}

void ListModel::readOn(quint64 reading)
{
    // A statement half-read holds its file's read lock, and on the local server no
    // other program can commit while it does: the rest is read as the event loop
    // allows, a block at a time, rather than as the grid scrolls.
    if (reading != reading_ || !canFetchMore({}))
        return;
    const int before = rows_.rowCount();
    const int added = rows_.fetchMore(16384);
    if (added > 0) {
        beginInsertRows({}, before, before + added - 1);
        endInsertRows();
    }
    if (canFetchMore({}))
        QTimer::singleShot(0, this, [this, reading] { readOn(reading); });
}

int ListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return ordered_ ? int(order_.size()) : rows_.rowCount();
}

int ListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

int ListModel::sourceRow(int gridRow) const
{
    if (gridRow < 0 || gridRow >= rowCount())
        return -1;
    return ordered_ ? order_[size_t(gridRow)] : gridRow;
}

int ListModel::gridRowOf(int source) const
{
    if (!ordered_)
        return source < rows_.rowCount() ? source : -1;
    const auto it = std::find(order_.begin(), order_.end(), source);
    return it == order_.end() ? -1 : int(it - order_.begin());
}

QString ListModel::formatted(const io::ListColumn& column, const QVariant& value, const QString& text)
{
    return io::displayText(column, value, text);
}

QString ListModel::cellText(int gridRow, int column) const
{
    const int row = sourceRow(gridRow);
    if (row < 0 || column < 0 || column >= columns_.size())
        return {};
    const io::ListColumn& c = columns_[column];
    if (c.isComputed())
        return c.compute(rows_, row);
    const int f = fieldOf(column);
    return io::displayText(c, rows_, row, f);
}

std::optional<double> ListModel::cellNumber(int gridRow, int column) const
{
    const int row = sourceRow(gridRow);
    const int f = fieldOf(column);
    if (row < 0 || f < 0 || rows_.isNull(row, f))
        return std::nullopt;
    const io::CellFormat format = columns_[column].format;
    if (format != io::CellFormat::Amount && format != io::CellFormat::Integer)
        return std::nullopt;
    return rows_.number(row, f);
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::TextAlignmentRole: {
        const io::CellFormat f = columns_[index.column()].format;
        if (f == io::CellFormat::Amount || f == io::CellFormat::Integer || f == io::CellFormat::JalaliDate)
            return int(Qt::AlignCenter);
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
        if (rowColour_) {
            const QColor c = rowColour_(rows_, sourceRow(index.row()));
            if (c.isValid())
                return QBrush(c);
        }
        return {};
    default:
        return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        for (int i = 0; i < shownSort_.size(); ++i) {
            if (shownSort_[i].column == section)
                return columns_[section].title + (shownSort_[i].ascending ? QStringLiteral(" ▲") : QStringLiteral(" ▼")) + QString::number(i + 1);
        }
        return columns_[section].title;
    }
    if (role == Qt::BackgroundRole && section == sortedColumn_)
        return QBrush(QColor(100, 250, 111));   // the sorted column's title
    return {};
}

bool ListModel::canFetchMore(const QModelIndex& parent) const { return !parent.isValid() && !ordered_ && rows_.canFetchMore(); }

void ListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || ordered_)
        return;
    const int before = rows_.rowCount();
    // Fetch first, then announce exactly the rows that came.
    io::RowSet& rows = rows_;
    const int added = rows.fetchMore(1024);
    if (added > 0) {
        beginInsertRows({}, before, before + added - 1);
        endInsertRows();
    }
}

void ListModel::fetchAll()
{
    if (ordered_ || !rows_.canFetchMore())
        return;
    const int before = rows_.rowCount();
    rows_.fetchAll();
    if (rows_.rowCount() > before) {
        beginInsertRows({}, before, rows_.rowCount() - 1);
        endInsertRows();
    }
}

void ListModel::rebuildOrder()
{
    std::vector<int> all(size_t(rows_.rowCount()));
    std::iota(all.begin(), all.end(), 0);
    if (!sortKeys_.isEmpty()) {
        QCollator collator(QLocale(QLocale::Persian, QLocale::Iran));
        collator.setNumericMode(true);
        // A computed column's texts once per row, not once per comparison.
        std::vector<std::vector<QString>> computed(size_t(sortKeys_.size()));
        for (int k = 0; k < sortKeys_.size(); ++k) {
            if (fieldOf(sortKeys_[k].column) >= 0)
                continue;
            computed[size_t(k)].reserve(all.size());
            const io::ListColumn& c = columns_[sortKeys_[k].column];
            for (int r : all)
                computed[size_t(k)].push_back(c.isComputed() ? c.compute(rows_, r) : QString());
        }
        auto less = [&](int a, int b) {
            for (int k = 0; k < sortKeys_.size(); ++k) {
                const int f = fieldOf(sortKeys_[k].column);
                int cmp = 0;
                if (f < 0) {
                    cmp = collator.compare(computed[size_t(k)][size_t(a)], computed[size_t(k)][size_t(b)]);
                } else if (rows_.isNumeric(f)) {
                    const double x = rows_.number(a, f), y = rows_.number(b, f);
                    cmp = x < y ? -1 : x > y ? 1 : 0;
                } else {
                    cmp = collator.compare(rows_.textView(a, f), rows_.textView(b, f));
                }
                if (cmp != 0)
                    return sortKeys_[k].ascending ? cmp < 0 : cmp > 0;
            }
            return false;
        };
        std::stable_sort(all.begin(), all.end(), less);
    }
    order_ = filter_ ? filter_->apply(rows_, all) : std::move(all);
    ordered_ = filter_.has_value() || !sortKeys_.isEmpty();
}

void ListModel::applyFilter(const std::optional<io::FilterExpression>& filter)
{
    beginResetModel();
    filter_ = filter;
    rows_.fetchAll();
    rebuildOrder();
    endResetModel();
}

void ListModel::sortBy(const QList<SortKey>& keys)
{
    beginResetModel();
    sortKeys_ = keys;
    // Rows in the query's own order need not all be read.
    if (!keys.isEmpty() || filter_)
        rows_.fetchAll();
    rebuildOrder();
    endResetModel();
    showSortOrder(keys);
}

void ListModel::showSortOrder(const QList<SortKey>& keys)
{
    shownSort_ = keys;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

double ListModel::columnTotal(int column) const
{
    const int f = fieldOf(column);
    if (f < 0)
        return 0;
    double sum = 0;
    const int n = rowCount();
    for (int r = 0; r < n; ++r)
        sum += rows_.number(sourceRow(r), f);
    return sum;
}

} // namespace orvak::ui::framework
