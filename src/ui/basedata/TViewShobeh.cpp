#include "ui/basedata/TViewShobeh.h"

#include "ui/basedata/TDE_Shobeh.h"
#include "core/basedata/Branches.h"
#include "core/basedata/PlanBankLists.h"
#include "core/basedata/SupervisingOffices.h"

namespace orvak::ui::basedata {

TViewShobeh::TViewShobeh(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::branchesList(), registerCommandsOf<TDE_Shobeh, orvak::basedata::Branches>(session), parent)
{
    addChoice(QStringLiteral("سرپرستي"), QStringLiteral(":PSarparasti"),
              codeChoices(orvak::basedata::codeNames(session, orvak::basedata::SupervisingOffices::table(), QStringLiteral("NAME"))));
    addCodeAndNameSearch(QStringLiteral("جستجوي کد شعبه"), QStringLiteral("NAME"), QStringLiteral("کلمه در نام شعبه"));
}

} // namespace orvak::ui::basedata
