// Reading a month of 5,000 deposit rows out of the vouchers into the work table, and
// transferring all of them into the register, on the demo installation at scale 1.
#include "BenchInstallation.h"
#include "core/deposits/VoucherReading.h"
#include "core/db/BulkInserter.h"
#include "core/db/Db.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

constexpr int Rows = 5000;
constexpr int Kol = 21999;   // a ledger of these rows alone

// 2,500 vouchers dated in 1405/10, each with a deposit row and its party's row on 21006.
bool addMonth(startup::Session& s)
{
    QSqlDatabase acc = s.accounting();
    const int first = db::scalar(acc, QStringLiteral("SELECT MAX(SNDNO) FROM SNDHEAD")).value_or(QVariant(0)).toInt() + 1;
    // Owners the register knows, so that every row goes through.
    QList<qint64> owners;
    {
        QString why;
        auto c = db::openCursor(s.common(), QStringLiteral("SELECT CODE FROM TAFSILI WHERE CI = 0 ORDER BY CODE LIMIT 100"), {}, &why);
        while (c && c->next())
            owners << c->integer(0);
    }
    if (owners.isEmpty())
        return false;
    return db::inTransaction(acc, s.dialect(), [&](QString*) {
        db::BulkInserter head(acc, QStringLiteral("SNDHEAD"), {QStringLiteral("SNDNO"), QStringLiteral("SNDDATE"), QStringLiteral("KIND")});
        db::BulkInserter row(acc, QStringLiteral("SNDROW"),
                             {QStringLiteral("SNDNO"), QStringLiteral("ROW"), QStringLiteral("KOL"), QStringLiteral("MOIN"), QStringLiteral("TAFSIL"),
                              QStringLiteral("DESCR"), QStringLiteral("BED"), QStringLiteral("BES"), QStringLiteral("ACCOUNT")});
        for (int v = 0; v < Rows / 2; ++v) {
            const int n = first + v;
            head.add(n).add(QStringLiteral("1405/10/%1").arg(1 + v % 28, 2, 10, QLatin1Char('0'))).add(1);
            if (!head.insert())
                return false;
            for (int r = 1; r <= 2; ++r) {
                row.add(n).add(r).add(Kol).add(1).add(owners[v % owners.size()]).add("کسر سپرده حسن انجام کار").add(qint64(0)).add(qint64(1000 + v))
                    .add(r == 2 ? "21006" : "21007");
                if (!row.insert())
                    return false;
            }
        }
        return true;
    });
}

struct Demo {
    bench::BenchInstallation installation{1};
    std::unique_ptr<startup::Session> session;

    bool open(benchmark::State& state)
    {
        startup::ScriptedPrompt quiet;
        session = installation.connect(quiet);
        if (!installation.ok() || !session->OpenSection(1405, QStringLiteral("0"), quiet) || !addMonth(*session)) {
            state.SkipWithError("no demo installation");
            return false;
        }
        session->setCurrentUserCode(3);
        return true;
    }
    deposits::ReadingCriteria criteria() const
    {
        deposits::ReadingCriteria c;
        c.year = 1405;
        c.monthIndex = 9;
        c.kol = Kol;
        c.side = deposits::ReadSide::Both;
        return c;
    }
};

