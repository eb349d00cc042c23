// The demo installation at scale (a million deposits at 100) and the structure
// update of an installation that is already up to date.
#include "demo/DemoInstallation.h"
#include "startup/Session.h"
#include "startup/StructureUpdate.h"
#include "startup/Versions.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orvak;

static void BM_DemoInstallation(benchmark::State& state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        demo::DemoOptions o;
        o.folder = dir.path();
        o.scale = int(state.range(0));
        o.today = QStringLiteral("1405/09/18");
        startup::ScriptedPrompt prompt;
        const demo::DemoSummary s = demo::buildDemoInstallation(o, prompt);
        if (!s.ok)
            state.SkipWithError("demo installation failed");
        state.counters["deposits"] = double(s.deposits);
    }
}
BENCHMARK(BM_DemoInstallation)->Arg(1)->Arg(100)->Unit(benchmark::kSecond)->Iterations(1);

static void BM_StructureUpdateUpToDate(benchmark::State& state)
{
    QTemporaryDir dir;
    demo::DemoOptions o;
    o.folder = dir.path();
    o.scale = int(state.range(0));
    o.today = QStringLiteral("1405/09/18");
    startup::ScriptedPrompt prompt;
    if (!demo::buildDemoInstallation(o, prompt).ok) {
        state.SkipWithError("demo installation failed");
        return;
    }
    startup::Session session(dir.path(), startup::SiteConfig{demo::DemoInstallationNumber, QStringLiteral("bench")});
    session.ReadConnectionFile();
    session.ConnectServer(prompt);
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
