#pragma once
// The grid's model: the rows of a list query in the declared columns, shown through
// a vector of row numbers that sorting and filtering rearrange.
#include "core/io/FilterExpression.h"
#include "core/io/ListData.h"

#include <QAbstractTableModel>
#include <QColor>
#include <optional>

namespace orvak::ui::framework {

class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListModel(QObject* parent = nullptr);

    void setColumns(const QList<io::ListColumn>& columns);
    const QList<io::ListColumn>& columns() const { return columns_; }
    void setRowColour(std::function<QColor(const io::RowSet&, int)> colour) { rowColour_ = std::move(colour); }

    // Runs the query; false with the database's message.
    bool open(QSqlDatabase db, const QString& sql, const QVariantMap& params, QString* error = nullptr);
    const io::RowSet& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchAll();   // every row of the query, announced to the views
    void fetchMore(const QModelIndex& parent) override;

    // The row of the query behind a grid row.
    int sourceRow(int gridRow) const;
    int gridRowOf(int sourceRow) const;
    QString cellText(int gridRow, int column) const;
    std::optional<double> cellNumber(int gridRow, int column) const;

    // Client-side filter and multi-column sort over all rows (all are fetched first).
    void applyFilter(const std::optional<io::FilterExpression>& filter);
    const std::optional<io::FilterExpression>& filter() const { return filter_; }
    struct SortKey {
        int column;
        bool ascending;
    };
    void sortBy(const QList<SortKey>& keys);
    // The column last sorted, whose title is coloured.
    void setSortedColumn(int column) { sortedColumn_ = column; emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1); }
    int sortedColumn() const { return sortedColumn_; }
    // The order the titles show, each sorted column with its direction and its place
    // ("▲1", "▼2"), whether the rows were sorted here or by the query; sortBy shows
    // its own keys.
    void showSortOrder(const QList<SortKey>& keys);
    const QList<SortKey>& shownSortOrder() const { return shownSort_; }
    double columnTotal(int column) const;   // over the shown rows

    static QString formatted(const io::ListColumn& column, const QVariant& value, const QString& text);

private:
    void rebuildOrder();
    void readOn(quint64 reading);
    int fieldOf(int column) const;

    QList<io::ListColumn> columns_;
    std::vector<int> fieldIndex_;
    io::RowSet rows_;
    std::vector<int> order_;   // grid row -> query row; identity while neither filtered nor sorted
    bool ordered_ = false;
    std::optional<io::FilterExpression> filter_;
    QList<SortKey> sortKeys_;
    QList<SortKey> shownSort_;
    int sortedColumn_ = -1;
    quint64 reading_ = 0;   // which opening a pending read belongs to
    std::function<QColor(const io::RowSet&, int)> rowColour_;
};

} // namespace orvak::ui::framework
