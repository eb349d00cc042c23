#include "ui/framework/ListScreen.h"

#include "ui/framework/ReportPreview.h"

#include "ui/framework/AuditHistoryDialog.h"
#include "core/startup/Program.h"
#include "core/startup/Rights.h"
#include "core/startup/Session.h"

#include "ui/framework/ChartDialog.h"
#include "ui/framework/EntryForm.h"
#include "ui/framework/FilterDialog.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ReportPreview.h"
#include "ui/framework/ShowFileDialog.h"
#include "ui/framework/SortDialog.h"
#include "core/io/BoundList.h"
#include "core/letters/LetterFooter.h"
#include "core/io/ListOutput.h"
#include "core/util/Numbers.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace orvak::ui::framework {

QColor rowKindColour(io::RowKind kind)
{
    switch (kind) {
    case io::RowKind::Blocked:
        return QColor(255, 225, 225);
    case io::RowKind::Normal:
        break;
    }
    return {};
}

namespace {

ListFrame frameOf(orvak::startup::Session& session, io::ListDefinition definition, ListUi ui)
{
    auto bound = std::make_shared<io::BoundList>(session, std::move(definition));
    const io::ListDefinition& d = bound->definition();
    ListFrame s;
    s.title = d.title;
    s.database = [bound] { return bound->database(); };
    s.sql = d.sql;
    s.params = d.defaultParameters();
    s.columns = bound->columns();
    s.keyField = d.keyField;
    if (d.rowKind)
        s.rowColour = [kind = d.rowKind](const io::RowSet& rows, int row) { return rowKindColour(kind(rows, row)); };
    s.commands = std::move(ui.commands);
    s.menuVariant = ui.menuVariant;
    s.signatures = std::move(ui.signatures);
    if (!s.signatures)
        s.signatures = [&session, bound] { return letters::listSignatures(session, bound->definition()); };
    s.beforeOpen = [bound] { bound->readLookups(); };
    if (!d.historyTable.isEmpty()) {
        s.historyKey = d.historyKey;
        s.history = [&session, table = d.historyTable, which = d.database](const QString& key) {
            db::AuditFilter filter;
            filter.programId = orvak::startup::ProgID;
            filter.table = table;
            filter.key = key;
            // The row's database keeps its entries; the common one those of before.
            QSqlDatabase own = session.listDatabase(which);
            filter.database = which == io::ListDatabase::Deposits ? session.depositDbName()
                : which == io::ListDatabase::Accounting           ? session.accountingDbName()
                                                                  : session.commonDbName();
            if (which == io::ListDatabase::Common)
                return db::readAudit(session.common(), filter);
            return db::readAudit(QList<QSqlDatabase>{own, session.common()}, filter);
        };
    }
    return s;
}

} // namespace

ListScreen::ListScreen(orvak::startup::Session& session, io::ListDefinition definition, ListUi ui, QWidget* parent)
    : ListScreen(frameOf(session, std::move(definition), std::move(ui)), parent)
{
}

