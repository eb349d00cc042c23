// The guarantees register: guarantees of every type and status, the last operation
// on each with the bank's answer where one has come, and the register's own lists.
#include "core/db/BulkInserter.h"
#include "core/demo/DemoSteps.h"
#include "core/guarantees/GuaranteeCodes.h"

#include <utility>

namespace orvak::demo {

namespace {

// The operation that led to each status, and whether the bank has answered.
std::pair<int, int> operationOf(int status)
{
    switch (status) {
    case 1: return {1, 1};
    case 2: return {2, 1};
    case 3: return {3, 1};
    case 4: return {4, 1};
    case 5: return {5, 1};
    case 8: return {8, 1};
    case 9: return {8, 2};
    case 10: return {1, 2};
    case 11: return {2, 2};
    case 12: return {3, 2};
    case 13: return {5, 2};
    case 14: return {4, 2};
    default: return {0, 0};
    }
}

bool writeGuarantees(DemoContext& ctx, QSqlDatabase db)
{
    db::BulkInserter z(db, QStringLiteral("ZEMANAT"),
                       columns({"IDX", "ZNO", "SUDDATE", "EBTALDATE", "AMOUNT", "SARRESID", "TAFSILNO", "PAYMENT", "SUDBANKCODE", "ZSTATUSE", "ZKIND",
                                "ZTYPE", "ZPOS", "ZCOUNT", "DESCR", "LETTERNO", "LETTERDATE", "SARRESID1", "AMOUNT1", "ZEMPLACE", "PROJNO", "TARHNO",
                                "VAHEDEPOOL", "AMOUNTARZI", "SEPAMNO"}));
    db::BulkInserter h(db, QStringLiteral("ZHIST"),
                       columns({"ZIDX", "ROW", "KIND", "LETTERDATE", "LETTERNO", "AMOUNT", "SARRESID", "ANS", "ANSLETTERNO", "ANSLETTERDATE", "DATE",
                                "LTRCODE", "LTRSABTDATE", "OLD_SARRESID", "OLD_AMOUNT", "OLD_STATUSE", "OLD_ZNO", "AMOUNT_OK", "SARRESID_OK",
                                "LTRCONTENT"}));
    const int count = std::min(400 * ctx.options.scale, 40000);
    const int templateOf[] = {1, 2, 3, 7, 6, 4, 1, 1, 5};
    for (int i = 1; i <= count; ++i) {
        // The first rows show every status and every type once; the rest look like an office.
        int status = i <= 25 ? i - 1 : 0;
        if (i > 25) {
            const double r = ctx.rng.unit();
            status = r < 0.45 ? 0 : r < 0.60 ? 1 : r < 0.68 ? 2 : r < 0.82 ? 3 : r < 0.84 ? 4 : r < 0.86 ? 5 : r < 0.88 ? 7 : r < 0.92 ? 10
                : r < 0.94 ? 11 : r < 0.96 ? 12 : r < 0.98 ? 8 : 9;
        }
        const int type = i <= 22 ? i - 1 : (ctx.rng.chance(0.8) ? 0 : ctx.rng.between(1, 21));
        const int kind = ctx.rng.chance(0.4) ? 1 : ctx.rng.between(0, 10);
        const Contract& c = ctx.contracts[ctx.rng.between(0, int(ctx.contracts.size()) - 1)];
        const int issued = ctx.workingDay(std::max(0, ctx.windowStart - 120), ctx.todayIndex - 10);
        // Some fall due in the coming weeks, some have passed, most lie further ahead.
        const double due = ctx.rng.unit();
        const int firstDue = due < 0.15 ? ctx.todayIndex + ctx.rng.between(1, 40) : due < 0.25 ? ctx.todayIndex - ctx.rng.between(1, 60)
                                                                                             : std::max(issued + 90, ctx.todayIndex + ctx.rng.between(41, 190));
        qint64 amount = ctx.rng.amount(5e7, 5e10);
        // An advance-payment guarantee is a share of its contract, in whole thousands.
        if (kind == guarantees::KindAdvancePayment && c.amount > 0)
            amount = guarantees::advanceValue(c.amount, guarantees::advanceRates()[i % 3].perThousand);
        const qint64 firstAmount = amount;
        int dueNow = firstDue;
        const auto [op, ans] = operationOf(status);
        if (op == 1 || op == 5)
            dueNow = ans == 1 ? firstDue + 180 : firstDue;
        if ((op == 2 || op == 5) && ans == 1)
            amount = (amount / 2000) * 1000;
        const bool requested = status == 7;
        // Only the types a bank branch issues name one (the register clears it for the others).
        const int drawn = ctx.rng.between(1, 30);
        const int bank = guarantees::typeHasBranch(type) ? drawn : -1;
        // A guarantee lasts at least a month past its issue.
        const QString dueText = ctx.cal.text(std::max(dueNow, issued + 30));
        const QString firstDueText = ctx.cal.text(std::max(firstDue, issued + 30));
        const QString number = QStringLiteral("%1-%2").arg(drawn).arg(300000 + i);
        // Numbered as the guarantee letters' settings number them (prefix, counter, suffix).
        const QString letter = QStringLiteral("ت/%1/ذ").arg(GuaranteeLettersStart + i);
        z.add(i).add(requested ? QString() : number).add(ctx.cal.text(issued))
            .add(status == 3 ? ctx.cal.text(std::min(ctx.todayIndex, issued + 100)) : QString()).add(double(amount)).add(dueText)
            .add(c.owner).add(c.code).add(bank).add(status).add(kind).add(type).add(i).add(ctx.rng.between(0, 3))
            .add(u8("تضمين ") + guarantees::kindLabel(kind) + u8(" قرارداد ") + c.number)
            .add(op ? letter : QString()).add(op ? ctx.cal.text(ctx.todayIndex - ctx.rng.between(1, 30)) : QString())
            .add(firstDueText).add(double(firstAmount)).add(QStringLiteral("K-%1").arg(i % 40 + 1))
            .add(c.project).add(c.plan).add(type == 2 ? 1 : 0).add(type == 2 ? double(amount) / 500000.0 : 0.0)
            .add(QStringLiteral("SPM%1").arg(880000 + i));
        if (!ctx.insert(z))
            return false;
        if (!op)
            continue;
        const int letterDay = ctx.todayIndex - ctx.rng.between(2, 40);
        // A pending extension asks for six months more than the guarantee now runs.
        const QString asked = (op == 1 || op == 5) && ans == 2 ? ctx.cal.text(std::max(dueNow, issued + 30) + 180) : dueText;
        h.add(i).add(1).add(op).add(ctx.cal.text(letterDay)).add(letter).add(double(amount)).add(asked)
            .add(ans).add(ans == 1 ? ctx.letterNo("ب", 9000 + i) : QString()).add(ans == 1 ? ctx.cal.text(letterDay + 7) : QString()).add(ctx.cal.text(letterDay))
            .add(templateOf[std::min(op, 8)]).add(ctx.cal.text(letterDay)).add(firstDueText).add(double(firstAmount))
            .add(0).add(number).add(ans == 1 ? double(amount) : 0.0)
            .add(ans == 1 ? dueText : QString())
            .add(u8("<html><body dir=\"rtl\"><p>بانک محترم</p><p>موضوع: ") + guarantees::statusLabel(op).trimmed() + u8(" ضمانتنامه شماره ") + number
                 + u8("</p><p>نامه شماره ") + letter + u8("</p></body></html>"));
        if (!ctx.insert(h))
            return false;
    }
    ctx.summary.guarantees = z.rows();
    return ctx.exec(db, QStringLiteral("INSERT INTO ZEMDESCR (CODE, NAME) VALUES (1, 'صورت وضعيت شماره'), (2, 'پنجاه درصد اول'), (3, 'پنجاه درصد دوم'), (4, 'تعديل'), (5, 'مابه التفاوت')"))
        && ctx.exec(db, QStringLiteral("INSERT INTO BAYGANI (ID, NAME) VALUES (1, 'کلاسور ضمانتنامه هاي بانکي'), (2, 'کلاسور اسناد ملکي'), (3, 'کلاسور سفته ها')"));
}

} // namespace

bool addGuarantees(DemoContext& ctx)
{
    QSqlDatabase db = ctx.session->deposits();
    return ctx.inTransaction(db, [&] { return writeGuarantees(ctx, db); });
}

} // namespace orvak::demo