void BM_ReadMonthOf5000VoucherRows(benchmark::State& state)
{
    Demo demo;
    if (!demo.open(state))
        return;
    deposits::VoucherReading reading(*demo.session);
    startup::ScriptedPrompt quiet;
    for (auto _ : state) {
        const auto summary = reading.read(demo.criteria(), quiet);
        if (!summary || summary->rows != Rows) {
            state.SkipWithError("reading failed");
            return;
        }
    }
}
BENCHMARK(BM_ReadMonthOf5000VoucherRows)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TransferOf5000ReadRows(benchmark::State& state)
{
    Demo demo;
    if (!demo.open(state))
        return;
    deposits::VoucherReading reading(*demo.session);
    startup::ScriptedPrompt quiet;
    if (!reading.read(demo.criteria(), quiet)) {
        state.SkipWithError("reading failed");
        return;
    }
    for (auto _ : state) {
        QString why;
        const auto done = reading.transfer(1405, 10, deposits::Repeats::Skip, &why);
        state.PauseTiming();
        if (!done || done->rows != Rows
            || !db::execSql(demo.session->deposits(), QStringLiteral("DELETE FROM SEP_DAR WHERE IDX >= :i"), {{QStringLiteral(":i"), done->firstIndex}})) {
            state.SkipWithError(why.toStdString().c_str());
            return;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TransferOf5000ReadRows)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// The same rows and the same history entries written by two plain statements, the
// floor the transfer is measured against.
void BM_TransferOf5000RowsAsInsertSelect(benchmark::State& state)
{
    Demo demo;
    if (!demo.open(state))
        return;
    deposits::VoucherReading reading(*demo.session);
    startup::ScriptedPrompt quiet;
    QString why;
    const auto done = reading.read(demo.criteria(), quiet) ? reading.transfer(1405, 10, deposits::Repeats::Skip, &why) : std::nullopt;
    if (!done || done->rows != Rows) {
        state.SkipWithError("transfer failed");
        return;
    }
    static const QStringList written{
        QStringLiteral("IDX"),      QStringLiteral("MY"),       QStringLiteral("MM"),       QStringLiteral("CHKNO"),  QStringLiteral("CHKDATE"),
        QStringLiteral("AMOUNT"),   QStringLiteral("TAFSILI"),  QStringLiteral("PROJNO"),   QStringLiteral("TARHNO"), QStringLiteral("PAYMENT"),
        QStringLiteral("SEPROW"),   QStringLiteral("DESCR"),    QStringLiteral("SNDNO"),    QStringLiteral("SNDROW"), QStringLiteral("SNDYER"),
        QStringLiteral("FROMOLDM"), QStringLiteral("SEPKIND"),  QStringLiteral("SAVABEGH"), QStringLiteral("ELAMBESIDX"),
        QStringLiteral("AMOUNT_RAD"), QStringLiteral("AMOUNT_MANDEH")};
    QStringList copied = written;
    copied[0] = QStringLiteral("IDX + :shift");
    QStringList json;
    for (const QString& c : written)
        json << QStringLiteral("'%1', json_array(NULL, %1)").arg(c);
    QSqlDatabase dep = demo.session->deposits();
    const QString rows = QStringLiteral("INSERT INTO SEP_DAR (%1) SELECT %2 FROM SEP_DAR WHERE IDX >= :first AND IDX < :end")
                             .arg(written.join(QStringLiteral(", ")), copied.join(QStringLiteral(", ")));
    const QString history = QStringLiteral(
        "INSERT INTO AUDITTRAIL (PROGID, ADATE, ATIME, UCODE, WORKSTATION, DBNAME, TABLENAME, ROWKEY, OP, CHANGES) "
        "SELECT 1, '1405/10/01', '10:00:00', 3, 'WS', 'ORVAKSEPC0', 'SEP_DAR', CAST(IDX AS TEXT), 'I', json_object(%1) "
        "FROM SEP_DAR WHERE IDX >= :first")
                                .arg(json.join(QStringLiteral(", ")));
    const qint64 first = done->firstIndex;
    for (auto _ : state) {
        const qint64 next = db::scalar(dep, QStringLiteral("SELECT MAX(IDX) + 1 FROM SEP_DAR")).value_or(QVariant(0)).toLongLong();
        const bool ok = db::inTransaction(dep, demo.session->dialect(), [&](QString* e) {
            return db::execSql(dep, rows, {{QStringLiteral(":shift"), next - first}, {QStringLiteral(":first"), first}, {QStringLiteral(":end"), first + Rows}}, e)
                && db::execSql(dep, history, {{QStringLiteral(":first"), next}}, e);
        });
        state.PauseTiming();
        if (!ok || !db::execSql(dep, QStringLiteral("DELETE FROM SEP_DAR WHERE IDX >= :i"), {{QStringLiteral(":i"), next}})) {
            state.SkipWithError("insert failed");
            return;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TransferOf5000RowsAsInsertSelect)->Unit(benchmark::kMillisecond)->Iterations(3);