ListScreen::ListScreen(ListFrame definition, QWidget* parent)
    : QWidget(parent)
    , frame_(std::move(definition))
    , sql_(frame_.sql)
{
    setWindowTitle(frame_.title);
    model_.setColumns(frame_.columns);
    model_.setRowColour(frame_.rowColour);

    auto* layout = new QVBoxLayout(this);
    auto* commands = new QHBoxLayout;
    for (int i = 0; i < frame_.commands.size(); ++i) {
        const ListCommand& c = frame_.commands[i];
        auto* button = new QPushButton(c.caption + (c.key.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(c.key.toString())), this);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, i] { runCommand(i); });
        // The key runs the command itself, not the button: a disabled button would
        // swallow it silently, and the refusals must be said.
        if (!c.key.isEmpty()) {
            auto* shortcut = new QShortcut(c.key, this);
            connect(shortcut, &QShortcut::activated, this, [this, i] { runCommand(i); });
        }
        buttons_ << button;
        if (c.needsRow)
            rowCommands_ << button;
        if (c.writes)
            writeCommands_ << button;
        commands->addWidget(button);
    }
    commands->addStretch();
    status_ = new QLabel(this);
    commands->addWidget(status_);
    layout->addLayout(commands);

    grid_ = new QTableView(this);
    grid_->setModel(&model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setAlternatingRowColors(true);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->verticalHeader()->setDefaultSectionSize(24);
    grid_->verticalHeader()->setVisible(false);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->horizontalHeader()->viewport()->installEventFilter(this);
    // A click, not the end of a drag that resizes or moves a column.
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { sortByTitle(column, clickModifiers_.testFlag(Qt::ControlModifier)); });
    for (int c = 0; c < frame_.columns.size(); ++c) {
        grid_->setColumnWidth(c, frame_.columns[c].width);
        grid_->setColumnHidden(c, !frame_.columns[c].visible);
    }
    layout->addWidget(grid_, 1);
    totals_ = new QLabel(this);
    totals_->setTextFormat(Qt::PlainText);
    layout->addWidget(totals_);

    buildMenu();
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) { menu_->popup(grid_->viewport()->mapToGlobal(p)); });
    resize(1000, 600);
}

void ListScreen::buildMenu()
{
    menu_ = new QMenu(this);
    const bool shortCaptions = frame_.menuVariant == 2;
    auto add = [this](const QString& caption, auto slot) {
        QAction* a = menu_->addAction(caption);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(shortCaptions ? QStringLiteral("محدوديت(فيلتر)") : QStringLiteral("فيلتر نمودن اطلاعات"), &ListScreen::openFilterDialog);
    add(shortCaptions ? QStringLiteral("حذف محدوديت (فيلتر)") : QStringLiteral("برداشتن فيلترها"), &ListScreen::removeFilters);
    add(shortCaptions ? QStringLiteral("گزارشات") : QStringLiteral("تهيه گزارش"), &ListScreen::printReport);
    // Each export entry opens on its own type: the spreadsheet one on the complete
    // workbook (title, frozen header, autofilter, totals), the file one on the first.
    const io::ExportFormat initial = shortCaptions ? io::ExportFormat::Text : io::ExportFormat::XlsxComplete;
    add(shortCaptions ? QStringLiteral("ارسال به فايل") : QStringLiteral("ارسال با اکسل(XLSX)"), [this, initial] { exportWithDialog(initial); });
    add(shortCaptions ? QStringLiteral("نمودار") : QStringLiteral("گزارشات نموداري"), &ListScreen::openCharts);
    add(shortCaptions ? QStringLiteral("ترتيب") : QStringLiteral("مرتب سازي اطلاعات"), &ListScreen::openSortDialog);
    if (frame_.history)
        add(QStringLiteral("تاريخچه تغييرات"), &ListScreen::showHistory);
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        const bool empty = model_.rowCount() == 0;
        const QList<QAction*> actions = menu_->actions();
        for (int i = 0; i < actions.size(); ++i)
            actions[i]->setEnabled(i == 1 ? model_.filter().has_value() : !empty);
    });
}

