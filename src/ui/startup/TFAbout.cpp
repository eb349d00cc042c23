#include "ui/startup/TFAbout.h"

namespace orvak::ui::startup {

TFAbout::TFAbout(Session& session, QWidget* parent)
    : AboutBox(QStringLiteral("درباره نرم افزارهاي اورواک"),
               {QStringLiteral("اورواک: خانواده نرم افزارهاي مالي و اداري ذيحسابي ها"), QStringLiteral("نرم افزارهاي خانواده، کاربران، تفصيلي ها، قراردادها، طرح ها و بانک ها را در يک بانک اطلاعاتي مشترک نگه مي دارند.")},
               session, parent)
{
}

} // namespace orvak::ui::startup
