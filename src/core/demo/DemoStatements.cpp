// Bank statements: the last two months of the receiving account's statement, with the
// matched deposits and a few lines nobody has explained yet.
#include "core/db/BulkInserter.h"
#include "core/demo/DemoSteps.h"
#include "core/demo/DepositStream.h"

namespace orvak::demo {

namespace {

bool writeStatement(DemoContext& ctx, QSqlDatabase db)
{
    db::BulkInserter s(db, QStringLiteral("SURATHESAB"),
                       columns({"ROW", "HESABNO", "CHKDATE", "DESCR", "FLAG", "BANK", "SHOBEH", "ZARIB", "SHENASEH", "CHKTIME", "TRANSACTIONNO",
                                "AMOUNTBANK", "AMOUNT", "CHKNO"}));
    qint64 balance = 12500000000LL;
    int row = 0;
    // The statement prints two-digit years; the balance runs on line by line.
    auto line = [&](int day, const QString& descr, int branch, const QString& payer, const QString& time, int transaction, qint64 amount, qint64 chkno) {
        balance += amount;
        s.add(++row).add(1).add(ctx.cal.text(day).mid(2, 8)).add(descr).add(1).add(u8("ملي")).add(branch).add(1).add(payer).add(time)
            .add(QString::number(transaction)).add(double(balance)).add(double(amount)).add(chkno);
        return ctx.insert(s);
    };
    DepositStream deposits(ctx, DepositStream::Basics | DepositStream::Stages);
    while (const Deposit* d = deposits.next()) {
        if (ctx.todayIndex - d->day > 60 || d->tiksudmo.isEmpty() || d->tiksudmo == QLatin1String("O"))
            continue;
        const QString time = QStringLiteral("%1:%2").arg(8 + d->idx % 8, 2, 10, QLatin1Char('0')).arg(d->idx % 60, 2, 10, QLatin1Char('0'));
        if (!line(d->day, u8("واريز نقدي - سپرده"), 1007 + d->owner % 30, QString::number(d->owner), time, 55000000 + d->idx, d->amount, d->chkno))
            return false;
    }
    for (int k = 0; k < 12; ++k) {
        // Drawn one by one: the order is part of what the seed gives.
        const qint64 amount = ctx.rng.amount(1e6, 5e8);
        const int day = ctx.todayIndex - ctx.rng.between(1, 50);
        const int payer = ctx.rng.between(100000, 999999);
        const qint64 chkno = ctx.rng.between64(100000, 9999999);
        if (!line(day, u8("واريز شناسه دار نامشخص"), 0, QString::number(payer), QStringLiteral("10:15"), 66000000 + k, amount, chkno))
            return false;
    }
    return true;
}

} // namespace

bool addStatements(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->deposits();
    return ctx.inTransaction(db, [&] { return writeStatement(ctx, db); });
}

} // namespace orvak::demo
