#pragma once
// The version registry that ties a database to the program versions allowed to use
// it, and this program's list of guarded menu entries.
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"
#include "core/startup/StructureUpdate.h"

namespace orvak::startup {

enum class VersionCheck { Allowed, RegistrationRequested, Refused };

// The login's check: an unregistered version asks whether to register it (yes ends
// the login so that it can be registered); a newer registered version refuses.
VersionCheck CheckVersion(Session& session, Prompt& prompt, int versionNumber = VersionNumber);

// Registers a version; refused (with a message) when a higher one is registered.
bool registerVersion(Session& session, Prompt& prompt, int versionNumber = VersionNumber);

// The guarded entries, in menu order (entry n has MENUID n).
QStringList guardedEntries();

// Rewrites this program's ACCESSLIST rows when they differ from the list; *changed
// says whether it had to.
bool RebuildAccessList(QSqlDatabase db, const db::Dialect& dialect, bool* changed = nullptr, QString* error = nullptr);

// The structure update of the common database, followed by the access list.
UpdateReport updateCommonDatabase(db::Server& server, const QString& dbName, Prompt& prompt, int parts = UpdateAll);

} // namespace orvak::startup
