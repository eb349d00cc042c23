#include "ui/deposits/DepositScreens.h"

#include "ui/deposits/ControlLists.h"
#include "ui/deposits/TFReadXLSSepordeh.h"
#include "ui/deposits/TVIEWBESTANKARI.h"
#include "ui/deposits/TFSEP3.h"
#include "ui/deposits/TViewSepDar.h"
#include "ui/deposits/TViewSepDescr.h"
#include "ui/deposits/TViewSepReq.h"
#include "ui/deposits/TViewSepReqFromKhazaneh.h"
#include "ui/deposits/TViewSepReqFromKhazanehDETAILS.h"
#include "ui/deposits/TViewTankhah.h"

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
    r.add<TVIEWBESTANKARI>({deposits}, QStringLiteral("اعلاميه هاي بستانكاري و اطلاعات مربوطه "), menu::Deposits + 14).writeLevel =
        framework::WriteLevelRule::ReadOnly;

    // Requests, refunds and floats; the fund requests and refunds are refused a user
    // who may not write, as the main menu always refused them.
    using framework::WriteLevelRule;
    r.add<TViewSepReq>({deposits}, QStringLiteral("درخواست هاي آزادسازي سپرده صاحبان سپرده"), menu::Deposits + 40).writeLevel = WriteLevelRule::ReadOnly;
    r.add<TViewSepReqFromKhazaneh>({deposits}, QStringLiteral("درخواست وجه سپرده از خزانه"), menu::Deposits + 42).writeLevel = WriteLevelRule::Refuse;
    r.add<TViewTankhah>({deposits}, QStringLiteral("تنخواه گردان رد وجوه سپرده"), menu::Deposits + 44).writeLevel = WriteLevelRule::ReadOnly;
    r.add<TFSEP3>({deposits}, QStringLiteral("استرداد سپرده"), menu::Deposits + 46).writeLevel = WriteLevelRule::Refuse;
    r.add<TViewSepReqFromKhazanehDETAILS>({deposits}, QStringLiteral("مرور و گزارش سپرده هاي درخواست شده از خزانه"), menu::Deposits + 60).writeLevel =
        WriteLevelRule::ReadOnly;
    r.add<TFRep_RAD>({deposits}, QStringLiteral("مرور و گزارش سپرده هاي استرداد شده"), menu::Deposits + 62);
    r.add<TViewSepRadNoReq>({deposits}, QStringLiteral("مرور و گزارش سپرده هاي استرداد شده که درخواست نشده اند"), menu::Deposits + 64);
    r.add<TViewSepReqNoRad>({deposits}, QStringLiteral("مرور و گزارش سپرده هاي درخواست شده که استرداد نشده اند"), menu::Deposits + 66);
    r.add<TFRep_RadCHK>({deposits}, QStringLiteral("مرور و گزارش چک هاي استرداد سپرده"), menu::Deposits + 68);
    r.add<TTankhah>({deposits}, QStringLiteral("مرور و گزارش تنخواه رد وجوه سپرده"), menu::Deposits + 70);
    r.add<TFReadXLSSepordeh>({deposits}, QStringLiteral("خواندن اطلاعات سپرده ها از فايل اکسل"), menu::Deposits + 14).writeLevel = WriteLevelRule::Refuse;
}

} // namespace orvak::ui::deposits
