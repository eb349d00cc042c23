// deposits list: the received deposits of a month (or a range of months) as the
// list screen shows them, then its totals with their counts.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/deposits/DepositList.h"
#include "core/io/TsvStream.h"

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
        // The totals are read first: a damaged amount stops the command before a row is written.
        const auto totals = deposits::depositTotals(session, filter);
        if (!totals)
            return ctx.fail(QStringLiteral("اشکال در خواندن جمع سپرده ها: ") + totals.error().simplified());
        // The totals below say what the summed columns would.
        io::ListDefinition list = deposits::receivedDepositsList(filter);
        for (io::ListField& f : list.columns)
            f.total = false;
        if (const int rc = printStreamedList(ctx, session, list, {}, QStringLiteral("سپرده ها"), false); rc != ExitOk)
            return rc;
        const QList<deposits::TotalLine> lines = totals->lines();
        const QStringList labels = deposits::totalLabels();
        io::TsvWriter out(ctx.out);
        out.endLine();
        for (int i = 0; i < lines.size(); ++i) {
            out.cell(labels[i]).cell(lines[i].sum).cell(qint64(lines[i].count));
            out.endLine();
        }
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
