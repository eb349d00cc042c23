// The guarantee register and its letters on the demo installation, its guarantees
// copied up to 100,000: the session opened with the list's first rows, lookups and
// totals; the list alone; one A5 letter filled and written as a PDF.
#include "BenchInstallation.h"
#include "core/guarantees/Guarantee.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/io/BoundList.h"
#include "core/io/ListData.h"
#include "core/letters/GuaranteeLetters.h"
#include "support/ScriptedPrompt.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

constexpr int Guarantees = 100'000;

struct Register {
    bench::BenchInstallation demo{1};
    startup::ScriptedPrompt prompt;
    std::unique_ptr<startup::Session> session;
    QTemporaryDir out;
    Register()
    {
        if (!demo.ok())
            return;
        session = demo.connect(prompt);
        session->OpenSection(1405, QStringLiteral("0"), prompt);
        // The demo's guarantees again and again under new numbers, up to the count.
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

// What the list screen does when it opens: the lookups, the first rows, the totals.
bool openList(benchmark::State& state, startup::Session& s)
{
    const io::ListDefinition list = guarantees::guaranteeList();
    io::BoundList bound(s, list);
    bound.readLookups();
    io::RowSet rows;
    QString why;
    if (!rows.open(s.deposits(), list.sql, list.defaultParameters(), &why)) {
        state.SkipWithError(why.toUtf8().constData());
        return false;
    }
    const auto totals = guarantees::guaranteeTotals(s, {});
    benchmark::DoNotOptimize(totals);
    state.counters["listed"] = totals ? totals->count : -1;
    state.counters["first_rows"] = rows.rowCount();
    return true;
}

} // namespace

static void BM_GuaranteeList100k(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        if (!openList(state, *installation().session))
            return;
    }
}
BENCHMARK(BM_GuaranteeList100k)->Unit(benchmark::kMillisecond);

static void BM_GuaranteeSessionAndList100k(benchmark::State& state)
{
    if (!ready(state))
        return;
    for (auto _ : state) {
        startup::ScriptedPrompt prompt;
        auto session = installation().demo.connect(prompt);
        if (!session->OpenSection(1405, QStringLiteral("0"), prompt)) {
            state.SkipWithError("the section did not open");
            return;
        }
        if (!openList(state, *session))
            return;
    }
}
BENCHMARK(BM_GuaranteeSessionAndList100k)->Unit(benchmark::kMillisecond);

static void BM_LetterA5Pdf(benchmark::State& state)
{
    if (!ready(state))
        return;
    startup::Session& s = *installation().session;
    letters::LetterRequest r;
    r.guarantee = 2;
    r.templateCode = 2;
    r.input.newDue = QStringLiteral("1406/10/06");
    r.layout = 3;
    const QString path = installation().out.filePath(QStringLiteral("letter.pdf"));
    for (auto _ : state) {
        startup::ScriptedPrompt prompt;
        const auto letter = letters::GuaranteeLetters(s).prepare(r, prompt);
        QString why;
        if (!letter || !letters::writeLettersPdf(letter->pages, path, &why)) {
            state.SkipWithError(prompt.text().toUtf8().constData());
            return;
        }
    }
}
BENCHMARK(BM_LetterA5Pdf)->Unit(benchmark::kMillisecond);
