// The desktop program: prepares itself behind the loading screen, then hands over
// to the login form, inside which all further work runs.
#include "framework/AppStyle.h"
#include "framework/MessageBoxes.h"
#include "framework/ScreenRegistry.h"
#include "startup/Program.h"
#include "startup/Session.h"
#include "startup/TFInit.h"
#include "startup/TFLoading.h"

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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvak"));
    framework::applyPersianStyle(app);
    const QString startDir = QDir::currentPath();

    startup::TFLoading loading;
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
        framework::ShowError(error);
        return 1;
    }
    startup::Session session(startDir, *site);
    if (startup::SystemTitleLatin().isEmpty())
        framework::ShowInfo(QStringLiteral("INI_APPNAMELATIN:نام لاتين مشخص نيست"));
    session.ReadConnectionFile();   // the login reads it again
    loading.StepProgress();
    loading.close();

    auto* login = framework::EnsureForm<startup::TFInit>(session);
    // For measuring the start: leave as soon as the login form is up.
    if (qEnvironmentVariableIsSet("ORVAK_EXIT_AT_LOGIN")) {
        QTimer::singleShot(0, login, [login, &launched] {
            std::fprintf(stderr, "login form after %lld ms\n", static_cast<long long>(launched.elapsed()));
            login->done(0);
        });
    }
    login->exec();

    framework::closeAllScreens();
    session.CloseConnections();
    return 0;
}
