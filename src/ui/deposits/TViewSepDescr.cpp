#include "ui/deposits/TViewSepDescr.h"

#include "ui/basedata/TDE_CodeName.h"
#include "ui/framework/Picker.h"
#include "core/deposits/DepositDescriptions.h"

namespace orvak::ui::deposits {

namespace {

framework::ListUi commands(orvak::startup::Session& session)
{
    auto descriptions = std::make_shared<orvak::deposits::DepositDescriptions>(session);
    return basedata::registerCommands(
        [descriptions](framework::ListScreen& l) {
            return std::make_unique<basedata::TDE_CodeName>(*descriptions, QStringLiteral("شرح هاي استاندارد سپرده"), QStringLiteral("شرح"), 30, &l);
        },
        [descriptions](qint64 code, startup::Prompt& prompt) { return descriptions->remove(code, prompt); });
}

} // namespace

TViewSepDescr::TViewSepDescr(orvak::startup::Session& session, QWidget* parent)
    : RegisterList(session, orvak::deposits::depositDescriptionsList(), commands(session), parent)
{
    addCodeAndNameSearch(QStringLiteral("جستجوي کد"), QStringLiteral("NAME"), QStringLiteral("کلمه در شرح"));
}

std::optional<QString> pickSepDescription(QWidget* parent, orvak::startup::Session& session)
{
    framework::PickRequest request;
    request.fields = {QStringLiteral("NAME")};
    const auto picked = framework::pickFrom(new TViewSepDescr(session), request, parent);
    if (!picked)
        return std::nullopt;
    return picked->current.value(QStringLiteral("NAME")).toString().trimmed();
}

} // namespace orvak::ui::deposits
