#include "ui/basedata/PlanScreens.h"

#include "ui/basedata/TORVAK_TRANSFERCODING.h"
#include "ui/basedata/TORVAK_ViewProjects.h"
#include "ui/basedata/TORVAK_ViewTarh.h"
#include "ui/basedata/TViewCenters.h"

namespace orvak::ui::basedata {

namespace menu = framework::menu;

// Unguarded in the menu: deleting a plan asks the delete bit of its entry itself.
void registerPlanScreens(framework::ScreenRegistry& r)
{
    const QString system = QStringLiteral("سامانه اورواک");
    r.add<TORVAK_ViewTarh>({system}, QStringLiteral("طرح ها"), menu::System + 150);
    r.add<TORVAK_ViewProjects>({system}, QStringLiteral("پروژه ها"), menu::System + 160);
    r.add<TViewCenters>({system}, QStringLiteral("فهرست محل اجرا ي پروژه"), menu::System + 165);
    r.add<TORVAK_TRANSFERCODING>({system}, QStringLiteral("فراخواني اطلاعات اورواک از زير سيستم ها"), menu::System + 167).writeLevel =
        framework::WriteLevelRule::Refuse;
}

} // namespace orvak::ui::basedata
