#pragma once
// "مرتب سازي": several columns with their directions, in order.
#include "ui/framework/ListModel.h"

#include <QDialog>

class QListWidget;

namespace orvak::ui::framework {

class TfrmSortDataSet : public QDialog {
    Q_OBJECT
public:
    TfrmSortDataSet(const QList<io::ListColumn>& columns, QWidget* parent = nullptr);
    QList<ListModel::SortKey> keys() const;
    // Programmatic choice (tests, remembered layouts).
    void choose(int column, bool ascending);

private:
    void move(QListWidget* from, QListWidget* to, bool all);

    QListWidget* all_ = nullptr;
    QListWidget* chosen_ = nullptr;
};

} // namespace orvak::ui::framework
