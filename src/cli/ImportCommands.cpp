// orvakctl deposits import: a deposit book from a spreadsheet into the register.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/deposits/DepositImport.h"
#include "core/deposits/DepositKinds.h"

namespace orvak::cli {

namespace {

using deposits::ImportRequest;

// The sheet by its name, with or without the square brackets the screen shows, or
// by its place from 1.
std::optional<int> sheetIndex(const QStringList& sheets, QString name)
{
    name = name.trimmed();
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    for (int i = 0; i < sheets.size(); ++i) {
        if (sheets.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    bool number = false;
    const int n = name.toInt(&number);
    if (number && n >= 1 && n <= sheets.size())
        return n - 1;
    return std::nullopt;
}

int importDeposits(const Options& o, Context& ctx)
{
    ImportRequest r;
    r.path = o.positional.value(0);
    r.kind = int(o.number(QStringLiteral("kind"), 1));
    r.dryRun = o.has(QStringLiteral("dry-run"));
    QString why;
    const auto mapping = deposits::ImportMapping::load(o.value(QStringLiteral("mapping")), &why);
    if (!mapping)
        return ctx.fail(why);
    r.mapping = *mapping;
    const auto sheets = deposits::sheetsOf(r.path, &why);
    if (!sheets)
        return ctx.fail(why);
    const auto sheet = sheetIndex(sheets->sheets, o.value(QStringLiteral("sheet")));
    if (!sheet)
        return ctx.fail(QStringLiteral("صفحه مورد نظر در فايل نيست: ") + o.value(QStringLiteral("sheet")) + QStringLiteral(" (")
                        + sheets->sheets.join(QStringLiteral("، ")) + QLatin1Char(')'));
    r.sheet = *sheet;
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withWriter(ctx, o, QStringLiteral("deposits import"), true, [&](startup::Session& session, TerminalPrompt& terminal, bool administrator) {
        if (!openCurrentSection(session, terminal, section))
            return ExitFailed;
        r.administrator = administrator;
        const deposits::ImportResult done = deposits::DepositImport(session).run(r, terminal, [&](int rows) {
            if (rows % 10000 == 0)
                ctx.err << QStringLiteral("%1 رديف").arg(rows) << Qt::endl;
            return true;
        });
        if (!done)
            return ExitFailed;   // the prompt told why
        ctx.out << QStringLiteral("رديف هاي خوانده شده") << '\t' << done.rows << '\n'
                << QStringLiteral("سپرده ها") << '\t' << done.deposits << '\t' << done.amount << '\n'
                << QStringLiteral("پيمانکاران موجود") << '\t' << done.ownersFound << '\n'
                << QStringLiteral("پيمانکاران جديد") << '\t' << done.ownersCreated << '\n'
                << QStringLiteral("پروژه هاي جديد") << '\t' << done.projectsCreated << '\n'
                << QStringLiteral("استردادها") << '\t' << done.refunds << '\n';
        if (r.dryRun)
            ctx.out << QStringLiteral("(آزمايشي: چيزي ثبت نشد)") << '\n';
        ctx.out.flush();
        return ExitOk;
    });
}

} // namespace

void addImportCommands(QList<Command>& commands)
{
    const QList<OptionRule> writer = userOptions();
    commands << Command{QStringLiteral("deposits import"), QStringLiteral("FILE"),
                        QStringLiteral("reads the deposits of sheet NAME of the spreadsheet FILE (.xls, .xlsx, .csv) into the register as "
                                       "one unit of work, the columns as MAPFILE maps them (KEY=column title lines, as the screen saves "
                                       "them), kind K (1 unless given); owners and projects missing are created, rows marked 1 refunded; "
                                       "prints the counts. A row that cannot be read keeps nothing (exit 1). --dry-run keeps nothing"),
                        1, 1, importDeposits,
                        {OptionRule::text(QStringLiteral("sheet"), QStringLiteral("NAME")).needed(),
                         OptionRule::path(QStringLiteral("mapping"), QStringLiteral("MAPFILE")).needed(),
                         OptionRule::number(QStringLiteral("kind"), QStringLiteral("K"), 1, deposits::KindCount),
                         OptionRule::flag(QStringLiteral("dry-run")), OptionRule::section(QStringLiteral("section")), writer[0], writer[1]},
                        {OptionRule::path(QStringLiteral("FILE"), QStringLiteral("FILE"))}};
}

} // namespace orvak::cli

// orvakctl coding: the coding exchange with the accounting programs and between sections.
#include "core/basedata/CodingTransfer.h"

namespace orvak::cli {

namespace {

void printTransfer(Context& ctx, const basedata::TransferResult& r)
{
    ctx.out << QStringLiteral("رديف هاي مبدا") << '\t' << r.read << '\n'
            << QStringLiteral("درج شده") << '\t' << r.inserted << '\n'
            << QStringLiteral("به روز شده") << '\t' << r.updated << '\n'
            << QStringLiteral("مغاير") << '\t' << r.conflicts << '\n';
    for (int i = 0; i < r.left.size(); ++i)
        ctx.out << r.left.at(i) << '\t' << r.right.value(i) << '\n';
    ctx.out << r.message.trimmed() << Qt::endl;
}

int codingTransfer(const Options& o, Context& ctx)
{
    const QString what = o.positional.value(0);
    static const QStringList accountingKinds{QStringLiteral("parties"), QStringLiteral("projects"), QStringLiteral("contracts"), QStringLiteral("plans")};
    const int kind = int(accountingKinds.indexOf(what));
    if (kind < 0)
        return ctx.usage(QStringLiteral("orvakctl coding: parties, projects, contracts or plans"));
    const bool between = o.has(QStringLiteral("from-section"));
    if (between == o.has(QStringLiteral("year")))
        return ctx.usage(QStringLiteral("orvakctl coding: one of --year and --from-section"));
    if (between && kind == 3)
        return ctx.usage(QStringLiteral("orvakctl coding: plans come from accounting only"));
    const int year = int(o.number(QStringLiteral("year"), 0));
    const int from = int(o.number(QStringLiteral("from-section"), 0));
    const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
    return withWriter(ctx, o, QStringLiteral("coding"), true, [&](startup::Session& session, TerminalPrompt& terminal, bool administrator) {
        if (!openCurrentSection(session, terminal, section))
            return ExitFailed;
        startup::CollectingPrompt quiet;
        basedata::CodingTransfer t(session, administrator);
        const basedata::TransferResult r = between ? t.betweenSections(basedata::SectionKind(kind), from, quiet)
                                                   : t.fromAccounting(basedata::AccountingKind(kind), year, quiet);
        if (!r)
            return ctx.fail(r.message);
        printTransfer(ctx, r);
        return ExitOk;
    });
}

} // namespace

void addCodingCommands(QList<Command>& commands)
{
    const QList<OptionRule> writer = userOptions();
    commands << Command{QStringLiteral("coding"), QStringLiteral("parties|projects|contracts|plans"),
                        QStringLiteral("copies the detail accounts, projects (number + year x 10000), contracts or plans of year Y's "
                                       "accounting database into the common database (--year), or those of section N into section 0 "
                                       "(--from-section; 1, 2, 3); prints the counts, the conflicting codes (source and common names) "
                                       "and the message. Rows already there are left; a second run inserts nothing"),
                        1, 1, codingTransfer,
                        {OptionRule::year(QStringLiteral("year")), OptionRule::number(QStringLiteral("from-section"), QStringLiteral("N"), 1, 3),
                         OptionRule::section(QStringLiteral("section")), writer[0], writer[1]},
                        {OptionRule::text(QStringLiteral("WHAT"), QStringLiteral("WHAT"))}};
}

} // namespace orvak::cli
