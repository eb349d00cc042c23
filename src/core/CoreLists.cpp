#include "core/CoreLists.h"

#include "core/accounting/VoucherSearch.h"
#include "core/basedata/ContractLists.h"
#include "core/basedata/PartyLists.h"
#include "core/basedata/PlanBankLists.h"
#include "core/deposits/DepositList.h"
#include "core/deposits/DepositSummaries.h"
#include "core/deposits/RequestRefundLists.h"
#include "core/deposits/VoucherReadingLists.h"
#include "core/guarantees/GuaranteeList.h"
#include "core/letters/LetterTemplates.h"
#include "core/startup/StartupLists.h"
#include "core/statements/StatementList.h"

namespace orvak {

void registerAllLists(io::ListCatalogue& catalogue)
{
    catalogue.add(startup::startupLists());
    catalogue.add(basedata::partyLists());
    catalogue.add(basedata::planBankLists());
    catalogue.add(basedata::contractLists());
    catalogue.add(accounting::accountingLists());
    catalogue.add(deposits::depositLists());
    catalogue.add({deposits::balanceBrowserList()});
    catalogue.add(deposits::voucherReadingLists());
    catalogue.add(deposits::requestRefundLists());
    catalogue.add(statements::statementLists());
    catalogue.add(guarantees::guaranteeLists());
    catalogue.add({letters::letterTemplatesList(), letters::letterCopiesList()});
}

const io::ListCatalogue& coreLists()
{
    static const io::ListCatalogue catalogue = [] {
        io::ListCatalogue c;
        registerAllLists(c);
        return c;
    }();
    return catalogue;
}

} // namespace orvak
