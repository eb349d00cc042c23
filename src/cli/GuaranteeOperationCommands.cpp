// guarantees due / search: what the due-date monitor and the search screen list, as
// TSV with the total and the count last. guarantees history: a guarantee's letters.
// guarantees answer / withdraw / extend: the operations, as the screens run them.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/guarantees/GuaranteeDue.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/guarantees/GuaranteeOperations.h"
#include "core/guarantees/GuaranteeSearch.h"
#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"
#include "core/letters/LetterPages.h"
#include "core/util/AtomicFile.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QDir>

namespace orvak::cli {

namespace {

const QStringList DueOrderNames = {QStringLiteral("due"), QStringLiteral("idx"), QStringLiteral("issue"), QStringLiteral("amount"),
                                   QStringLiteral("status"), QStringLiteral("type"), QStringLiteral("archive")};
const QStringList SearchOrderNames = {QStringLiteral("idx"),   QStringLiteral("number"),  QStringLiteral("type"),    QStringLiteral("nature"),
                                      QStringLiteral("due"),   QStringLiteral("party"),   QStringLiteral("branch"),  QStringLiteral("project"),
                                      QStringLiteral("contract"), QStringLiteral("archive"), QStringLiteral("issue")};

int printRows(Context& ctx, startup::Session& session, const io::ListDefinition& list, const guarantees::GuaranteeTotals& totals, const QString& countLabel)
{
    io::BoundList bound(session, list);
    io::RowSet rows;
    QString why;
    if (!bound.fetchAll(rows, {}, &why))
        return ctx.fail(QStringLiteral("اشکال در خواندن تضمينات: ") + why.simplified());
    QList<io::ListColumn> columns = bound.columns();
    for (io::ListColumn& c : columns)
        c.total = false;
    io::writeTsv(ctx.out, columns, rows);
    ctx.out << '\n' << guarantees::amountLabel() << '\t' << totals.amount << '\n' << countLabel << '\t' << totals.count << '\n';
    ctx.out.flush();
    return ExitOk;
}

// The window of a command: --from (today), then --window or --to (one month).
std::optional<guarantees::DueFilter> dueWindow(const Options& o, const QString& today, Context& ctx, const QString& command)
{
    guarantees::DueFilter f = guarantees::defaultDueFilter(today);
    if (o.has(QStringLiteral("window")) && o.has(QStringLiteral("to"))) {
        ctx.usage(command + QStringLiteral(": --window و --to با هم داده نمي شوند"));
        return std::nullopt;
    }
    f.from = o.value(QStringLiteral("from"), today);
    const int window = int(o.number(QStringLiteral("window"), guarantees::DefaultDueWindow));
    f.to = o.has(QStringLiteral("to")) ? o.value(QStringLiteral("to")) : guarantees::dueWindowEnd(f.from, window).value_or(QString());
    f.kind = int(o.number(QStringLiteral("kind"), -1));
    f.party = int(o.number(QStringLiteral("party"), -1));
    const QString order = o.value(QStringLiteral("order"), QStringLiteral("due"));
    if (!DueOrderNames.contains(order)) {
        ctx.usage(command + QStringLiteral(": ترتيب يکي از %1 است").arg(DueOrderNames.join(QStringLiteral(", "))));
        return std::nullopt;
    }
    f.order = guarantees::DueOrder(DueOrderNames.indexOf(order));
    return f;
}

QList<OptionRule> windowOptions()
{
    return {OptionRule::date(QStringLiteral("from")), OptionRule::number(QStringLiteral("window"), QStringLiteral("1-6"), 1, 6),
            OptionRule::date(QStringLiteral("to"))};
}

int printDue(const Options& o, Context& ctx)
{
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        const auto f = dueWindow(o, session.clock().todayJalali(), ctx, QStringLiteral("orvakctl guarantees due"));
        if (!f)
            return ExitUsage;
        QString why;
        const auto list = guarantees::dueList(*f, &why);
        if (!list)
            return ctx.usage(why);
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        const auto totals = guarantees::dueTotals(session, *f);
        if (!totals)
            return ctx.fail(QStringLiteral("اشکال در خواندن جمع تضمينات: ") + totals.error().simplified());
        return printRows(ctx, session, *list, *totals, guarantees::dueCountLabel());
    });
}

