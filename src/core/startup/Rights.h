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

// The mask of the logged-in user on a guarded entry; an entry that is not listed,
// or nobody logged in, allows everything but the refusal bit.
int GetAccess(Session& session, int menuId);

QString refusalText();   // the standard refusal of a button or operation

} // namespace orvak::startup
