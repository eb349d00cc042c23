#include "ui/AppScreens.h"

#include "ui/accounting/AccountingMenu.h"
#include "ui/basedata/PartyScreens.h"
#include "ui/basedata/BankScreens.h"
#include "ui/basedata/ContractScreens.h"
#include "ui/basedata/PlanScreens.h"
#include "ui/deposits/DepositScreens.h"
#include "ui/guarantees/GuaranteeScreens.h"
#include "ui/letters/LetterScreens.h"
#include "ui/startup/StartupScreens.h"
#include "ui/statements/StatementScreens.h"

namespace orvak::ui {

void registerAllScreens(framework::ScreenRegistry& registry)
{
    startup::registerStartupScreens(registry);
    basedata::registerPartyScreens(registry);
    basedata::registerContractScreens(registry);
    basedata::registerPlanScreens(registry);
    basedata::registerBankScreens(registry);
    accounting::registerAccountingScreens(registry);
    deposits::registerDepositScreens(registry);
    statements::registerStatementScreens(registry);
    guarantees::registerGuaranteeScreens(registry);
    letters::registerLetterScreens(registry);
}

const framework::ScreenRegistry& appScreens()
{
    static const framework::ScreenRegistry screens = [] {
        framework::ScreenRegistry r;
        registerAllScreens(r);
        return r;
    }();
    return screens;
}

} // namespace orvak::ui
