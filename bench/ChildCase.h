// The child side of a case: run it on one renderer and print the result line
// that the parent reads.
#pragma once

#include "FrameSource.h"
#include "ScenarioOptions.h"

namespace vyn::bench {

// Runs options.cases.front() on `source`; 0 after printing the result, 2
// after a failure (with its reason on standard error).
int RunChildCase(FrameSource& source, Renderer renderer, const ScenarioOptions& options);

}  // namespace vyn::bench
