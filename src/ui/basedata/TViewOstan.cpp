#include "ui/basedata/TViewOstan.h"

#include "ui/basedata/TDE_CodeName.h"
#include "core/basedata/PlanBankLists.h"
#include "core/basedata/Provinces.h"

namespace orvak::ui::basedata {

namespace {

framework::ListUi commands(Session& session)
{
    auto provinces = std::make_shared<orvak::basedata::Provinces>(session);
    return registerCommands(
        [provinces](framework::ListScreen& l) {
            return std::make_unique<TDE_CodeName>(*provinces, QStringLiteral("استان"), QStringLiteral("نام استان"), 100, &l);
        },
        [provinces](qint64 code, startup::Prompt& prompt) { return provinces->remove(code, prompt); });
}

} // namespace

TViewOstan::TViewOstan(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::provincesList(), commands(session), parent)
{
    addCodeAndNameSearch(QStringLiteral("جستــجوي كد استان"), QStringLiteral("NAME"), QStringLiteral("كلمه در نام استان"));
}

} // namespace orvak::ui::basedata
