// The credit notices at demo scale 100 (ORVAK_BENCH_NOTICES_SCALE sets another):
// the list opened from a fresh session with its totals and the current notice's
// counts, and the balance report of every notice over all deposits.
#include "BenchInstallation.h"
#include "core/db/Db.h"
#include "core/deposits/CreditLetters.h"
#include "core/io/ListData.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

int scale()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ORVAK_BENCH_NOTICES_SCALE", &ok);
    return ok && n > 0 ? n : 100;
}

bench::BenchInstallation& installation()
{
    static bench::BenchInstallation demo{scale()};
    return demo;
}

// Connect, open the section, open the list with its totals, count the first notice.
void BM_CreditNoticeListFromSessionOpen(benchmark::State& state)
{
    if (!installation().ok()) {
        state.SkipWithError("the demo installation could not be built");
        return;
    }
    const io::ListDefinition list = deposits::creditLettersList();
    for (auto _ : state) {
        startup::ScriptedPrompt prompt;
        auto session = installation().connect(prompt);
        if (!session->OpenSection(1405, QStringLiteral("0"), prompt)) {
            state.SkipWithError("the section did not open");
            return;
        }
        io::RowSet set;
        QString why;
        if (!set.open(session->deposits(), list.sql, list.defaultParameters(), &why)) {
            state.SkipWithError(why.toStdString().c_str());
            return;
        }
        const auto totals = db::firstRow(session->deposits(), QStringLiteral("SELECT SUM(BESAMOUNT), SUM(PARAMOUNT), SUM(DEPNUM), SUM(DEPPARNUM) FROM BESTANKARI"));
        benchmark::DoNotOptimize(totals);
        const auto counts = deposits::CreditNotices(*session).counts(set.value(0, set.fieldIndex(QStringLiteral("IDXNO"))).toInt());
        benchmark::DoNotOptimize(counts);
        benchmark::DoNotOptimize(set.rowCount());
    }
}
BENCHMARK(BM_CreditNoticeListFromSessionOpen)->Unit(benchmark::kMillisecond);

void BM_CreditNoticeBalanceReport(benchmark::State& state)
{
    if (!installation().ok()) {
        state.SkipWithError("the demo installation could not be built");
        return;
    }
    startup::ScriptedPrompt prompt;
    auto session = installation().connect(prompt);
    session->OpenSection(1405, QStringLiteral("0"), prompt);
    for (auto _ : state) {
        const auto report = deposits::CreditNotices(*session).balanceReport({});
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(BM_CreditNoticeBalanceReport)->Unit(benchmark::kMillisecond);

} // namespace
