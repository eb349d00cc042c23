#pragma once
// The session of a command: the site file and SERVER.INI of the start folder, as the
// desktop program reads them.
#include "cli/Cli.h"
#include "cli/TerminalPrompt.h"

#include "core/io/ListDefinition.h"
#include "core/startup/Session.h"

namespace orvak::cli {

// Runs work on a session connected through SERVER.INI; the exit code of the work,
// or of whatever failed before it.
int withSession(Context& ctx, const Options& o, bool assumeYes, const std::function<int(startup::Session&, TerminalPrompt&)>& work);

// --user CODE --password P, taken by every command that writes.
QList<OptionRule> userOptions();

// A command that writes: its session as withSession; with --user, that user logged
// in through core (a wrong password or a blocked user refused, exit 1), whose rights
// and write level the work applies as the screen does; without it, the server
// machine's administrator (administrator true), whose changes the history records as
// user 0 from this workstation. --user without --password, or the other way, is a
// usage error told before anything is touched.
int withWriter(Context& ctx, const Options& o, const QString& command, bool assumeYes,
               const std::function<int(startup::Session&, TerminalPrompt&, bool administrator)>& work);

// A declared list as TSV, written as its rows are read (header, rows, then the
// summed columns' totals unless totals is false); what names the list in the
// failure's message ("اشکال در خواندن <what>: ...").
int printStreamedList(Context& ctx, startup::Session& session, const io::ListDefinition& list, const QVariantMap& values,
                      const QString& what, bool totals = true);

// The section's deposits database for the current year, opened as the main window does.
bool openCurrentSection(startup::Session& session, startup::Prompt& prompt, const QString& section = QStringLiteral("0"));

} // namespace orvak::cli
