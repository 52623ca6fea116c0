// One frame of the run: advance the scene by one time unit, render, present.
#pragma once

namespace vyn::saver {

// 1 when the frame was drawn or the rendering layer is inactive; 0 when
// advancing the scene failed, which is reported and cleans up the layer.
int TickFrame();

}  // namespace vyn::saver