std::optional<QList<int>> statusList(const QString& text)
{
    QList<int> codes;
    if (text.trimmed().isEmpty())
        return codes;
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int s = part.trimmed().toInt(&ok);
        if (!ok || s < 0 || s > 24)
            return std::nullopt;
        if (!codes.contains(s))
            codes << s;
    }
    return codes;
}

int printSearch(const Options& o, Context& ctx)
{
    guarantees::SearchFilter f;
    f.number = o.value(QStringLiteral("number"));
    f.nature = int(o.number(QStringLiteral("nature"), -1));
    f.type = int(o.number(QStringLiteral("type"), -1));
    f.party = int(o.number(QStringLiteral("party"), -1));
    f.contract = int(o.number(QStringLiteral("contract"), -1));
    f.project = int(o.number(QStringLiteral("project"), -1));
    f.branch = int(o.number(QStringLiteral("branch"), -1));
    f.bank = int(o.number(QStringLiteral("bank"), -1));
    f.dueFrom = o.value(QStringLiteral("from"));
    f.dueTo = o.value(QStringLiteral("to"));
    f.issueFrom = o.value(QStringLiteral("issued-from"));
    f.issueTo = o.value(QStringLiteral("issued-to"));
    f.cancelFrom = o.value(QStringLiteral("cancelled-from"));
    f.cancelTo = o.value(QStringLiteral("cancelled-to"));
    const auto statuses = statusList(o.value(QStringLiteral("status")));
    if (!statuses)
        return ctx.usage(QStringLiteral("orvakctl guarantees search: وضعيت ها عددهاي 0 تا 24 با ويرگول جدا شده اند: ") + o.value(QStringLiteral("status")));
    f.statuses = *statuses;
    const QString order = o.value(QStringLiteral("order"), QStringLiteral("idx"));
    if (!SearchOrderNames.contains(order))
        return ctx.usage(QStringLiteral("orvakctl guarantees search: ترتيب يکي از %1 است").arg(SearchOrderNames.join(QStringLiteral(", "))));
    f.order = guarantees::SearchOrder(SearchOrderNames.indexOf(order));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        QString why;
        const auto list = guarantees::searchList(session, f, &why);
        if (!list)
            return ctx.usage(why);
        const auto totals = guarantees::searchTotals(session, f);
        if (!totals)
            return ctx.fail(QStringLiteral("اشکال در خواندن جمع تضمينات: ") + totals.error().simplified());
        return printRows(ctx, session, *list, *totals, guarantees::searchCountSuffix().trimmed());
    });
}

int printHistory(const Options& o, Context& ctx)
{
    const int idx = int(o.number(QStringLiteral("guarantee"), 0));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        return printStreamedList(ctx, session, guarantees::guaranteeHistoryList(idx), {}, QStringLiteral("سوابق تضمين"), false);
    });
}

int answerLetter(const Options& o, Context& ctx)
{
    const int idx = int(o.number(QStringLiteral("guarantee"), 0));
    guarantees::Answer a;
    a.letterNo = o.value(QStringLiteral("answer-no"));
    a.letterDate = o.value(QStringLiteral("answer-date"));
    a.due = o.value(QStringLiteral("due"));
    a.operationDate = o.value(QStringLiteral("date"));
    a.newNumber = o.value(QStringLiteral("new-number"));
    if (o.has(QStringLiteral("amount"))) {
        const auto amount = util::parseAmount(o.value(QStringLiteral("amount")));
        if (!amount || *amount <= 0)
            return ctx.usage(QStringLiteral("orvakctl guarantees answer: مبلغ درست نيست: ") + o.value(QStringLiteral("amount")));
        a.amount = *amount;
    }
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withWriter(ctx, o, QStringLiteral("guarantees answer"), false, [&](startup::Session& session, TerminalPrompt& prompt, bool) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        guarantees::GuaranteeOperations ops(session);
        int row = int(o.number(QStringLiteral("row"), 0));
        if (row == 0) {
            const auto h = ops.history(idx);
            if (!h)
                return ctx.fail(h.error());
            if (h->isEmpty())
                return ctx.fail(guarantees::noLetterText());
            row = h->last().row;
        }
        const guarantees::Outcome done = ops.answer(idx, row, a, prompt);
        if (!done)
            return ExitFailed;
        ctx.out << row << Qt::endl;
        return ExitOk;
    });
}

