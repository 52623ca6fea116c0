// Reading and writing 8-bit RGB PNG files for the image tests (writing goes
// through the offscreen display's PNG writer).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vyn::d3drm::testing {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // 3 bytes a pixel, rows top to bottom
};

bool WritePng(const std::string& path, const RgbImage& image);
bool ReadPng(const std::string& path, RgbImage& image);

}  // namespace vyn::d3drm::testing
