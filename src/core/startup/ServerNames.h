#pragma once
// Where a workstation's server is: a local data folder named "LOCAL:<folder>" in the
// connection table, or a SQL Server; and the server object for the settings.
#include "core/db/Server.h"

#include <memory>

namespace orvak::startup {

// "LOCAL:<folder>" names a local data folder; anything else is a SQL Server name.
inline constexpr const char* LocalServerPrefix = "LOCAL:";
bool isLocalServerName(const QString& serverName);
// The folder of a local server name, resolved against the start folder (a folder
// too long for the connection table is kept in LOCALDATA.TXT beside it).
QString localFolderOf(const QString& serverName, const QString& startDir);
// The server name to store for a local folder (relative to the start folder when
// inside it); writes LOCALDATA.TXT when the name would not fit the table's field.
QString localServerNameFor(const QString& folder, const QString& startDir);

std::unique_ptr<db::Server> makeServer(const db::ConnectionSettings& settings, const QString& startDir);

} // namespace orvak::startup
