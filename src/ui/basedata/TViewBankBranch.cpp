#include "ui/basedata/TViewBankBranch.h"

#include "ui/basedata/TDE_BankBranch.h"
#include "core/basedata/BankBranches.h"
#include "core/basedata/BankNames.h"
#include "core/basedata/PlanBankLists.h"

namespace orvak::ui::basedata {

TViewBankBranch::TViewBankBranch(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::bankBranchesList(), registerCommandsOf<TDE_BankBranch, orvak::basedata::BankBranches>(session), parent)
{
    addChoice(QStringLiteral("نام بانک"), QStringLiteral(":PBank"),
              codeChoices(orvak::basedata::codeNames(session, orvak::basedata::BankNames::table(), QStringLiteral("NAME"))));
    addSearch(QStringLiteral("نام شعبه"), [this] { searchWord(QStringLiteral("BRANCHNAME"), QStringLiteral("نام شعبه را وارد كنيد")); });
    addSearch(QStringLiteral("کد شعبه"), [this] { searchWord(QStringLiteral("BRANCHCODE"), QStringLiteral("کد شعبه را وارد كنيد")); });
}

} // namespace orvak::ui::basedata
