// Laying out and drawing a printed list: every cell is measured and fitted into its
// box, so the cost grows with rows times columns.
#include "core/io/Report.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orvak::io;

namespace {

// A month's list as "نمونه عمومي" prints it: eight columns, names of every length.
ReportModel depositList(int rows)
{
    ReportModel m;
    m.titleLines = {QStringLiteral(" صورت ريز سپرده دريافتي در تاريخ ") + isolateLtr(QStringLiteral("1405/09/19"))};
    m.columns = {{QStringLiteral("رديف"), 0.5, CellFormat::Integer},          {QStringLiteral("شماره قبض"), 0.9, CellFormat::Integer},
                 {QStringLiteral("تاريخ قبض"), 1.1, CellFormat::JalaliDate},   {QStringLiteral("صاحب سپرده"), 2.2},
                 {QStringLiteral("شماره مدرک واريزي"), 1.3, CellFormat::Integer}, {QStringLiteral("تاريخ واريز"), 1.1, CellFormat::JalaliDate},
                 {QStringLiteral("نوع سپرده"), 1.8},                          {QStringLiteral("مبلغ سپرده"), 1.4, CellFormat::Amount, true}};
    const QString owners[] = {QStringLiteral("شرکت مهندسين مشاور کوشا ايمن (%1)"), QStringLiteral("کاظم حسيني %1"),
                              QStringLiteral("شرکت ساختماني و تاسيساتي بزرگ پارس گستر جنوب (%1)")};
    for (int r = 0; r < rows; ++r) {
        const double amount = 1000000.0 * (r % 900 + 1);
        m.addRow({QString::number(r + 1), QString::number(5000 + r), QStringLiteral("1405/09/12"), owners[r % 3].arg(r),
                  QString::number(16394322 + r), QStringLiteral("1405/09/01"), QStringLiteral("1)سپرده حسن انجام كار 10 درصد"),
                  QString::number(qint64(amount))},
                 {0, 0, 0, 0, 0, 0, 0, amount});
    }
    m.wordsColumn = 7;
    return m;
}

} // namespace

static void BM_ReportLayout(benchmark::State& state)
{
    const ReportModel m = depositList(int(state.range(0)));
    const QFont font = reportFont();
    for (auto _ : state)
        benchmark::DoNotOptimize(layoutReport(m, QSizeF(595, 842), font));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReportLayout)->Arg(1000)->Unit(benchmark::kMillisecond);

static void BM_ReportPdf(benchmark::State& state)
{
    const ReportModel m = depositList(int(state.range(0)));
    QTemporaryDir dir;
    for (auto _ : state)
        benchmark::DoNotOptimize(writeReportPdf(m, dir.filePath(QStringLiteral("list.pdf"))));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReportPdf)->Arg(1000)->Unit(benchmark::kMillisecond);
