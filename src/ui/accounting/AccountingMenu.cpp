#include "ui/accounting/AccountingMenu.h"

#include "ui/accounting/TSrSnd1.h"

namespace orvak::ui::accounting {

namespace menu = framework::menu;

// Unguarded, as the other facilities: the search only reads.
void registerAccountingScreens(framework::ScreenRegistry& r)
{
    r.add<TSrSnd1>({QStringLiteral("تسهيلات")}, QStringLiteral("جستجو در اسناد حسابداري"), menu::Tools + 50);
}

} // namespace orvak::ui::accounting
