// The demo installation at scale against a raw copy of the rows it writes, with the
// builder's peak memory; and the structure update of an installation already up to
// date against reading its schema.
//
// The demo is built at scales 10 and 100 (a million deposits). For ten million:
//   ORVAK_BENCH_DEMO_SCALE=1000 build/bench/orvak_bench --benchmark_filter=BM_DemoInstallation
// (tens of minutes and some 10 GB of disk; not for CI).
#include "BenchInstallation.h"
#include "core/db/Db.h"
#include "core/startup/StructureUpdate.h"
#include "core/startup/Versions.h"
#include "support/ScriptedPrompt.h"

#include <QElapsedTimer>
#include <QFile>
#include <benchmark/benchmark.h>
#include <ctime>

using namespace orvak;

namespace {

// A line of the process's status in MiB ("VmHWM:" the peak resident memory since the
// last reset, "VmRSS:" the current one); 0 where the system has no such file.
double statusMiB(const char* field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = f.readLine(); !line.isEmpty(); line = f.readLine()) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// Starts the peak of statusMiB("VmHWM:") again from the current size.
void resetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// Copies every row of a database into a new one of the same structure (made by the
// structure update, indexes and all) with INSERT ... SELECT, in one transaction: what
// writing those rows costs the engine alone. The WHERE keeps SQLite from copying the
// stored records as they are, which no builder could do.
double rawCopySeconds(db::Server& server, const QString& from, startup::DatabaseKind kind, qint64* rows, double* cpuSeconds)
{
    const QString to = from + QStringLiteral("COPY");
    startup::ScriptedPrompt quiet;
    if (!server.createDatabase(to, QString(), nullptr)
        || !startup::StructureUpdate(server, quiet).UpdateDatabase(to, startup::schemaFor(kind)).errors.isEmpty())
        return -1;
    QSqlDatabase db = server.database(to);
    if (!server.attachForReading(db, from, nullptr))
        return -1;
    QStringList tables;
    QSqlQuery q(db);
    q.exec(QStringLiteral("SELECT name FROM [%1].sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'").arg(from));
    while (q.next())
        tables << q.value(0).toString();
    q.finish();
    for (const QString& t : tables)
        db::execSql(db, QStringLiteral("DELETE FROM [%1]").arg(t));   // what the fix-ups put in
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpu = std::clock();
    const bool ok = db::inTransaction(db, server.dialect(), [&](QString* why) {
        for (const QString& t : tables) {
            int n = 0;
            if (!db::execSql(db, QStringLiteral("INSERT INTO [%1] SELECT * FROM [%2].[%1] WHERE 1").arg(t, from), {}, why, &n))
                return false;
            *rows += n;
        }
        return true;
    });
    *cpuSeconds += double(std::clock() - cpu) / CLOCKS_PER_SEC;
    return ok ? double(timer.nsecsElapsed()) / 1e9 : -1;
}

QString depositsOf(const QStringList& databases)
{
    return startup::Session::depositDbNameFor(demo::DemoInstallationNumber, QStringLiteral("0"), databases);
}

void extraDemoScale(benchmark::internal::Benchmark* b)
{
    if (const int scale = qEnvironmentVariableIntValue("ORVAK_BENCH_DEMO_SCALE"); scale > 0)
        b->Arg(scale);
}

} // namespace

