#include "ui/startup/TABOUTAPP.h"

namespace orvak::ui::startup {

TABOUTAPP::TABOUTAPP(Session& session, QWidget* parent)
    : AboutBox(QStringLiteral("شناسنامه نرم افزار « سپرده ها و تضمينات  »"),
               {ApplicationTitle(), QStringLiteral("شناسه برنامه: ") + QString::number(ProgID) + QStringLiteral("  کليد: ") + ProgramKey()},
               session, parent)
{
}

} // namespace orvak::ui::startup
