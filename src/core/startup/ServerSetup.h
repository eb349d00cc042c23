#pragma once
// Initial set-up of a server (login, common database, first user) and set-up of a
// workstation (connection file, server registration), as the set-up screen and
// orvakctl run them.
#include "core/startup/Session.h"

namespace orvak::startup {

struct InitialSetupRequest {
    QString serverName;          // SQL db::Server name, or "LOCAL:<folder>"
    QString adminUser = QStringLiteral("sa");
    QString adminPassword;
    QString dataFolder;          // server folder for the data files (SQL db::Server)
    int sqlVersionIndex = 2;
};

struct InitialSetupResult {
    bool ok = false;
    bool createdCommonDatabase = false;
    int userCode = 0;
    QString initialPassword;     // the first user's, to be told to the administrator
};

// The orvak login's password, when it has to be created, is asked through the
// prompt ("SQL SERVER Orvak Password ?").
InitialSetupResult initialSetup(Session& session, const InitialSetupRequest& request, Prompt& prompt);

// Checks the orvak password against the server, writes the connection file,
// connects and registers this program's server row.
bool workstationSetup(Session& session, const QString& serverName, const QString& orvakPassword, int sqlVersionIndex,
                      Prompt& prompt);

// Creates the accounting database of a section and year through the structure
// update (for offices without the family's accounting program, and the demo).
bool createAccountingDatabase(Session& session, int year, const QString& section, Prompt& prompt);

// The stored form of a user's password for this program.
QString scrambledPassword(const QString& password, int userCode, int installationNumber);

} // namespace orvak::startup
