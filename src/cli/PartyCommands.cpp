// parties: the detail accounts of a section as the list screen shows them, narrowed
// by a word in the name under the normalised search.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/basedata/DetailAccounts.h"
#include "core/basedata/PartyLists.h"
#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"

namespace orvak::cli {

void addPartyCommands(QList<Command>& commands)
{
    commands << Command{
        QStringLiteral("parties"), QString(),
        QStringLiteral("the detail accounts of a section (default 0) as TSV, those whose name holds WORD with --search"), 0, 0,
        [](const Options& o, Context& ctx) {
            const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
            return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
                Q_UNUSED(prompt);
                basedata::PartyRestriction narrowed;
                if (o.has(QStringLiteral("search"))) {
                    const auto codes = basedata::DetailAccounts(session, section).codesMatching(o.value(QStringLiteral("search")));
                    if (!codes)
                        return ctx.fail(QStringLiteral("اشکال در جستجوي پيمانکاران: ") + codes.error());
                    narrowed.codes = *codes;
                }
                io::ListDefinition list = basedata::detailAccountsList();
                list.sql = basedata::detailAccountsSql(basedata::PartyOrder::Code, narrowed);
                return printStreamedList(ctx, session, list, {{QStringLiteral(":CI"), section.toInt()}}, QStringLiteral("پيمانکاران"));
            });
        },
        {OptionRule::text(QStringLiteral("search"), QStringLiteral("WORD")), OptionRule::section(QStringLiteral("section"))}};
}

} // namespace orvak::cli
