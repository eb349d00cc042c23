// The demo installation at scale (a million deposits at 100) and the structure
// update of an installation that is already up to date.
#include "BenchInstallation.h"
#include "core/startup/StructureUpdate.h"
#include "core/startup/Versions.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace orvak;

static void BM_DemoInstallation(benchmark::State& state)
{
    for (auto _ : state) {
        const bench::BenchInstallation installation(int(state.range(0)));
        if (!installation.ok())
            state.SkipWithError("demo installation failed");
        state.counters["deposits"] = double(installation.summary.deposits);
    }
}
BENCHMARK(BM_DemoInstallation)->Arg(1)->Arg(100)->Unit(benchmark::kSecond)->Iterations(1);

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
    for (auto _ : state) {
        // The common database and the section's deposits database, as the update screen does.
        const startup::UpdateReport common = startup::updateCommonDatabase(*session.server(), session.commonDbName(), prompt);
        startup::StructureUpdate update(*session.server(), prompt);
        const startup::UpdateReport deposits = update.UpdateDatabase(QStringLiteral("ORVAKSEPC0"), startup::schemaFor(startup::DatabaseKind::Deposits));
        if (common.changedData() || deposits.changedData() || !common.errors.isEmpty() || !deposits.errors.isEmpty())
            state.SkipWithError("the installation was not up to date");
    }
}
BENCHMARK(BM_StructureUpdateUpToDate)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);
