#include "ui/startup/TFAbout_ThisApp.h"

namespace orvak::ui::startup {

TFAbout_ThisApp::TFAbout_ThisApp(Session& session, QWidget* parent)
    : AboutBox(QStringLiteral("درباره اين نرم افزار..."),
               {QStringLiteral("دفتر سپرده هاي دريافتي (کسور حسن انجام کار، سپرده شرکت در مناقصه و ساير سپرده ها)، درخواست وجه از خزانه، استرداد سپرده ها، اعلاميه هاي بستانکاري و دفتر تضمينات قراردادها.")},
               session, parent)
{
}

} // namespace orvak::ui::startup
