// Pictures for the slab generator, drawn as text: 'X' black, '.' white,
// 'n' near-white (red 254, green and blue 255).
#pragma once

#include <string>
#include <vector>

#include "SlabMesh.h"

namespace vyn::test {

inline saver::PixelGrid GridOf(const std::vector<std::string>& rows) {
  const auto width = static_cast<std::int32_t>(rows.empty() ? 0 : rows[0].size());
  std::vector<COLORREF> pixels;
  for (const std::string& row : rows)
    for (char c : row) pixels.push_back(c == '.' ? 0x00FFFFFF : c == 'n' ? 0x00FFFFFE : 0x00000000);
  return saver::PixelGrid::FromPixels(width, static_cast<std::int32_t>(rows.size()), std::move(pixels));
}

// T(p) of the model: (p - 64) / 20, in double, rounded once to float.
inline float Model(double p) { return static_cast<float>((p - 64.0) / 20.0); }

// The worked example: 128 x 1, non-white exactly in columns 60 to 67, which
// is one run [60, 68) and one slab.
inline saver::PixelGrid WorkedExample() {
  std::string row(128, '.');
  for (int x = 60; x <= 67; ++x) row[x] = 'X';
  return GridOf({row});
}

}  // namespace vyn::test
