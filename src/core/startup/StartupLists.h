#pragma once
// The lists of users and of the backup history, declared once for their screens and
// for orvakctl.
#include "core/io/ListDefinition.h"

namespace orvak::startup {

io::ListDefinition programUsersList();   // TV_USERS
io::ListDefinition familyUsersList();    // TORVAK_V_USERS
io::ListDefinition backupHistoryList();  // Tview_history_resback

QList<io::ListDefinition> startupLists();

} // namespace orvak::startup
