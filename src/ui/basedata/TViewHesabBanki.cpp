#include "ui/basedata/TViewHesabBanki.h"

#include "ui/basedata/TDE_HesabBanki.h"
#include "core/basedata/HesabBanki.h"
#include "core/basedata/PlanBankLists.h"

#include <QComboBox>

namespace orvak::ui::basedata {

TViewHesabBanki::TViewHesabBanki(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::shortBankAccountsList(), registerCommandsOf<TDE_HesabBanki, orvak::basedata::HesabBanki>(session), parent)
{
    // The orders, by the list's columns: code, account number, branch name, branch code, bank.
    auto* order = addChoice(QStringLiteral("ترتيب"), QStringLiteral(":Order"),
                            {{QStringLiteral("كد "), 0}, {QStringLiteral("حساب بانكي"), 1}, {QStringLiteral("نام شعبه"), 2}, {QStringLiteral("كد شعبه"), 3},
                             {QStringLiteral("بانک"), 4}});
    disconnect(order, &QComboBox::activated, this, nullptr);
    connect(order, &QComboBox::activated, this, [this, order] { sortByKeys({{order->currentData().toInt(), true}}); });
    addCodeAndNameSearch(QStringLiteral("جستجوي کد حساب"), QStringLiteral("HESABNO"), QStringLiteral("جستجوي شماره حساب بانكي"));
}

} // namespace orvak::ui::basedata