bool ListScreen::reopen(const QVariant& key)
{
    const QVariant position = key.isValid() ? key : currentKey();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (frame_.beforeOpen)
        frame_.beforeOpen();
    QString error;
    const bool ok = frame_.database && model_.open(frame_.database(), sql_, frame_.params, &error);
    // Totals over the same conditions, from the database: exact before every row
    // has been fetched.
    sqlTotals_.assign(size_t(frame_.columns.size()), 0.0);
    if (ok) {
        QStringList fields;
        QList<int> summed;
        for (int c = 0; c < frame_.columns.size(); ++c) {
            if (frame_.columns[c].total && !frame_.columns[c].isComputed()) {
                fields << frame_.columns[c].field;
                summed << c;
            }
        }
        if (const auto sums = io::sumsOver(frame_.database(), sql_, frame_.params, fields)) {
            for (int i = 0; i < summed.size(); ++i)
                sqlTotals_[size_t(summed[i])] = (*sums)[size_t(i)];
        }
    }
    QApplication::restoreOverrideCursor();
    lastError_ = ok ? QString() : error;
    if (!ok) {
        ShowError(error, this);
        return false;
    }
    if (position.isValid() && !frame_.keyField.isEmpty()) {
        const int field = model_.rows().fieldIndex(frame_.keyField);
        for (int gridRow = 0; field >= 0;) {
            if (gridRow >= model_.rowCount()) {
                if (!model_.canFetchMore({}))
                    break;
                model_.fetchMore({});
                continue;
            }
            if (model_.rows().value(model_.sourceRow(gridRow), field) == position) {
                standOn(gridRow);
                break;
            }
            ++gridRow;
        }
    } else if (model_.rowCount() > 0) {
        standOn(0);
    }
    updateTotals();
    updateCommands();
    emit opened();
    return true;
}

void ListScreen::standOn(int gridRow)
{
    // Through the selection model: the view's selectRow looks for a column at the
    // viewport's edge, which a right-to-left grid not yet shown does not have.
    const QModelIndex index = model_.index(gridRow, 0);
    grid_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->scrollTo(index);
}

void ListScreen::updateCommands()
{
    for (QWidget* w : rowCommands_)
        w->setEnabled(model_.rowCount() > 0);
    for (QWidget* w : writeCommands_)
        w->setEnabled(!readOnly_ && (!rowCommands_.contains(w) || model_.rowCount() > 0));
}

bool ListScreen::runCommand(int index)
{
    if (index < 0 || index >= frame_.commands.size())
        return false;
    const ListCommand& c = frame_.commands[index];
    const bool refused = (c.writes && readOnly_) || (c.access != 0 && (access_ & c.access) != c.access);
    if (refused) {
        ShowInfo(orvak::startup::refusalText(), this);
        return false;
    }
    if (c.needsRow && model_.rowCount() == 0)
        return false;
    if (c.run)
        c.run(*this);
    return true;
}

void ListScreen::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    updateCommands();
}

void ListScreen::updateTotals()
{
    QStringList parts;
    const bool filtered = model_.filter().has_value();
    for (int c = 0; c < frame_.columns.size(); ++c) {
        if (!frame_.columns[c].total)
            continue;
        const double v = filtered ? model_.columnTotal(c) : sqlTotals_[size_t(c)];
        const qint64 whole = qint64(std::llround(v));
        parts << frame_.columns[c].title + QStringLiteral(": ") + io::isolateLtr(whole == 0 ? QStringLiteral("0") : util::FormatAmount(whole));
    }
    const int shown = model_.rowCount();
    const QString count = model_.canFetchMore({}) ? QStringLiteral("%1+").arg(shown) : QString::number(shown);
    totals_->setText(QStringLiteral("تعداد: ") + io::isolateLtr(count) + (parts.isEmpty() ? QString() : QStringLiteral("   ") + parts.join(QStringLiteral("   "))));
    status_->setText(filtered ? QStringLiteral("فيلتر: ") + model_.filter()->text() : QString());
}

void ListScreen::runEntryForm(EntryForm& form, bool insert)
{
    // The frame's rule holds for every caller: no new row without the insert bit, and
    // an existing one is only shown without the edit bit or on a read-only list.
    if (insert && (readOnly_ || !(access_ & orvak::startup::AccessInsert))) {
        ShowInfo(orvak::startup::refusalText(), this);
        return;
    }
    if (insert)
        form.startInsert();
    else if (!form.startEdit(currentKey()))
        return;
    if (!insert && (readOnly_ || !(access_ & orvak::startup::AccessEditOwn)))
        form.setReadOnly(true);
    connect(&form, &EntryForm::saved, this, [this](const QVariant& key) { reopen(key); });
    form.exec();
}

