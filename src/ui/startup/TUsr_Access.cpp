#include "ui/startup/TUsr_Access.h"

#include "ui/framework/Doing.h"
#include "ui/framework/MessageBoxes.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvak::ui::startup {

TUsr_Access::TUsr_Access(Session& session, int userCode, QWidget* parent)
    : QDialog(parent)
    , session_(session)
    , user_(userCode)
{
    setObjectName(QStringLiteral("Usr_Access"));
    setWindowTitle(QStringLiteral("كنتــرل امنيت عبور كاربران"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("کاربر: %1 - %2").arg(userCode).arg(userNames(session.common()).value(userCode)), this));
    table_ = new QTableWidget(this);
    table_->setColumnCount(7);
    QStringList headers{QStringLiteral("مورد")};
    const QStringList kinds = accessKindCaptions();
    for (int k = 0; k < kinds.size(); ++k)
        headers << QStringLiteral("F%1 %2").arg(k + 2).arg(kinds[k]);
    table_->setHorizontalHeaderLabels(headers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(table_, 1);
    auto* row = new QHBoxLayout;
    auto add = [this, row](const QString& caption, auto slot) {
        auto* b = new QPushButton(caption, this);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
    };
    add(QStringLiteral("ثبت تغييرات (F10)"), [this] { saveChanges(); });
    add(QStringLiteral("همه دسترسي ها لغو گردد"), [this] {
        if (framework::Ask(QStringLiteral("همه دسترسي ها براي اين كاربر غيرفعال گردد؟"), this) == framework::AskYes)
            bulk(BulkRights::RevokeAll);
    });
    add(QStringLiteral("همه دسترسي ها اعطا گردد"), [this] {
        if (framework::Ask(QStringLiteral("همه دسترسي ها براي اين كاربر فعال گردد؟"), this) == framework::AskYes)
            bulk(BulkRights::GrantAll);
    });
    add(QStringLiteral("همه دسترسي ها در سطح گزارشگيري اعطا گردد"), [this] {
        if (framework::Ask(QStringLiteral("دسترسي براي گزارشگيري براي اين کاربر اعطا گردد؟"), this) == framework::AskYes)
            bulk(BulkRights::ReportLevel);
    });
    add(QStringLiteral("تعيين گروهي دسترسي ها (F9)"), [this] { applyToSelected(); });
    layout->addLayout(row);
    load(userRights(session_, user_));
    connect(table_, &QTableWidget::itemChanged, this, [this] { changed_ = true; });
    resize(980, 560);
}

void TUsr_Access::load(const QList<Right>& rights)
{
    const QSignalBlocker block(table_);
    shown_ = rights;
    table_->setRowCount(int(rights.size()));
    for (int r = 0; r < rights.size(); ++r) {
        auto* name = new QTableWidgetItem(rights[r].name);
        name->setData(Qt::UserRole, rights[r].menuId);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table_->setItem(r, 0, name);
        for (int k = 0; k < 6; ++k) {
            auto* box = new QTableWidgetItem;
            box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            box->setCheckState(rights[r].kinds[k] == 1 ? Qt::Checked : Qt::Unchecked);
            table_->setItem(r, k + 1, box);
        }
    }
}

QList<Right> TUsr_Access::current() const
{
    // The rows as loaded, so that what the boxes do not show (ACCESSKIND7) stays.
    QList<Right> rights = shown_;
    for (int r = 0; r < table_->rowCount(); ++r) {
        Right& right = rights[r];
        for (int k = 0; k < 6; ++k)
            right.kinds[k] = table_->item(r, k + 1)->checkState() == Qt::Checked ? 1 : 0;
    }
    return rights;
}

bool TUsr_Access::saveChanges()
{
    framework::MessagePrompt prompt(this);
    if (!saveRights(session_, user_, current(), prompt))
        return false;
    changed_ = false;
    return true;
}

void TUsr_Access::bulk(BulkRights what)
{
    load(bulkRights(current(), what));
    changed_ = true;
}

void TUsr_Access::applyToSelected()
{
    const int source = table_->currentRow();
    if (source < 0)
        return;
    QList<Right> rights = current();
    for (const QModelIndex& i : table_->selectionModel()->selectedRows()) {
        for (int k = 0; k < 6; ++k)
            rights[i.row()].kinds[k] = rights[source].kinds[k];
    }
    load(rights);
    changed_ = true;
}

void TUsr_Access::keyPressEvent(QKeyEvent* event)
{
    if (event->key() >= Qt::Key_F2 && event->key() <= Qt::Key_F7 && table_->currentRow() >= 0) {
        QTableWidgetItem* box = table_->item(table_->currentRow(), event->key() - Qt::Key_F2 + 1);
        box->setCheckState(box->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        return;
    }
    if (event->key() == Qt::Key_F10) {
        saveChanges();
        return;
    }
    if (event->key() == Qt::Key_F9) {
        applyToSelected();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TUsr_Access::reject()
{
    if (changed_ && framework::Ask(QStringLiteral("تغييرات ذخيره شود؟"), this) == framework::AskYes && !saveChanges())
        return;
    QDialog::reject();
}

} // namespace orvak::ui::startup
