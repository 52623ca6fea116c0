// vyn itself: the saver's own start sequence (window, rendering layer,
// scene) and main-loop pass (messages, motion step, frame tick) on the
// offscreen display.
#pragma once

#include <memory>

#include "FrameSource.h"

namespace vyn::bench {

std::unique_ptr<FrameSource> MakeOursRunner();

}  // namespace vyn::bench