// Build time against copying the deposits database and the accounting databases
// (every row that grows with the scale) with plain SQL; the peak memory of the build
// stays the same from one scale to the next.
static void BM_DemoInstallation(benchmark::State& state)
{
    for (auto _ : state) {
        resetPeakMemory();
        const double before = statusMiB("VmRSS:");
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpu = std::clock();
        const bench::BenchInstallation installation(int(state.range(0)));
        const double build = double(timer.nsecsElapsed()) / 1e9;
        const double buildCpu = double(std::clock() - cpu) / CLOCKS_PER_SEC;
        const double peak = statusMiB("VmHWM:");
        if (!installation.ok()) {
            state.SkipWithError("demo installation failed");
            return;
        }
        startup::ScriptedPrompt prompt;
        const std::unique_ptr<startup::Session> session = installation.connect(prompt);
        db::Server& server = *session->server();
        const QStringList names = server.databaseNames();
        qint64 rows = 0;
        double copy = 0;
        double copyCpu = 0;
        bool copied = true;
        auto copyOf = [&](const QString& name, startup::DatabaseKind kind) {
            const double seconds = rawCopySeconds(server, name, kind, &rows, &copyCpu);
            copied = copied && seconds >= 0;
            copy += seconds;
        };
        copyOf(depositsOf(names), startup::DatabaseKind::Deposits);
        // The accounting years of the eighteen months before the bench's day.
        for (int year = 1403; year <= 1405; ++year) {
            const QString name = startup::Session::accountingDbNameFor(demo::DemoInstallationNumber, QStringLiteral("0"), year);
            if (names.contains(name, Qt::CaseInsensitive))
                copyOf(name, startup::DatabaseKind::Accounting);
        }
        if (!copied) {
            state.SkipWithError("the raw copy failed");
            return;
        }
        state.SetIterationTime(build);
        state.counters["deposits"] = double(installation.summary.deposits);
        state.counters["copied_rows"] = double(rows);
        state.counters["copy_s"] = copy;
        state.counters["build_per_copy"] = copy > 0 ? build / copy : 0;
        // The same in processor time, steadier where other programs share the machine.
        state.counters["build_per_copy_cpu"] = copyCpu > 0 ? buildCpu / copyCpu : 0;
        state.counters["peak_MiB"] = peak;
        state.counters["grown_MiB"] = peak - before;
    }
}
BENCHMARK(BM_DemoInstallation)->Arg(10)->Arg(100)->Apply(extraDemoScale)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

namespace {

// What an update of a database already up to date cannot do without: read the
// columns of every table of its script and the stored text of every object.
void readSchema(db::Server& server, const QString& dbName, const startup::SchemaScripts& scripts)
{
    const db::Dialect& d = server.dialect();
    QSqlDatabase db = server.database(dbName);
    for (const startup::TableBlock& b : startup::parseTableScript(scripts.tables)) {
        if (d.tableExists(db, b.name))
            benchmark::DoNotOptimize(d.columns(db, b.name));
    }
    for (const QString& objects : {scripts.functions, scripts.procedures, scripts.views}) {
        for (const startup::ObjectBlock& o : startup::parseObjectScript(objects))
            benchmark::DoNotOptimize(d.objectDefinition(db, o.name));
    }
}

} // namespace

static void BM_StructureUpdateUpToDate(benchmark::State& state)
{
    const bench::BenchInstallation installation(int(state.range(0)));
    if (!installation.ok()) {
        state.SkipWithError("demo installation failed");
        return;
    }
    startup::ScriptedPrompt prompt;
    const std::unique_ptr<startup::Session> connected = installation.connect(prompt);
    startup::Session& session = *connected;
    db::Server& server = *session.server();
    const QString deposits = depositsOf(server.databaseNames());
    // Opened first: the local server checks every page of a file as it opens it,
    // which belongs to neither side.
    server.database(session.commonDbName());
    server.database(deposits);
    double updating = 0;
    double reading = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        // The common database and the section's deposits database, as the update screen does.
        const startup::UpdateReport common = startup::updateCommonDatabase(server, session.commonDbName(), prompt);
        startup::StructureUpdate update(server, prompt);
        const startup::UpdateReport report = update.UpdateDatabase(deposits, startup::schemaFor(startup::DatabaseKind::Deposits));
        const double took = double(timer.nsecsElapsed()) / 1e9;
        if (common.changedData() || report.changedData() || !common.errors.isEmpty() || !report.errors.isEmpty())
            state.SkipWithError("the installation was not up to date");
        timer.restart();
        readSchema(server, session.commonDbName(), startup::schemaFor(startup::DatabaseKind::Common));
        readSchema(server, deposits, startup::schemaFor(startup::DatabaseKind::Deposits));
        reading += double(timer.nsecsElapsed()) / 1e9;
        updating += took;
        state.SetIterationTime(took);
    }
    state.counters["schema_read_ms"] = reading * 1000 / double(state.iterations());
    state.counters["update_per_read"] = reading > 0 ? updating / reading : 0;
}
BENCHMARK(BM_StructureUpdateUpToDate)->Arg(1)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

