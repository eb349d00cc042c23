#pragma once
// The contract screens in the main menu.
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui::basedata {

void registerContractScreens(framework::ScreenRegistry& registry);

} // namespace orvak::ui::basedata
