#pragma once
// The access check every guarded command asks.
#include "core/startup/Session.h"

namespace orvak::startup {

inline constexpr int AccessNone = 0x02;
inline constexpr int AccessView = 0x04;
inline constexpr int AccessDelete = 0x08;
inline constexpr int AccessEditOwn = 0x10;
inline constexpr int AccessInsert = 0x20;
inline constexpr int AccessSpecial = 0x40;
inline constexpr int AccessAll = 0x7C;

// The access entry "تعيين سطوح دسترسي كاربران" (entry 1 of guardedEntries()): both users
// screens and the users service, with the list-button bits insert, edit, delete.
inline constexpr int UsersMenuId = 1;

// The outcome of the check: the mask, and why it refuses when the rights could not
// be read (empty when they were).
struct Access {
    int mask = AccessNone;
    QString error;
    bool refused() const { return (mask & AccessNone) != 0; }
};

// The logged-in user's mask on an entry; an entry that is not listed, or nobody
// logged in, allows everything but the refusal bit. Rights that cannot be read
// (no common database, a failed query, an empty access list) refuse.
Access checkAccess(Session& session, int menuId);
inline int GetAccess(Session& session, int menuId) { return checkAccess(session, menuId).mask; }

// The rights a command of the logged-in user is checked against: checkAccess, except
// that a user with the manager flag (PROGUSERS.ISMANAGER = 1) holds every right, and
// a blocked user (ISENABLE <> 1) or one who is no longer a user of this program none.
// Both flags are read at each check. Nobody logged in: as checkAccess.
Access userAccess(Session& session, int menuId);
// Whether userAccess on the entry holds every one of bits (0: only not refused);
// otherwise *refusal says why (refusalText() when the bits are missing).
bool mayUse(Session& session, int menuId, int bits, QString* refusal = nullptr);
// Whether the logged-in user has the manager flag (read now); nobody logged in, the
// set-up of the first users, counts as one.
bool actsAsManager(Session& session);

QString refusalText();          // the standard refusal of a button or operation
QString menuRefusalText();      // the refusal of a guarded menu command
QString rightsUnreadableText(); // the refusal when the rights cannot be read
QString blockedUserText(int userCode);   // a blocked user (PROGUSERS.ISENABLE <> 1)
QString managerOnlyText();               // what only a manager may do to a manager

} // namespace orvak::startup
