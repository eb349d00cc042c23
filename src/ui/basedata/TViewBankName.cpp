#include "ui/basedata/TViewBankName.h"

#include "ui/basedata/TDE_CodeName.h"
#include "core/basedata/BankNames.h"
#include "core/basedata/PlanBankLists.h"

namespace orvak::ui::basedata {

namespace {

framework::ListUi commands(Session& session)
{
    auto banks = std::make_shared<orvak::basedata::BankNames>(session);
    return registerCommands(
        [banks](framework::ListScreen& l) { return std::make_unique<TDE_CodeName>(*banks, QStringLiteral("بانک"), QStringLiteral("نام بانک"), 30, &l); },
        [banks](qint64 code, startup::Prompt& prompt) { return banks->remove(code, prompt); });
}

} // namespace

TViewBankName::TViewBankName(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::bankNamesList(), commands(session), parent)
{
    addCodeAndNameSearch(QStringLiteral("جستجوي کد بانک"), QStringLiteral("NAME"), QStringLiteral("کلمه در نام بانک"));
}

} // namespace orvak::ui::basedata
