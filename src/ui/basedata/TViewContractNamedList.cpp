#include "ui/basedata/TViewContractNamedList.h"

#include "ui/basedata/TDE_CodeName.h"
#include "core/basedata/ContractLists.h"

namespace orvak::ui::basedata {

namespace {

using orvak::basedata::ContractNamedList;

framework::ListUi commands(Session& session, ContractNamedList::Which which)
{
    auto list = std::make_shared<ContractNamedList>(session, which);
    const QString title = which == ContractNamedList::Executors ? QStringLiteral("مجري") : QStringLiteral("ناظر");
    return registerCommands(
        [list, title](framework::ListScreen& l) { return std::make_unique<TDE_CodeName>(*list, title, QStringLiteral("نام"), 100, &l); },
        [list](qint64 code, startup::Prompt& prompt) { return list->remove(code, prompt); });
}

} // namespace

TViewContractNamedList::TViewContractNamedList(Session& session, ContractNamedList::Which which, QWidget* parent)
    : RegisterList(session, which == ContractNamedList::Executors ? orvak::basedata::executorsList() : orvak::basedata::supervisorsList(),
                   commands(session, which), parent)
{
    addCodeAndNameSearch(QStringLiteral("جستجوي کد"), QStringLiteral("NAME"), QStringLiteral("کلمه در نام"));
}

} // namespace orvak::ui::basedata
