// The test picture that scripts/make_pictures.py writes in every BMP form,
// and helpers to load fixtures.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kernel/Win32Types.h"

namespace vyn::test {

inline constexpr int PictureWidth = 13;
inline constexpr int PictureHeight = 7;

// (red, green, blue) of the picture's palette, in the script's order.
inline constexpr BYTE PicturePalette[16][3] = {
    {0, 0, 0},      {255, 255, 255}, {255, 0, 0},    {0, 255, 0},  {0, 0, 255},    {255, 255, 0},
    {0, 255, 255},  {255, 0, 255},   {128, 64, 32},  {32, 64, 128}, {254, 255, 255}, {17, 34, 51},
    {200, 100, 50}, {1, 2, 3},       {90, 180, 45},  {255, 128, 0},
};

// The colour GetPixel must report at (x, y) of a picture with `levels`
// palette entries in use.
inline COLORREF PictureColor(int x, int y, int levels) {
  const BYTE* rgb = PicturePalette[((x / 2) * 3 + y * 5) % levels];
  return static_cast<COLORREF>(rgb[0]) | (static_cast<COLORREF>(rgb[1]) << 8) |
         (static_cast<COLORREF>(rgb[2]) << 16);
}

inline std::string SourcePath(const std::string& relative) {
  const char* root = std::getenv("VYN_SOURCE_DIR");
  return std::string(root != nullptr ? root : ".") + "/" + relative;
}

inline std::string FixturePath(const std::string& kind, const std::string& name) {
  return SourcePath("tests/gdi/fixtures/" + kind + "/" + name + ".bmp");
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vyn::test
