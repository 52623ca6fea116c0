// Times one case on one renderer: set-up and the first presented frame, then
// frames for a fixed count or a fixed time, then the peak memory.
#pragma once

#include <optional>
#include <string>

#include "CaseResult.h"
#include "FrameSource.h"
#include "ScenarioOptions.h"

namespace vyn::bench {

// CLOCK_MONOTONIC in nanoseconds (the same clock in every process).
long long MonotonicNs();

// `startNs` is when the process was spawned (0: when the case began).
// Writes the first and the --dump-frame frame as PNG when asked; the dumps
// are not timed. Nothing on failure, with the reason in `error`.
std::optional<CaseResult> RunCase(FrameSource& source, const ScenarioOptions& options, const Case& c,
                                  Renderer renderer, long long startNs, std::string& error);

}  // namespace vyn::bench
