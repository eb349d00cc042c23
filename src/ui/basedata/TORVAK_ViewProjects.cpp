#include "ui/basedata/TORVAK_ViewProjects.h"

#include "ui/basedata/TORVAK_DE_Projects.h"
#include "core/basedata/PlanBankLists.h"
#include "core/basedata/Plans.h"
#include "core/basedata/Projects.h"

#include <QComboBox>

namespace orvak::ui::basedata {

TORVAK_ViewProjects::TORVAK_ViewProjects(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::projectsList(session.SectionCode()), registerCommandsOf<TORVAK_DE_Projects, orvak::basedata::Projects>(session), parent)
{
    const orvak::basedata::Plans plans(session);
    followSection(QStringLiteral(":CI"));
    addChoice(plans.words(QStringLiteral("طرح")), QStringLiteral(":PTarhNo"),
              codeChoices(orvak::basedata::codeNames(session, orvak::basedata::Plans::table(), QStringLiteral("NAMET")), 0));
    addChoice(QStringLiteral("سال موافقتنامه"), QStringLiteral(":SAL_MOF"), yearChoices(session));
    addChoice(QStringLiteral("ترتيب"), QStringLiteral(":POrder"),
              {{QStringLiteral("شماره پروژه"), 0}, {QStringLiteral("نام پروژه"), 1}, {QStringLiteral("كد موافقتنامه اي پروژه"), 2}});
    addSearch(QStringLiteral("جستجوي كد پروژه"), [this] { searchWord(QStringLiteral("CODP"), QStringLiteral("جستجوي كد پروژه")); });
    addSearch(QStringLiteral("جستجوي نام حساب پروژه"), [this] { searchWord(QStringLiteral("NAMEP"), QStringLiteral("جستجوي نام حساب پروژه")); });
}

void TORVAK_ViewProjects::setPlan(qint64 plan)
{
    setParameter(QStringLiteral(":PTarhNo"), plan);
    if (auto* combo = findChildren<QComboBox*>().value(0)) {
        const int i = combo->findData(plan);
        combo->setCurrentIndex(i >= 0 ? i : 0);
    }
}

} // namespace orvak::ui::basedata
