#include "ui/basedata/TViewCenters.h"

#include "ui/basedata/TDE_CodeName.h"
#include "core/basedata/Centres.h"
#include "core/basedata/PlanBankLists.h"

namespace orvak::ui::basedata {

namespace {

framework::ListUi commands(Session& session)
{
    auto centres = std::make_shared<orvak::basedata::Centres>(session);
    return registerCommands(
        [centres](framework::ListScreen& l) {
            return std::make_unique<TDE_CodeName>(*centres, QStringLiteral("محل اجرا ي پروژه"), QStringLiteral("محل اجرا"), 100, &l);
        },
        [centres](qint64 code, startup::Prompt& prompt) { return centres->remove(code, prompt); });
}

} // namespace

TViewCenters::TViewCenters(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::centresList(), commands(session), parent)
{
    addCodeAndNameSearch(QStringLiteral("جستجوي کد محل اجرا"), QStringLiteral("NAME"), QStringLiteral("کلمه در نام محل اجرا"));
}

} // namespace orvak::ui::basedata
