#include "ui/basedata/TViewSepACC.h"

#include "ui/basedata/TDE_SepACC.h"
#include "core/basedata/DepositAccounts.h"
#include "core/basedata/PlanBankLists.h"

namespace orvak::ui::basedata {

TViewSepACC::TViewSepACC(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::depositAccountsList(), registerCommandsOf<TDE_SepACC, orvak::basedata::DepositAccounts>(session), parent)
{
    QList<std::pair<QString, QVariant>> kinds{{QStringLiteral("همه"), -1}};
    const io::CodeTexts& texts = orvak::basedata::DepositAccounts::kinds();
    for (const auto& [code, text] : texts.entries)
        kinds.append({text, code});
    addChoice(QStringLiteral("نوع حساب"), QStringLiteral(":PKind"), kinds);
    addCodeAndNameSearch(QStringLiteral("جستجوي کد حساب"), QStringLiteral("NAME"), QStringLiteral("کلمه در شرح حساب"));
}

} // namespace orvak::ui::basedata
