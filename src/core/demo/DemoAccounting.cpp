// The accounting side: a database for every fiscal year of the window, and in it the
// vouchers that paid the contractors and kept back the deposits the register read.
#include "core/db/BulkInserter.h"
#include "core/demo/DemoSteps.h"
#include "core/demo/DepositStream.h"
#include "core/startup/ServerSetup.h"

namespace orvak::demo {

namespace {

// The ledger's accounts the vouchers post to.
bool addChartOfAccounts(DemoContext& ctx, QSqlDatabase acc)
{
    const char* const kols[][2] = {{"11005", "موجودي نقد نزد بانک"}, {"11006", "حساب رد وجوه سپرده"}, {"11512", "خزانه"},
                             {"21007", "سپرده هاي دريافتي"}, {"81001", "هزينه هاي عمراني"}, {"82001", "هزينه هاي جاري"},
                             // Where the register's own vouchers post: its fixed codes split three and five.
                             {"110", "موجودي نقد نزد بانکها"}, {"115", "حساب خزانه"}, {"210", "سپرده ها"}};
    for (const auto& k : kols) {
        if (!ctx.exec(acc, QStringLiteral("INSERT INTO KOL (CODE, NAME, MAHIAT, KIND) VALUES (:c, :n, 1, 1)"),
                      {{QStringLiteral(":c"), QString::fromLatin1(k[0]).toInt()}, {QStringLiteral(":n"), u8(k[1])}}))
            return false;
    }
    return ctx.exec(acc, QStringLiteral("INSERT INTO MOIN (KOL, CODE, NAME, MAHIAT, HVTAFSIL, KIND) VALUES "
                                        "(21007, 1, 'سپرده حسن انجام کار', 2, 1, 1), (21007, 2, 'سپرده حسن اجراي تعهدات', 2, 1, 1), "
                                        "(21007, 3, 'سپرده شرکت در مناقصه', 2, 1, 1), (11005, 1, 'بانک ملي حساب سپرده', 1, 0, 1), (81001, 1, 'هزينه پيمانکاران', 1, 1, 1), "
                                        "(110, 5001, 'بانک حساب دريافت سپرده', 1, 0, 1), (115, 12, 'خزانه معين', 1, 0, 1), (210, 7, 'سپرده هاي دريافتي', 2, 1, 1)"))
        && ctx.exec(acc, QStringLiteral("INSERT INTO accaccount (CODE, NAME, PARENT, PATTERN, KIND) VALUES ('21006', 'سپرده هاي دريافتي', '21', 1, 1), ('11005', 'موجودي نزد بانک', '11', 1, 1), ('81001', 'هزينه هاي عمراني', '81', 1, 1)"));
}

// The year's vouchers, from the deposits of the walk that were paid in that year; d
// is left at the first deposit of a later year.
bool addVouchersOfYear(DemoContext& ctx, QSqlDatabase acc, int year, DepositStream& deposits, const Deposit*& d)
{
    db::BulkInserter head(acc, QStringLiteral("SNDHEAD"), columns({"SNDNO", "SNDDATE", "DESCR", "KIND", "STATE", "USERID"}));
    db::BulkInserter row(acc, QStringLiteral("SNDROW"),
                         columns({"SNDNO", "ROW", "KOL", "MOIN", "TAFSIL", "TAFSIL2", "PROJEH", "TARHNO", "DESCR", "BED", "BES", "REFNO", "CHKNO",
                                  "CHKDAT", "TAMINKIND", "ACCOUNT"}));
    int lastVoucher = 0;
    for (; d && d->my <= year; d = deposits.next()) {
        if (!d->sndno || d->sndyear != year)
            continue;
        if (d->sndno != lastVoucher) {
            lastVoucher = d->sndno;
            head.add(d->sndno).add(ctx.cal.text(d->day)).add("پرداخت صورت وضعيت پيمانکاران").add(1).add(2).add(4);
            if (!ctx.insert(head))
                return false;
        }
        const qint64 gross = d->amount * 10;
        // Texts of millions of rows go to the inserter as they are, without a QString between.
        const QByteArray descr = QByteArray("صورت وضعيت قرارداد ") + QByteArray::number(d->contract);
        const QByteArray retention = QByteArray("کسر سپرده حسن انجام کار ") + descr;
        const struct { int kol; int moin; qint64 bed; qint64 bes; const char* account; } lines[] = {
            {81001, 1, gross, 0, "81001"}, {11005, 1, 0, gross - d->amount, "11005"}, {21007, d->kind == 2 ? 2 : 1, 0, d->amount, "21006"}};
        for (int k = 0; k < 3; ++k) {
            row.add(d->sndno).add(d->sndrow - 2 + k).add(lines[k].kol).add(lines[k].moin).add(d->owner).add(d->contract).add(d->project).add(d->plan)
                .add(k == 2 ? retention.constData() : descr.constData()).add(lines[k].bed).add(lines[k].bes).add(QStringLiteral("2"))
                .add(d->chkno).add(ctx.cal.text(d->day)).add(d->taminKind).add(lines[k].account);
            if (!ctx.insert(row))
                return false;
        }
    }
    ctx.summary.voucherRows += row.rows();
    return addChartOfAccounts(ctx, acc);
}

} // namespace

bool addAccountingDatabases(DemoContext& ctx, startup::CollectingPrompt& quiet)
{
    for (int y : ctx.years) {
        if (!startup::createAccountingDatabase(*ctx.session, y, QStringLiteral("0"), quiet))
            return ctx.fail(quiet.infos.join(QLatin1Char('\n')));
    }
    return true;
}

void planVouchers(DemoContext& ctx)
{
    ctx.rounds.vouchers = ctx.rng;
    ctx.rng = DepositStream::walkedThrough(ctx, DepositStream::Vouchers);
}

bool addVouchers(DemoContext& ctx)
{
    // One walk serves every year: the deposits come in date order, a year's together.
    DepositStream deposits(ctx, DepositStream::Vouchers);
    const Deposit* d = deposits.next();
    for (int year : ctx.years) {
        QSqlDatabase acc = ctx.session->server()->database(startup::Session::accountingDbNameFor(DemoInstallationNumber, QStringLiteral("0"), year));
        if (!ctx.inTransaction(acc, [&] { return addVouchersOfYear(ctx, acc, year, deposits, d); }))
            return false;
    }
    return true;
}

} // namespace orvak::demo
