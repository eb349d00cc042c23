#include "ui/basedata/TViewPaymanKosurat.h"

#include "ui/basedata/TDE_PaymanKosurat.h"
#include "core/basedata/ContractLists.h"
#include "core/basedata/Contracts.h"

namespace orvak::ui::basedata {

TViewPaymanKosurat::TViewPaymanKosurat(Session& session, qint64 contract, QWidget* parent)
    : RegisterList(session, orvak::basedata::contractDeductionsList(session.SectionCode()),
                   registerCommands([&session, contract](framework::ListScreen& l) { return std::make_unique<TDE_PaymanKosurat>(session, contract, &l); },
                                    [&session](qint64 code, startup::Prompt& prompt) { return orvak::basedata::Contracts(session).removeDeduction(code, prompt); }),
                   parent)
{
    followSection(QStringLiteral(":CI"));
    setParameter(QStringLiteral(":Pcode_pay"), contract);
    reopen();
}

} // namespace orvak::ui::basedata
