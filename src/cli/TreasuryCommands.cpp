// treasury-file request|list: the fund request file and the received-deposits list
// file for the treasury, in a province's layout, written by the same service as the
// screens (so the same bytes); the path, the count and the total are printed.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/deposits/FundRequests.h"
#include "core/deposits/ReceivedDeposits.h"
#include "core/deposits/TreasuryFiles.h"

#include <QFileInfo>

namespace orvak::cli {

namespace {

// Where the file goes: --out, or the default name of the layout in the folder "Send".
bool target(const Options& o, Context& ctx, const QString& defaultName, QString* folder, QString* name)
{
    if (o.has(QStringLiteral("out"))) {
        const QFileInfo out(o.value(QStringLiteral("out")));
        *folder = out.absolutePath();
        *name = out.fileName();
    } else {
        *folder = deposits::defaultSendFolder(ctx.startDir);
        *name = defaultName;
    }
    if (name->isEmpty()) {
        ctx.usage(QStringLiteral("orvakctl treasury-file: the spreadsheet layout needs --out FILE (an existing workbook with a sheet table1)"));
        return false;
    }
    return true;
}

int report(Context& ctx, const deposits::WrittenFile& written)
{
    if (!written)
        return ExitFailed;
    ctx.out << written.path << '\n' << QStringLiteral("تعداد") << '\t' << written.count << '\n'
            << QStringLiteral("جمع کل") << '\t' << written.sum << '\n';
    ctx.out.flush();
    return ExitOk;
}

int requestFile(const Options& o, Context& ctx)
{
    deposits::RequestFileInput in;
    in.reqIdx = int(o.number(QStringLiteral("request"), 0));
    in.layout = int(o.number(QStringLiteral("layout"), 0));
    in.agencyCode = o.value(QStringLiteral("agency"), deposits::DefaultAgencyCode);
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withWriter(ctx, o, QStringLiteral("treasury-file request"), false, [&](startup::Session& session, TerminalPrompt& prompt, bool administrator) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        // The fund requests are refused, as on the screen, to a user who may not write.
        if (!administrator && !deposits::ReceivedDeposits(session).mayWrite(prompt))
            return ExitFailed;
        in.date = o.value(QStringLiteral("date"), session.clock().todayJalali());
        const auto header = deposits::FundRequests(session).read(in.reqIdx);
        if (!target(o, ctx, deposits::defaultRequestFileName(in.layout, in.date, header ? header->reqNo : QString()), &in.folder, &in.fileName))
            return ExitUsage;
        return report(ctx, deposits::TreasuryFiles(session).writeRequestFile(in, prompt));
    });
}

int listFile(const Options& o, Context& ctx)
{
    deposits::ListFileInput in;
    in.layout = int(o.number(QStringLiteral("layout"), 0));
    in.year = int(o.number(QStringLiteral("year"), 0));
    in.month = int(o.number(QStringLiteral("month"), 1));
    in.upToMonth = o.has(QStringLiteral("all"));
    in.letterNo = o.value(QStringLiteral("letter-no"));
    in.letterDate = o.value(QStringLiteral("letter-date"));
    in.amount = deposits::ListAmount(o.number(QStringLiteral("amount-kind"), 0));
    in.agencyCode = o.value(QStringLiteral("agency"), deposits::DefaultAgencyCode);
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withWriter(ctx, o, QStringLiteral("treasury-file list"), false, [&](startup::Session& session, TerminalPrompt& prompt, bool) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        in.fileDate = o.value(QStringLiteral("date"), session.clock().todayJalali());
        in.paidDate = o.value(QStringLiteral("paid-date"), in.fileDate);
        if (!target(o, ctx, deposits::defaultListFileName(in.layout, in.year, in.month, in.agencyCode, in.fileDate), &in.folder, &in.fileName))
            return ExitUsage;
        return report(ctx, deposits::TreasuryFiles(session).writeListFile(in, prompt));
    });
}

} // namespace

void addTreasuryCommands(QList<Command>& commands)
{
    const OptionRule section = OptionRule::section(QStringLiteral("section"));
    const OptionRule layout = OptionRule::number(QStringLiteral("layout"), QStringLiteral("L"), 1, 8).needed();
    const OptionRule out = OptionRule::path(QStringLiteral("out"), QStringLiteral("FILE"));
    const OptionRule agency = OptionRule::text(QStringLiteral("agency"), QStringLiteral("CODE"));
    QList<OptionRule> requestOptions{OptionRule::number(QStringLiteral("request"), QStringLiteral("N"), 1, 2147483647).needed(),
                                     layout, out, OptionRule::date(QStringLiteral("date")), agency, section};
    requestOptions << userOptions();
    QList<OptionRule> listOptions{OptionRule::year(QStringLiteral("year")).needed(),
                                  OptionRule::number(QStringLiteral("month"), QStringLiteral("M"), 1, 18).needed(),
                                  layout,
                                  OptionRule::flag(QStringLiteral("all")),
                                  OptionRule::text(QStringLiteral("letter-no"), QStringLiteral("X")),
                                  OptionRule::date(QStringLiteral("letter-date")),
                                  OptionRule::number(QStringLiteral("amount-kind"), QStringLiteral("K"), 0, 3),
                                  out,
                                  OptionRule::date(QStringLiteral("date")),
                                  OptionRule::date(QStringLiteral("paid-date")),
                                  agency,
                                  section};
    listOptions << userOptions();
    commands << Command{QStringLiteral("treasury-file request"), QString(),
                        QStringLiteral("writes fund request N's file for the treasury in layout L (into Send/ under its default name unless --out; "
                                       "--date is the request date, today unless given; --agency the agency code, 127661 unless given); prints "
                                       "the path, the count and the total"),
                        0, 0, requestFile, requestOptions}
             << Command{QStringLiteral("treasury-file list"), QString(),
                        QStringLiteral("writes the received-deposits list file of month M of year Y (every month up to it with --all) in layout L; "
                                       "--letter-no/--letter-date the controller's letter, --amount-kind 0-3 the kind of amount, --date the file's "
                                       "date and --paid-date the date paid to the treasury (today unless given); prints the path, count and total"),
                        0, 0, listFile, listOptions};
}

} // namespace orvak::cli
