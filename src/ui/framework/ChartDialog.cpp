#include "ui/framework/ChartDialog.h"

#include "core/io/Report.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMap>
#include <QPainter>
#include <QPieSeries>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>

namespace orvak::ui::framework {

QList<ChartSlice> chartData(const ListModel& model, int groupColumn, int valueColumn, int limit)
{
    QMap<QString, double> sums;
    for (int r = 0; r < model.rowCount(); ++r)
        sums[model.cellText(r, groupColumn)] += model.cellNumber(r, valueColumn).value_or(0.0);
    QList<ChartSlice> slices;
    for (auto it = sums.begin(); it != sums.end(); ++it)
        slices << ChartSlice{it.key().isEmpty() ? QStringLiteral("نامشخص") : it.key(), it.value()};
    std::sort(slices.begin(), slices.end(), [](const ChartSlice& a, const ChartSlice& b) { return a.value > b.value; });
    if (slices.size() > limit) {
        double rest = 0;
        for (int i = limit; i < slices.size(); ++i)
            rest += slices[i].value;
        slices = slices.mid(0, limit);
        slices << ChartSlice{QStringLiteral("ساير"), rest};
    }
    return slices;
}

ChartDialog::ChartDialog(const ListModel& model, const QString& title, QWidget* parent)
    : QDialog(parent)
    , model_(model)
    , title_(title)
{
    setWindowTitle(QStringLiteral("گزارشات نموداري"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    group_ = new QComboBox(this);
    value_ = new QComboBox(this);
    kind_ = new QComboBox(this);
    kind_->addItems({QStringLiteral("نمودار ستوني"), QStringLiteral("نمودار دايره اي")});
    for (int c = 0; c < model.columns().size(); ++c) {
        const io::ListColumn& col = model.columns()[c];
        group_->addItem(col.title, c);
        if (col.format == io::CellFormat::Amount || col.format == io::CellFormat::Integer)
            value_->addItem(col.title, c);
    }
    row->addWidget(new QLabel(QStringLiteral("گروه بندي بر اساس"), this));
    row->addWidget(group_);
    row->addWidget(new QLabel(QStringLiteral("مقدار"), this));
    row->addWidget(value_);
    row->addWidget(kind_);
    auto* printButton = new QPushButton(QStringLiteral("چاپ"), this);
    row->addWidget(printButton);
    layout->addLayout(row);
    view_ = new QChartView(this);
    view_->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(view_, 1);
    for (QComboBox* box : {group_, value_, kind_})
        connect(box, &QComboBox::currentIndexChanged, this, &ChartDialog::rebuild);
    connect(printButton, &QPushButton::clicked, this, &ChartDialog::print);
    resize(820, 560);
    rebuild();
}

void ChartDialog::rebuild()
{
    // The printed font throughout, so that a chart printed to PDF keeps its text.
    const QFont font = io::reportFont(9);
    auto* chart = new QChart;
    chart->setTitle(title_);
    chart->setFont(font);
    chart->setTitleFont(font);
    chart->legend()->setFont(font);
    chart->setLocalizeNumbers(true);
    if (value_->count() == 0) {
        view_->setChart(chart);
        return;
    }
    const QList<ChartSlice> slices = chartData(model_, group_->currentData().toInt(), value_->currentData().toInt());
    if (kind_->currentIndex() == 1) {
        auto* pie = new QPieSeries(chart);
        for (const ChartSlice& s : slices)
            pie->append(s.label, s.value)->setLabelFont(font);
        pie->setLabelsVisible(true);
        chart->addSeries(pie);
    } else {
        auto* set = new QBarSet(value_->currentText());
        QStringList labels;
        for (const ChartSlice& s : slices) {
            *set << s.value;
            labels << s.label;
        }
        auto* bars = new QBarSeries(chart);
        bars->append(set);
        chart->addSeries(bars);
        auto* x = new QBarCategoryAxis(chart);
        x->append(labels);
        x->setLabelsFont(font);
        auto* y = new QValueAxis(chart);
        y->setLabelsFont(font);
        y->setLabelFormat(QStringLiteral("%.0f"));
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        bars->attachAxis(x);
        bars->attachAxis(y);
    }
    QChart* old = view_->chart();
    view_->setChart(chart);
    delete old;
}

void ChartDialog::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    view_->render(&painter);
}

} // namespace orvak::ui::framework
