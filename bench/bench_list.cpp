// The list frame over the demo installation's deposits, 10,000 per unit of scale:
// opening, fetching every row (against the engine's own read of the same query),
// the memory the rows take (against the size of their values), a client-side
// filter and sort, and an XLSX export of 100,000 rows by 15 columns.
//
// The scale is 20 (200,000 deposits) unless ORVAK_BENCH_LIST_SCALE says otherwise;
// the million-row case:
//   ORVAK_BENCH_LIST_SCALE=100 build/bench/orvak_bench --benchmark_filter='BM_List'
#include "BenchInstallation.h"
#include "ui/framework/ListModel.h"
#include "core/db/sqlite/SqliteHandle.h"
#include "core/io/GridExport.h"
#include "core/startup/Session.h"
#include "support/ScriptedPrompt.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <ctime>
#include <optional>

using namespace orvak;

namespace {

const char* kSql = "SELECT IDX, SEPNO, SEPDATE, TAFSILI, PAYMENT, AMOUNT, AMOUNT_RAD, AMOUNT_MANDEH, SEPKIND, MY, MM, TIKSUDMO, CHKNO, CHKDATE, DESCR\n"
                   "FROM SEP_DAR ORDER BY IDX";

int scale()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ORVAK_BENCH_LIST_SCALE", &ok);
    return ok && n > 0 ? n : 20;
}

struct Installation {
    bench::BenchInstallation demo{scale()};
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

// The reference: the engine stepping through the query and reading each cell in
// the type it is stored in, the least any reader of the rows does. Also gives the
// size of the values: 8 bytes a number, a text's bytes as stored (UTF-8).
struct RawScan {
    qint64 rows = 0;
    qint64 bytes = 0;
    qint64 nanoseconds = 0;
};

// The CPU time of this thread: the machine is shared, and both sides of a ratio are
// measured alike.
qint64 threadNanoseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

std::optional<RawScan> rawScan(const QSqlDatabase& db)
{
    sqlite3* handle = db::sqliteHandleOf(db);
    sqlite3_stmt* statement = nullptr;
    if (!handle || sqlite3_prepare_v2(handle, kSql, -1, &statement, nullptr) != SQLITE_OK)
        return std::nullopt;
    RawScan scan;
    const qint64 start = threadNanoseconds();
    const int columns = sqlite3_column_count(statement);
    qint64 checksum = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(statement, c)) {
            case SQLITE_INTEGER:
                checksum += sqlite3_column_int64(statement, c);
                scan.bytes += 8;
                break;
            case SQLITE_FLOAT:
                checksum += qint64(sqlite3_column_double(statement, c));
                scan.bytes += 8;
                break;
            case SQLITE_NULL:
                break;
            default:
                checksum += *sqlite3_column_text(statement, c);
                scan.bytes += sqlite3_column_bytes(statement, c);
            }
        }
        ++scan.rows;
    }
    scan.nanoseconds = threadNanoseconds() - start;
    sqlite3_finalize(statement);
    benchmark::DoNotOptimize(checksum);
    return scan;
}

} // namespace

static void BM_ListOpen(benchmark::State& state)
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
BENCHMARK(BM_ListOpen)->Unit(benchmark::kMillisecond);

// Every row into the list's store, timed beside the engine's own read of the query
// (each iteration runs both, the reference first; CPU time of the thread).
static void BM_ListFetchAll(benchmark::State& state)
{
    if (!ready(state))
        return;
    qint64 rawNs = 0;
    qint64 fetchNs = 0;
    int rows = 0;
    for (auto _ : state) {
        const std::optional<RawScan> raw = rawScan(installation().session->deposits());
        if (!raw) {
            state.SkipWithError("no embedded database");
            return;
        }
        const qint64 start = threadNanoseconds();
        ui::framework::ListModel model;
        if (!openDeposits(model, state))
            return;
        model.fetchAll();
        const qint64 ns = threadNanoseconds() - start;
        state.SetIterationTime(double(ns) / 1e9);
        rawNs += raw->nanoseconds;
        fetchNs += ns;
        rows = model.rowCount();
    }
    const double n = double(state.iterations());
    state.counters["rows"] = rows;
    state.counters["raw_ms"] = double(rawNs) / n / 1e6;
    state.counters["fetch_ms"] = double(fetchNs) / n / 1e6;
    state.counters["ratio_vs_raw"] = rawNs > 0 ? double(fetchNs) / double(rawNs) : 0.0;
}
BENCHMARK(BM_ListFetchAll)->Unit(benchmark::kMillisecond)->UseManualTime();

// The bytes the fetched rows hold against the size of their values.
static void BM_ListMemory(benchmark::State& state)
{
    if (!ready(state))
        return;
    const std::optional<RawScan> raw = rawScan(installation().session->deposits());
    if (!raw) {
        state.SkipWithError("no embedded database");
        return;
    }
    qint64 held = 0;
    for (auto _ : state) {
        ui::framework::ListModel model;
        if (!openDeposits(model, state))
            return;
        model.fetchAll();
        held = model.rows().bytesHeld();
    }
    state.counters["rows"] = double(raw->rows);
    state.counters["raw_MB"] = double(raw->bytes) / 1e6;
    state.counters["store_MB"] = double(held) / 1e6;
    state.counters["ratio_vs_raw"] = raw->bytes > 0 ? double(held) / double(raw->bytes) : 0.0;
}
BENCHMARK(BM_ListMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_ListFilter(benchmark::State& state)
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
BENCHMARK(BM_ListFilter)->Unit(benchmark::kMillisecond);

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
