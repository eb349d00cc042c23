// contracts: the contracts of a section as the contract list shows them, those of
// one party with --party.
#include "cli/Cli.h"
#include "cli/CliSession.h"

#include "core/basedata/ContractLists.h"
#include "core/io/BoundList.h"
#include "core/io/ListOutput.h"

#include <limits>

namespace orvak::cli {

void addContractCommands(QList<Command>& commands)
{
    commands << Command{
        QStringLiteral("contracts"), QString(),
        QStringLiteral("the contracts of a section (default 0) as TSV, those of one party with --party"), 0, 0,
        [](const Options& o, Context& ctx) {
            const QString section = o.value(QStringLiteral("section"), QStringLiteral("0"));
            const qint64 party = o.number(QStringLiteral("party"), 0);
            return withSession(ctx, Options{}, false, [&](startup::Session& session, TerminalPrompt& prompt) {
                Q_UNUSED(prompt);
                return printStreamedList(ctx, session, basedata::contractsList(section),
                                         {{QStringLiteral(":PCi"), section.toInt()}, {QStringLiteral(":PTafsil"), party}}, QStringLiteral("قراردادها"));
            });
        },
        {OptionRule::number(QStringLiteral("party"), QStringLiteral("CODE"), 1, std::numeric_limits<int>::max()),
         OptionRule::section(QStringLiteral("section"))}};
}

} // namespace orvak::cli
