#include "ui/basedata/TViewHesab.h"

#include "ui/basedata/TDE_Hesab.h"
#include "core/basedata/OfficeAccounts.h"
#include "core/basedata/PlanBankLists.h"

#include <QComboBox>

namespace orvak::ui::basedata {

namespace {

framework::ListUi commands(Session& session)
{
    return registerCommands([&session](framework::ListScreen& l) { return std::make_unique<TDE_Hesab>(session, &l); },
                            [&session](qint64 code, startup::Prompt& prompt) { return orvak::basedata::OfficeAccounts(session).remove(code, prompt); });
}

} // namespace

TViewHesab::TViewHesab(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::officeAccountsList(session.SectionCode()), commands(session), parent)
{
    followSection(QStringLiteral(":pbranchc"));
    // The orders: code, account number, branch name, branch code, purpose, bank.
    auto* order = addChoice(QStringLiteral("ترتيب"), QStringLiteral(":Order"),
                            {{QStringLiteral("كد "), 0}, {QStringLiteral("حساب بانكي"), 1}, {QStringLiteral("نام شعبه"), 4}, {QStringLiteral("كد شعبه"), 3},
                             {QStringLiteral("موضوع حساب"), 5}, {QStringLiteral("بانک"), 2}});
    disconnect(order, &QComboBox::activated, this, nullptr);
    connect(order, &QComboBox::activated, this, [this, order] { sortByKeys({{order->currentData().toInt(), true}}); });
    addCodeAndNameSearch(QStringLiteral("جستجوي کد حساب"), QStringLiteral("HESABNO"), QStringLiteral("جستجوي شماره حساب بانكي"));
}

} // namespace orvak::ui::basedata
