#pragma once
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui::basedata {

// Banks, branches, the office's accounts, the deposit accounts and the branch network.
void registerBankScreens(framework::ScreenRegistry& registry);

} // namespace orvak::ui::basedata
