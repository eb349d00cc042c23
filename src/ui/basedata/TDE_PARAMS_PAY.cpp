#include "ui/basedata/TDE_PARAMS_PAY.h"

namespace orvak::ui::basedata {

TDE_PARAMS_PAY::TDE_PARAMS_PAY(startup::Session& session, int kind, QWidget* parent)
    : CodedEntryForm(QStringLiteral("ورود اطلاعات"), QStringLiteral("كد"), QStringLiteral("نام"), 100, parent)
    , params_(session)
    , kind_(kind)
{
}

} // namespace orvak::ui::basedata
