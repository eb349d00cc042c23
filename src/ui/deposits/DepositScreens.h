#pragma once
// The received-deposits screens in the main menu.
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui::deposits {

void registerDepositScreens(framework::ScreenRegistry& registry);

} // namespace orvak::ui::deposits
