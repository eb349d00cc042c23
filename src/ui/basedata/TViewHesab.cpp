#include "ui/basedata/TViewHesab.h"

#include "ui/basedata/TDE_Hesab.h"
#include "core/basedata/OfficeAccounts.h"
#include "core/basedata/PlanBankLists.h"

#include "ui/framework/MessageBoxes.h"

#include <QComboBox>

namespace orvak::ui::basedata {

TViewHesab::TViewHesab(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::officeAccountsList(session.SectionCode()), registerCommandsOf<TDE_Hesab, orvak::basedata::OfficeAccounts>(session), parent)
{
    followSection(QStringLiteral(":pbranchc"));
    // The orders: code, account number, branch name, branch code, purpose, bank.
    auto* order = addChoice(QStringLiteral("ترتيب"), QStringLiteral(":Order"),
                            {{QStringLiteral("كد "), 0}, {QStringLiteral("حساب بانكي"), 1}, {QStringLiteral("نام شعبه"), 4}, {QStringLiteral("كد شعبه"), 3},
                             {QStringLiteral("موضوع حساب"), 5}, {QStringLiteral("بانک"), 2}});
    disconnect(order, &QComboBox::activated, this, nullptr);
    connect(order, &QComboBox::activated, this, [this, order] { sortByKeys({{order->currentData().toInt(), true}}); });
    addCodeAndNameSearch(QStringLiteral("جستجوي کد حساب"), QStringLiteral("HESABNO"), QStringLiteral("جستجوي شماره حساب بانكي"));
    moving_ = addCheck(QStringLiteral("داراي گردش حسابداري"), [this] { applyTicks(); });
    reconciled_ = addCheck(QStringLiteral("داراي مغايرت بانکي ماه  قبل"), [this] { applyTicks(); });
}

void TViewHesab::applyTicks()
{
    if (!moving_->isChecked() && !reconciled_->isChecked()) {
        removeFilters();
        return;
    }
    const orvak::basedata::OfficeAccounts accounts(session());
    std::optional<QList<qint64>> codes;
    auto keep = [&codes](const db::Fetched<QList<qint64>>& found) {
        QList<qint64> both;
        for (qint64 c : found.value())
            if (!codes || codes->contains(c))
                both << c;
        codes = both;
    };
    const int month = session().clock().month();
    for (const auto& [box, read] : {std::pair{moving_, 0}, std::pair{reconciled_, 1}}) {
        if (!box->isChecked())
            continue;
        const db::Fetched<QList<qint64>> found = read == 0 ? accounts.withAccountingMovements() : accounts.reconciledIn(month == 1 ? 12 : month - 1);
        if (!found) {
            framework::ShowError(found.error(), this);
            return;
        }
        keep(found);
    }
    setFilterText(orvak::basedata::codesFilter(QStringLiteral("CODE"), codes.value_or(QList<qint64>{})));
}

} // namespace orvak::ui::basedata
