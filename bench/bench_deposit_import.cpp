// Reading a deposit book of 100,000 spreadsheet rows (.xlsx) into the register at
// demo scale, session opening included: a thousand owners (one in ten new), a new
// project in fifty rows, one row in ten refunded; the whole book one unit of work.
#include "BenchInstallation.h"

#include "core/deposits/DepositImport.h"
#include "core/io/GridExport.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

constexpr int Rows = 100000;

QString bookFile(const QString& folder, const QStringList& nids)
{
    const QString path = folder + QStringLiteral("/bench-deposits.xlsx");
    io::ExportTable t;
    t.headers = {QStringLiteral("قبض"), QStringLiteral("تاريخ"), QStringLiteral("کد ملي"), QStringLiteral("نام"), QStringLiteral("پروژه"),
                 QStringLiteral("مبلغ"), QStringLiteral("استرداد"), QStringLiteral("شرح")};
    for (int i = 0; i < t.headers.size(); ++i) {
        t.widths << 80;
        t.formats << io::CellFormat{};
        t.totals << false;
    }
    t.rowCount = Rows;
    t.text = [&](int r, int c) -> QString {
        switch (c) {
        case 0: return QString::number(r + 1);
        case 1: return QStringLiteral("1405/%1/%2").arg(1 + r % 12, 2, 10, QLatin1Char('0')).arg(1 + r % 29, 2, 10, QLatin1Char('0'));
        case 2: return r % 1000 < 900 ? nids.value(r % 1000 % nids.size()) : QStringLiteral("9%1").arg(r % 1000, 9, 10, QLatin1Char('0'));
        case 3: return QStringLiteral("پيمانکار %1").arg(r % 1000);
        case 4: return r % 50 == 0 ? QString::number(900000 + r / 50 % 100) : QString();
        case 5: return QStringLiteral("%1").arg(1000 * (1 + r % 997));
        case 6: return r % 10 == 0 ? QStringLiteral("1") : QString();
        default: return QStringLiteral("حسن انجام کار");
        }
    };
    t.number = [](int, int) { return std::optional<double>(); };
    io::exportTable(t, io::ExportFormat::Xlsx, path);
    return path;
}

void BM_DepositImport100k(benchmark::State& state)
{
    static bench::BenchInstallation demo(1);
    startup::ScriptedPrompt prompt({}, true);
    QStringList nids;
    {
        auto s = demo.connect(prompt);
        QSqlQuery q(s->common());
        q.exec(QStringLiteral("SELECT NID FROM TAFSILI WHERE CI = 0 AND NID IS NOT NULL AND NID <> ''"));
        while (q.next())
            nids << q.value(0).toString().trimmed();
    }
    static const QString file = bookFile(demo.dir.path(), nids);
    deposits::ImportRequest r;
    r.path = file;
    using F = deposits::ImportField;
    for (const auto& [f, c] : {std::pair{F::ReceiptNo, "قبض"}, {F::PaymentDate, "تاريخ"}, {F::OwnerNid, "کد ملي"}, {F::OwnerName, "نام"},
                               {F::Project, "پروژه"}, {F::Amount, "مبلغ"}, {F::RefundMark, "استرداد"}, {F::Remarks, "شرح"}})
        r.mapping.set(f, QString::fromUtf8(c));
    double seconds = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        auto session = demo.connect(prompt);
        session->OpenSection(1405, QStringLiteral("0"), prompt);
        session->setCurrentUserCode(3);
        const deposits::ImportResult out = deposits::DepositImport(*session).run(r, prompt);
        seconds = t.nsecsElapsed() / 1e9;
        if (out.deposits != Rows)
            state.SkipWithError(out.message.toUtf8().constData());
        state.counters["owners_created"] = out.ownersCreated;
        state.counters["refunds"] = out.refunds;
    }
    state.counters["seconds"] = seconds;
}
BENCHMARK(BM_DepositImport100k)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
