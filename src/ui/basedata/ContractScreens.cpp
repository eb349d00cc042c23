#include "ui/basedata/ContractScreens.h"

#include "ui/basedata/TORVAK_VIEWPAYMAN.h"
#include "ui/basedata/TViewContractNamedList.h"
#include "ui/basedata/TViewMTE.h"

namespace orvak::ui::basedata {

namespace menu = framework::menu;

// Unguarded in the menu, as the contractors' list: deleting a contract asks the
// delete bit of its entry itself. The short lists sit with the contract parameters.
void registerContractScreens(framework::ScreenRegistry& r)
{
    const QString system = QStringLiteral("سامانه اورواک");
    const QStringList params{system, QStringLiteral("پارامترها و الزامات")};
    r.add<TORVAK_VIEWPAYMAN>({system}, QStringLiteral("قراردادها"), menu::System + 152);
    r.add<TViewMojri>(params, QStringLiteral("فهرست مجريها"), menu::System + 76);
    r.add<TViewNazer>(params, QStringLiteral("فهرست ناظرين"), menu::System + 77);
    r.add<TViewMTE>(params, QStringLiteral("منابع تامين اعتبار"), menu::System + 78);
}

} // namespace orvak::ui::basedata
