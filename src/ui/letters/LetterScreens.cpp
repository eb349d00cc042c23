#include "ui/letters/LetterScreens.h"

#include "ui/letters/LetterSettingsScreens.h"
#include "ui/letters/TViewLetterTemplates.h"
#include "core/guarantees/Guarantees.h"

namespace orvak::ui::letters {

namespace menu = framework::menu;

void registerLetterScreens(framework::ScreenRegistry& r)
{
    const QStringList params{QStringLiteral("سامانه اورواک"), QStringLiteral("پارامترها و الزامات")};
    r.add<TFSep_LtrSetting>(params, QStringLiteral("تنظيمات نامه ها در سپرده ها"), menu::System + 42, framework::ScreenKind::Dialog);
    r.add<TFZem_LtrSetting>(params, QStringLiteral(" تنظيمات نامه ها در تضمينات  "), menu::System + 43, framework::ScreenKind::Dialog);
    auto& templates = r.add<TViewLetterTemplates>({QStringLiteral("تضمينات")}, QStringLiteral("قالب نامه ها"), menu::Guarantees + 30);
    templates.accessId = orvak::guarantees::GuaranteesMenuId;
    templates.writeLevel = framework::WriteLevelRule::ReadOnly;
}

} // namespace orvak::ui::letters
