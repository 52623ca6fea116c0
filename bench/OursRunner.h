// vyn itself: the saver's own start sequence (window, rendering layer,
// scene) and main-loop pass (messages, motion step, frame tick) on the
// offscreen display.
#pragma once

#include <memory>

#include "FrameSource.h"

namespace vyn::bench {

// Chooses the offscreen display of the given size; must run before the
// process first touches the display.
void ChooseOffscreenDisplay(const ScreenSize& size);

std::unique_ptr<FrameSource> MakeOursRunner();

}  // namespace vyn::bench
