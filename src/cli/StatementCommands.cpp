// Bank statements without the screen: reading files into an account's statement, the
// statement list as TSV, and the month's matching with the received deposits.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"
#include "core/statements/BankMatching.h"
#include "core/statements/StatementDates.h"
#include "core/statements/StatementLayouts.h"
#include "core/statements/StatementList.h"
#include "core/statements/StatementReader.h"
#include "core/util/Numbers.h"

#include <QDir>

#include <limits>

namespace orvak::cli {

namespace {

using statements::Writer;

// The command itself is the user's "yes" to the screen's first question and to the
// plan it shows; every other question goes to the terminal (or --yes).
class CommandPrompt : public startup::Prompt {
public:
    CommandPrompt(TerminalPrompt& terminal, QStringList alreadyAnswered)
        : terminal_(terminal)
        , answered_(std::move(alreadyAnswered))
    {
    }
    void info(const QString& text) override { terminal_.info(text); }
    bool ask(const QString& text) override
    {
        for (const QString& a : answered_) {
            if (text == a || text.endsWith(a))
                return true;
        }
        return terminal_.ask(text);
    }
    void progress(const QString&, int, int) override {}

private:
    TerminalPrompt& terminal_;
    QStringList answered_;
};

// "YYYY/MM" (Persian digits too).
std::optional<std::pair<int, int>> yearMonth(const QString& text)
{
    const QStringList parts = util::normalizeDigits(text.trimmed()).split(QLatin1Char('/'));
    if (parts.size() != 2 || parts[0].size() != 4 || parts[1].isEmpty() || parts[1].size() > 2)
        return std::nullopt;
    bool a = false, b = false;
    const int y = parts[0].toInt(&a), m = parts[1].toInt(&b);
    if (!a || !b)
        return std::nullopt;
    return std::make_pair(y, m);
}

int readStatement(const Options& o, Context& ctx)
{
    statements::ReadRequest r;
    r.account = int(o.number(QStringLiteral("account"), 0));
    r.format = int(o.number(QStringLiteral("format"), 0));
    const auto from = yearMonth(o.value(QStringLiteral("from")));
    const auto to = yearMonth(o.value(QStringLiteral("to")));
    if (!from || !to)
        return ctx.usage(QStringLiteral("orvakctl statement read: --from and --to are YYYY/MM"));
    r.fromYear = from->first;
    r.fromMonth = from->second;
    r.toYear = to->first;
    r.toMonth = to->second;
    if (const QString problem = statements::monthRangeProblem(r.fromYear, r.fromMonth, r.toYear, r.toMonth); !problem.isEmpty())
        return ctx.usage(QStringLiteral("orvakctl statement read: ") + problem);
    const bool replace = o.has(QStringLiteral("replace")), append = o.has(QStringLiteral("append"));
    if (replace == append)
        return ctx.usage(QStringLiteral("orvakctl statement read: one of --replace and --append"));
    r.mode = replace ? statements::ReadMode::Replace : statements::ReadMode::Append;
    if (o.has(QStringLiteral("separator"))) {
        QString s = o.value(QStringLiteral("separator"));
        if (s == QLatin1String("tab") || s == QLatin1String("\\t"))
            s = QStringLiteral("\t");
        if (s.size() != 1)
            return ctx.usage(QStringLiteral("orvakctl statement read: --separator is one character (or tab)"));
        r.separator = s[0];
    }
    r.sheet = int(o.number(QStringLiteral("sheet"), 1)) - 1;
    for (const QString& f : o.positional)
        r.files << QDir(ctx.startDir).absoluteFilePath(f);
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withWriter(ctx, o, QStringLiteral("statement read"), o.has(QStringLiteral("yes")),
                      [&](startup::Session& session, TerminalPrompt& terminal, bool administrator) {
                          if (!openCurrentSection(session, terminal, section))
                              return ExitFailed;
                          CommandPrompt prompt(terminal, {statements::sureText()});
                          statements::StatementReader reader(session, administrator ? Writer::Administrator : Writer::User);
                          const statements::ReadOutcome out = reader.read(r, prompt);
                          if (!out)
                              return out.message.isEmpty() ? ctx.fail(QStringLiteral("قرائت صورتحساب انجام نشد")) : ExitFailed;
                          ctx.out << QStringLiteral("ثبت شده") << '\t' << out.written << '\n'
                                  << QStringLiteral("خارج از محدوده") << '\t' << out.outOfRange << '\n'
                                  << QStringLiteral("حذف شده پيش از قرائت") << '\t' << out.replaced << '\n'
                                  << QStringLiteral("از قبل موجود") << '\t' << out.alreadyThere << '\n'
                                  << QStringLiteral("فايل هاي خوانده شده") << '\t' << out.filesRead << Qt::endl;
                          // The lines before a failure stay; the failure still fails the command.
                          return out.failure.isEmpty() ? ExitOk : ExitFailed;
                      });
}

int listStatement(const Options& o, Context& ctx)
{
    statements::StatementFilter f;
    f.account = int(o.number(QStringLiteral("account"), 0));
    f.from = o.value(QStringLiteral("from"));
    f.to = o.value(QStringLiteral("to"));
    for (const QString& d : {f.from, f.to}) {
        if (!statements::storedDate(d))
            return ctx.usage(QStringLiteral("orvakctl statement list: dates from %1 to %2").arg(statements::FirstWindowYear).arg(statements::LastWindowYear));
    }
    if (f.to < f.from)
        return ctx.usage(QStringLiteral("orvakctl statement list: --to before --from"));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
        if (!openCurrentSection(session, prompt, section))
            return ExitFailed;
        io::BoundList bound(session, statements::statementLinesList(f));
        io::RowSet rows;
        QString why;
        if (!bound.fetchAll(rows, {}, &why))
            return ctx.fail(QStringLiteral("اشکال در خواندن صورتحساب: ") + why.simplified());
        const auto totals = statements::statementTotals(session, f);
        if (!totals)
            return ctx.fail(QStringLiteral("اشکال در خواندن جمع صورتحساب: ") + totals.error().simplified());
        QList<io::ListColumn> columns = bound.columns();
        for (io::ListColumn& c : columns)
            c.total = false;
        io::writeTsv(ctx.out, columns, rows);
        ctx.out << '\n'
                << QStringLiteral("واريز") << '\t' << totals->credit << '\t' << totals->credits << '\n'
                << QStringLiteral("برداشت") << '\t' << totals->debit << '\t' << totals->debits << '\n'
                << QStringLiteral("جمع شاپرک") << '\t' << totals->settlement << '\t' << totals->settlements << Qt::endl;
        return ExitOk;
    });
}

