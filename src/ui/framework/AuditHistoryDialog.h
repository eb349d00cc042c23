#pragma once
// The change history of one row: who changed what, when and from where.
#include "core/db/AuditTrail.h"

#include <QDialog>

class QTableWidget;

namespace orvak::ui::framework {

class AuditHistoryDialog : public QDialog {
    Q_OBJECT
public:
    AuditHistoryDialog(const QString& listTitle, const QString& key, const QList<db::AuditEntry>& entries,
                       QWidget* parent = nullptr);
    QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_ = nullptr;
};

} // namespace orvak::ui::framework
