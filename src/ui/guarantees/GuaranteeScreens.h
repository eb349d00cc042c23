#pragma once
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui::guarantees {

// The menu "تضمينات": the register and its small lists, guarded by "اطلاعات تضمينات".
void registerGuaranteeScreens(framework::ScreenRegistry& registry);

} // namespace orvak::ui::guarantees
