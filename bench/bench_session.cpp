// Opening a financial section on the local back-end: every step, as the main
// window does at start and on each change of section.
#include "BenchInstallation.h"
#include "core/db/Db.h"
#include "core/startup/Login.h"
#include "core/startup/ServerSetup.h"
#include "core/startup/Session.h"
#include "support/ScriptedPrompt.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orvak;
using namespace orvak::startup;
using namespace orvak::db;

static void BM_OpenSection(benchmark::State& state)
{
    QTemporaryDir dir;
    const SiteConfig site{275, QStringLiteral("bench")};
    writeSiteConfig(dir.path(), site);
    {
        Session setup(dir.path(), site);
        ScriptedPrompt prompt({}, true);
        prompt.texts << QStringLiteral("pw");
        InitialSetupRequest request;
        request.serverName = QStringLiteral("LOCAL:DATA");
        request.adminUser = QStringLiteral("orvak");
        request.adminPassword = QStringLiteral("pw");
        if (!initialSetup(setup, request, prompt).ok || !workstationSetup(setup, request.serverName, QStringLiteral("pw"), 2, prompt)) {
            state.SkipWithError("set-up failed");
            return;
        }
        setup.OpenSection(1403, QStringLiteral("0"), prompt);
        setup.OpenSection(1403, QStringLiteral("1"), prompt);
        setup.server()->createDatabase(QStringLiteral("ORVAKC275C0Y1403"), QString(), nullptr);
        setup.server()->createDatabase(QStringLiteral("ORVAKC275C1Y1403"), QString(), nullptr);
        db::execSql(setup.deposits(), QStringLiteral("INSERT INTO GENERAL_INFO (CODE, OSTANNAME) VALUES (1, 'x')"));
    }
    Session session(dir.path(), site);
    ScriptedPrompt prompt;
    session.ReadConnectionFile();
    session.ConnectServer(prompt);
    int i = 0;
    for (auto _ : state) {
        // Alternate sections so that each open really switches databases.
        if (!session.OpenSection(1403, (i++ % 2) ? QStringLiteral("1") : QStringLiteral("0"), prompt))
            state.SkipWithError("OpenSection failed");
    }
}
BENCHMARK(BM_OpenSection)->Unit(benchmark::kMillisecond);

// From pressing login to a usable main window: the login's checks and rights, then
// the section the main window opens on its first tick, on the demo installation of
// scale 1 and of scale 100 (about a million deposits): the time must not grow with the data.
static void BM_LoginAndOpenSectionOnDemo(benchmark::State& state)
{
    const bench::BenchInstallation installation(int(state.range(0)));
    if (!installation.ok()) {
        state.SkipWithError("demo installation failed");
        return;
    }
    ScriptedPrompt prompt({}, true);
    for (auto _ : state) {
        const std::unique_ptr<Session> connected = installation.connect(prompt);
        Session& session = *connected;
        if (login(session, QStringLiteral("3"), QString::fromLatin1(demo::DemoManagerPassword), false, prompt).outcome != LoginOutcome::LoggedIn
            || !session.OpenSection(1405, QStringLiteral("0"), prompt))
            state.SkipWithError("login failed");
    }
}
BENCHMARK(BM_LoginAndOpenSectionOnDemo)->Arg(1)->Arg(100)->ArgName("scale")->Unit(benchmark::kMillisecond);
