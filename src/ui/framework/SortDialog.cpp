#include "ui/framework/SortDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvak::ui::framework {

namespace {
const QString kAscending = QStringLiteral("صعودي (A-Z)");
const QString kDescending = QStringLiteral("نزولي    (Z-A)");
} // namespace

TfrmSortDataSet::TfrmSortDataSet(const QList<io::ListColumn>& columns, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSortDataSet"));
    setWindowTitle(QStringLiteral("مرتب سازي"));
    auto* grid = new QGridLayout(this);
    all_ = new QListWidget(this);
    chosen_ = new QListWidget(this);
    for (int i = 0; i < columns.size(); ++i) {
        auto* item = new QListWidgetItem(columns[i].title, all_);
        item->setData(Qt::UserRole, i);
        item->setData(Qt::UserRole + 1, true);
    }
    grid->addWidget(new QLabel(QStringLiteral("همه فيلدها"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("ترتيب فيلدها"), this), 0, 2);
    grid->addWidget(all_, 1, 0);
    grid->addWidget(chosen_, 1, 2);
    auto* moves = new QVBoxLayout;
    const struct { const char* caption; bool toChosen; bool all; } buttons[] = {{">", true, false}, {"<", false, false}, {">>", true, true}, {"<<", false, true}};
    for (const auto& b : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.caption), this);
        moves->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, b] { b.toChosen ? move(all_, chosen_, b.all) : move(chosen_, all_, b.all); });
    }
    grid->addLayout(moves, 1, 1);
    auto* direction = new QComboBox(this);
    direction->addItems({kAscending, kDescending});
    grid->addWidget(direction, 2, 2);
    connect(chosen_, &QListWidget::currentItemChanged, this, [direction](QListWidgetItem* item) {
        if (item)
            direction->setCurrentIndex(item->data(Qt::UserRole + 1).toBool() ? 0 : 1);
    });
    connect(direction, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (QListWidgetItem* item = chosen_->currentItem()) {
            item->setData(Qt::UserRole + 1, index == 0);
            item->setText(item->text().section(QStringLiteral(" - "), 0, 0) + QStringLiteral(" - ") + (index == 0 ? kAscending : kDescending));
        }
    });
    auto* box = new QDialogButtonBox(this);
    box->addButton(QStringLiteral("ادامه"), QDialogButtonBox::AcceptRole);
    box->addButton(QStringLiteral("خروج"), QDialogButtonBox::RejectRole);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(box, 3, 0, 1, 3);
}

void TfrmSortDataSet::move(QListWidget* from, QListWidget* to, bool all)
{
    QList<QListWidgetItem*> items;
    if (all) {
        for (int i = 0; i < from->count(); ++i)
            items << from->item(i);
    } else if (from->currentItem()) {
        items << from->currentItem();
    }
    for (QListWidgetItem* item : items) {
        from->takeItem(from->row(item));
        const QString title = item->text().section(QStringLiteral(" - "), 0, 0);
        item->setText(to == chosen_ ? title + QStringLiteral(" - ") + (item->data(Qt::UserRole + 1).toBool() ? kAscending : kDescending) : title);
        to->addItem(item);
    }
}

void TfrmSortDataSet::choose(int column, bool ascending)
{
    for (int i = 0; i < all_->count(); ++i) {
        if (all_->item(i)->data(Qt::UserRole).toInt() == column) {
            all_->item(i)->setData(Qt::UserRole + 1, ascending);
            all_->setCurrentRow(i);
            move(all_, chosen_, false);
            return;
        }
    }
}

QList<ListModel::SortKey> TfrmSortDataSet::keys() const
{
    QList<ListModel::SortKey> keys;
    for (int i = 0; i < chosen_->count(); ++i)
        keys << ListModel::SortKey{chosen_->item(i)->data(Qt::UserRole).toInt(), chosen_->item(i)->data(Qt::UserRole + 1).toBool()};
    return keys;
}

} // namespace orvak::ui::framework
