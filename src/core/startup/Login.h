#pragma once
// Logging in, the logged-in user's values, the saved-login file, changing user and
// password, and the check of a guarded command.
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"
#include "core/startup/Versions.h"

namespace orvak::startup {

// "orvaksepordeh.psw" in the start folder, two lines: the user code and the
// password's scrambled form (as PROGUSERS.PASSWORD holds it, its Windows-1256 bytes
// in hex). The clear password is never written; the file is readable by its owner
// only.
struct SavedLogin {
    QString userCode;
    QString scrambledPassword;
    bool saved = false;
};
SavedLogin readSavedLogin(const QString& startDir);
bool writeSavedLogin(const QString& startDir, const QString& userCode, const QString& scrambledPassword, bool save);

// The password a login checks: as typed, or this workstation's saved login, whose
// scrambled form is compared with the stored one as it is (it is never made clear
// again). A QString converts to a typed password.
struct LoginPassword {
    LoginPassword(QString typedPassword = {}) : typed(std::move(typedPassword)) {}
    static LoginPassword savedLogin()
    {
        LoginPassword p;
        p.fromSavedLogin = true;
        return p;
    }
    QString typed;
    bool fromSavedLogin = false;
};

enum class LoginOutcome { LoggedIn, NotAllowed, NoUsers, RegisterVersion, VersionRefused, WrongPassword, Blocked, TooSoon, NoServer };

struct LoginResult {
    LoginOutcome outcome = LoginOutcome::NoServer;
    QList<int> programUserCodes;   // offered in the user-code list
};

// The login's steps from reading the user to loading the rights (the connection is
// made by the caller). Messages go through the prompt, word for word. The password
// is checked before anything else is done for the code (the version question
// included); a blocked user is refused after it; repeated failures of a code wait
// (session.loginThrottle()).
LoginResult login(Session& session, const QString& userCode, const LoginPassword& password, bool savePassword, Prompt& prompt);

// The same checks of code and password (blocked users and the waits included) and
// the user's rights, without the version question or the saved login: for tools that
// act as a user (orvakctl --user).
bool logInAs(Session& session, const QString& userCode, const QString& password, Prompt& prompt);

// Reads the user's family and program rows into the session.
bool LoadUserRights(Session& session, int userCode);

// The lock / change-user dialog's check. Failures in a row of a code are counted in
// session.loginThrottle(): from the fourth the suspicious-attempt warning is added and
// the next try waits. A blocked user is refused.
bool changeUser(Session& session, const QString& userCode, const QString& password, Prompt& prompt);

// TFPass2: the current password and the new one twice.
bool changeOwnPassword(Session& session, const QString& current, const QString& newPassword, const QString& repeated, Prompt& prompt);
// After his password changed: when the logged-in user's personal record is incomplete,
// asks whether he wants to complete it now (true: open it).
bool offerRecordCompletion(Session& session, Prompt& prompt);
QString incompleteRecordText();   // shown on the password dialog while it is so
// TFPass3: a user with the edit right on the users entry sets another user's password.
bool setUserPassword(Session& session, int userCode, const QString& newPassword, const QString& repeated, Prompt& prompt);

// Whether the user's write level lets him change the deposit registers (0 or 2).
bool canWriteDeposits(const Session& session);
// The refusal of a guarded menu command, when the user's access says no.
bool refusedMenu(Session& session, int menuId, Prompt& prompt);


} // namespace orvak::startup
