#include "ui/guarantees/GuaranteeScreens.h"

#include "ui/guarantees/GuaranteeTextScreens.h"
#include "ui/guarantees/TViewZemanat.h"
#include "ui/guarantees/TFZEMSARRASID.h"
#include "ui/guarantees/TSRCH_ZEM.h"
#include "ui/startup/TMainForm.h"
#include "core/guarantees/GuaranteeDue.h"
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
    auto& due = r.add<TFZEMSARRASID>({guarantees}, orvak::guarantees::dueTitle(), menu::Guarantees + 30);
    due.accessId = entry;
    due.writeLevel = framework::WriteLevelRule::ReadOnly;
    auto& search = r.add<TSRCH_ZEM>({guarantees}, orvak::guarantees::searchTitle(), menu::Guarantees + 32);
    search.accessId = entry;
    // After login the monitor opens by itself when guarantees fall due in its default window.
    static const bool step = [] {
        startup::TMainForm::addStartStep([](startup::TMainForm& main, Session& session) {
            const auto due = orvak::guarantees::dueSoonCount(session);
            if (due && *due > 0)
                main.trigger(orvak::guarantees::dueTitle());
        });
        return true;
    }();
    (void)step;
}

} // namespace orvak::ui::guarantees
