#include "ui/basedata/TViewSepACC.h"

#include "ui/basedata/TDE_SepACC.h"
#include "core/basedata/DepositAccounts.h"
#include "core/basedata/PlanBankLists.h"

namespace orvak::ui::basedata {

namespace {

framework::ListUi commands(Session& session)
{
    return registerCommands([&session](framework::ListScreen& l) { return std::make_unique<TDE_SepACC>(session, &l); },
                            [&session](qint64 code, startup::Prompt& prompt) { return orvak::basedata::DepositAccounts(session).remove(code, prompt); });
}

} // namespace

TViewSepACC::TViewSepACC(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::depositAccountsList(), commands(session), parent)
{
    QList<std::pair<QString, QVariant>> kinds{{QStringLiteral("همه"), -1}};
    const io::CodeTexts& texts = orvak::basedata::DepositAccounts::kinds();
    for (const auto& [code, text] : texts.entries)
        kinds.append({text, code});
    addChoice(QStringLiteral("نوع حساب"), QStringLiteral(":PKind"), kinds);
    addCodeAndNameSearch(QStringLiteral("جستجوي کد حساب"), QStringLiteral("NAME"), QStringLiteral("کلمه در شرح حساب"));
}

} // namespace orvak::ui::basedata