int withdrawLetter(const Options& o, Context& ctx)
{
    const int idx = int(o.number(QStringLiteral("guarantee"), 0));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withWriter(ctx, o, QStringLiteral("guarantees withdraw"), o.has(QStringLiteral("yes")), [&](startup::Session& session, TerminalPrompt& prompt, bool) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        guarantees::GuaranteeOperations ops(session);
        const guarantees::Outcome done =
            o.has(QStringLiteral("row")) ? ops.withdraw(idx, int(o.number(QStringLiteral("row"), 0)), prompt) : ops.withdrawLast(idx, prompt);
        if (!done)
            return ExitFailed;
        return ExitOk;
    });
}

int extendDue(const Options& o, Context& ctx)
{
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    const QString pdf = o.value(QStringLiteral("pdf"));
    if (o.has(QStringLiteral("months")) == o.has(QStringLiteral("until")))
        return ctx.usage(QStringLiteral("orvakctl guarantees extend: يکي از --months يا --until داده مي شود"));
    const int months = int(o.number(QStringLiteral("months"), 0));
    if (o.has(QStringLiteral("months")) && months != 3 && months != 6 && months != 9 && months != 12)
        return ctx.usage(QStringLiteral("orvakctl guarantees extend: مدت تمديد 3، 6، 9 يا 12 ماه است"));
    return withWriter(ctx, o, QStringLiteral("guarantees extend"), false, [&](startup::Session& session, TerminalPrompt& prompt, bool) {
        const auto window = dueWindow(o, session.clock().todayJalali(), ctx, QStringLiteral("orvakctl guarantees extend"));
        if (!window)
            return ExitUsage;
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        if (!pdf.isEmpty()) {
            if (const QString refused = util::outputRefusal(QDir(ctx.startDir).absoluteFilePath(pdf), QByteArray("%PDF-")); !refused.isEmpty())
                return ctx.fail(refused);
        }
        guarantees::ExtensionRun::Choice choice;
        choice.months = months;
        choice.untilDate = o.value(QStringLiteral("until"));
        choice.startNumber = o.number(QStringLiteral("start-number"), 0);
        choice.letter.templateCode = int(o.number(QStringLiteral("template"), 0));
        choice.letter.layout = int(o.number(QStringLiteral("layout"), 3));
        choice.letter.signatory = int(o.number(QStringLiteral("signatory"), 0));
        choice.letter.input.secretariatDate = o.value(QStringLiteral("letter-date"));
        guarantees::ExtensionRun run(session, *window, choice);
        if (!run.start(prompt))
            return ExitFailed;
        std::vector<letters::LetterPage> pages;
        run.issueAll(pages, prompt);
        for (const QString& n : run.issuedNumbers())
            ctx.out << n << '\n';
        ctx.out.flush();
        QString why;
        if (!pdf.isEmpty() && !pages.empty() && !letters::writeLettersPdf(pages, QDir(ctx.startDir).absoluteFilePath(pdf), &why))
            return ctx.fail(why);
        return run.done() ? ExitOk : ExitFailed;
    });
}

} // namespace

