#include "ui/startup/StartupScreens.h"

#include "core/startup/Rights.h"

#include "ui/startup/TABOUTAPP.h"
#include "ui/startup/TBakup1.h"
#include "ui/startup/TDE_Arm.h"
#include "ui/startup/TFAbout.h"
#include "ui/startup/TFAbout_ThisApp.h"
#include "ui/startup/TFCalculator.h"
#include "ui/startup/TFGeneral_info.h"
#include "ui/startup/TFSETORVAKTIME.h"
#include "ui/startup/TFupdateProgress.h"
#include "ui/startup/TFPass2.h"
#include "ui/startup/TFPass3.h"
#include "ui/startup/TGT_PASS.h"
#include "ui/startup/TORVAK_V_USERS.h"
#include "ui/startup/TUsr_Access.h"
#include "ui/startup/TV_USERS.h"
#include "ui/startup/Tview_history_resback.h"

namespace orvak::ui::startup {

using framework::ScreenKind;
namespace menu = framework::menu;

// The main window's own commands (lock, fiscal year, exits, help topics) sit between these
// positions; see TMainForm::buildMenu.
void registerStartupScreens(framework::ScreenRegistry& r)
{
    const QString system = QStringLiteral("سامانه اورواک");
    const QStringList users{system, QStringLiteral("امور کاربران اورواک")};
    const QStringList params{system, QStringLiteral("پارامترها و الزامات")};
    const QString tools = QStringLiteral("تسهيلات");

    r.add<TFPass2>({system}, QStringLiteral("تغيير كلمه رمز"), menu::System + 10, ScreenKind::Dialog);
    // Both users screens: the entry "تعيين سطوح دسترسي كاربران".
    r.add<TORVAK_V_USERS>(users, QStringLiteral("کاربران اورواک"), menu::System + 20).accessId = UsersMenuId;
    r.add<TV_USERS>(users, QStringLiteral("معرفي کاربران اين نرم افزار و تعيين سطوح دسترسي"), menu::System + 30).accessId = UsersMenuId;
    r.add<TFGeneral_info>(params, QStringLiteral("تنظيمات کلي"), menu::System + 40, ScreenKind::Dialog);
    r.add<TFSETORVAKTIME>({system}, QStringLiteral("تنظيمات صفحه اصلي"), menu::System + 110, ScreenKind::Dialog);
    r.add<TDE_Arm>({system}, QStringLiteral("اطلاعات استفاده کننده نرم افزار"), menu::System + 120, ScreenKind::Dialog);

    r.add<TFupdateProgress>({tools}, QStringLiteral("بروز آوري  و بازسازي ساختار بانکهاي اطلاعاتي"), menu::Tools + 100, ScreenKind::KeptDialog);
    r.add<TBakup1>({tools}, QStringLiteral("تهيه نسخه پشتيبان و بازخواني از نسخه پشتيبان(سرور)"), menu::Tools + 110, ScreenKind::KeptDialog);
    r.add<TFCalculator>({tools}, QStringLiteral("ماشين حساب"), menu::Tools + 900);

    const QString help = QStringLiteral("راهنما");
    r.add<TFAbout>({help}, QStringLiteral("درباره نرم افزارهاي اورواک"), menu::Help + 10, ScreenKind::Dialog);
    r.add<TABOUTAPP>({help}, QStringLiteral("شناسنامه نرم افزار « سپرده ها و تضمينات  »"), menu::Help + 20, ScreenKind::Dialog);
    r.add<TFAbout_ThisApp>({help}, QStringLiteral("درباره اين نرم افزار..."), menu::Help + 30, ScreenKind::Dialog);
}

} // namespace orvak::ui::startup
