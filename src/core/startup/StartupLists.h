#pragma once
// The lists of users and of the backup history, declared once for their screens and
// for orvakctl.
#include "core/io/ListDefinition.h"

namespace orvak::startup {

// TV_USERS; its parameter :IsEnable chooses the users by state (userStateChoices()).
io::ListDefinition programUsersList();
io::ListDefinition familyUsersList();    // TORVAK_V_USERS
io::ListDefinition backupHistoryList();  // Tview_history_resback

// The choices of :IsEnable in their order: all (-1), the allowed (1), the blocked (0).
const io::CodeTexts& userStateChoices();

QList<io::ListDefinition> startupLists();

} // namespace orvak::startup