void printPlan(QTextStream& out, const statements::MatchPlan& p)
{
    const statements::MonthMatch& m = p.match;
    out << QStringLiteral("سطرهاي ماه") << '\t' << p.lines << '\n'
        << QStringLiteral("برداشت") << '\t' << m.debits << '\n'
        << QStringLiteral("از قبل تطبيق يافته") << '\t' << m.alreadyMatched << '\n'
        << QStringLiteral("تطبيق داده شده") << '\t' << m.matched << '\t' << m.matchedSum << '\n'
        << QStringLiteral("سپرده افزوده") << '\t' << m.notFound << '\t' << m.notFoundSum << '\n';
}

int matchStatement(const Options& o, Context& ctx)
{
    statements::MatchRequest r;
    r.account = int(o.number(QStringLiteral("account"), 0));
    r.year = int(o.number(QStringLiteral("year"), 0));
    r.month = int(o.number(QStringLiteral("month"), 0));
    r.criteria.sameDate = o.has(QStringLiteral("same-date"));
    r.criteria.sameNumber = o.has(QStringLiteral("same-number"));
    const bool dryRun = o.has(QStringLiteral("dry-run"));
    if (r.year < statements::FirstWindowYear || r.year > statements::LastWindowYear)
        return ctx.usage(QStringLiteral("orvakctl statement match: --year from %1 to %2").arg(statements::FirstWindowYear).arg(statements::LastWindowYear));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withWriter(ctx, o, QStringLiteral("statement match"), false, [&](startup::Session& session, TerminalPrompt& terminal, bool administrator) {
        if (!openCurrentSection(session, terminal, section))
            return ExitFailed;
        statements::BankMatching matching(session, administrator ? Writer::Administrator : Writer::User);
        const auto plan = matching.plan(r);
        if (!plan)
            return ctx.fail(plan.failed() ? plan.error() : QStringLiteral("صورتحساب خوانده نشد"));
        printPlan(ctx.out, *plan);
        if (dryRun) {
            ctx.out.flush();
            return ExitOk;
        }
        CommandPrompt prompt(terminal, {statements::sureText()});
        const statements::MatchOutcome done = matching.run(r, prompt);
        if (!done)
            return ExitFailed;
        ctx.out << QStringLiteral("شماره تطابق") << '\t' << done.run << '\n'
                << QStringLiteral("تائيد شده") << '\t' << done.matched << '\n'
                << QStringLiteral("افزوده شده") << '\t' << done.added << Qt::endl;
        return ExitOk;
    });
}

} // namespace

