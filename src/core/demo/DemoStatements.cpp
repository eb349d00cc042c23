// Bank statements: the last two months of the receiving account's statement, in date
// order with its running balance: a line for every deposit of those months that
// reached the bank (cash and slips at the branches, remittances, card payments with
// their settlement lines), the month's bank charges, a correction, the transfer to the
// treasury, and a few credits nobody has explained yet. The deposits already marked
// were matched by earlier runs, which are recorded with the lines they took; the open
// ones and the unexplained credits are what the next matching of each month finds.
// A copy of the current month's lines is left as a file of the Sepehr layout to read.
#include "core/db/BulkInserter.h"
#include "core/demo/DemoSteps.h"
#include "core/demo/DepositStream.h"
#include "core/statements/StatementDates.h"
#include "core/util/AtomicFile.h"

#include <QDir>

namespace orvak::demo {

namespace {

constexpr int ReceivingAccount = 1;

struct Line {
    int day = 0;
    QString time;
    QString descr;
    bool credit = true;
    int zarib = 1;
    qint64 branch = 0;
    QString payer;
    qint64 transaction = 0;
    qint64 amount = 0;
    qint64 chkno = 0;
    int deposit = 0;        // the deposit it paid in
    QString mark;           // that deposit's mark
    bool card = false;
};

QString timeOf(int minutes) { return QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0')); }

bool writeStatement(DemoContext& ctx, QSqlDatabase db)
{
    const util::JalaliDate today = ctx.cal.jalali[ctx.todayIndex];
    const int prevYear = today.month == 1 ? today.year - 1 : today.year;
    const int prevMonth = today.month == 1 ? 12 : today.month - 1;
    const QString first = statements::monthStart(prevYear, prevMonth);
    int firstDay = ctx.todayIndex;
    while (firstDay > 0 && ctx.cal.text(firstDay - 1) >= first)
        --firstDay;

    // Its own generator: the steps after this one draw what they always drew.
    Rng rng(ctx.options.seed * 7919 + 25);
    QList<Line> lines;
    DepositStream deposits(ctx, DepositStream::Basics | DepositStream::Stages);
    while (const Deposit* d = deposits.next()) {
        if (d->day < firstDay || d->day > ctx.todayIndex || d->tiksudmo == QLatin1String("O"))
            continue;
        Line l;
        l.day = d->day;
        l.time = timeOf(8 * 60 + (d->idx * 37) % (7 * 60));
        l.amount = d->amount;
        l.chkno = d->chkno;
        l.payer = QString::number(d->owner);
        l.transaction = 55000000 + d->idx;
        l.deposit = d->idx;
        l.mark = d->tiksudmo;
        const double r = rng.unit();
        if (d->kind == 20 || (d->tender() && r < 0.5)) {
            l.card = true;
            l.descr = u8("پرداخت کارتي پايانه فروش ") + QString::number(70000 + d->owner % 40) + QLatin1Char(' ') + u8("*شاپرک*");
        } else if (r < 0.25) {
            l.descr = u8("حواله ساتنا - سپرده");
        } else {
            l.branch = 1000 + (1 + d->owner % 30) * 7;
            l.descr = r < 0.6 ? u8("واريز نقدي - سپرده") : u8("واريز با فيش - سپرده");
        }
        lines << l;
    }
    for (int k = 0; k < 12; ++k) {
        // Drawn one by one from the builder's generator: the order is part of what the seed gives.
        const qint64 amount = ctx.rng.amount(1e6, 5e8);
        const int day = ctx.todayIndex - ctx.rng.between(1, 50);
        const int payer = ctx.rng.between(100000, 999999);
        const qint64 chkno = ctx.rng.between64(100000, 9999999);
        if (day < firstDay)
            continue;
        Line l;
        l.day = day;
        l.time = QStringLiteral("10:15");
        l.descr = u8("واريز شناسه دار نامشخص");
        l.branch = 1000 + (1 + payer % 30) * 7;
        l.payer = QString::number(payer);
        l.transaction = 66000000 + k;
        l.amount = amount;
        l.chkno = chkno;
        lines << l;
    }
    // The month's bank charges, a correction of a charge taken twice, and the transfer
    // of last month's deposits to the treasury.
    qint64 previousCredits = 0;
    for (const Line& l : lines) {
        if (ctx.cal.text(l.day) < statements::monthStart(today.year, today.month))
            previousCredits += l.amount;
    }
    auto debit = [&](int day, const QString& time, const QString& descr, int zarib, qint64 amount) {
        Line l;
        l.day = day;
        l.time = time;
        l.descr = descr;
        l.credit = false;
        l.zarib = zarib;
        l.amount = amount;
        l.transaction = 77000000 + int(lines.size());
        lines << l;
    };
    for (int day = firstDay; day <= ctx.todayIndex; ++day) {
        if (ctx.cal.jalali[day].day == 1) {
            debit(day, QStringLiteral("07:30"), u8("کارمزد خدمات بانکي"), 0, 250000);
            debit(day, QStringLiteral("07:31"), u8("اصلاح کارمزد - برداشت تکراري"), -1, 250000);
        }
    }
    const int transferDay = std::min(ctx.todayIndex, firstDay + 35);
    if (previousCredits > 0)
        debit(transferDay, QStringLiteral("13:00"), u8("انتقال به حساب تمرکز وجوه سپرده خزانه"), 0, previousCredits / 1000 * 900);
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.day != b.day ? a.day < b.day : a.time < b.time; });

