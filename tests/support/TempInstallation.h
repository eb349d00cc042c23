#pragma once
// A fresh local installation in a temporary folder: site file, data folder with the
// orvak login, the common database with the first user, and SERVER.INI.
#include "core/startup/ServerSetup.h"
#include "core/startup/Session.h"
#include "support/History.h"
#include "support/ScriptedPrompt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace orvak::test {

inline constexpr int kInstallation = 275;
inline const char* const kOrvakPassword = "pa55word";

struct TempInstallation {
    QTemporaryDir dir;
    startup::SiteConfig site{kInstallation, QStringLiteral("ذيحسابي آزمايشي")};
    std::unique_ptr<startup::Session> session;
    startup::InitialSetupResult setup;

    QString path(const QString& name = {}) const { return name.isEmpty() ? dir.path() : dir.filePath(name); }
    QString serverName() const { return QStringLiteral("LOCAL:DATA"); }

    // Sets the server up and connects a session as the desktop program would.
    void create()
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(startup::writeSiteConfig(dir.path(), site));
        session = std::make_unique<startup::Session>(dir.path(), site);
        startup::ScriptedPrompt prompt({}, true);
        prompt.texts << QString::fromLatin1(kOrvakPassword);
        startup::InitialSetupRequest request;
        request.serverName = serverName();
        request.adminUser = QStringLiteral("orvak");
        request.adminPassword = QString::fromLatin1(kOrvakPassword);
        setup = startup::initialSetup(*session, request, prompt);
        ASSERT_TRUE(setup.ok) << prompt.infos.join(QLatin1Char('\n')).toStdString();
        ASSERT_TRUE(startup::workstationSetup(*session, serverName(), QString::fromLatin1(kOrvakPassword), 2, prompt))
            << prompt.infos.join(QLatin1Char('\n')).toStdString();
    }

    // A second session of the same installation, connected through SERVER.INI.
    std::unique_ptr<startup::Session> reconnect()
    {
        auto s = std::make_unique<startup::Session>(dir.path(), site);
        startup::ScriptedPrompt prompt;
        EXPECT_EQ(s->ReadConnectionFile(), startup::ConnectionFileState::Ready);
        EXPECT_TRUE(s->ConnectServer(prompt));
        return s;
    }
};

} // namespace orvak::test