void addStatementCommands(QList<Command>& commands)
{
    constexpr qint64 most = std::numeric_limits<int>::max();
    const QList<OptionRule> writer = userOptions();
    commands << Command{QStringLiteral("statement read"), QStringLiteral("FILE..."),
                        QStringLiteral("reads bank statement files of format F (1-33) into account N's statement for the months FROM..TO "
                                       "(YYYY/MM), replacing the lines of the range or appending to them; prints the counts. Lines before "
                                       "a line that cannot be read stay (exit 1). Appending lines already there asks first (--yes: yes)"),
                        1, -1, readStatement,
                        {OptionRule::number(QStringLiteral("account"), QStringLiteral("N"), 1, most).needed(),
                         OptionRule::number(QStringLiteral("format"), QStringLiteral("F"), 1, 33).needed(),
                         OptionRule::text(QStringLiteral("from"), QStringLiteral("YYYY/MM")).needed(),
                         OptionRule::text(QStringLiteral("to"), QStringLiteral("YYYY/MM")).needed(), OptionRule::flag(QStringLiteral("replace")),
                         OptionRule::flag(QStringLiteral("append")), OptionRule::text(QStringLiteral("separator"), QStringLiteral("C")),
                         OptionRule::number(QStringLiteral("sheet"), QStringLiteral("N"), 1, 65535), OptionRule::section(QStringLiteral("section")),
                         OptionRule::flag(QStringLiteral("yes")), writer[0], writer[1]},
                        {OptionRule::path(QStringLiteral("FILE"), QStringLiteral("FILE"))}};
    commands << Command{QStringLiteral("statement list"), QString(),
                        QStringLiteral("the statement lines of account N from D to D as the statement list shows them, as TSV, then the "
                                       "credit, debit and settlement totals with their counts"),
                        0, 0, listStatement,
                        {OptionRule::number(QStringLiteral("account"), QStringLiteral("N"), 1, most).needed(),
                         OptionRule::date(QStringLiteral("from")).needed(), OptionRule::date(QStringLiteral("to")).needed(),
                         OptionRule::section(QStringLiteral("section"))}};
    commands << Command{QStringLiteral("statement match"), QString(),
                        QStringLiteral("matches account N's statement for month M of year Y with the received deposits of that month "
                                       "(same amount; --same-date, --same-number as the screen's criteria) and prints the plan and the "
                                       "counts; --dry-run prints the plan and writes nothing"),
                        0, 0, matchStatement,
                        {OptionRule::number(QStringLiteral("account"), QStringLiteral("N"), 1, most).needed(),
                         OptionRule::year(QStringLiteral("year")).needed(), OptionRule::number(QStringLiteral("month"), QStringLiteral("M"), 1, 12).needed(),
                         OptionRule::flag(QStringLiteral("same-date")), OptionRule::flag(QStringLiteral("same-number")),
                         OptionRule::flag(QStringLiteral("dry-run")), OptionRule::section(QStringLiteral("section")), writer[0], writer[1]}};
}

} // namespace orvak::cli
