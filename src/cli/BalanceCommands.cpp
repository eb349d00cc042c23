// balances: the owners' balances as TSV (today's or as of a date); report NAME
// --pdf FILE: any summary report of the received deposits printed without the
// screen, with the signatories of its kind.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/deposits/DepositKinds.h"
#include "core/deposits/DepositSummaries.h"
#include "core/io/TsvStream.h"
#include "core/util/AtomicFile.h"

#include <QDir>

namespace orvak::cli {

namespace {

int printBalances(const Options& o, Context& ctx)
{
    const int owner = int(o.number(QStringLiteral("owner"), -1));
    const QString asOf = o.value(QStringLiteral("as-of"));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        const auto rows = deposits::ownerBalances(session, owner, asOf);
        if (!rows)
            return ctx.fail(QStringLiteral("اشکال در خواندن مانده سپرده ها: ") + rows.error().simplified());
        io::TsvWriter out(ctx.out);
        out.cell(QStringLiteral("كد صاحب سپرده")).cell(QStringLiteral("صاحب سپرده")).cell(QStringLiteral("تعداد"))
            .cell(QStringLiteral("مبلغ سپرده")).cell(QStringLiteral("مبلغ استرداد شده")).cell(QStringLiteral("مانده"));
        out.endLine();
        for (const deposits::OwnerBalance& b : *rows) {
            out.cell(qint64(b.owner)).cell(b.name).cell(qint64(b.deposits)).cell(b.amount).cell(b.refunded).cell(b.balance);
            out.endLine();
        }
        return ExitOk;
    });
}

QString reportNames()
{
    QStringList names;
    for (const deposits::SummaryInfo& s : deposits::summaries())
        names << s.name;
    return names.join(QStringLiteral(", "));
}

int printReport(const Options& o, Context& ctx)
{
    const auto info = deposits::summaryNamed(o.positional.value(0));
    if (!info)
        return ctx.usage(QStringLiteral("orvakctl report: گزارش ناشناخته؛ گزارش ها: ") + reportNames());
    deposits::SummaryRequest r;
    deposits::DepositFilter& f = r.filter;
    const bool hasYear = o.has(QStringLiteral("year")), hasMonth = o.has(QStringLiteral("month"));
    if (hasMonth && !hasYear)
        return ctx.usage(QStringLiteral("orvakctl report: --month بدون --year"));
    f.year = int(o.number(QStringLiteral("year"), 0));
    f.month = int(o.number(QStringLiteral("month"), 1));
    if (o.has(QStringLiteral("to-year"))) {
        if (!hasYear)
            return ctx.usage(QStringLiteral("orvakctl report: --to-year بدون --year"));
        f.mode = deposits::PeriodMode::Range;
        if (!hasMonth)
            f.month = 1;
        f.toYear = int(o.number(QStringLiteral("to-year"), f.year));
        f.toMonth = int(o.number(QStringLiteral("to-month"), deposits::MonthCount));
        if (f.toYear * 100 + f.toMonth < f.year * 100 + f.month)
            return ctx.usage(QStringLiteral("orvakctl report: پايان محدوده پيش از آغاز آن است"));
    } else if (o.has(QStringLiteral("cumulative"))) {
        if (!hasYear)
            return ctx.usage(QStringLiteral("orvakctl report: --cumulative بدون --year"));
        f.mode = deposits::PeriodMode::Cumulative;
        if (!hasMonth)
            f.month = deposits::MonthCount;
    } else if (hasYear && hasMonth) {
        f.mode = deposits::PeriodMode::OneMonth;
    } else {
        // A year alone is its eighteen months; nothing at all, every deposit.
        f.mode = deposits::PeriodMode::Range;
        f.year = hasYear ? f.year : 0;
        f.month = 1;
        f.toYear = hasYear ? f.year : 9999;
        f.toMonth = deposits::MonthCount;
    }
    if (o.has(QStringLiteral("owner")))
        f.owner = r.owner = int(o.number(QStringLiteral("owner"), -1));
    f.contract = int(o.number(QStringLiteral("contract"), -1));
    r.deposit = int(o.number(QStringLiteral("deposit"), 0));
    r.model = int(o.number(QStringLiteral("model"), 0));
    if (info->id == deposits::Summary::DepositRequests && r.deposit <= 0)
        return ctx.usage(QStringLiteral("orvakctl report deposit-requests: --deposit N لازم است"));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    const QString path = QDir(ctx.startDir).absoluteFilePath(o.value(QStringLiteral("pdf")));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (const QString refused = util::outputRefusal(path, "%PDF-"); !refused.isEmpty())
            return ctx.fail(refused);
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        const auto report = deposits::summaryReport(session, info->id, r);
        if (!report)
            return ctx.fail(QStringLiteral("اشکال در تهيه گزارش: ") + report.error().simplified());
        QString why;
        if (!io::writeReportPdf(*report, path, &why))
            return ctx.fail(why);
        ctx.out << QDir::toNativeSeparators(path) << Qt::endl;
        return ExitOk;
    });
}

} // namespace

void addBalanceCommands(QList<Command>& commands)
{
    const OptionRule section = OptionRule::section(QStringLiteral("section"));
    const OptionRule code = OptionRule::number(QStringLiteral("owner"), QStringLiteral("CODE"), 0, 2147483647);
    commands << Command{QStringLiteral("balances"), QString(),
                        QStringLiteral("the owners' balances as TSV: code, name, deposits, received, refunded, balance; "
                                       "--as-of: deposits paid in by then less the refunds dated by then"),
                        0, 0, printBalances,
                        {code, OptionRule::date(QStringLiteral("as-of")), section}}
             << Command{QStringLiteral("report"), QStringLiteral("<NAME>"),
                        QStringLiteral("a summary report of the received deposits to PDF with its signatories; NAME is one of ") + reportNames()
                            + QStringLiteral(". Period: --year (its months), --year --month (one month), --cumulative (every month up to "
                                             "--month), --to-year/--to-month (a range); none: every deposit. --owner and --contract narrow it, "
                                             "--deposit names the deposit of deposit-requests, --model 0-5 the detailed list's model"),
                        1, 1, printReport,
                        {OptionRule::path(QStringLiteral("pdf"), QStringLiteral("FILE")).needed(), OptionRule::year(QStringLiteral("year")),
                         OptionRule::number(QStringLiteral("month"), QStringLiteral("M"), 1, 18), OptionRule::year(QStringLiteral("to-year")),
                         OptionRule::number(QStringLiteral("to-month"), QStringLiteral("M"), 1, 18), OptionRule::flag(QStringLiteral("cumulative")),
                         code, OptionRule::number(QStringLiteral("contract"), QStringLiteral("CODE"), 0, 2147483647),
                         OptionRule::number(QStringLiteral("deposit"), QStringLiteral("N"), 1, 2147483647),
                         OptionRule::number(QStringLiteral("model"), QStringLiteral("N"), 0, 5), section}};
}

} // namespace orvak::cli
