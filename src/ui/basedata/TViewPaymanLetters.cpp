#include "ui/basedata/TViewPaymanLetters.h"

#include "ui/basedata/TDE_PaymanLetters.h"
#include "core/basedata/ContractLists.h"
#include "core/basedata/Contracts.h"

namespace orvak::ui::basedata {

TViewPaymanLetters::TViewPaymanLetters(Session& session, qint64 contract, QWidget* parent)
    : RegisterList(session, orvak::basedata::contractLettersList(session.SectionCode()),
                   registerCommands([&session, contract](framework::ListScreen& l) { return std::make_unique<TDE_PaymanLetters>(session, contract, &l); },
                                    [&session, contract](qint64 number, startup::Prompt& prompt) {
                                        return orvak::basedata::Contracts(session).removeLetter(contract, number, prompt);
                                    }),
                   parent)
{
    followSection(QStringLiteral(":CI"));
    setParameter(QStringLiteral(":PLtrID"), contract);
    reopen();
}

} // namespace orvak::ui::basedata
