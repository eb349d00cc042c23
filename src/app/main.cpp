// The desktop program: prepares itself behind the loading screen, then hands over
// to the start window inside which all further work runs.
#include "framework/AppStyle.h"
#include "framework/Doing.h"
#include "framework/MessageBoxes.h"
#include "framework/ScreenRegistry.h"
#include "startup/Program.h"
#include "startup/TFLoading.h"
#include "startup/TFStart.h"

#include <QApplication>
#include <QDir>

using namespace orvak;

int main(int argc, char** argv)
{
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
    for (int step = 0; step < 12; ++step)
        loading.StepProgress();
    loading.finish();
    QApplication::restoreOverrideCursor();

    QString error;
    const std::optional<startup::SiteConfig> site = startup::readSiteConfig(startDir, &error);
    loading.StepProgress();
    if (!site) {
        loading.close();
        framework::ShowError(error);
        return 1;
    }
    // The connection file is read here; connecting waits for the login screen, and
    // until it exists the start window connects straight away.
    startup::Session session(startDir, *site);
    const startup::ConnectionFileState state = session.ReadConnectionFile(&error);
    loading.StepProgress();
    loading.close();
    framework::MessagePrompt prompt;
    if (state == startup::ConnectionFileState::Ready)
        session.ConnectServer(prompt);
    else if (state == startup::ConnectionFileState::Unreadable)
        framework::ShowError(error);

    auto* start = framework::EnsureForm<startup::TFStart>();
    start->setSite(*site);
    start->setSession(&session);
    start->show();
    const int rc = QApplication::exec();
    framework::closeAllScreens();
    return rc;
}
