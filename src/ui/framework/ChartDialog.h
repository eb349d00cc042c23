#pragma once
// "گزارشات نموداري": a bar or pie chart of one numeric column grouped by another.
#include "ui/framework/ListModel.h"

#include <QDialog>

class QComboBox;
class QChartView;

namespace orvak::ui::framework {

struct ChartSlice {
    QString label;
    double value = 0;
};

// Sums of the value column per distinct text of the group column, largest first;
// the smallest beyond the first `limit` are put together as "ساير".
QList<ChartSlice> chartData(const ListModel& model, int groupColumn, int valueColumn, int limit = 12);

class ChartDialog : public QDialog {
    Q_OBJECT
public:
    ChartDialog(const ListModel& model, const QString& title, QWidget* parent = nullptr);

private:
    void rebuild();
    void print();

    const ListModel& model_;
    QString title_;
    QComboBox* group_ = nullptr;
    QComboBox* value_ = nullptr;
    QComboBox* kind_ = nullptr;
    QChartView* view_ = nullptr;
};

} // namespace orvak::ui::framework
