#include "ui/basedata/BankScreens.h"

#include "ui/basedata/TViewBankBranch.h"
#include "ui/basedata/TViewBankName.h"
#include "ui/basedata/TViewHesab.h"
#include "ui/basedata/TViewHesabBanki.h"
#include "ui/basedata/TViewOstan.h"
#include "ui/basedata/TViewSarparasti.h"
#include "ui/basedata/TViewSepACC.h"
#include "ui/basedata/TViewShobeh.h"

namespace orvak::ui::basedata {

namespace menu = framework::menu;

void registerBankScreens(framework::ScreenRegistry& r)
{
    r.add<TViewSepACC>({QStringLiteral("سپرده ها")}, QStringLiteral("اطلاعات حسابهاي بانکي سپرده ها "), menu::Deposits + 30);
    // The reference tables of banks and the branch network, beside plans and projects.
    const QStringList banks{QStringLiteral("سامانه اورواک"), QStringLiteral("بانک ها و حساب هاي بانکي")};
    r.add<TViewBankName>(banks, QStringLiteral("بانک ها"), menu::System + 170);
    r.add<TViewBankBranch>(banks, QStringLiteral("شعب بانک ها"), menu::System + 171);
    r.add<TViewHesab>(banks, QStringLiteral("فهرست حسابهاي بانكي"), menu::System + 172);
    // The older account screen's short list (HesabBanki); its window keeps the
    // caption "فهرست حسابهاي بانكي", the menu tells the two apart.
    r.add<TViewHesabBanki>(banks, QStringLiteral("حسابهاي بانكي (فهرست کوتاه)"), menu::System + 176);
    r.add<TViewOstan>(banks, QStringLiteral("استان ها"), menu::System + 173);
    r.add<TViewSarparasti>(banks, QStringLiteral("سرپرستي ها"), menu::System + 174);
    r.add<TViewShobeh>(banks, QStringLiteral("شعب"), menu::System + 175);
}

} // namespace orvak::ui::basedata
