#pragma once
// A demo installation in a temporary folder for the benchmarks, built around a
// fixed day so that every run measures the same data.
#include "core/demo/DemoInstallation.h"
#include "core/startup/Session.h"
#include "support/ScriptedPrompt.h"

#include <QTemporaryDir>
#include <memory>

namespace orvak::bench {

struct BenchInstallation {
    QTemporaryDir dir;
    demo::DemoSummary summary;

    explicit BenchInstallation(int scale)
    {
        demo::DemoOptions o;
        o.folder = dir.path();
        o.scale = scale;
        o.today = QStringLiteral("1405/09/18");
        startup::ScriptedPrompt prompt;
        summary = demo::buildDemoInstallation(o, prompt);
    }
    bool ok() const { return summary.ok; }

    // A session connected through the installation's SERVER.INI.
    std::unique_ptr<startup::Session> connect(startup::Prompt& prompt) const
    {
        auto session = std::make_unique<startup::Session>(dir.path(), startup::SiteConfig{demo::DemoInstallationNumber, QStringLiteral("bench")});
        session->ReadConnectionFile();
        session->ConnectServer(prompt);
        return session;
    }
};

} // namespace orvak::bench