void addGuaranteeOperationCommands(QList<Command>& commands)
{
    constexpr qint64 most = std::numeric_limits<int>::max();
    QList<OptionRule> due = windowOptions();
    due << OptionRule::number(QStringLiteral("kind"), QStringLiteral("0-3"), -1, 3) << OptionRule::number(QStringLiteral("party"), QStringLiteral("CODE"), -1, most)
        << OptionRule::text(QStringLiteral("order"), DueOrderNames.join(QLatin1Char('|'))) << OptionRule::section(QStringLiteral("section"));
    commands << Command{QStringLiteral("guarantees due"), QString(),
                        QStringLiteral("the bank guarantees falling due in a window (from today, one month, unless --from, --window or --to say "
                                       "otherwise) as the due-date monitor lists them, as TSV, then the total and the count"),
                        0, 0, printDue, due};
    commands << Command{QStringLiteral("guarantees search"), QString(),
                        QStringLiteral("the guarantees the search screen finds for its conditions (--from/--to the due-date range; an empty end has "
                                       "no bound; --status a list of codes; --bank every branch of the bank), as TSV, then the total and the count"),
                        0, 0, printSearch,
                        {OptionRule::text(QStringLiteral("number"), QStringLiteral("TEXT")),
                         OptionRule::number(QStringLiteral("nature"), QStringLiteral("0-3"), -1, 3),
                         OptionRule::number(QStringLiteral("type"), QStringLiteral("0-13"), -1, 13),
                         OptionRule::number(QStringLiteral("party"), QStringLiteral("CODE"), -1, most),
                         OptionRule::number(QStringLiteral("contract"), QStringLiteral("CODE"), -1, most),
                         OptionRule::number(QStringLiteral("project"), QStringLiteral("CODE"), -1, most),
                         OptionRule::number(QStringLiteral("branch"), QStringLiteral("CODE"), -1, most),
                         OptionRule::number(QStringLiteral("bank"), QStringLiteral("CODE"), -1, most),
                         OptionRule::text(QStringLiteral("status"), QStringLiteral("S,...")),
                         OptionRule::date(QStringLiteral("from")),
                         OptionRule::date(QStringLiteral("to")),
                         OptionRule::date(QStringLiteral("issued-from")),
                         OptionRule::date(QStringLiteral("issued-to")),
                         OptionRule::date(QStringLiteral("cancelled-from")),
                         OptionRule::date(QStringLiteral("cancelled-to")),
                         OptionRule::text(QStringLiteral("order"), SearchOrderNames.join(QLatin1Char('|'))),
                         OptionRule::section(QStringLiteral("section"))}};
    commands << Command{QStringLiteral("guarantees history"), QString(), QStringLiteral("a guarantee's letters and answers, by row, as TSV"), 0, 0,
                        printHistory,
                        {OptionRule::number(QStringLiteral("guarantee"), QStringLiteral("IDX"), 1, most).needed(), OptionRule::section(QStringLiteral("section"))}};
    QList<OptionRule> answer{OptionRule::number(QStringLiteral("guarantee"), QStringLiteral("IDX"), 1, most).needed(),
                             OptionRule::number(QStringLiteral("row"), QStringLiteral("N"), 1, most),
                             OptionRule::text(QStringLiteral("answer-no"), QStringLiteral("NO")).needed(),
                             OptionRule::date(QStringLiteral("answer-date")).needed(),
                             OptionRule::date(QStringLiteral("due")),
                             OptionRule::text(QStringLiteral("amount"), QStringLiteral("A")),
                             OptionRule::date(QStringLiteral("date")),
                             OptionRule::text(QStringLiteral("new-number"), QStringLiteral("NO")),
                             OptionRule::section(QStringLiteral("section"))};
    answer << userOptions();
    commands << Command{QStringLiteral("guarantees answer"), QString(),
                        QStringLiteral("registers the bank's answer to a pending letter (the last one unless --row) and changes the guarantee as the "
                                       "answer says; prints the letter's row"),
                        0, 0, answerLetter, answer};
    QList<OptionRule> withdraw{OptionRule::number(QStringLiteral("guarantee"), QStringLiteral("IDX"), 1, most).needed(),
                               OptionRule::number(QStringLiteral("row"), QStringLiteral("N"), 1, most), OptionRule::flag(QStringLiteral("yes")),
                               OptionRule::section(QStringLiteral("section"))};
    withdraw << userOptions();
    commands << Command{QStringLiteral("guarantees withdraw"), QString(),
                        QStringLiteral("deletes a guarantee's last letter and returns the guarantee to its state before it (after the question: y, or --yes)"),
                        0, 0, withdrawLetter, withdraw};
    QList<OptionRule> extend = windowOptions();
    extend << OptionRule::number(QStringLiteral("months"), QStringLiteral("3|6|9|12"), 1, 12) << OptionRule::date(QStringLiteral("until"))
           << OptionRule::number(QStringLiteral("template"), QStringLiteral("CODE"), 1, most)
           << OptionRule::number(QStringLiteral("start-number"), QStringLiteral("N"), 1, most) << OptionRule::date(QStringLiteral("letter-date"))
           << OptionRule::number(QStringLiteral("layout"), QStringLiteral("0-6"), 0, 6) << OptionRule::number(QStringLiteral("signatory"), QStringLiteral("0-5"), 0, 5)
           << OptionRule::path(QStringLiteral("pdf"), QStringLiteral("FILE")) << OptionRule::section(QStringLiteral("section"));
    extend << userOptions();
    commands << Command{QStringLiteral("guarantees extend"), QString(),
                        QStringLiteral("the extension-letter run over the due-date window: one numbered extension request per guarantee, registered "
                                       "in its history (status 10), the letters written to --pdf; prints each letter's number"),
                        0, 0, extendDue, extend};
}

} // namespace orvak::cli
