// Picks the platform's offscreen display for this process.
#pragma once

#include "ScenarioOptions.h"

namespace vyn::bench {

// Chooses the offscreen display of the given size; must run before the
// process first touches the display.
void ChooseOffscreenDisplay(const ScreenSize& size);

}  // namespace vyn::bench
