// Posting a voucher of four rows with its history, and reading a voucher by number,
// on the demo installation at scale 1. Each posted voucher is rejected again, so
// that every iteration meets the same database.
#include "BenchInstallation.h"
#include "core/accounting/VoucherWriter.h"
#include "core/accounting/Vouchers.h"
#include "core/startup/Session.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

std::unique_ptr<startup::Session> openDemo(bench::BenchInstallation& demo, benchmark::State& state)
{
    startup::ScriptedPrompt quiet;
    std::unique_ptr<startup::Session> session = demo.connect(quiet);
    if (!demo.ok() || !session->OpenSection(1405, QStringLiteral("0"), quiet) || !session->AccountingDbOpen()) {
        state.SkipWithError("no demo installation");
        return nullptr;
    }
    session->setCurrentUserCode(3);
    return session;
}

accounting::VoucherPosting fourRows()
{
    accounting::VoucherPosting p;
    p.date = QStringLiteral("1405/08/01");
    p.description = QStringLiteral("پرداخت صورت وضعيت پيمانکاران");
    const struct { int kol, moin; qint64 bed, bes; } rows[] = {{81001, 1, 1000000, 0}, {11005, 1, 0, 900000}, {21007, 1, 0, 60000}, {21007, 2, 0, 40000}};
    for (const auto& r : rows) {
        accounting::VoucherLine l;
        l.kol = r.kol;
        l.moin = r.moin;
        l.debit = r.bed;
        l.credit = r.bes;
        l.tafsil = 1001;
        l.description = QStringLiteral("صورت وضعيت قرارداد 7");
        p.lines << l;
    }
    return p;
}

void BM_PostVoucherOfFourRows(benchmark::State& state)
{
    bench::BenchInstallation demo(1);
    std::unique_ptr<startup::Session> session = openDemo(demo, state);
    if (!session)
        return;
    accounting::VoucherWriter writer(*session);
    const accounting::VoucherPosting posting = fourRows();
    for (auto _ : state) {
        QString why;
        const std::optional<accounting::PostedVoucher> posted = writer.post(posting, &why);
        state.PauseTiming();
        if (!posted || !writer.reject(posted->number, &why)) {
            state.SkipWithError(why.toStdString().c_str());
            return;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PostVoucherOfFourRows)->Unit(benchmark::kMillisecond);

void BM_ReadVoucherByNumber(benchmark::State& state)
{
    bench::BenchInstallation demo(1);
    std::unique_ptr<startup::Session> session = openDemo(demo, state);
    if (!session)
        return;
    accounting::Vouchers vouchers(*session);
    const int last = vouchers.lastNumber().value_or(0);
    int number = 1;
    for (auto _ : state) {
        const auto v = vouchers.voucher(number);
        if (v.failed()) {
            state.SkipWithError(v.error().toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(v.value().rows.size());
        number = number % last + 1;
    }
}
BENCHMARK(BM_ReadVoucherByNumber)->Unit(benchmark::kMicrosecond);

} // namespace