    db::BulkInserter s(db, QStringLiteral("SURATHESAB"),
                       columns({"ROW", "HESABNO", "CHKDATE", "DESCR", "FLAG", "BANK", "SHOBEH", "SARPARASTI", "OSTAN", "ZARIB", "SHENASEH", "CHKTIME",
                                "TRANSACTIONNO", "TRANSACTIONDATE", "TRANSACTIONKIND", "AMOUNTBANK", "AMOUNT", "CHKNO"}));
    db::BulkInserter card(db, QStringLiteral("SURATHESABSHAPARAK"),
                          columns({"ROW", "HESABNO", "PAYANENO", "HESABPAZIRANDENO", "DATETRAKONESH", "TIMETRAKONESH", "KARTNO", "AMOUNT", "PAYGIRINO",
                                   "ERJANO", "KINDTRAKONESH", "DATEVARIZPAZIRANDE", "SIKLVARIZINO", "PAYGIRIVARIZINO", "USERCODE", "SHOBEH",
                                   "DESCRTRAKONESH"}));
    db::BulkInserter link(db, QStringLiteral("SUDMOROW"),
                          columns({"HEADIDX", "LINE", "HESABNO", "ROW", "CHKDATE", "CHKTIME", "AMOUNT", "CHKNO", "TRANSACTIONNO", "SEPIDX", "OLDTIKSUDMO",
                                   "ADDED"}));
    // The runs before today: each month's half-confirmed deposits, then its confirmed
    // ones (the last run, which can be undone as it is).
    const int runOf[2][2] = {{1, 2}, {3, 4}};
    int links[5] = {0, 0, 0, 0, 0};
    qint64 balance = 12500000000LL;
    QStringList file;   // the current month in the Sepehr layout
    file << u8("صورتحساب سپهر") << u8("شماره حساب: 4001114004012345") << QString() << QString()
         << u8("تاريخ,ساعت,شرح,کد شعبه,فيش/حواله,برداشت,واريز,مانده,اطلاعات اضافي");
    const QString thisMonth = statements::monthStart(today.year, today.month);
    int row = 0, cardRow = 0;
    for (const Line& l : lines) {
        balance += l.credit ? l.amount : -l.amount;
        const QString full = ctx.cal.text(l.day);
        const QString stored = statements::storedDate(full).value_or(full.mid(2));
        s.add(++row).add(ReceivingAccount).add(stored).add(l.descr).add(l.credit ? 1 : 0).add(u8("ملي")).add(l.branch)
            .add(l.branch ? 100 : 0).add(l.branch ? 1 : 0).add(l.zarib).add(l.payer).add(l.time).add(QString::number(l.transaction)).add(full)
            .add(l.card ? 3 : 1).add(double(balance)).add(double(l.amount)).add(l.chkno);
        if (!ctx.insert(s))
            return false;
        if (l.card) {
            card.add(++cardRow).add(ReceivingAccount).add(QString::number(70000 + l.deposit % 40)).add(u8("4001114004012345")).add(full).add(l.time)
                .add(QStringLiteral("6037-99**-****-%1").arg(1000 + l.deposit % 9000)).add(double(l.amount)).add(QString::number(l.transaction))
                .add(QString::number(880000 + l.deposit)).add(u8("خريد")).add(full).add(QStringLiteral("1")).add(QString::number(l.chkno)).add(0)
                .add(0).add(u8("پرداخت اسناد مناقصه"));
            if (!ctx.insert(card))
                return false;
        }
        if (l.deposit && (l.mark == QLatin1String("P") || l.mark == QLatin1String("R"))) {
            const int run = runOf[full < thisMonth ? 0 : 1][l.mark == QLatin1String("P") ? 1 : 0];
            link.add(run).add(++links[run]).add(ReceivingAccount).add(row).add(stored).add(l.time).add(double(l.amount)).add(l.chkno)
                .add(QString::number(l.transaction)).add(l.deposit).addNull().add(0);
            if (!ctx.insert(link))
                return false;
        }
        if (full >= thisMonth) {
            file << QStringList{full, l.time, l.descr, QString::number(l.branch), QString::number(l.chkno), l.credit ? QStringLiteral("0") : QString::number(l.amount),
                                l.credit ? QString::number(l.amount) : QStringLiteral("0"), QString::number(balance), l.payer}
                        .join(QLatin1Char(','));
        }
    }
    db::BulkInserter head(db, QStringLiteral("SUDMOHEAD"), columns({"IDX", "HESABCODE", "Y", "M", "MANDEHBANK", "MANDEHDAFTAR", "DESCR"}));
    for (int run = 1; run <= 4; ++run) {
        const bool previous = run <= 2;
        head.add(run).add(ReceivingAccount).add(previous ? prevYear : today.year).add(previous ? prevMonth : today.month).add(0.0).add(0.0)
            .add(run % 2 ? u8("تطابق با صورتحساب بانک - سپرده هاي نيمه تائيد") : u8("تطابق با صورتحساب بانک - سپرده هاي تائيد شده"));
        if (!ctx.insert(head))
            return false;
    }
    const QString folder = QDir(ctx.options.folder).filePath(QStringLiteral("statements"));
    QDir().mkpath(folder);
    return util::writeFileAtomically(QDir(folder).filePath(QStringLiteral("sepehr-%1-%2.csv").arg(today.year).arg(today.month, 2, 10, QLatin1Char('0'))),
                                     (file.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8())
        || ctx.fail(u8("فايل نمونه صورتحساب نوشته نشد"));
}

} // namespace

bool addStatements(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->deposits();
    return ctx.inTransaction(db, [&] { return writeStatement(ctx, db); });
}

} // namespace orvak::demo
