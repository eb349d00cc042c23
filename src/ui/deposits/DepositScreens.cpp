#include "ui/deposits/DepositScreens.h"

#include "ui/deposits/TViewSepDar.h"
#include "ui/deposits/TViewSepDescr.h"

namespace orvak::ui::deposits {

namespace menu = framework::menu;

// The list is not guarded by an access entry: the write level decides, and a user
// who may not write gets it with its writing commands off.
void registerDepositScreens(framework::ScreenRegistry& r)
{
    const QString deposits = QStringLiteral("سپرده ها");
    r.add<TViewSepDar>({deposits}, QStringLiteral("سپرده هاي دريافتي"), menu::Deposits + 10).writeLevel = framework::WriteLevelRule::ReadOnly;
    r.add<TViewSepDescr>({deposits}, QStringLiteral("شرح هاي استاندارد سپرده"), menu::Deposits + 12).writeLevel =
        framework::WriteLevelRule::ReadOnly;
}

} // namespace orvak::ui::deposits
