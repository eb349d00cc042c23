#pragma once
// The session of a command: the site file and SERVER.INI of the start folder, as the
// desktop program reads them.
#include "cli/Cli.h"
#include "cli/TerminalPrompt.h"

#include "core/startup/Session.h"

namespace orvak::cli {

// Runs work on a session connected through SERVER.INI; the exit code of the work,
// or of whatever failed before it.
int withSession(Context& ctx, const Options& o, bool assumeYes, const std::function<int(startup::Session&, TerminalPrompt&)>& work);

// The section's deposits database for the current year, opened as the main window does.
bool openCurrentSection(startup::Session& session, startup::Prompt& prompt, const QString& section = QStringLiteral("0"));

} // namespace orvak::cli
