// Fund requests and refunds at demo scale 100 (about a million deposits, built once
// per run): a fund request of 2,000 rows opened with its sums, as the service reads
// it and as the screen's row list fetches it, also from a session just connected;
// and the collective refund of such a request, each row a refund with its change
// history. ORVAK_BENCH_REQUESTS_SCALE sets another scale.
#include "BenchInstallation.h"
#include "core/deposits/FundRequests.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/deposits/Refunds.h"
#include "core/io/ListData.h"
#include "support/ScriptedPrompt.h"

#include <QSqlQuery>
#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

constexpr int Rows = 2000;

int scale()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ORVAK_BENCH_REQUESTS_SCALE", &ok);
    return ok && n > 0 ? n : 100;
}

std::unique_ptr<startup::Session> connected(const bench::BenchInstallation& demo)
{
    startup::ScriptedPrompt prompt;
    auto session = demo.connect(prompt);
    session->OpenSection(1405, QStringLiteral("0"), prompt);
    session->setCurrentUserCode(3);
    return session;
}

// A request in state 3 of 2,000 deposits that nothing requested or refunded yet.
int paidRequest(startup::Session& s, QString* why)
{
    QList<deposits::FundRequests::Wanted> wanted;
    QSqlQuery q(s.deposits());
    q.exec(QStringLiteral("SELECT IDX FROM SEP_DAR WHERE AMOUNT_RAD = 0 AND AMOUNT_MANDEH > 0 AND "
                          "NOT EXISTS (SELECT 1 FROM SEP_REQR r WHERE r.SEPIDX = SEP_DAR.IDX) ORDER BY IDX LIMIT %1")
               .arg(Rows));
    while (q.next())
        wanted.append({q.value(0).toInt(), 0});
    q.finish();
    deposits::FundRequests requests(s);
    startup::ScriptedPrompt yes({}, true);
    auto h = requests.newRequest();
    const auto req = h ? requests.save(*h, true, yes) : std::nullopt;
    if (!req || wanted.size() < Rows || !requests.addDeposits(*req, wanted, yes)) {
        *why = QStringLiteral("the request could not be made: ") + yes.text();
        return 0;
    }
    deposits::FundRequest header = *requests.read(*req);
    header.ansAmount = header.reqAmount;
    if (!requests.changeState(header, deposits::FundState::Confirmed, yes)) {
        *why = yes.text();
        return 0;
    }
    return *req;
}

struct Office {
    bench::BenchInstallation demo{scale()};
    std::unique_ptr<startup::Session> session;
    int request = 0;
    QString why;
    Office()
    {
        if (!demo.ok())
            return;
        session = connected(demo);
        request = paidRequest(*session, &why);
    }
};

Office& office()
{
    static Office o;
    return o;
}

bool ready(benchmark::State& state)
{
    if (office().session && office().request > 0)
        return true;
    state.SkipWithError(("the demo installation could not be built " + office().why).toUtf8().constData());
    return false;
}

// The request with its rows and sums, and the row list as the screen fetches it.
int openRequest(startup::Session& s, int req, benchmark::State& state)
{
    const auto opened = deposits::FundRequests(s).open(req);
    if (!opened || opened->sums.count != opened->header.tedad || opened->sums.sum != opened->header.reqAmount) {
        state.SkipWithError("the request's sums are not its rows'");
        return 0;
    }
    const io::ListDefinition list = deposits::fundRequestRowsList(true);
    QVariantMap params = list.defaultParameters();
    params.insert(QStringLiteral(":Req"), req);
    io::RowSet rows;
    if (!rows.open(s.deposits(), list.sql, params)) {
        state.SkipWithError("the row list could not be opened");
        return 0;
    }
    rows.fetchAll();
    const auto sums = io::sumsOver(s.deposits(), list.sql, params, {QStringLiteral("AMOUNT")});
    benchmark::DoNotOptimize(sums);
    return rows.rowCount();
}

} // namespace

static void BM_OpenFundRequest2000(benchmark::State& state)
{
    if (!ready(state))
        return;
    int rows = 0;
    for (auto _ : state)
        rows = openRequest(*office().session, office().request, state);
    state.counters["rows"] = rows;
}
BENCHMARK(BM_OpenFundRequest2000)->Unit(benchmark::kMillisecond);

// The same from a session connected and its section opened afresh.
static void BM_OpenSessionAndFundRequest2000(benchmark::State& state)
{
    if (!ready(state))
        return;
    int rows = 0;
    for (auto _ : state) {
        const std::unique_ptr<startup::Session> s = connected(office().demo);
        rows = openRequest(*s, office().request, state);
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_OpenSessionAndFundRequest2000)->Unit(benchmark::kMillisecond);

// Each repetition refunds a request of its own, made before the clock runs.
static void BM_CollectiveRefund2000(benchmark::State& state)
{
    if (!ready(state))
        return;
    startup::Session& s = *office().session;
    int refunded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QString why;
        const int req = paidRequest(s, &why);
        state.ResumeTiming();
        if (req <= 0) {
            state.SkipWithError(why.toUtf8().constData());
            return;
        }
        startup::ScriptedPrompt yes({}, true);
        const deposits::Outcome out = deposits::Refunds(s).refundRequest(req, QStringLiteral("1405/09/18"), yes);
        if (!out) {
            state.SkipWithError(out.message.toUtf8().constData());
            return;
        }
        refunded = out.changed;
    }
    state.counters["refunds"] = refunded;
}
BENCHMARK(BM_CollectiveRefund2000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(false);
