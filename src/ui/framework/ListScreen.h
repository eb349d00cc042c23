#pragma once
// The standard list screen: a right-to-left grid over one parameterised query with
// declared columns, totals, commands, title sorting, filter and sort dialogs,
// exports, printing as a report and charts. A screen declares; this does the rest.
#include "ui/framework/ListModel.h"
#include "core/db/AuditTrail.h"
#include "core/io/GridExport.h"
#include "core/io/ListDefinition.h"
#include "core/io/Report.h"
#include "core/startup/Rights.h"

#include <QKeySequence>
#include <QWidget>
#include <functional>
#include <vector>

class QLabel;
class QTableView;
class QMenu;
class QHBoxLayout;
class QPushButton;

namespace orvak::ui::framework {

class ListScreen;

struct ListCommand {
    QString caption;
    QKeySequence key;
    std::function<void(ListScreen&)> run;
    bool needsRow = false;   // disabled on an empty list
    bool writes = false;     // disabled while the list is read-only, and its key refused
    // The access bit the command needs (startup::AccessInsert, AccessEditOwn,
    // AccessDelete); 0: none. Without it the button and the key are refused.
    int access = 0;
};

// The frame's own description of a list: a declared list on the session becomes one
// (ListScreen's other constructor); tests describe lists over their own databases.
struct ListFrame {
    QString title;
    std::function<QSqlDatabase()> database;
    QString sql;
    QVariantMap params;
    QList<io::ListColumn> columns;
    QString keyField;                 // positions the grid after re-opening
    std::function<QColor(const io::RowSet&, int row)> rowColour;
    QList<ListCommand> commands;
    int menuVariant = 1;              // 1: the long captions; 2: the short ones
    // The report's signatures (the report footer); empty for none.
    std::function<std::vector<io::ReportSignature>()> signatures;
    std::function<void()> beforeOpen;   // e.g. reads the lookups again
    // The change history of a row by its key text, and the fields that make it;
    // empty where the list has none.
    std::function<db::Fetched<QList<db::AuditEntry>>(const QString& key)> history;
    QStringList historyKey;
};

// What only the screen adds to a declared list.
struct ListUi {
    QList<ListCommand> commands;
    int menuVariant = 1;
    std::function<std::vector<io::ReportSignature>()> signatures;
};

// The colour of a row kind on the grid (invalid: the grid's own).
QColor rowKindColour(io::RowKind kind);

class ListScreen : public QWidget {
    Q_OBJECT
public:
    explicit ListScreen(ListFrame definition, QWidget* parent = nullptr);
    // A list declared in core, on the session's database.
    ListScreen(orvak::startup::Session& session, io::ListDefinition definition, ListUi ui, QWidget* parent = nullptr);

    const ListFrame& frame() const { return frame_; }
    ListModel& model() { return model_; }
    QTableView* grid() const { return grid_; }
    QMenu* contextMenu() const { return menu_; }

    // Runs the query again (with new parameters) and stands on the row with the key.
    bool reopen(const QVariant& key = {});
    void setParameter(const QString& name, const QVariant& value) { frame_.params.insert(name, value); }
    // Replaces the query (a register's own narrowing or order); the next reopen runs it.
    void setQuery(const QString& sql) { frame_.sql = sql_ = sql; }

    // Opens an entry form for a new row or the current one; the list re-opens on
    // every saved key.
    void runEntryForm(class EntryForm& form, bool insert);

    QVariant currentKey() const;
    int currentSourceRow() const;
    QList<QVariant> selectedKeys() const;
    // Whether the grid shows the query's rows otherwise than the query gives them: a
    // filter of the frame, or a sort by the titles or the sort dialog.
    bool rearranged() const;
    // The query's row behind every row the grid shows, in the grid's order (every
    // row is read first).
    std::vector<int> shownRows();
    QString currentSql() const { return sql_; }

    // A title click: the query is ordered by that column alone, ascending, and a
    // second click turns the direction. With Ctrl held (add) the column joins the
    // columns already sorted, ascending, or turns its own direction if it is one of
    // them. The query's ORDER BY line carries the order.
    bool sortByTitle(int column, bool add = false);
    void setFilterText(const QString& text);   // applies it; "" removes filters
    void removeFilters();
    void sortByKeys(const QList<ListModel::SortKey>& keys);

    io::ExportTable exportTable() const;
    io::ReportModel reportModel();
    bool exportTo(const QString& path, io::ExportFormat format, QString* error = nullptr);
    // What the exports' and the printed report's title add to the list's title (the
    // period the list shows); nothing while unset or empty.
    void setTitleDetail(std::function<QString()> detail) { titleDetail_ = std::move(detail); }
    QString exportTitle() const;
    // The save dialog of an export, opened on the format's type; the file is written
    // in the type its name or the chosen type asks for.
    void exportWithDialog(io::ExportFormat initial);

    QString totalsText() const;

    // "تاريخچه تغييرات": the change history of the current row, in a window of its
    // own (nullptr without a current row or a history).
    QDialog* showHistory();
    // Why the last reopen failed (empty when it succeeded).
    QString lastError() const { return lastError_; }
    bool isReadOnly() const { return readOnly_; }

    // The user's access bits on the screen's entry (the main window gives them each
    // time it opens the screen; every bit until then). A command whose bit is
    // missing is refused with startup::refusalText().
    void setAccess(int mask) { access_ = mask; }
    int access() const { return access_; }
    // The command's work as its button and key run it: refused (with the message,
    // false) when it writes and the list is read-only, or when its access bit is
    // missing.
    bool runCommand(int index);
    QPushButton* commandButton(int index) const { return buttons_.value(index); }

public slots:
    // Read-only: the writing commands are off.
    void setReadOnly(bool readOnly);

signals:
    void opened();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void updateTotals();
    void updateCommands();
    void standOn(int gridRow);
    void openFilterDialog();
    void openSortDialog();
    void printReport();
    void openCharts();
    QList<int> visibleColumns() const;

    ListFrame frame_;
    QString sql_;
    std::function<QString()> titleDetail_;
    ListModel model_;
    QTableView* grid_ = nullptr;
    QLabel* totals_ = nullptr;
    QLabel* status_ = nullptr;
    QMenu* menu_ = nullptr;
    QList<QWidget*> rowCommands_;
    QList<QWidget*> writeCommands_;
    QList<QPushButton*> buttons_;
    int access_ = orvak::startup::AccessAll;
    QString lastError_;
    bool readOnly_ = false;
    std::vector<double> sqlTotals_;
    QList<ListModel::SortKey> titleSort_;   // the title clicks' order, first key first
    Qt::KeyboardModifiers clickModifiers_;
};

} // namespace orvak::ui::framework
