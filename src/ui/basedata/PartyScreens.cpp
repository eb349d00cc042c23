#include "ui/basedata/PartyScreens.h"

#include "ui/basedata/TFPARAMS_PAY.h"
#include "ui/basedata/TFSndDscr.h"
#include "ui/basedata/TORVAK_ViewTafsil.h"
#include "core/basedata/DetailAccounts.h"

namespace orvak::ui::basedata {

namespace menu = framework::menu;

void registerPartyScreens(framework::ScreenRegistry& r)
{
    const QString system = QStringLiteral("سامانه اورواک");
    const QStringList users{system, QStringLiteral("امور کاربران اورواک")};
    const QStringList params{system, QStringLiteral("پارامترها و الزامات")};

    r.add<TFSndDscr>(users, QStringLiteral("شرح هاي پرتکرار کاربران"), menu::System + 35);
    // The groups and trades open from the contractor's entry screen, as pickers that
    // keep their own commands.
    r.add<TFPARAMS_PAY>(params, QStringLiteral("پارامترها"), menu::System + 75);
    // The delete of the list asks the party's entry; it is never refused to a user
    // who may open the menu.
    r.add<TORVAK_ViewTafsil>({system}, QStringLiteral("پيمانكاران"), menu::System + 150).accessId = orvak::basedata::DetailAccountsMenuId;
}

} // namespace orvak::ui::basedata
