// One renderer driven through the saver's work: set the scene up once, then
// draw and present frame after frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ScenarioOptions.h"

namespace vyn::bench {

// A presented frame as 0x00RRGGBB pixels, top row first.
struct FrameImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // Builds the scene of `c`; false with the reason in `error` when it cannot.
  virtual bool setUp(const ScenarioOptions& options, const Case& c, std::string& error) = 0;
  // One pass of the saver: a motion step, then render and present.
  virtual void drawFrame() = 0;
  // The frame presented last.
  virtual bool snapshot(FrameImage& image) = 0;
  // Triangles in the solid's mesh, for the table.
  virtual long long triangleCount() const = 0;
  // How long the steps of the set-up took, as "name=ms" pairs (--verbose).
  virtual std::string setUpStages() const { return {}; }
};

}  // namespace vyn::bench
