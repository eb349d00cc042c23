// A group operation over a month of demo deposits through the unit of work, with
// and without the change history: the history's cost is one entry a row.
#include "BenchInstallation.h"
#include "core/db/UnitOfWork.h"
#include "core/startup/Session.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace orvak;

static void BM_GroupUpdateOfAMonth(benchmark::State& state)
{
    static bench::BenchInstallation demo(1);
    if (!demo.ok()) {
        state.SkipWithError("demo installation failed");
        return;
    }
    startup::ScriptedPrompt prompt({}, true);
    auto session = demo.connect(prompt);
    session->OpenSection(1405, QStringLiteral("0"), prompt);
    db::WorkPlace place = session->workPlace();
    place.audited = state.range(0) != 0;
    // The busiest month, so that every iteration changes the same rows.
    const auto month = db::scalar(session->deposits(), QStringLiteral("SELECT MY * 100 + MM FROM SEP_DAR GROUP BY MY, MM ORDER BY COUNT(*) DESC LIMIT 1"));
    const QVariantMap binds{{QStringLiteral(":y"), month->toInt() / 100}, {QStringLiteral(":m"), month->toInt() % 100}};
    int rows = 0;
    int flip = 0;
    for (auto _ : state) {
        flip = 1 - flip;
        const bool ok = db::inWork(place, [&](db::UnitOfWork& w) {
            return w.update(db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("CONTROLTIK = :f"),
                            QStringLiteral("MY = :y AND MM = :m"), [&] { QVariantMap b = binds; b.insert(QStringLiteral(":f"), flip); return b; }(),
                            &rows);
        });
        if (!ok) {
            state.SkipWithError("update failed");
            return;
        }
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_GroupUpdateOfAMonth)->Arg(0)->Arg(1)->ArgName("history")->Unit(benchmark::kMillisecond);
