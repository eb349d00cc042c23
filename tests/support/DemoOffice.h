#pragma once
// The demo installation in a temporary folder, connected and with section 0 of its
// last fiscal year open, as a user would find it after logging in. The installation
// is built once per test program and copied for each test.
#include "core/demo/DemoInstallation.h"
#include "core/startup/Session.h"
#include "support/History.h"
#include "support/ScriptedPrompt.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace orvak::test {

struct DemoOffice {
    QTemporaryDir dir;
    std::unique_ptr<startup::Session> session;

    DemoOffice()
    {
        static QTemporaryDir built;
        static const bool ok = [] {
            demo::DemoOptions o;
            o.folder = built.path();
            o.seed = 11;
            o.today = QStringLiteral("1405/09/18");
            startup::ScriptedPrompt prompt;
            const demo::DemoSummary summary = demo::buildDemoInstallation(o, prompt);
            EXPECT_TRUE(summary.ok) << summary.message.toStdString();
            return summary.ok;
        }();
        EXPECT_TRUE(ok);
        const QDir from(built.path());
        QDirIterator files(built.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString source = files.next();
            const QString target = dir.filePath(from.relativeFilePath(source));
            QDir().mkpath(QFileInfo(target).path());
            EXPECT_TRUE(QFile::copy(source, target)) << source.toStdString();
        }
        session = std::make_unique<startup::Session>(dir.path(), startup::SiteConfig{demo::DemoInstallationNumber, QStringLiteral("x")});
        startup::ScriptedPrompt quiet;
        EXPECT_EQ(session->ReadConnectionFile(), startup::ConnectionFileState::Ready);
        EXPECT_TRUE(session->ConnectServer(quiet));
        EXPECT_TRUE(session->OpenSection(1405, QStringLiteral("0"), quiet));
    }
};

} // namespace orvak::test
