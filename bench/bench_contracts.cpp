// Posting a contract's voucher (its two rows and the reference on the contract, in
// one work with the history) on the demo installation. Each posted voucher is
// rejected again, so that every iteration meets the same database.
#include "BenchInstallation.h"
#include "core/basedata/Contracts.h"
#include "core/startup/Session.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

void BM_PostContractVoucher(benchmark::State& state)
{
    bench::BenchInstallation demo(1);
    startup::ScriptedPrompt quiet;
    std::unique_ptr<startup::Session> session = demo.connect(quiet);
    if (!demo.ok() || !session->OpenSection(1405, QStringLiteral("0"), quiet) || !session->AccountingDbOpen()) {
        state.SkipWithError("no demo installation");
        return;
    }
    session->setCurrentUserCode(3);
    basedata::Contracts contracts(*session);
    accounting::VoucherWriter writer(*session);
    const basedata::ContractVoucher voucher{0, QStringLiteral("1405/08/01"), false, {}};
    for (auto _ : state) {
        QString why;
        const auto posted = contracts.postVoucher(7, basedata::ContractAmount::Initial, voucher, &why);
        state.PauseTiming();
        if (!posted || !writer.reject(posted->number, &why)) {
            state.SkipWithError(why.toStdString().c_str());
            return;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PostContractVoucher)->Unit(benchmark::kMillisecond);

} // namespace
