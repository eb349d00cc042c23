#include "ui/basedata/ContractScreens.h"

#include "ui/basedata/TORVAK_VIEWPAYMAN.h"

namespace orvak::ui::basedata {

namespace menu = framework::menu;

// Unguarded in the menu, as the contractors' list it follows (registered right after
// it, at its position): deleting a contract asks the delete bit of its entry itself.
// The executors, supervisors and credit sources open from the contract's entry screen.
void registerContractScreens(framework::ScreenRegistry& r)
{
    r.add<TORVAK_VIEWPAYMAN>({QStringLiteral("سامانه اورواک")}, QStringLiteral("قراردادها"), menu::System + 150);
}

} // namespace orvak::ui::basedata
