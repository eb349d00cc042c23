#pragma once
// Every subsystem's screens, registered once: the main window's menu and the check
// mode both walk this list.
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui {

// Calls each subsystem's registration in turn; a new subsystem adds its call here.
void registerAllScreens(framework::ScreenRegistry& registry);

// The program's registry, filled on first use.
const framework::ScreenRegistry& appScreens();

} // namespace orvak::ui
