// The voucher search over a year of 200,000 voucher rows (50,000 vouchers of four
// rows, forty general ledgers, 150 parties, dates over the whole year), each by one
// indexed condition: a range of numbers, a general ledger, a party, a week's dates.
#include "BenchInstallation.h"
#include "core/accounting/VoucherSearch.h"
#include "core/util/Jalali.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace orvak;

namespace {

constexpr int kVouchers = 50000;
constexpr int kRowsPerVoucher = 4;

struct SearchYear {
    bench::BenchInstallation demo{1};
    std::unique_ptr<startup::Session> session;
    int first = 0;
    QString error;

    SearchYear()
    {
        startup::ScriptedPrompt quiet;
        session = demo.connect(quiet);
        if (!demo.ok() || !session->OpenSection(1405, QStringLiteral("0"), quiet) || !session->AccountingDbOpen()) {
            error = QStringLiteral("no demo installation");
            return;
        }
        QSqlDatabase db = session->accounting();
        first = accounting::Vouchers(*session).lastNumber().value_or(0) + 1;
        db.transaction();
        QSqlQuery head(db), row(db);
        head.prepare(QStringLiteral("INSERT INTO SNDHEAD (SNDNO, SNDDATE, DESCR, KIND, STATE) VALUES (?, ?, ?, 1, 2)"));
        row.prepare(QStringLiteral("INSERT INTO SNDROW (SNDNO, ROW, KOL, MOIN, TAFSIL, DESCR, BED, BES, REFNO, CHKNO, CHKDAT) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int v = 0; v < kVouchers; ++v) {
            const int number = first + v;
            // Dates climb through the year as numbers do.
            const int dayOfYear = v * 365 / kVouchers;
            const int month = dayOfYear < 186 ? dayOfYear / 31 + 1 : (dayOfYear - 186) / 30 + 7;
            const int day = dayOfYear < 186 ? dayOfYear % 31 + 1 : (dayOfYear - 186) % 30 + 1;
            const QString date = util::JalaliDate{1405, qMin(month, 12), qMin(day, 29)}.toText();
            head.addBindValue(number);
            head.addBindValue(date);
            head.addBindValue(QStringLiteral("پرداخت صورت وضعيت"));
            if (!head.exec()) {
                error = head.lastError().text();
                return;
            }
            for (int r = 1; r <= kRowsPerVoucher; ++r) {
                const int n = v * kRowsPerVoucher + r;
                const qint64 amount = 100000 + (n % 997) * 1000;
                row.addBindValue(number);
                row.addBindValue(r);
                row.addBindValue(11000 + n % 40);
                row.addBindValue(1 + n % 3);
                row.addBindValue(1001 + n % 150);
                row.addBindValue(QStringLiteral("سپرده حسن انجام كار قرارداد %1").arg(n % 500));
                row.addBindValue(r % 2 ? amount : 0);
                row.addBindValue(r % 2 ? 0 : amount);
                row.addBindValue(QStringLiteral("2"));
                row.addBindValue(qint64(500000) + n);
                row.addBindValue(date);
                if (!row.exec()) {
                    error = row.lastError().text();
                    return;
                }
            }
        }
        db.commit();
        db.exec(QStringLiteral("ANALYZE"));
    }
};

SearchYear& year()
{
    static SearchYear y;
    return y;
}

void BM_VoucherSearch(benchmark::State& state)
{
    SearchYear& y = year();
    if (!y.error.isEmpty()) {
        state.SkipWithError(y.error.toStdString().c_str());
        return;
    }
    accounting::VoucherCriteria c;
    switch (state.range(0)) {
    case 0:   // a thousand vouchers by number
        c.from = QString::number(y.first + 20000);
        c.to = QString::number(y.first + 20999);
        break;
    case 1:   // one general ledger of forty
        c.kol = QStringLiteral("11017");
        break;
    case 2:   // one party of 150
        c.tafsil = QStringLiteral("1077");
        break;
    default:   // a week
        c.byDate = true;
        c.from = QStringLiteral("1405/07/01");
        c.to = QStringLiteral("1405/07/07");
        break;
    }
    accounting::VoucherSearch search(*y.session);
    qsizetype rows = 0;
    for (auto _ : state) {
        const auto found = search.run(c);
        if (!found) {
            state.SkipWithError(found.failed() ? found.error().toStdString().c_str() : "nothing found");
            return;
        }
        rows = found->rows.size();
        benchmark::DoNotOptimize(found->debit);
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_VoucherSearch)->ArgName("by")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace
