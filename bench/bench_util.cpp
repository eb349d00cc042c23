// Conversions that lists and reports call once per row.
#include "core/util/AmountWords.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <benchmark/benchmark.h>

using namespace orvak::util;

static void BM_GregorianToJalali(benchmark::State& state)
{
    QDate d(2020, 1, 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(toJalali(d).toText());
        d = d.addDays(1);
    }
}
BENCHMARK(BM_GregorianToJalali);

static void BM_AmountToWords(benchmark::State& state)
{
    quint64 n = 1234567890123ULL;
    for (auto _ : state) {
        benchmark::DoNotOptimize(AmountToWords(n));
        n += 7919;
    }
}
BENCHMARK(BM_AmountToWords);

static void BM_FormatAmount(benchmark::State& state)
{
    qint64 n = 1234567890;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatAmount(n));
        ++n;
    }
}
BENCHMARK(BM_FormatAmount);
