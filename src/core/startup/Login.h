#pragma once
// Logging in, the logged-in user's values, the saved-login file, changing user and
// password, and the check of a guarded command.
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


} // namespace orvak::startup
