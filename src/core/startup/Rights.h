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

QString refusalText();          // the standard refusal of a button or operation
QString menuRefusalText();      // the refusal of a guarded menu command
QString rightsUnreadableText(); // the refusal when the rights cannot be read

} // namespace orvak::startup
