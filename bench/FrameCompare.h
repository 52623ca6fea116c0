// Compares the frames that two renderers dumped, so that "they draw the same
// picture" comes with a number beside the look by eye.
#pragma once

#include <optional>
#include <string>

#include "FrameSource.h"

namespace vyn::bench {

// Reads a PNG written by WriteFramePng.
bool ReadFramePng(const std::string& path, FrameImage& image);

struct FrameDifference {
  double differing = 0.0;  // share of the pixels where a channel differs by more than the tolerance
  double litOurs = 0.0;    // share of the pixels that are not black, in each frame
  double litPeer = 0.0;
};

// Nothing when the sizes differ.
std::optional<FrameDifference> CompareFrames(const FrameImage& ours, const FrameImage& peer, int tolerance);

}  // namespace vyn::bench
