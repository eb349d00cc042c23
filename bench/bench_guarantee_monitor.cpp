// Due-date monitoring and the guarantee search over the demo's guarantees copied up
// to 100,000, each with the session opened; an extension-letter run of 500
// guarantees issued and written as one PDF.
#include "BenchInstallation.h"
#include "core/guarantees/Guarantee.h"
#include "core/guarantees/GuaranteeDue.h"
#include "core/guarantees/GuaranteeSearch.h"
#include "core/io/BoundList.h"
#include "core/io/ListData.h"
#include "core/letters/LetterPages.h"
#include "support/ScriptedPrompt.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

constexpr int Guarantees = 100'000;

struct Monitored {
    bench::BenchInstallation demo{1};
    startup::ScriptedPrompt prompt;
    std::unique_ptr<startup::Session> session;
    QTemporaryDir out;
    Monitored()
    {
        if (!demo.ok())
            return;
        session = demo.connect(prompt);
        session->OpenSection(1405, QStringLiteral("0"), prompt);
        const QStringList columns = guarantees::guaranteeColumns();
        QStringList copied = columns;
        copied.replaceInStrings(QRegularExpression(QStringLiteral("^IDX$")), QStringLiteral("IDX + :off"));
        copied.replaceInStrings(QRegularExpression(QStringLiteral("^ZPOS$")), QStringLiteral("ZPOS + :off"));
        const int base = int(db::scalar(session->deposits(), QStringLiteral("SELECT COUNT(*) FROM ZEMANAT"))->toInt());
        db::execSql(session->deposits(), QStringLiteral("BEGIN"));
        for (int off = base; off < Guarantees; off += base)
            db::execSql(session->deposits(),
                        QStringLiteral("INSERT INTO ZEMANAT (%1) SELECT %2 FROM ZEMANAT WHERE IDX <= :base AND IDX + :off <= :last")
                            .arg(columns.join(QStringLiteral(", ")), copied.join(QStringLiteral(", "))),
                        {{QStringLiteral(":off"), off}, {QStringLiteral(":base"), base}, {QStringLiteral(":last"), Guarantees}});
        db::execSql(session->deposits(), QStringLiteral("COMMIT"));
    }
};

Monitored& installation()
{
    static Monitored m;
    return m;
}

std::unique_ptr<startup::Session> opened(benchmark::State& state)
{
    if (!installation().session) {
        state.SkipWithError("the demo installation could not be built");
        return {};
    }
    startup::ScriptedPrompt prompt;
    auto session = installation().demo.connect(prompt);
    if (!session || !session->OpenSection(1405, QStringLiteral("0"), prompt)) {
        state.SkipWithError("the section did not open");
        return {};
    }
    return session;
}

// Every row of the list read, with the lookups and the count and total.
bool readAll(benchmark::State& state, startup::Session& s, const io::ListDefinition& list, int count)
{
    io::BoundList bound(s, list);
    io::RowSet rows;
    QString why;
    if (!bound.fetchAll(rows, {}, &why)) {
        state.SkipWithError(why.toUtf8().constData());
        return false;
    }
    state.counters["listed"] = rows.rowCount();
    state.counters["counted"] = count;
    return true;
}

} // namespace

static void BM_GuaranteeDueList100k(benchmark::State& state)
{
    installation();   // built before the timing
    for (auto _ : state) {
        auto s = opened(state);
        if (!s)
            return;
        const guarantees::DueFilter f = guarantees::defaultDueFilter(s->clock().todayJalali());
        const auto totals = guarantees::dueTotals(*s, f);
        if (!totals || !readAll(state, *s, *guarantees::dueList(f), totals->count))
            return;
    }
}
BENCHMARK(BM_GuaranteeDueList100k)->Unit(benchmark::kMillisecond);

static void BM_GuaranteeSearch100k(benchmark::State& state)
{
    installation();   // built before the timing
    for (auto _ : state) {
        auto s = opened(state);
        if (!s)
            return;
        guarantees::SearchFilter f;
        f.bank = 1;
        f.statuses = {0, 1, 2};
        f.dueFrom = QStringLiteral("1405/01/01");
        f.order = guarantees::SearchOrder::DueDate;
        QString why;
        const auto list = guarantees::searchList(*s, f, &why);
        const auto totals = guarantees::searchTotals(*s, f);
        if (!list || !totals || !readAll(state, *s, *list, totals->count))
            return;
    }
}
BENCHMARK(BM_GuaranteeSearch100k)->Unit(benchmark::kMillisecond);

static void BM_ExtensionRun500(benchmark::State& state)
{
    installation();   // built before the timing
    for (auto _ : state) {
        auto s = opened(state);
        if (!s)
            return;
        guarantees::ExtensionRun::Choice choice;
        choice.months = 6;
        guarantees::ExtensionRun run(*s, {QStringLiteral("1300/01/01"), QStringLiteral("1499/12/29")}, choice);
        startup::ScriptedPrompt prompt;
        if (!run.start(prompt) || run.count() < 500) {
            state.SkipWithError("fewer than 500 guarantees to extend");
            return;
        }
        std::vector<letters::LetterPage> pages;
        for (int i = 0; i < 500; ++i) {
            if (!run.issue(pages, prompt)) {
                state.SkipWithError(prompt.text().toUtf8().constData());
                return;
            }
        }
        QString why;
        if (!letters::writeLettersPdf(pages, installation().out.filePath(QStringLiteral("run.pdf")), &why)) {
            state.SkipWithError(why.toUtf8().constData());
            return;
        }
        state.counters["letters"] = double(run.issuedNumbers().size());
    }
}
BENCHMARK(BM_ExtensionRun500)->Unit(benchmark::kMillisecond)->Iterations(1);
