// deposits list: the received deposits of a month (or a range of months) as the
// list screen shows them, then its totals with their counts.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/deposits/DepositList.h"
#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"

namespace orvak::cli {

namespace {

int printDeposits(const Options& o, Context& ctx)
{
    deposits::DepositFilter filter;
    filter.year = int(o.number(QStringLiteral("year"), 0));
    filter.month = int(o.number(QStringLiteral("month"), 1));
    const bool range = o.has(QStringLiteral("to-year")) || o.has(QStringLiteral("to-month"));
    if (range) {
        filter.mode = deposits::PeriodMode::Range;
        filter.toYear = int(o.number(QStringLiteral("to-year"), filter.year));
        filter.toMonth = int(o.number(QStringLiteral("to-month"), filter.month));
        if (filter.toYear * 100 + filter.toMonth < filter.year * 100 + filter.month)
            return ctx.usage(QStringLiteral("orvakctl deposits list: پايان محدوده پيش از آغاز آن است"));
    }
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        io::BoundList bound(session, deposits::receivedDepositsList(filter));
        io::RowSet rows;
        QString why;
        if (!bound.fetchAll(rows, {}, &why))
            return ctx.fail(QStringLiteral("اشکال در خواندن سپرده ها: ") + why.simplified());
        const auto totals = deposits::depositTotals(session, filter);
        if (!totals)
            return ctx.fail(QStringLiteral("اشکال در خواندن جمع سپرده ها: ") + totals.error().simplified());
        // The totals below say what the summed columns would.
        QList<io::ListColumn> columns = bound.columns();
        for (io::ListColumn& c : columns)
            c.total = false;
        io::writeTsv(ctx.out, columns, rows);
        const QList<deposits::TotalLine> lines = totals->lines();
        const QStringList labels = deposits::totalLabels();
        ctx.out << '\n';
        for (int i = 0; i < lines.size(); ++i)
            ctx.out << labels[i] << '\t' << lines[i].sum << '\t' << lines[i].count << '\n';
        ctx.out.flush();
        return ExitOk;
    });
}

} // namespace

void addDepositCommands(QList<Command>& commands)
{
    commands << Command{QStringLiteral("deposits list"), QString(),
                        QStringLiteral("the received deposits of a month (or of a range up to --to-year/--to-month) as TSV, then the "
                                       "list's totals with their counts"),
                        0, 0, printDeposits,
                        {OptionRule::year(QStringLiteral("year")).needed(),
                         OptionRule::number(QStringLiteral("month"), QStringLiteral("M"), 1, 18).needed(),
                         OptionRule::year(QStringLiteral("to-year")),
                         OptionRule::number(QStringLiteral("to-month"), QStringLiteral("M"), 1, 18),
                         OptionRule::section(QStringLiteral("section"))}};
}

} // namespace orvak::cli
