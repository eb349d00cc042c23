// The party picker over a chart of 50,000 detail accounts: opening the list screen
// (its query, first rows and lookups) and finding a name by a word in the middle of
// it under the normalised search, as the picker's search runs it.
#include "BenchInstallation.h"
#include "ui/basedata/TORVAK_ViewTafsil.h"
#include "core/basedata/DetailAccounts.h"
#include "core/db/BulkInserter.h"
#include "core/startup/Session.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

constexpr int kParties = 50000;

struct Chart {
    bench::BenchInstallation demo{1};
    startup::ScriptedPrompt prompt;
    std::unique_ptr<startup::Session> session;
    Chart()
    {
        if (!demo.ok())
            return;
        session = demo.connect(prompt);
        session->OpenSection(1405, QStringLiteral("0"), prompt);
        const char* const words[] = {"ساختماني", "مهندسين مشاور", "راهسازي", "کاوش", "پارس", "البرز", "سازه", "نيرو", "گستر", "توسعه"};
        QSqlDatabase db = session->common();
        db.transaction();
        db::BulkInserter rows(db, QStringLiteral("TAFSILI"), {QStringLiteral("CODE"), QStringLiteral("NAME"), QStringLiteral("NID"), QStringLiteral("CI"),
                                                              QStringLiteral("TAFSILKIND"), QStringLiteral("GROUPS")});
        for (int i = 0; i < kParties; ++i) {
            const QString name = QStringLiteral("شرکت %1 %2 %3 شماره %4")
                                     .arg(QString::fromUtf8(words[i % 10]), QString::fromUtf8(words[(i / 10) % 10]), QString::fromUtf8(words[(i / 100) % 10]))
                                     .arg(i);
            rows.add(qint64(100000 + i)).add(name).add(QString::number(10100000000LL + i)).add(0).add(1 + i % 2).add(1 + i % 2);
            if (!rows.insert()) {
                session.reset();
                return;
            }
        }
        db.commit();
    }
};

Chart& chart()
{
    static Chart c;
    return c;
}

bool ready(benchmark::State& state)
{
    if (chart().session)
        return true;
    state.SkipWithError("chart of 50,000 parties could not be built");
    return false;
}

} // namespace

static void BM_PartyPickerOpen50k(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        ui::basedata::TORVAK_ViewTafsil list(*chart().session);
        benchmark::DoNotOptimize(list.reopen());
    }
}
BENCHMARK(BM_PartyPickerOpen50k)->Unit(benchmark::kMillisecond);

// A word that sits in the middle of a few hundred names, with Arabic Kaf typed.
static void BM_PartySearchWordInName50k(benchmark::State& state)
{
    if (!ready(state))
        return;
    orvak::basedata::DetailAccounts accounts(*chart().session);
    qsizetype found = 0;
    for (auto _ : state) {
        const auto codes = accounts.codesMatching(QStringLiteral("كاوش پارس"));
        found = codes ? codes->size() : -1;
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}
BENCHMARK(BM_PartySearchWordInName50k)->Unit(benchmark::kMillisecond);

// The search as the picker shows it: the key index, then the list narrowed to it.
static void BM_PartyPickerSearch50k(benchmark::State& state)
{
    if (!ready(state))
        return;
    ui::basedata::TORVAK_ViewTafsil list(*chart().session);
    list.reopen();
    for (auto _ : state)
        benchmark::DoNotOptimize(list.searchName(QStringLiteral("كاوش پارس")));
    state.counters["rows"] = double(list.model().rowCount());
}
BENCHMARK(BM_PartyPickerSearch50k)->Unit(benchmark::kMillisecond);
