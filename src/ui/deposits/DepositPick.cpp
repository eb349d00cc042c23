#include "ui/deposits/DepositPick.h"

#include "ui/deposits/ConditionList.h"
#include "ui/deposits/TViewSepDar.h"
#include "ui/framework/Picker.h"

namespace orvak::ui::deposits {

namespace {

TViewSepDar* registerUpToNow(orvak::startup::Session& session, int owner)
{
    auto* list = new TViewSepDar(session);
    orvak::deposits::DepositFilter f = list->filter();
    f.mode = orvak::deposits::PeriodMode::Cumulative;
    f.owner = owner;
    list->setFilter(f);
    return list;
}

} // namespace

std::optional<int> pickDeposit(QWidget* parent, orvak::startup::Session& session, int owner)
{
    framework::PickRequest request;
    request.fields = {QStringLiteral("IDX")};
    request.continueText = QStringLiteral("انتخاب");
    const auto picked = framework::pickFrom(registerUpToNow(session, owner), request, parent);
    if (!picked)
        return std::nullopt;
    return picked->current.value(QStringLiteral("IDX")).toInt();
}

std::optional<QList<int>> chooseDeposits(QWidget* parent, orvak::startup::Session& session)
{
    auto* list = new TViewSepDar(session);
    list->applyFilter();
    const auto rows = chooseRows(list, {QStringLiteral("IDX")}, parent);
    if (!rows)
        return std::nullopt;
    QList<int> idx;
    for (const QVariantMap& r : *rows)
        idx << r.value(QStringLiteral("IDX")).toInt();
    return idx;
}

} // namespace orvak::ui::deposits
