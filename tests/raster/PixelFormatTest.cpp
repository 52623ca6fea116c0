#include <gtest/gtest.h>

#include "RasterFixture.h"
#include "raster/PaletteMatch.h"
#include "raster/PixelPacking.h"

namespace vyn::raster::testing {
namespace {

struct PackCase {
  int bits;
  std::uint32_t r, g, b;
  unsigned red, green, blue;
  std::uint32_t expected;
};

TEST(PixelPacking, PacksEachFormatByItsMasks) {
  const PackCase cases[] = {
      {16, 0xF800, 0x07E0, 0x001F, 255, 255, 255, 0xFFFF},
      {16, 0xF800, 0x07E0, 0x001F, 0xF8, 0x04, 0x08, 0xF821},
      {16, 0x7C00, 0x03E0, 0x001F, 255, 0, 255, 0x7C1F},
      {24, 0xFF0000, 0xFF00, 0xFF, 0x12, 0x34, 0x56, 0x123456},
      {32, 0xFF0000, 0xFF00, 0xFF, 0x12, 0x34, 0x56, 0x123456},
      {32, 0xFF, 0xFF00, 0xFF0000, 0x12, 0x34, 0x56, 0x563412},
      {16, 0, 0, 0, 0, 255, 0, 0x07E0},  // no masks: 5-6-5
  };
  for (const PackCase& c : cases) {
    const PixelPacking p = PackingFor(c.bits, c.r, c.g, c.b, nullptr);
    EXPECT_EQ(p.Pack(c.red, c.green, c.blue), c.expected) << c.bits << " bits, masks " << c.r;
  }
}

TEST(PaletteMatch, ChoosesTheNearestEntry) {
  PaletteColor entries[256];
  for (int i = 0; i < 256; ++i) entries[i] = {0, 0, 0};
  entries[3] = {250, 0, 0};
  entries[9] = {0, 0, 200};
  entries[200] = {255, 255, 255};
  PaletteMatch match;
  match.Build(entries);
  EXPECT_EQ(match.Nearest(255, 10, 10), 3);
  EXPECT_EQ(match.Nearest(10, 10, 180), 9);
  EXPECT_EQ(match.Nearest(240, 240, 250), 200);
  EXPECT_EQ(match.Nearest(0, 0, 0), 0);  // the first of the equal blacks
  const PixelPacking p = PackingFor(8, 0, 0, 0, &match);
  EXPECT_EQ(p.Pack(255, 0, 0), 3u);
}

// The same flat triangle in every format: the pixel bytes hold the packed colour.
TEST(PixelPacking, TrianglesAreWrittenInTheTargetsFormat) {
  for (int bytes : {1, 2, 3, 4}) {
    Canvas canvas(8, 8, bytes);
    DrawList list;
    const std::uint32_t pixel = bytes == 1 ? 0x5A : bytes == 2 ? 0xBEEF : bytes == 3 ? 0xABCDEF : 0x00ABCDEF;
    AddFlat(list, At(0, 0), At(8, 0), At(8, 8), pixel);
    AddFlat(list, At(0, 0), At(8, 8), At(0, 8), pixel);
    Draw(canvas, list);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.At(x, y), pixel) << bytes << " bytes at " << x << "," << y;
  }
}

TEST(ClearRect, ClearsColourAndDepthInsideTheRectangleOnly) {
  Canvas canvas(16, 16, 2);
  std::fill(canvas.color.begin(), canvas.color.end(), 0x77);
  std::fill(canvas.depth.begin(), canvas.depth.end(), 5);
  ClearRect(canvas.target, {4, 4, 40, 8}, 0x1234);  // clipped to the target
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= 4 && y >= 4 && y < 8;
      ASSERT_EQ(canvas.At(x, y), inside ? 0x1234u : 0x7777u);
      ASSERT_EQ(canvas.depth[static_cast<std::size_t>(y) * 16 + x], inside ? FarDepth : 5);
    }
}

}  // namespace
}  // namespace vyn::raster::testing
