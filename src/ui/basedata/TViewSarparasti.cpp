#include "ui/basedata/TViewSarparasti.h"

#include "ui/basedata/Pickers.h"
#include "ui/basedata/TDE_CodeName.h"
#include "core/basedata/PlanBankLists.h"
#include "core/basedata/Provinces.h"
#include "core/basedata/SupervisingOffices.h"

namespace orvak::ui::basedata {

namespace {

framework::ListUi commands(Session& session)
{
    auto offices = std::make_shared<orvak::basedata::SupervisingOffices>(session);
    return registerCommands(
        [offices, &session](framework::ListScreen& l) {
            auto form = std::make_unique<TDE_CodeName>(*offices, QStringLiteral("سرپرستي"), QStringLiteral("نام سرپرستي"), 100, &l);
            form->addParent(QStringLiteral("استان"), provinceField(session, form.get()));
            return form;
        },
        [offices](qint64 code, startup::Prompt& prompt) { return offices->remove(code, prompt); });
}

} // namespace

TViewSarparasti::TViewSarparasti(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::supervisingOfficesList(), commands(session), parent)
{
    addChoice(QStringLiteral("استان"), QStringLiteral(":POstan"),
              codeChoices(orvak::basedata::codeNames(session, orvak::basedata::Provinces::table(), QStringLiteral("NAME"))));
    addCodeAndNameSearch(QStringLiteral("جستجوي کد سرپرستي"), QStringLiteral("NAME"), QStringLiteral("کلمه در نام سرپرستي"));
}

} // namespace orvak::ui::basedata
