// requests list|show and refunds list|show: the fund requests and the refunds as
// their lists show them, for support staff; one request or refund with its rows and
// sums (and a refund's cheques).
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/deposits/RequestRefundLists.h"
#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"

namespace orvak::cli {

namespace {

// The rows of a list with the values given; false after telling why.
bool fetch(Context& ctx, startup::Session& session, const io::ListDefinition& list, const QVariantMap& values, io::RowSet& rows,
           QList<io::ListColumn>* columns)
{
    io::BoundList bound(session, list);
    QString why;
    if (!bound.fetchAll(rows, values, &why)) {
        ctx.fail(QStringLiteral("اشکال در خواندن ") + list.title.trimmed() + QStringLiteral(": ") + why.simplified());
        return false;
    }
    *columns = bound.columns();
    return true;
}

// A header: one row, nothing summed.
bool printHeader(Context& ctx, startup::Session& session, const io::ListDefinition& list, const QVariantMap& values, const QString& missing)
{
    io::RowSet rows;
    QList<io::ListColumn> columns;
    if (!fetch(ctx, session, list, values, rows, &columns))
        return false;
    if (rows.rowCount() == 0) {
        ctx.fail(missing);
        return false;
    }
    for (io::ListColumn& c : columns)
        c.total = false;
    io::writeTsv(ctx.out, columns, rows);
    return true;
}

// Rows with their sums, then their count.
bool printRows(Context& ctx, startup::Session& session, const io::ListDefinition& list, const QVariantMap& values)
{
    io::RowSet rows;
    QList<io::ListColumn> columns;
    if (!fetch(ctx, session, list, values, rows, &columns))
        return false;
    io::writeTsv(ctx.out, columns, rows);
    ctx.out << QStringLiteral("تعداد") << '\t' << rows.rowCount() << '\n';
    ctx.out.flush();
    return true;
}

QString sectionOf(const Options& o) { return o.value(QStringLiteral("section"), QStringLiteral("0")); }

int listRequests(const Options& o, Context& ctx)
{
    QVariantMap values;
    if (o.has(QStringLiteral("from")))
        values.insert(QStringLiteral(":From"), o.value(QStringLiteral("from")));
    if (o.has(QStringLiteral("to")))
        values.insert(QStringLiteral(":To"), o.value(QStringLiteral("to")));
    if (o.has(QStringLiteral("state")))
        values.insert(QStringLiteral(":State"), int(o.number(QStringLiteral("state"), -1)));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, sectionOf(o)))
            return ExitFailed;
        return printRows(ctx, session, deposits::fundRequestsList(), values) ? ExitOk : ExitFailed;
    });
}

int showRequest(const Options& o, Context& ctx)
{
    const int idx = o.positional.value(0).toInt();
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, sectionOf(o)))
            return ExitFailed;
        if (!printHeader(ctx, session, deposits::fundRequestList(), {{QStringLiteral(":Req"), idx}},
                         QStringLiteral("درخواست وجه با کد %1 يافت نشد").arg(idx)))
            return ExitFailed;
        ctx.out << '\n';
        return printRows(ctx, session, deposits::fundRequestRowsList(true), {{QStringLiteral(":Req"), idx}}) ? ExitOk : ExitFailed;
    });
}

int listRefunds(const Options& o, Context& ctx)
{
    QVariantMap values;
    if (o.has(QStringLiteral("owner")))
        values.insert(QStringLiteral(":Owner"), int(o.number(QStringLiteral("owner"), -1)));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, sectionOf(o)))
            return ExitFailed;
        return printRows(ctx, session, deposits::refundsList(), values) ? ExitOk : ExitFailed;
    });
}

int showRefund(const Options& o, Context& ctx)
{
    const int idx = o.positional.value(0).toInt();
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, sectionOf(o)))
            return ExitFailed;
        const QVariantMap rad{{QStringLiteral(":Rad"), idx}};
        if (!printHeader(ctx, session, deposits::refundList(), rad, QStringLiteral("استرداد با رديف %1 يافت نشد").arg(idx)))
            return ExitFailed;
        ctx.out << '\n';
        if (!printRows(ctx, session, deposits::refundRowsList(), rad))
            return ExitFailed;
        ctx.out << '\n';
        return printRows(ctx, session, deposits::refundChequeRowsList(), rad) ? ExitOk : ExitFailed;
    });
}

} // namespace

void addRequestCommands(QList<Command>& commands)
{
    const OptionRule section = OptionRule::section(QStringLiteral("section"));
    const OptionRule number = OptionRule::number(QStringLiteral("N"), QStringLiteral("N"), 1, 2147483647);
    commands << Command{QStringLiteral("requests list"), QString(),
                        QStringLiteral("the fund requests to the treasury as TSV (request date from/to, state 0-4), then the sums of the requested and "
                                       "paid-in amounts and the count"),
                        0, 0, listRequests,
                        {OptionRule::date(QStringLiteral("from")), OptionRule::date(QStringLiteral("to")),
                         OptionRule::number(QStringLiteral("state"), QStringLiteral("S"), 0, 4), section}}
             << Command{QStringLiteral("requests show"), QStringLiteral("<N>"),
                        QStringLiteral("one fund request (its code N) as TSV, then its rows with their sum and count"), 1, 1, showRequest, {section}, {number}}
             << Command{QStringLiteral("refunds list"), QString(),
                        QStringLiteral("the refunds of deposits as TSV (one owner with --owner), then the sum of their amounts and the count"), 0, 0,
                        listRefunds, {OptionRule::number(QStringLiteral("owner"), QStringLiteral("CODE"), 1, 2147483647), section}}
             << Command{QStringLiteral("refunds show"), QStringLiteral("<N>"),
                        QStringLiteral("one refund (its number N) as TSV, then its deposit rows and its cheques, each with their sum and count"), 1, 1,
                        showRefund, {section}, {number}};
}

} // namespace orvak::cli
