#include "ui/basedata/TViewShobeh.h"

#include "ui/basedata/TDE_Shobeh.h"
#include "core/basedata/Branches.h"
#include "core/basedata/PlanBankLists.h"
#include "core/basedata/SupervisingOffices.h"

namespace orvak::ui::basedata {

namespace {

framework::ListUi commands(Session& session)
{
    return registerCommands([&session](framework::ListScreen& l) { return std::make_unique<TDE_Shobeh>(session, &l); },
                            [&session](qint64 code, startup::Prompt& prompt) { return orvak::basedata::Branches(session).remove(code, prompt); });
}

} // namespace

TViewShobeh::TViewShobeh(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::branchesList(), commands(session), parent)
{
    addChoice(QStringLiteral("سرپرستي"), QStringLiteral(":PSarparasti"),
              codeChoices(orvak::basedata::codeNames(session, orvak::basedata::SupervisingOffices::table(), QStringLiteral("NAME"))));
    addCodeAndNameSearch(QStringLiteral("جستجوي کد شعبه"), QStringLiteral("NAME"), QStringLiteral("کلمه در نام شعبه"));
}

} // namespace orvak::ui::basedata