QString ListScreen::totalsText() const { return totals_->text(); }

QDialog* ListScreen::showHistory()
{
    const int row = currentSourceRow();
    if (!frame_.history || row < 0)
        return nullptr;
    QVariantList values;
    for (const QString& field : frame_.historyKey)
        values << io::fieldValue(model_.rows(), row, field);
    const QString key = db::auditKey(frame_.historyKey, values);
    const auto entries = frame_.history(key);
    if (entries.failed()) {
        ShowError(entries.error(), this);
        return nullptr;
    }
    auto* dialog = new AuditHistoryDialog(frame_.title, key, *entries, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

QVariant ListScreen::currentKey() const
{
    const int row = currentSourceRow();
    const int field = model_.rows().fieldIndex(frame_.keyField);
    return row >= 0 && field >= 0 ? model_.rows().value(row, field) : QVariant();
}

int ListScreen::currentSourceRow() const
{
    const QModelIndex i = grid_->currentIndex();
    return i.isValid() ? model_.sourceRow(i.row()) : -1;
}

QList<QVariant> ListScreen::selectedKeys() const
{
    QList<QVariant> keys;
    const int field = model_.rows().fieldIndex(frame_.keyField);
    if (field < 0)
        return keys;
    for (const QModelIndex& i : grid_->selectionModel()->selectedRows())
        keys << model_.rows().value(model_.sourceRow(i.row()), field);
    return keys;
}

bool ListScreen::rearranged() const { return model_.filter().has_value() || sql_ != frame_.sql || !model_.shownSortOrder().isEmpty(); }

std::vector<int> ListScreen::shownRows()
{
    model_.fetchAll();
    std::vector<int> rows;
    rows.reserve(size_t(model_.rowCount()));
    for (int gridRow = 0; gridRow < model_.rowCount(); ++gridRow)
        rows.push_back(model_.sourceRow(gridRow));
    return rows;
}

bool ListScreen::eventFilter(QObject* watched, QEvent* event)
{
    // The header tells the click after the release; the keys held are taken here.
    if (watched == grid_->horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonRelease)
        clickModifiers_ = static_cast<QMouseEvent*>(event)->modifiers();
    return QWidget::eventFilter(watched, event);
}

bool ListScreen::sortByTitle(int column, bool add)
{
    if (column < 0 || column >= frame_.columns.size())
        return false;
    if (frame_.columns[column].isComputed()) {
        ShowInfo(QStringLiteral("اين ستون قابل مرتب سازي نيست."), this);
        return false;
    }
    QList<ListModel::SortKey> keys;
    if (add) {
        keys = titleSort_;
        const auto it = std::find_if(keys.begin(), keys.end(), [column](const ListModel::SortKey& k) { return k.column == column; });
        if (it != keys.end())
            it->ascending = !it->ascending;
        else
            keys << ListModel::SortKey{column, true};
    } else {
        const bool alone = titleSort_.size() == 1 && titleSort_.first().column == column;
        keys << ListModel::SortKey{column, alone ? !titleSort_.first().ascending : true};
    }
    QList<io::SortField> fields;
    for (const ListModel::SortKey& k : keys)
        fields << io::SortField{frame_.columns[k.column].field, k.ascending};
    const QString resorted = io::orderedSql(frame_.sql, fields);
    if (resorted == frame_.sql)
        return false;   // a query without ORDER BY keeps its order
    titleSort_ = keys;
    sql_ = resorted;
    model_.sortBy({});
    const bool ok = reopen();
    model_.setSortedColumn(column);
    model_.showSortOrder(keys);
    return ok;
}

void ListScreen::setFilterText(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        removeFilters();
        return;
    }
    QString why;
    const auto filter = io::FilterExpression::parse(text, model_.rows().fieldNames(), &why);
    if (!filter) {
        ShowError(why, this);
        return;
    }
    model_.applyFilter(filter);
    updateTotals();
    updateCommands();
}

void ListScreen::removeFilters()
{
    model_.applyFilter(std::nullopt);
    updateTotals();
    updateCommands();
}

void ListScreen::sortByKeys(const QList<ListModel::SortKey>& keys)
{
    // The rows are sorted here now; the next title click starts from the query.
    titleSort_.clear();
    model_.sortBy(keys);
    model_.setSortedColumn(keys.isEmpty() ? -1 : keys.first().column);
}

void ListScreen::openFilterDialog()
{
    model_.fetchAll();
    TfrmFilter dialog(model_, model_.filter() ? model_.filter()->text() : QString(), this);
    if (dialog.exec() == QDialog::Accepted && dialog.expression()) {
        model_.applyFilter(dialog.expression());
        updateTotals();
        updateCommands();
    }
}

void ListScreen::openSortDialog()
{
    TfrmSortDataSet dialog(frame_.columns, this);
    if (dialog.exec() == QDialog::Accepted)
        sortByKeys(dialog.keys());
}

QList<int> ListScreen::visibleColumns() const
{
    QList<int> out;
    for (int c = 0; c < frame_.columns.size(); ++c) {
        if (!grid_->isColumnHidden(c))
            out << c;
    }
    return out;
}

io::ExportTable ListScreen::exportTable() const
{
    const QList<int> columns = visibleColumns();
    io::ExportTable t;
    t.title = exportTitle();
    for (int c : columns) {
        t.headers << frame_.columns[c].title;
        t.widths << grid_->columnWidth(c);
        t.formats << frame_.columns[c].format;
        t.totals << frame_.columns[c].total;
    }
    const ListModel* m = &model_;
    t.rowCount = m->rowCount();
    t.text = [m, columns](int r, int c) { return m->cellText(r, columns[c]); };
    t.number = [m, columns](int r, int c) { return m->cellNumber(r, columns[c]); };
    return t;
}

bool ListScreen::exportTo(const QString& path, io::ExportFormat format, QString* error)
{
    model_.fetchAll();
    return io::exportTable(exportTable(), format, io::withExportExtension(path, format), error);
}

QString ListScreen::exportTitle() const
{
    const QString detail = titleDetail_ ? titleDetail_().trimmed() : QString();
    return detail.isEmpty() ? frame_.title : frame_.title + QStringLiteral(" - ") + detail;
}

void ListScreen::exportWithDialog(io::ExportFormat initial)
{
    const QStringList filters = io::exportFilters();
    QFileDialog dialog(this, QStringLiteral("ارسال به فايل"));
    dialog.setObjectName(QStringLiteral("exportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(int(initial)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString typed = dialog.selectedFiles().constFirst();
    const io::ExportFormat format = io::exportFormatOfName(typed, io::exportFormatOfFilter(int(filters.indexOf(dialog.selectedNameFilter()))));
    const QString path = io::withExportExtension(typed, format);
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = exportTo(path, format, &error);
    QApplication::restoreOverrideCursor();
    if (!ok) {
        ShowError(error, this);
        return;
    }
    TfrmShowFile(path, this).exec();
}

io::ReportModel ListScreen::reportModel()
{
    model_.fetchAll();
    QStringList filterLine;
    if (model_.filter())
        filterLine << QStringLiteral("فيلتر: ") + model_.filter()->text();
    io::ReportModel r = io::reportOfTable(exportTable(), filterLine);
    if (frame_.signatures)
        r.signatures = frame_.signatures();
    return r;
}

void ListScreen::printReport()
{
    previewReport(reportModel(), frame_.title, this);
}

void ListScreen::openCharts()
{
    model_.fetchAll();
    ChartDialog(model_, frame_.title, this).exec();
}

} // namespace orvak::ui::framework
