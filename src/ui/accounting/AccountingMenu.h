#pragma once
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui::accounting {

// The accounting screens of the main menu.
void registerAccountingScreens(framework::ScreenRegistry& registry);

} // namespace orvak::ui::accounting
