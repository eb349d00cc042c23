// The list frame over the demo installation's deposits at scale 20 (200,000 rows):
// opening, fetching every row, a client-side filter, and an XLSX export of 100,000
// rows by 15 columns.
#include "BenchInstallation.h"
#include "ui/framework/ListModel.h"
#include "core/io/GridExport.h"
#include "core/startup/Session.h"
#include "support/ScriptedPrompt.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

const char* kSql = "SELECT IDX, SEPNO, SEPDATE, TAFSILI, PAYMENT, AMOUNT, AMOUNT_RAD, AMOUNT_MANDEH, SEPKIND, MY, MM, TIKSUDMO, CHKNO, CHKDATE, DESCR\n"
                   "FROM SEP_DAR ORDER BY IDX";

struct Installation {
    bench::BenchInstallation demo{20};
    startup::ScriptedPrompt prompt;
    std::unique_ptr<startup::Session> session;
    Installation()
    {
        if (!demo.ok())
            return;
        session = demo.connect(prompt);
        session->OpenSection(1405, QStringLiteral("0"), prompt);
    }
};

Installation& installation()
{
    static Installation i;
    return i;
}

QList<io::ListColumn> columns()
{
    using io::CellFormat;
    QList<io::ListColumn> c;
    const struct { const char* field; CellFormat f; } fields[] = {
        {"IDX", CellFormat::Integer}, {"SEPNO", CellFormat::Integer}, {"SEPDATE", CellFormat::JalaliDate}, {"TAFSILI", CellFormat::Integer},
        {"PAYMENT", CellFormat::Integer}, {"AMOUNT", CellFormat::Amount}, {"AMOUNT_RAD", CellFormat::Amount}, {"AMOUNT_MANDEH", CellFormat::Amount},
        {"SEPKIND", CellFormat::Integer}, {"MY", CellFormat::Integer}, {"MM", CellFormat::Integer}, {"TIKSUDMO", CellFormat::Text},
        {"CHKNO", CellFormat::Integer}, {"CHKDATE", CellFormat::JalaliDate}, {"DESCR", CellFormat::Text}};
    for (const auto& f : fields)
        c << io::fieldColumn(QString::fromLatin1(f.field), QString::fromLatin1(f.field), 100, f.f, f.f == CellFormat::Amount);
    return c;
}

// Whether the installation is there (built on first use, outside any timing).
bool ready(benchmark::State& state)
{
    if (installation().session)
        return true;
    state.SkipWithError("demo installation failed");
    return false;
}

// The deposits list opened over the installation.
bool openDeposits(ui::framework::ListModel& model, benchmark::State& state, const QString& suffix = {})
{
    if (!ready(state))
        return false;
    model.setColumns(columns());
    return model.open(installation().session->deposits(), QString::fromLatin1(kSql) + suffix, {});
}

} // namespace

static void BM_ListOpen200k(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        ui::framework::ListModel model;
        if (!openDeposits(model, state))
            return;
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_ListOpen200k)->Unit(benchmark::kMillisecond);

static void BM_ListFetchAll200k(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        ui::framework::ListModel model;
        if (!openDeposits(model, state))
            return;
        model.fetchAll();
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_ListFetchAll200k)->Unit(benchmark::kMillisecond);

static void BM_ListFilter200k(benchmark::State& state)
{
    ui::framework::ListModel model;
    if (!openDeposits(model, state))
        return;
    model.fetchAll();
    const auto filter = io::FilterExpression::parse(QStringLiteral("[AMOUNT] >= 100000000 و [TIKSUDMO] = 'P' و [SEPDATE] >= '1405/01/01'"),
                                                    model.rows().fieldNames());
    for (auto _ : state) {
        model.applyFilter(filter);
        benchmark::DoNotOptimize(model.rowCount());
        model.applyFilter(std::nullopt);
    }
    state.counters["rows"] = double(model.rows().rowCount());
}
BENCHMARK(BM_ListFilter200k)->Unit(benchmark::kMillisecond);

static void BM_XlsxExport100kBy15(benchmark::State& state)
{
    ui::framework::ListModel model;
    if (!openDeposits(model, state, QStringLiteral(" LIMIT 100000")))
        return;
    model.fetchAll();
    io::ExportTable t;
    for (const io::ListColumn& c : model.columns()) {
        t.headers << c.title;
        t.widths << c.width;
        t.formats << c.format;
        t.totals << c.total;
    }
    t.rowCount = model.rowCount();
    t.text = [&model](int r, int c) { return model.cellText(r, c); };
    t.number = [&model](int r, int c) { return model.cellNumber(r, c); };
    QTemporaryDir dir;
    for (auto _ : state) {
        QString error;
        if (!io::exportTable(t, io::ExportFormat::Xlsx, dir.filePath(QStringLiteral("x.XLSX")), &error))
            state.SkipWithError("export failed");
    }
    state.counters["rows"] = t.rowCount;
}
BENCHMARK(BM_XlsxExport100kBy15)->Unit(benchmark::kMillisecond)->Iterations(2);
