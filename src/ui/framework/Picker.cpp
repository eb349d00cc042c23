#include "ui/framework/Picker.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orvak::ui::framework {

namespace {

QVariant fieldOf(const io::RowSet& rows, int row, const QString& field)
{
    const int column = rows.fieldIndex(field);
    return column >= 0 && row >= 0 ? rows.value(row, column) : QVariant();
}

} // namespace

PickerDialog::PickerDialog(ListScreen* screen, PickRequest request, QWidget* parent)
    : QDialog(parent)
    , screen_(screen)
    , request_(std::move(request))
{
    setWindowTitle(screen_->windowTitle());
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    screen_->setParent(this);
    screen_->setWindowFlags(Qt::Widget);
    layout->addWidget(screen_, 1);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(request_.continueText.isEmpty() ? QStringLiteral("ادامه (ENTER)") : request_.continueText, this);
    auto* cancel = new QPushButton(QStringLiteral("انصراف"), this);
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &PickerDialog::continueWithCurrent);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons);
    // Every opening after the first follows a write through the list's own commands.
    connect(screen_, &ListScreen::opened, this, [this] { ++opens_; });
    screen_->grid()->installEventFilter(this);
    connect(screen_->grid(), &QTableView::doubleClicked, this, &PickerDialog::continueWithCurrent);
    resize(screen_->size());
}

std::optional<PickResult> PickerDialog::currentResult() const
{
    const int row = screen_->currentSourceRow();
    if (row < 0)
        return std::nullopt;
    const io::RowSet& rows = screen_->model().rows();
    PickResult r;
    for (const QString& f : request_.fields)
        r.current.insert(f, fieldOf(rows, row, f));
    r.rowCount = screen_->model().rowCount();
    r.listChanged = opens_ > 1;
    QStringList codes;
    QStringList pairs;
    const QModelIndexList selected = screen_->grid()->selectionModel()->selectedRows();
    if (selected.size() > 1) {
        for (const QModelIndex& i : selected) {
            const int source = screen_->model().sourceRow(i.row());
            const QString code = fieldOf(rows, source, request_.codeField).toString();
            codes << code;
            pairs << code << fieldOf(rows, source, request_.nameField).toString();
        }
        r.selectedCodes = codes.join(QLatin1Char(','));
        r.selectedPairs = pairs.join(QLatin1Char(','));
    }
    return r;
}

void PickerDialog::continueWithCurrent()
{
    std::optional<PickResult> r = currentResult();
    if (!r)
        return;
    if (request_.beforeReturn && !request_.beforeReturn(*r, this))
        return;
    result_ = std::move(r);
    accept();
}

bool PickerDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == screen_->grid() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            continueWithCurrent();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<PickResult> pickFrom(ListScreen* screen, PickRequest request, QWidget* parent)
{
    PickerDialog dialog(screen, std::move(request), parent);
    screen->reopen();
    dialog.exec();
    return dialog.result();
}

} // namespace orvak::ui::framework
