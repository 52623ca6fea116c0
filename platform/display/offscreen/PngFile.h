// Writes an RGB picture to a PNG file with libpng.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vyn::display {

// rowColors(y, out) fills `width` pixels of row y as 0x00RRGGBB values.
// Returns false, with a line on standard error, when writing fails.
bool WriteRgbPng(const std::string& path, int width, int height,
                 const std::function<void(int y, std::uint32_t* out)>& rowColors);

}  // namespace vyn::display
