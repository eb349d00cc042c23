// The vouchers of a year's accounting database, one line per row, as TSV.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/accounting/VoucherSearch.h"
#include "core/accounting/Vouchers.h"
#include "core/db/Db.h"
#include "core/io/TsvStream.h"

#include <cmath>

#include <limits>

namespace orvak::cli {

namespace {

int printVouchers(const Options& o, Context& ctx)
{
    const int year = int(o.number(QStringLiteral("year"), 0));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    const int from = int(o.number(QStringLiteral("from"), 1));
    const int to = int(o.number(QStringLiteral("to"), std::numeric_limits<int>::max()));
    if (from > to)
        return ctx.usage(QStringLiteral("orvakctl vouchers: --from بزرگتر از --to است"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt&) {
        // The year's database alone is needed; its absence is told once, below.
        startup::CollectingPrompt quiet;
        session.OpenAccountingYear(year, section, quiet);
        accounting::Vouchers vouchers(session);
        if (!vouchers.available())
            return ctx.fail(vouchers.missingText());
        const QVariantMap range{{QStringLiteral(":PFrom"), from}, {QStringLiteral(":PTo"), to}};
        // The rows go out as they are read; the count of vouchers comes from the heads.
        const auto count = db::scalar(session.accounting(), QStringLiteral("SELECT COUNT(*) FROM SNDHEAD WHERE SNDNO >= :PFrom AND SNDNO <= :PTo"), range);
        if (count.failed())
            return ctx.fail(QStringLiteral("اشکال در خواندن اسناد حسابداري: %1").arg(count.error().simplified()));
        io::TsvWriter out(ctx.out);
        QString why;
        const auto written = io::streamList(out, session, accounting::voucherBookList(), range, &why);
        if (!written)
            return ctx.fail(QStringLiteral("اشکال در خواندن اسناد حسابداري: %1").arg(why.simplified()));
        const qint64 debit = written->totals.value(0).second;
        const qint64 credit = written->totals.value(1).second;
        out.endLine();
        out.cell(QStringLiteral("تعداد اسناد")).cell(count.value_or(0).toLongLong()).endLine();
        out.cell(QStringLiteral("بدهكار:")).cell(debit).endLine();
        out.cell(QStringLiteral("بستانكار:")).cell(credit).endLine();
        out.cell(QStringLiteral("اختلاف:")).cell(debit - credit).endLine();
        return ExitOk;
    });
}

} // namespace

void addAccountingCommands(QList<Command>& commands)
{
    commands << Command{QStringLiteral("vouchers"), QString(),
                        QStringLiteral("the vouchers of a year's accounting database (section 0 unless given), one line per row, as TSV"), 0, 0,
                        printVouchers,
                        {OptionRule::year(QStringLiteral("year")).needed(), OptionRule::section(QStringLiteral("section")),
                         OptionRule::number(QStringLiteral("from"), QStringLiteral("N"), 1, std::numeric_limits<int>::max()),
                         OptionRule::number(QStringLiteral("to"), QStringLiteral("M"), 1, std::numeric_limits<int>::max())}};
}

} // namespace orvak::cli
