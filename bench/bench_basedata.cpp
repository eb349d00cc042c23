// A plan's change of number on the demo installation at scale 1 (ten thousand
// deposits): the plan, its projects, the contracts' split, deposits, refunds and
// guarantees re-pointed in one unit of work with their history, there and back.
#include "BenchInstallation.h"
#include "core/basedata/Plans.h"
#include "core/startup/Session.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

void BM_PlanCodeChange(benchmark::State& state)
{
    bench::BenchInstallation demo(1);
    startup::ScriptedPrompt quiet;
    std::unique_ptr<startup::Session> session = demo.connect(quiet);
    if (!demo.ok() || !session->OpenSection(1405, QStringLiteral("0"), quiet)) {
        state.SkipWithError("no demo installation");
        return;
    }
    basedata::Plans plans(*session);
    qint64 from = 1;
    for (auto _ : state) {
        const qint64 to = from == 1 ? 50 : 1;
        startup::ScriptedPrompt prompt({}, true);
        prompt.texts << QString::number(to);
        if (!plans.changeCode(from, prompt)) {
            state.SkipWithError(prompt.text().toStdString().c_str());
            return;
        }
        from = to;
    }
}
BENCHMARK(BM_PlanCodeChange)->Unit(benchmark::kMillisecond);

} // namespace
