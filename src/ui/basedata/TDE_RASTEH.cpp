#include "ui/basedata/TDE_RASTEH.h"

namespace orvak::ui::basedata {

TDE_RASTEH::TDE_RASTEH(startup::Session& session, QWidget* parent)
    : CodedEntryForm(QStringLiteral("رشته ها"), QStringLiteral("کد"), QStringLiteral("رشته"), 20, parent)
    , trades_(session)
{
}

} // namespace orvak::ui::basedata
