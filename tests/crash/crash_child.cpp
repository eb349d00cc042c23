// Runs one unit of work of the crash test on an installation folder and is ended by
// the file layer at the chosen step:
//   orvak_crash_child FOLDER OPERATION CRASH_AT kill|power
// CRASH_AT 0 runs the work whole and prints the number of steps it took; -1 only
// prepares it (what it reads first), for the state the work starts from.
#include "core/demo/DemoInstallation.h"
#include "core/startup/Session.h"
#include "crash/CrashOperations.h"
#include "crash/CrashVfs.h"
#include "support/ScriptedPrompt.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

using namespace orvak;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: orvak_crash_child FOLDER OPERATION CRASH_AT kill|power\n");
        return 2;
    }
    const QString folder = QDir(args[1]).absolutePath();
    const test::crash::Operation* op = test::crash::findOperation(args[2]);
    if (!op || !test::crash::install(QDir(folder).filePath(QStringLiteral("DATA")))) {
        std::fprintf(stderr, "unknown operation or no file layer\n");
        return 2;
    }
    startup::Session session(folder, startup::SiteConfig{demo::DemoInstallationNumber, QStringLiteral("x")});
    startup::ScriptedPrompt quiet;
    if (session.ReadConnectionFile() != startup::ConnectionFileState::Ready || !session.ConnectServer(quiet)
        || !session.OpenSection(1405, QStringLiteral("0"), quiet)) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(quiet.text()));
        return 3;
    }
    session.setCurrentUserCode(3);
    QString why;
    const test::crash::Operation::Work work = op->prepare(session, &why);
    if (!work) {
        std::fprintf(stderr, "prepare: %s\n", qPrintable(why));
        return 4;
    }
    if (args[3].toInt() < 0)
        return 0;   // the state the work starts from
    test::crash::arm(args[3].toInt(), args[4] == QLatin1String("power") ? test::crash::Ending::PowerCut : test::crash::Ending::Kill);
    if (!work(&why)) {
        std::fprintf(stderr, "work: %s\n", qPrintable(why));
        return 5;
    }
    std::printf("%d\n", test::crash::steps());
    return 0;
}
