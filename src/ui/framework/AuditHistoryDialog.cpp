#include "ui/framework/AuditHistoryDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvak::ui::framework {

AuditHistoryDialog::AuditHistoryDialog(const QString& listTitle, const QString& key, const QList<db::AuditEntry>& entries,
                                       QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("تاريخچه تغييرات"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(listTitle + QStringLiteral(" - ") + QStringLiteral("کليد: ") + key, this));
    if (entries.isEmpty())
        layout->addWidget(new QLabel(QStringLiteral("براي اين رديف تغييري ثبت نشده است"), this));
    const QStringList titles = db::auditColumnTitles();
    table_ = new QTableWidget(int(entries.size()), int(titles.size()), this);
    table_->setHorizontalHeaderLabels(titles);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < entries.size(); ++r) {
        const db::AuditEntry& e = entries[r];
        const QStringList cells{e.date,  e.time, QString::number(e.userCode), e.workstation, e.database,
                                e.table, e.key,  db::auditOperationText(e.operation), db::auditChangesText(e.changes)};
        for (int c = 0; c < cells.size(); ++c)
            table_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    table_->resizeColumnsToContents();
    layout->addWidget(table_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(900, 400);
}

} // namespace orvak::ui::framework
