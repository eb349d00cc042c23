#pragma once
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui::basedata {

// Plans, projects and the places of execution, in the system menu.
void registerPlanScreens(framework::ScreenRegistry& registry);

} // namespace orvak::ui::basedata
