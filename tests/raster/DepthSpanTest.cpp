// The four-pixel depth span against a one-pixel-at-a-time model of the
// general loop: for every shading, packing and length (whole blocks of four
// and the pixels left over), the depth and colour rows must come out the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "raster/DepthSpan.h"

namespace vyn::raster {
namespace {

struct Ramps {
  std::int64_t z, dz, r, dr, g, dg, b, db;
};

unsigned Clamped(std::int64_t fixed, std::int64_t top) {
  return static_cast<unsigned>(std::clamp<std::int64_t>(fixed >> 16, 0, top));
}

// The general loop's arithmetic, in 64 bits with clamps.
// `strict`: the test is less instead of less or equal.
void ModelSpan(Shading shading, std::vector<std::uint8_t>& color, std::vector<std::uint16_t>& depth, const Ramps& v,
               const PixelPacking& p, const std::uint32_t* table, std::uint32_t flat, bool strict) {
  for (std::size_t i = 0; i < depth.size(); ++i) {
    const auto at = [&](std::int64_t start, std::int64_t step) { return start + step * static_cast<std::int64_t>(i); };
    const auto z = static_cast<std::uint16_t>(Clamped(at(v.z, v.dz), 0xFFFF));
    if (strict ? z >= depth[i] : z > depth[i]) continue;
    depth[i] = z;
    const unsigned r = Clamped(at(v.r, v.dr), 255), g = Clamped(at(v.g, v.dg), 255), b = Clamped(at(v.b, v.db), 255);
    std::uint32_t pixel = flat;
    if (shading == Shading::GouraudShade) pixel = table[r];
    if (shading == Shading::GouraudRgb)
      pixel = ((r >> p.redDrop) << p.redShift) | ((g >> p.greenDrop) << p.greenShift) |
              ((b >> p.blueDrop) << p.blueShift);
    std::memcpy(&color[4 * i], &pixel, 4);
  }
}

void FastSpan(Shading shading, std::vector<std::uint8_t>& color, std::vector<std::uint16_t>& depth, const Ramps& v,
              const PixelPacking& p, const std::uint32_t* table, std::uint32_t flat, bool strict) {
  const std::uint32_t bias = strict ? 1 : 0;
  const auto lane = [](std::int64_t x) { return static_cast<std::uint32_t>(x); };
  const SpanLanes lanes{lane(v.z), lane(v.r), lane(v.g), lane(v.b), lane(v.dz), lane(v.dr), lane(v.dg), lane(v.db)};
  const int count = static_cast<int>(depth.size());
  switch (shading) {
    case Shading::Flat: return FillDepthSpan32<Shading::Flat>(color.data(), depth.data(), count, lanes, p, table, flat, bias);
    case Shading::GouraudShade:
      return FillDepthSpan32<Shading::GouraudShade>(color.data(), depth.data(), count, lanes, p, table, flat, bias);
    case Shading::GouraudRgb:
      return FillDepthSpan32<Shading::GouraudRgb>(color.data(), depth.data(), count, lanes, p, table, flat, bias);
  }
}

PixelPacking Packing(int redShift, int greenShift, int blueShift, int redDrop, int greenDrop, int blueDrop) {
  PixelPacking p;
  p.redShift = redShift;
  p.greenShift = greenShift;
  p.blueShift = blueShift;
  p.redDrop = redDrop;
  p.greenDrop = greenDrop;
  p.blueDrop = blueDrop;
  return p;
}

struct SpanCase {
  const char* name;
  Ramps ramps;
};

constexpr std::int64_t One = 1 << 16;

// Depth rising through a row of stored depths that pass and fail in turn,
// colours leaving 0..255 on both sides (the clamps), steep and flat ramps.
const SpanCase Cases[] = {
    {"flat colours, rising depth", {1000 * One, 40 * One, 100 * One, 0, 20 * One, 0, 200 * One, 0}},
    {"colours run below zero", {30000 * One, -7 * One, 40 * One, -13 * One, 3 * One, -One / 3, 255 * One, -29 * One}},
    {"colours run above 255", {10 * One, 3 * One, 200 * One, 17 * One, 250 * One, One / 2, 0, 40 * One}},
    {"depth near the far plane", {0xFFF0ll * One, One / 2, 128 * One, One, 128 * One, -One, 128 * One, 5 * One}},
    {"depth at zero", {0, 1, -One, 3 * One, 0, 0, 255 * One + One - 1, 0}},
    {"steep colour, fractional steps", {5000 * One + 12345, -12345, -300 * One, 61 * One + 777, 7, 99999, 1, -3}},
};

// Stored depths: every third pixel and the whole second block of four nearer
// than anything drawn (a block the test rejects at once), the others far, and
// a few equal to the drawn value (where the two tests differ).
std::vector<std::uint16_t> StoredDepths(int count, const Ramps& v) {
  std::vector<std::uint16_t> depth(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const auto drawn = static_cast<std::uint16_t>(Clamped(v.z + v.dz * i, 0xFFFF));
    const bool nearer = i % 3 == 0 || i / 4 == 1;
    depth[static_cast<std::size_t>(i)] = nearer ? 0 : (i % 5 == 1 ? drawn : 0xFFFF);
  }
  return depth;
}

std::vector<std::uint8_t> OldColors(int count) {
  std::vector<std::uint8_t> color(static_cast<std::size_t>(count) * 4);
  for (std::size_t i = 0; i < color.size(); ++i) color[i] = static_cast<std::uint8_t>(0x5A ^ (i * 37));
  return color;
}

TEST(DepthSpanTest, MatchesTheGeneralLoopForEveryShadingPackingAndLength) {
  std::uint32_t table[256];
  for (std::uint32_t i = 0; i < 256; ++i) table[i] = 0x01000000u * (i & 0x7F) + i * 0x10101u;
  const PixelPacking packings[] = {Packing(16, 8, 0, 0, 0, 0), Packing(0, 8, 16, 0, 0, 0),
                                   Packing(11, 5, 0, 3, 2, 3), Packing(10, 5, 0, 3, 3, 3)};
  const Shading shadings[] = {Shading::Flat, Shading::GouraudShade, Shading::GouraudRgb};
  int drawn = 0, kept = 0;
  for (const SpanCase& c : Cases)
    for (const PixelPacking& packing : packings)
      for (const Shading shading : shadings)
        for (int count = 0; count <= 13; ++count)
          for (const bool strict : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + ", shading " + std::to_string(static_cast<int>(shading)) +
                         ", red shift " + std::to_string(packing.redShift) + ", " + std::to_string(count) + " pixels" +
                         (strict ? ", less" : ", less or equal"));
            auto modelDepth = StoredDepths(count, c.ramps), fastDepth = modelDepth;
            auto modelColor = OldColors(count), fastColor = modelColor;
            const auto before = modelDepth;
            ModelSpan(shading, modelColor, modelDepth, c.ramps, packing, table, 0x00C0FFEE, strict);
            FastSpan(shading, fastColor, fastDepth, c.ramps, packing, table, 0x00C0FFEE, strict);
            ASSERT_EQ(fastDepth, modelDepth);
            ASSERT_EQ(fastColor, modelColor);
            for (std::size_t i = 0; i < before.size(); ++i) (modelDepth[i] == before[i] ? kept : drawn)++;
          }
  // The cases reach both outcomes of the depth test.
  EXPECT_GT(drawn, 100);
  EXPECT_GT(kept, 100);
}

TEST(DepthSpanTest, TouchesNothingOutsideTheSpan) {
  for (const int count : {3, 4, 5, 8, 9}) {
    SCOPED_TRACE(count);
    std::vector<std::uint16_t> depth(static_cast<std::size_t>(count) + 8, 0xFFFF);
    std::vector<std::uint8_t> color((static_cast<std::size_t>(count) + 8) * 4, 0xAB);
    const SpanLanes lanes{100 * One, 10 * One, 20 * One, 30 * One, One, One, One, One};
    FillDepthSpan32<Shading::GouraudRgb>(color.data() + 16, depth.data() + 4, count, lanes, PixelPacking{}, nullptr, 0, 0);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(depth[static_cast<std::size_t>(i)], 0xFFFF);
      EXPECT_EQ(depth[depth.size() - 1 - static_cast<std::size_t>(i)], 0xFFFF);
    }
    for (std::size_t i = 0; i < 16; ++i) {
      EXPECT_EQ(color[i], 0xAB);
      EXPECT_EQ(color[color.size() - 1 - i], 0xAB);
    }
    EXPECT_EQ(depth[4], 100);
    EXPECT_EQ(depth[4 + static_cast<std::size_t>(count) - 1], 100 + count - 1);
  }
}

}  // namespace
}  // namespace vyn::raster
