#pragma once
// Logging in, the logged-in user's values, the saved-login file, changing user and
// password, and the program's users and their rights.
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"
#include "core/startup/Versions.h"

namespace orvak::startup {

// "orvaksepordeh.psw" in the start folder: the user code and the password.
struct SavedLogin {
    QString userCode;
    QString password;
    bool saved = false;
};
SavedLogin readSavedLogin(const QString& startDir);
bool writeSavedLogin(const QString& startDir, const QString& userCode, const QString& password, bool save);

enum class LoginOutcome { LoggedIn, NotAllowed, NoUsers, RegisterVersion, VersionRefused, WrongPassword, NoServer };

struct LoginResult {
    LoginOutcome outcome = LoginOutcome::NoServer;
    QList<int> programUserCodes;   // offered in the user-code list
};

// The login's steps from reading the user to loading the rights (the connection is
// made by the caller). Messages go through the prompt, word for word.
LoginResult login(Session& session, const QString& userCode, const QString& password, bool savePassword, Prompt& prompt);

// Reads the user's family and program rows into the session.
bool LoadUserRights(Session& session, int userCode);

// The lock / change-user dialog's check; failures counts the failed attempts of the
// whole run (from the fourth on the suspicious-attempt warning is added).
bool changeUser(Session& session, const QString& userCode, const QString& password, int& failures, Prompt& prompt);

// TFPass2: the current password and the new one twice.
bool changeOwnPassword(Session& session, const QString& current, const QString& newPassword, const QString& repeated, Prompt& prompt);
// TFPass3: a manager sets another user's password.
bool setUserPassword(Session& session, int userCode, const QString& newPassword, const QString& repeated, Prompt& prompt);

// Whether the user's write level lets him change the deposit registers (0 or 2).
bool canWriteDeposits(const Session& session);
// The refusal of a guarded menu command, when GetAccess says no.
bool refusedMenu(Session& session, int menuId, Prompt& prompt);

// ---- the program's users (PROGUSERS) and the family's users (USERS)

struct ProgramUser {
    int code = 0;
    bool manager = false;
    bool enabled = true;
    int sel[5] = {0, 0, 0, 0, 0};
    QString password;   // clear; only on insert
};
std::optional<ProgramUser> readProgramUser(Session& session, int code);
bool saveProgramUser(Session& session, const ProgramUser& user, bool insert, Prompt& prompt);
bool deleteProgramUser(Session& session, int code, Prompt& prompt);

struct FamilyUser {
    int code = 0;
    QString lastName, name;
    bool manager = false;
    bool enabled = true;
    int eskind = 0;
    QString post, job, madrak, birthDate, employmentDate;
    int personCode = 0;
};
std::optional<FamilyUser> readFamilyUser(Session& session, int code);
int nextFamilyUserCode(Session& session);
// Names of the family's users by code, for the lists' name columns.
QHash<int, QString> userNames(Session& session);
bool saveFamilyUser(Session& session, const FamilyUser& user, bool insert, Prompt& prompt);
bool deleteFamilyUser(Session& session, int code, Prompt& prompt);

// ---- rights (ACCESSCONTROL)

struct Right {
    int menuId = 0;
    QString name;
    int kinds[7] = {0, 0, 0, 0, 0, 0, 0};   // ACCESSKIND1..7
};
QList<Right> userRights(Session& session, int userCode);
bool saveRights(Session& session, int userCode, const QList<Right>& rights, Prompt& prompt);
// The bulk commands: revoke all, grant all (kinds 2 to 6), report level (kind 2).
enum class BulkRights { RevokeAll, GrantAll, ReportLevel };
QList<Right> bulkRights(const QList<Right>& rights, BulkRights what);

// The logged-in user's background picture (USERS.BkGround).
bool setUserBackground(Session& session, const QString& picture);

} // namespace orvak::startup
