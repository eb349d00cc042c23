// Bank statements at demo scale, session opening included: reading 100,000 lines of
// a comma-separated statement (each with its change-history entry) against the
// engine's own insert of the same rows, and matching a month of 5,000 lines against
// the register (ORVAK_BENCH_MATCH_SCALE, 100 by default: a million deposits).
#include "BenchInstallation.h"

#include "core/db/BulkInserter.h"
#include "core/statements/BankMatching.h"
#include "core/statements/StatementReader.h"

#include <QElapsedTimer>
#include <QFile>
#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

constexpr int Lines = 100000;

QString statementFile(const QString& folder)
{
    const QString path = folder + QStringLiteral("/bench-16.csv");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    QByteArray out = "date,time,document,branch,description,debit,credit,balance,identifier\n";
    for (int i = 0; i < Lines; ++i) {
        out += QStringLiteral("1405/08/%1,%2:%3,%4,1007,واريز نقدي سپرده,0,%5,%6,%7\n")
                   .arg(1 + i % 30, 2, 10, QLatin1Char('0'))
                   .arg(8 + i % 9, 2, 10, QLatin1Char('0'))
                   .arg(i % 60, 2, 10, QLatin1Char('0'))
                   .arg(100000 + i)
                   .arg(1000 * (1 + i % 5000))
                   .arg(qint64(i) * 1000)
                   .arg(i)
                   .toUtf8();
    }
    f.write(out);
    return path;
}

void BM_StatementRead100k(benchmark::State& state)
{
    static bench::BenchInstallation demo(1);
    static const QString file = statementFile(demo.dir.path());
    double raw = 0, read = 0;
    for (auto _ : state) {
        startup::ScriptedPrompt prompt({}, true);
        QElapsedTimer t;
        t.start();
        auto session = demo.connect(prompt);
        session->OpenSection(1405, QStringLiteral("0"), prompt);
        session->setCurrentUserCode(3);
        statements::ReadRequest r;
        r.account = 2;
        r.fromYear = r.toYear = 1405;
        r.fromMonth = r.toMonth = 8;
        r.format = 16;
        r.files = {file};
        r.mode = statements::ReadMode::Replace;
        const statements::ReadOutcome out = statements::StatementReader(*session).read(r, prompt);
        read = t.nsecsElapsed() / 1e9;
        if (out.written != Lines)
            state.SkipWithError(prompt.text().toUtf8().constData());
        // The engine's own: the same rows through one prepared insert in one transaction.
        QSqlDatabase db = session->deposits();
        t.restart();
        db.transaction();
        {
            db::BulkInserter s(db, QStringLiteral("SURATHESAB"),
                               {QStringLiteral("ROW"), QStringLiteral("HESABNO"), QStringLiteral("CHKDATE"), QStringLiteral("CHKTIME"),
                                QStringLiteral("DESCR"), QStringLiteral("FLAG"), QStringLiteral("AMOUNT"), QStringLiteral("AMOUNTBANK"), QStringLiteral("CHKNO")});
            for (int i = 0; i < Lines; ++i)
                s.add(i + 1).add(3).add(QStringLiteral("05/08/01")).add(QStringLiteral("10:00")).add(QStringLiteral("واريز نقدي سپرده")).add(1)
                    .add(1000.0 * (1 + i % 5000)).add(double(i) * 1000).add(qint64(100000 + i)).insert();
        }
        db.rollback();
        raw = t.nsecsElapsed() / 1e9;
    }
    state.counters["seconds"] = read;
    state.counters["ratio_vs_raw"] = raw > 0 ? read / raw : 0;
}
BENCHMARK(BM_StatementRead100k)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_MatchMonth5000(benchmark::State& state)
{
    const int scale = qEnvironmentVariableIntValue("ORVAK_BENCH_MATCH_SCALE") > 0 ? qEnvironmentVariableIntValue("ORVAK_BENCH_MATCH_SCALE") : 100;
    static bench::BenchInstallation demo(scale);
    startup::ScriptedPrompt prompt({}, true);
    auto session = demo.connect(prompt);
    session->OpenSection(1405, QStringLiteral("0"), prompt);
    session->setCurrentUserCode(3);
    static bool made = false;
    if (!made) {
        // 5,000 lines of month 8 paid by its deposits (half of them still open), on account 3.
        QSqlDatabase db = session->deposits();
        db.transaction();
        db::execSql(db, QStringLiteral("UPDATE SEP_DAR SET TIKSUDMO = NULL WHERE MY = 1405 AND MM = 8 AND IDX % 2 = 0"));
        db::BulkInserter s(db, QStringLiteral("SURATHESAB"),
                           {QStringLiteral("ROW"), QStringLiteral("HESABNO"), QStringLiteral("CHKDATE"), QStringLiteral("CHKTIME"), QStringLiteral("FLAG"),
                            QStringLiteral("AMOUNT"), QStringLiteral("CHKNO")});
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT AMOUNT, CHKDATE, CHKNO FROM SEP_DAR WHERE MY = 1405 AND MM = 8 ORDER BY IDX LIMIT 5000"));
        int row = 0;
        while (q.next())
            s.add(++row).add(3).add(q.value(1).toString().mid(2)).add(QStringLiteral("10:00")).add(1).add(q.value(0).toDouble()).add(q.value(2).toLongLong()).insert();
        db.commit();
        made = true;
    }
    statements::BankMatching m(*session);
    const statements::MatchRequest r{3, 1405, 8, {}};
    double plan = 0, run = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const auto p = m.plan(r);
        plan = t.nsecsElapsed() / 1e9;
        t.restart();
        const statements::MatchOutcome done = m.run(r, prompt);
        run = t.nsecsElapsed() / 1e9;
        if (!p || !done)
            state.SkipWithError("matching failed");
        state.PauseTiming();
        m.undoLast(3, prompt);
        state.ResumeTiming();
    }
    state.counters["deposits"] = double(db::scalar(session->deposits(), QStringLiteral("SELECT COUNT(*) FROM SEP_DAR")).value_or(0).toLongLong());
    state.counters["plan_s"] = plan;
    state.counters["run_s"] = run;
}
BENCHMARK(BM_MatchMonth5000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
