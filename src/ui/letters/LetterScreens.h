#pragma once
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui::letters {

// The letter templates and the two letter settings screens.
void registerLetterScreens(framework::ScreenRegistry& registry);

} // namespace orvak::ui::letters
