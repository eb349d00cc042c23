#pragma once
// The family's users (USERS), this program's users (PROGUSERS), their rights on the
// guarded entries (ACCESSCONTROL) and the user's background picture.
// Every change of users or rights needs the logged-in user's bit on the users entry
// (UsersMenuId): insert, edit (rights and another's password too) or delete; a
// manager always has them. Refused, the prompt is told refusalText() and nothing
// changes. A manager's rows and the manager flag are a manager's alone
// (managerOnlyText()). The one exception: everyone keeps his own personal record
// (saveFamilyUser).
#include "core/io/ListDefinition.h"
#include "core/startup/Prompt.h"
#include "core/startup/Session.h"

namespace orvak::startup {

struct ProgramUser {
    int code = 0;
    bool manager = false;
    bool enabled = true;
    int sel[5] = {0, 0, 0, 0, 0};
    QString password;   // clear, not empty; only on insert (stored scrambled)
};
std::optional<ProgramUser> readProgramUser(Session& session, int code);
bool saveProgramUser(Session& session, const ProgramUser& user, bool insert, Prompt& prompt);
bool deleteProgramUser(Session& session, int code, Prompt& prompt);
// The refusal to delete, block or un-make the program's last allowed manager.
QString lastManagerText();
// A new user's code that is in use already.
QString userCodeTakenText();
// The guard of setting another user's password (the edit bit; a manager's, a manager).
bool mayChangeUserPassword(Session& session, int userCode, Prompt& prompt);

// A person's record in USERS. Dates are Jalali "YYYY/MM/DD"; an unknown one is read
// as stored (empty or the masked "    /  /  ") and written as the masked form.
struct FamilyUser {
    int code = 0;
    QString lastName, name;
    bool manager = false;
    bool enabled = true;
    bool changeOthers = false;   // CHNG_OTHERS
    int eskind = 0;
    int semat = 0;               // position code
    QString post, job, madrak, birthDate, employmentDate;
    int personCode = 0;
    QString background;          // BkGround: read only, kept by setUserBackground
};
std::optional<FamilyUser> readFamilyUser(Session& session, int code);
int nextFamilyUserCode(Session& session);
// Names of the family's users by code, for the lists' name columns.
QHash<int, QString> userNames(QSqlDatabase common);
// Whether the personal record lacks what the office asks of everyone: the personnel
// number, degree, job, post, or a real birth or employment date.
bool personalRecordIncomplete(const FamilyUser& user);
// Saves the record (one unit of work). Besides the users entry's bits, the logged-in
// user may keep his own personal record (not its switches: manager, enabled, may
// change others). Refuses texts longer than their columns, dates that are not real
// Jalali dates, a birth date in the future or after the employment date, and a
// personnel number that is not a positive whole number.
bool saveFamilyUser(Session& session, const FamilyUser& user, bool insert, Prompt& prompt);
bool deleteFamilyUser(Session& session, int code, Prompt& prompt);

// ---- rights (ACCESSCONTROL)

struct Right {
    int menuId = 0;
    QString name;
    // ACCESSKIND1..7; the seventh is no kind the check reads, and every change here
    // carries it through as it was stored.
    int kinds[7] = {0, 0, 0, 0, 0, 0, 0};
};
QList<Right> userRights(Session& session, int userCode);
bool saveRights(Session& session, int userCode, const QList<Right>& rights, Prompt& prompt);
// The captions of ACCESSKIND1..6 on the rights screen (keys F2 to F7).
QStringList accessKindCaptions();
// The bulk commands: revoke all, grant all (kinds 2 to 6), report level (kind 2);
// ACCESSKIND7 is left as it is.
enum class BulkRights { RevokeAll, GrantAll, ReportLevel };
QList<Right> bulkRights(const QList<Right>& rights, BulkRights what);

// The logged-in user's background picture (USERS.BkGround).
bool setUserBackground(Session& session, const QString& picture);

// The employment kinds of USERS.ESKIND, by code.
const io::CodeTexts& employmentKinds();
// The state of PROGUSERS.ISENABLE: "مجاز" for 1, otherwise "مسدود".
const io::CodeTexts& userStates();

} // namespace orvak::startup
