// The coding exchange: 50,000 detail accounts of a year's accounting program copied
// into the common database, session opening included (the year's database filled
// beforehand through one prepared insert).
#include "BenchInstallation.h"

#include "core/basedata/CodingTransfer.h"
#include "core/db/BulkInserter.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

constexpr int Parties = 50000;

void BM_CodingTransfer50k(benchmark::State& state)
{
    static bench::BenchInstallation demo(1);
    startup::ScriptedPrompt prompt({}, true);
    {
        auto s = demo.connect(prompt);
        s->OpenSection(1405, QStringLiteral("0"), prompt);
        QSqlDatabase acc = s->accounting();
        acc.transaction();
        db::execSql(acc, QStringLiteral("DELETE FROM TAFSILI"));
        db::BulkInserter in(acc, QStringLiteral("TAFSILI"), {QStringLiteral("CODE"), QStringLiteral("NAME"), QStringLiteral("HESABJARI"), QStringLiteral("HESABMOSHTARAK")});
        for (int i = 0; i < Parties; ++i)
            in.add(1'000'000 + i).add(QStringLiteral("پيمانکار شماره %1").arg(i)).add(QStringLiteral("0101%1").arg(i)).add(QString()).insert();
        acc.commit();
    }
    double seconds = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        auto session = demo.connect(prompt);
        session->OpenSection(1405, QStringLiteral("0"), prompt);
        session->setCurrentUserCode(3);
        const basedata::TransferResult r = basedata::CodingTransfer(*session).fromAccounting(basedata::AccountingKind::DetailAccounts, 1405, prompt);
        seconds = t.nsecsElapsed() / 1e9;
        if (r.inserted != Parties)
            state.SkipWithError(r.message.toUtf8().constData());
    }
    state.counters["seconds"] = seconds;
}
BENCHMARK(BM_CodingTransfer50k)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
