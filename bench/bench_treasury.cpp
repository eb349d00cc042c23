// The treasury files: 10,000 rows in a text layout (fixed width, code page 1256), in
// the dBASE table and in the workbook's sheet, as the service writes them; and a
// month's list file of the demo installation from a session just connected.
#include "BenchInstallation.h"
#include "core/deposits/TreasuryFiles.h"
#include "core/io/DbaseTable.h"
#include "core/io/SheetFill.h"
#include "support/ScriptedPrompt.h"

#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

constexpr int Rows = 10000;

QList<deposits::TreasuryRecord> rows()
{
    QList<deposits::TreasuryRecord> out;
    for (int i = 0; i < Rows; ++i) {
        out << deposits::TreasuryRecord{{"SEPNO", QString::number(100000 + i)}, {"SEPDATE", "1404/05/01"},  {"AMOUNT", QString::number(1500000 + i)},
                                        {"CHKNO", QString::number(i % 7)},     {"CHKDATE", "1404/05/02"},  {"OWNER", QStringLiteral("شرکت ساختماني نوين بنيان")},
                                        {"KIND", QStringLiteral("سپرده حسن انجام كار 10 درصد")},            {"CITY", QStringLiteral("ياسوج")}};
    }
    return out;
}

void BM_TreasuryTextLayout10000(benchmark::State& state)
{
    const auto r = rows();
    const deposits::TreasuryRecord head{{"TREASURYACC", "2171231231002"}, {"LETTERNO", "55"}, {"SUM", "1"}, {"COUNT", "1"}};
    for (auto _ : state) {
        const deposits::TextFile f = deposits::writeTextFile(deposits::listLayout(3)->text, head, r);
        benchmark::DoNotOptimize(f.bytes.size());
    }
}
BENCHMARK(BM_TreasuryTextLayout10000)->Unit(benchmark::kMillisecond);

void BM_TreasuryDbase10000(benchmark::State& state)
{
    QList<QHash<QString, QVariant>> records;
    for (int i = 0; i < Rows; ++i)
        records << QHash<QString, QVariant>{{"BESTNO", i % 900}, {"SERIAL", i}, {"RIZNO", QString::number(i)}, {"RIZDATE", "04 5 1"},
                                            {"RIZDEP", 1500000 + i}, {"REMARK", "04/ 5/ 1           1"}, {"KHBESTNO", i % 900},
                                            {"KHSERIAL", i}, {"DEPDATE", "04 5 1"}};
    const io::DbaseTable table = io::newDbaseTable(deposits::treasuryDbaseFields());
    QString why;
    for (auto _ : state) {
        const QByteArray bytes = io::writeDbaseTable(table, records, QDate::currentDate(), &why);
        benchmark::DoNotOptimize(bytes.size());
    }
}
BENCHMARK(BM_TreasuryDbase10000)->Unit(benchmark::kMillisecond);

void BM_TreasuryWorkbook10000(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("t.xlsx"));
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import sys, openpyxl\nb = openpyxl.Workbook()\nt = b.active\nt.title = 'table1'\nt.append(%1)\nb.save(sys.argv[1])\n")
                 .arg(QStringLiteral("['") + deposits::treasurySheetColumns().join(QStringLiteral("','")) + QStringLiteral("']")),
             book});
    p.waitForFinished(60000);
    QList<QVariantList> values;
    for (int i = 0; i < Rows; ++i)
        values << QVariantList{QStringLiteral("12"), QStringLiteral("شرکت ساختماني نوين بنيان"), QStringLiteral("سپرده"), QStringLiteral("سپرده حسن انجام کار"),
                               QString::number(i), QStringLiteral("040501"), QStringLiteral("812"), double(1500000 + i), QVariant()};
    QString why;
    for (auto _ : state) {
        if (!io::fillSheet(book, QStringLiteral("table1"), deposits::treasurySheetColumns(), values, &why)) {
            state.SkipWithError(why.toStdString().c_str());
            break;
        }
    }
}
BENCHMARK(BM_TreasuryWorkbook10000)->Unit(benchmark::kMillisecond);

// A session opened, then the demo's busiest month written in layout 3.
void BM_OpenSessionAndTreasuryListFile(benchmark::State& state)
{
    bench::BenchInstallation demo{1};
    QTemporaryDir out;
    for (auto _ : state) {
        startup::ScriptedPrompt prompt;
        auto session = demo.connect(prompt);
        session->OpenSection(1405, QStringLiteral("0"), prompt);
        deposits::ListFileInput in;
        in.layout = 3;
        in.year = 1405;
        in.month = 7;
        in.letterNo = QStringLiteral("55");
        in.folder = out.path();
        in.fileName = QStringLiteral("Daryaft.TXT");
        const deposits::WrittenFile w = deposits::TreasuryFiles(*session).writeListFile(in, prompt);
        if (!w) {
            state.SkipWithError(w.message.toStdString().c_str());
            break;
        }
        state.counters["deposits"] = w.count;
    }
}
BENCHMARK(BM_OpenSessionAndTreasuryListFile)->Unit(benchmark::kMillisecond);

} // namespace
