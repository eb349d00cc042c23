#pragma once
#include "ui/framework/ScreenRegistry.h"

namespace orvak::ui::basedata {

// The detail accounts with their groups and trades, the standard descriptions and
// the parameters of contracts.
void registerPartyScreens(framework::ScreenRegistry& registry);

} // namespace orvak::ui::basedata
