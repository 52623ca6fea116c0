// Checks that the peer moves its solid the way the saver moves its own: both
// run the same ticks, and the object frame's placement is compared with the
// peer's after each one.
#pragma once

#include "ScenarioOptions.h"

namespace vyn::bench {

// Prints the largest differences in position and in the axes; returns 0 when
// they stay within a small tolerance over `ticks` ticks, 1 otherwise.
int RunMotionCheck(const ScenarioOptions& options, int ticks);

}  // namespace vyn::bench
