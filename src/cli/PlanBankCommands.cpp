// The projects of a section and the banks, read-only, as their lists show them.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/basedata/PlanBankLists.h"
#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"

namespace orvak::cli {

namespace {

int printList(Context& ctx, io::ListDefinition list)
{
    return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt&) {
        return printStreamedList(ctx, session, list, {}, QStringLiteral("فهرست ") + list.name);
    });
}

} // namespace

void addPlanBankCommands(QList<Command>& commands)
{
    commands << Command{QStringLiteral("projects"), QString(), QStringLiteral("the projects of a financial section (0 unless given) as TSV"), 0, 0,
                        [](const Options& o, Context& ctx) {
                            return printList(ctx, basedata::projectsList(o.value(QStringLiteral("section"), QStringLiteral("0"))));
                        },
                        {OptionRule::section(QStringLiteral("section"))}};
    commands << Command{QStringLiteral("banks"), QString(), QStringLiteral("the bank names as TSV"), 0, 0,
                        [](const Options&, Context& ctx) { return printList(ctx, basedata::bankNamesList()); }};
}

} // namespace orvak::cli
