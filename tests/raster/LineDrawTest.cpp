#include <gtest/gtest.h>

#include "RasterFixture.h"

namespace vyn::raster::testing {
namespace {

std::vector<std::uint8_t> DrawOneLine(ScreenVertex a, ScreenVertex b) {
  Canvas canvas(200, 150);
  DrawList list;
  const auto ia = list.AddVertex(a), ib = list.AddVertex(b), ic = list.AddVertex(At(a.x / 16.0 + 0.0, 149));
  // A wireframe triangle with only its first edge marked.
  if (DrawList::DoubledArea(list.vertices()[ia], list.vertices()[ib], list.vertices()[ic]) > 0) {
    list.AddTriangle(ia, ib, ic, Fill::Wireframe, Shading::Flat, 1, 0, EdgeAB);
  } else {
    list.AddTriangle(ib, ia, ic, Fill::Wireframe, Shading::Flat, 1, 0, EdgeAB);
  }
  Draw(canvas, list);
  return canvas.color;
}

TEST(LineDraw, AnEdgeGivesTheSamePixelsInBothDirectionsAcrossTiles) {
  const std::pair<ScreenVertex, ScreenVertex> lines[] = {
      {At(3.2, 5.7), At(190.6, 60.1)}, {At(10.5, 2.5), At(70.5, 140.2)}, {At(5, 100), At(180, 20)}};
  for (const auto& [a, b] : lines) {
    const auto forward = DrawOneLine(a, b);
    const auto backward = DrawOneLine(b, a);
    EXPECT_EQ(forward, backward);
    int count = 0;
    for (std::size_t i = 0; i < forward.size(); i += 4) count += forward[i] != 0;
    const int ax = a.x >> 4, ay = a.y >> 4, bx = b.x >> 4, by = b.y >> 4;
    EXPECT_EQ(count, std::max(std::abs(bx - ax), std::abs(by - ay)) + 1);  // one pixel per step, ends included
    EXPECT_NE(forward[(static_cast<std::size_t>(ay) * 200 + ax) * 4], 0);
    EXPECT_NE(forward[(static_cast<std::size_t>(by) * 200 + bx) * 4], 0);
  }
}

TEST(LineDraw, LinesAreDepthTested) {
  Canvas canvas(32, 32);
  DrawList list;
  AddFlat(list, At(0, 0, 0.2), At(32, 0, 0.2), At(0, 32, 0.2), 5);  // a near wall over the top-left half
  const auto a = list.AddVertex(At(0.5, 20.5, 0.6)), b = list.AddVertex(At(31.5, 20.5, 0.6));
  const auto c = list.AddVertex(At(16, 31, 0.6));
  list.AddTriangle(a, b, c, Fill::Wireframe, Shading::Flat, 9, 0, EdgeAB);
  Draw(canvas, list);
  EXPECT_EQ(canvas.At(2, 20), 5u);   // behind the wall
  EXPECT_EQ(canvas.At(30, 20), 9u);  // in the open
}

}  // namespace
}  // namespace vyn::raster::testing
