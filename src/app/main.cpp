// The desktop program: prepares itself behind the loading screen, then hands over
// to the login form, inside which all further work runs.
#include "ScreenCheckMode.h"
#include "ui/framework/AppStyle.h"
#include "ui/framework/MessageBoxes.h"
#include "ui/framework/ScreenRegistry.h"
#include "core/startup/Program.h"
#include "core/startup/Session.h"
#include "ui/startup/TFInit.h"
#include "ui/startup/TFLoading.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

using namespace orvak;

int main(int argc, char** argv)
{
    QElapsedTimer launched;
    launched.start();
    const bool checkScreens = wantsScreenCheck(argc, argv);
    // The check opens its screens where nobody sees them.
    if (checkScreens && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvak"));
    ui::framework::applyPersianStyle(app);
    if (checkScreens)
        return runScreenCheck();
    const QString startDir = QDir::currentPath();

    ui::startup::TFLoading loading;
    loading.show();
    loading.StepProgress();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    loading.setMaximum(12);
    loading.repaint();
    QApplication::setApplicationDisplayName(startup::ApplicationTitle());
    // Nothing is made ahead of the login here (screens are made when first opened),
    // so the bar goes to its end at once.
    loading.finish();
    loading.StepProgress();
    QApplication::restoreOverrideCursor();
    loading.StepProgress();

    QString error;
    const std::optional<startup::SiteConfig> site = startup::readSiteConfig(startDir, &error);
    loading.StepProgress();
    if (!site) {
        loading.close();
        ui::framework::ShowError(error);
        return 1;
    }
    startup::Session session(startDir, *site);
    if (startup::SystemTitleLatin().isEmpty())
        ui::framework::ShowInfo(QStringLiteral("INI_APPNAMELATIN:نام لاتين مشخص نيست"));
    session.ReadConnectionFile();   // the login reads it again
    loading.StepProgress();
    loading.close();

    auto* login = ui::framework::EnsureForm<ui::startup::TFInit>(session);
    // For measuring the start: leave as soon as the login form is up.
    if (qEnvironmentVariableIsSet("ORVAK_EXIT_AT_LOGIN")) {
        QTimer::singleShot(0, login, [login, &launched] {
            std::fprintf(stderr, "login form after %lld ms\n", static_cast<long long>(launched.elapsed()));
            login->endProgram();
        });
    }
    login->run();

    ui::framework::closeAllScreens();
    session.CloseConnections();
    return 0;
}
