// The received-deposits register at demo scale 100 (about a million deposits, built
// once per run): one month's list opened with its five totals, the whole register
// ("همه سپرده ها") up to its first rows, and a group operation over 10,000 rows with
// its change history. ORVAK_BENCH_DEPOSITS_SCALE sets another scale.
#include "BenchInstallation.h"
#include "core/deposits/DepositList.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/io/ListData.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

// A month the demo leaves empty: the group operation's 10,000 rows are moved there.
constexpr int GroupYear = 1409;
constexpr int GroupRows = 10000;

int scale()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ORVAK_BENCH_DEPOSITS_SCALE", &ok);
    return ok && n > 0 ? n : 100;
}

struct Register {
    bench::BenchInstallation demo{scale()};
    startup::ScriptedPrompt prompt;
    std::unique_ptr<startup::Session> session;
    Register()
    {
        if (!demo.ok())
            return;
        session = demo.connect(prompt);
        session->OpenSection(1405, QStringLiteral("0"), prompt);
        session->setCurrentUserCode(3);
        db::execSql(session->deposits(),
                    QStringLiteral("UPDATE SEP_DAR SET MY = :y, MM = 1 WHERE IDX IN (SELECT IDX FROM SEP_DAR ORDER BY IDX LIMIT :n)"),
                    {{QStringLiteral(":y"), GroupYear}, {QStringLiteral(":n"), GroupRows}});
    }
};

Register& installation()
{
    static Register r;
    return r;
}

bool ready(benchmark::State& state)
{
    if (installation().session && installation().session->hasDeposits())
        return true;
    state.SkipWithError("the demo installation could not be built");
    return false;
}

// The month of the demo's register with the most deposits.
deposits::DepositFilter busiestMonth()
{
    deposits::DepositFilter f;
    const auto r = db::firstRow(installation().session->deposits(),
                                QStringLiteral("SELECT MY, MM FROM SEP_DAR WHERE MY < :y GROUP BY MY, MM ORDER BY COUNT(*) DESC"),
                                {{QStringLiteral(":y"), GroupYear}});
    f.year = r ? r->value(0).toInt() : 1405;
    f.month = r ? r->value(1).toInt() : 1;
    return f;
}

void openFirstRows(benchmark::State& state, const deposits::DepositFilter& f, bool withTotals)
{
    startup::Session& s = *installation().session;
    const io::ListDefinition list = deposits::receivedDepositsList(f);
    int rows = 0;
    for (auto _ : state) {
        io::RowSet set;
        QString why;
        if (!set.open(s.deposits(), list.sql, list.defaultParameters(), &why)) {
            state.SkipWithError(why.toUtf8().constData());
            return;
        }
        rows = set.rowCount();
        if (withTotals) {
            const auto totals = deposits::depositTotals(s, f);
            benchmark::DoNotOptimize(totals);
            state.counters["listed"] = totals ? totals->amount.count : -1;
        }
    }
    state.counters["first_rows"] = rows;
}

} // namespace

static void BM_DepositMonthWithTotals(benchmark::State& state)
{
    if (ready(state))
        openFirstRows(state, busiestMonth(), true);
}
BENCHMARK(BM_DepositMonthWithTotals)->Unit(benchmark::kMillisecond);

static void BM_DepositAllFirstRows(benchmark::State& state)
{
    if (!ready(state))
        return;
    deposits::DepositFilter f;
    f.mode = deposits::PeriodMode::Cumulative;
    f.year = GroupYear + 1;
    f.month = 18;
    openFirstRows(state, f, false);
}
BENCHMARK(BM_DepositAllFirstRows)->Unit(benchmark::kMillisecond);

static void BM_DepositGroupOperation10k(benchmark::State& state)
{
    if (!ready(state))
        return;
    deposits::ReceivedDeposits reg(*installation().session);
    deposits::DepositFilter f;
    f.year = GroupYear;
    f.month = 1;
    bool confirm = true;
    int changed = 0;
    for (auto _ : state) {
        startup::ScriptedPrompt yes({}, true);
        const deposits::Outcome out = confirm ? reg.confirmAll(f, yes) : reg.unconfirmAll(f, yes);
        if (!out) {
            state.SkipWithError(out.message.toUtf8().constData());
            return;
        }
        changed = out.changed;
        confirm = !confirm;
    }
    state.counters["rows"] = changed;
}
BENCHMARK(BM_DepositGroupOperation10k)->Unit(benchmark::kMillisecond);
