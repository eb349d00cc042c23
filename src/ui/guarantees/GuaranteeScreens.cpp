#include "ui/guarantees/GuaranteeScreens.h"

#include "ui/guarantees/GuaranteeTextScreens.h"
#include "ui/guarantees/TViewZemanat.h"
#include "core/guarantees/Guarantees.h"

namespace orvak::ui::guarantees {

namespace menu = framework::menu;

// A user who may not write gets the lists with their writing commands off.
void registerGuaranteeScreens(framework::ScreenRegistry& r)
{
    const QString guarantees = QStringLiteral("تضمينات");
    const int entry = orvak::guarantees::GuaranteesMenuId;
    auto& list = r.add<TViewZemanat>({guarantees}, QStringLiteral("اطلاعات تضمينات"), menu::Guarantees + 10);
    list.accessId = entry;
    list.writeLevel = framework::WriteLevelRule::ReadOnly;
    auto& subjects = r.add<TViewZemDescr>({guarantees}, QStringLiteral("شرح موضوع تضمينات"), menu::Guarantees + 20);
    subjects.accessId = entry;
    subjects.writeLevel = framework::WriteLevelRule::ReadOnly;
    auto& folders = r.add<TViewBaygani>({guarantees}, QStringLiteral("اسامي پوشه ها"), menu::Guarantees + 22);
    folders.accessId = entry;
    folders.writeLevel = framework::WriteLevelRule::ReadOnly;
}

} // namespace orvak::ui::guarantees
