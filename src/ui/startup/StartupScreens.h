#pragma once
// The screens of start-up and system services, as the main menu offers them.
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui::startup {

void registerStartupScreens(framework::ScreenRegistry& registry);

} // namespace orvak::ui::startup
