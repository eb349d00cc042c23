#include "ui/basedata/TViewMTE.h"

#include "ui/basedata/TDE_MTE.h"
#include "core/basedata/ContractCreditSources.h"
#include "core/basedata/ContractLists.h"

namespace orvak::ui::basedata {

TViewMTE::TViewMTE(Session& session, QWidget* parent)
    : RegisterList(session, orvak::basedata::creditSourcesList(session.SectionCode()),
                   registerCommandsOf<TDE_MTE, orvak::basedata::ContractCreditSources>(session), parent)
{
    followSection(QStringLiteral(":CI"));
    addCodeAndNameSearch(QStringLiteral("جستجوي کد"), QStringLiteral("DESCR"), QStringLiteral("کلمه در شرح"));
}

} // namespace orvak::ui::basedata
