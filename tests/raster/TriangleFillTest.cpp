#include <gtest/gtest.h>

#include <random>

#include "RasterFixture.h"
#include "raster/ThreadPool.h"

namespace vyn::raster::testing {
namespace {

// Which pixels one triangle covers, drawn alone.
std::vector<bool> Coverage(int w, int h, ScreenVertex a, ScreenVertex b, ScreenVertex c) {
  Canvas canvas(w, h);
  DrawList list;
  AddFlat(list, a, b, c, 1);
  Draw(canvas, list);
  std::vector<bool> covered(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) covered[static_cast<std::size_t>(y) * w + x] = canvas.At(x, y) != 0;
  return covered;
}

TEST(TriangleFill, RectangleOfTwoTrianglesCoversExactlyItsPixels) {
  // Corners on pixel edges: the rectangle [10, 30) x [5, 25) exactly.
  DrawList list;
  AddFlat(list, At(10, 5), At(30, 5), At(30, 25), 7);
  AddFlat(list, At(10, 5), At(30, 25), At(10, 25), 7);
  Canvas canvas(40, 30);
  Draw(canvas, list);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 10 && x < 30 && y >= 5 && y < 25;
      ASSERT_EQ(canvas.At(x, y), inside ? 7u : 0u) << x << "," << y;
    }
}

// Triangles of a fan with sub-pixel corners share edges: together they must
// cover every pixel whose centre is inside the polygon exactly once. Large
// fans use the rasteriser's solved spans, small ones (a few pixels, like most
// triangles of a dense mesh) its stepped spans.
TEST(TriangleFill, SharedEdgesLeaveNoGapAndNoOverlap) {
  struct FanSize {
    double radius;
    int inner;  // half the side of the square around the centre that must be filled
  };
  for (const FanSize size : {FanSize{30, 10}, FanSize{4, 1}, FanSize{7, 3}}) {
    std::mt19937 random(42);
    std::uniform_real_distribution<double> jitter(-0.49, 0.49);
    for (int round = 0; round < 40; ++round) {
      const double cx = 40 + jitter(random), cy = 40 + jitter(random);
      std::vector<ScreenVertex> ring;
      const int n = 7;
      for (int i = 0; i < n; ++i) {
        const double angle = -2 * 3.14159265358979 * i / n + round;  // clockwise on screen
        ring.push_back(At(cx + size.radius * std::cos(angle) + jitter(random),
                          cy + size.radius * std::sin(angle) + jitter(random)));
      }
      std::vector<int> count(80 * 80, 0);
      for (int i = 0; i < n; ++i) {
        const auto covered = Coverage(80, 80, At(cx, cy), ring[i], ring[(i + 1) % n]);
        for (std::size_t p = 0; p < covered.size(); ++p) count[p] += covered[p];
      }
      for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
          ASSERT_LE(count[static_cast<std::size_t>(y) * 80 + x], 1)
              << "radius " << size.radius << " round " << round << " at " << x << "," << y;
        }
      // The centre region is well inside every fan: it must be filled.
      for (int y = 40 - size.inner; y < 40 + size.inner; ++y)
        for (int x = 40 - size.inner; x < 40 + size.inner; ++x)
          ASSERT_EQ(count[static_cast<std::size_t>(y) * 80 + x], 1) << "radius " << size.radius << " at " << x << "," << y;
    }
  }
}

TEST(TriangleFill, CounterClockwiseAndDegenerateTrianglesAreCulled) {
  DrawList list;
  const auto a = list.AddVertex(At(1, 1)), b = list.AddVertex(At(10, 1)), c = list.AddVertex(At(1, 10));
  EXPECT_TRUE(list.AddTriangle(a, b, c, Fill::Solid, Shading::Flat, 1, 0, 7));
  EXPECT_FALSE(list.AddTriangle(a, c, b, Fill::Solid, Shading::Flat, 1, 0, 7));
  const auto d = list.AddVertex(At(20, 20));
  EXPECT_FALSE(list.AddTriangle(a, a, d, Fill::Solid, Shading::Flat, 1, 0, 7));
  EXPECT_EQ(list.primitives().size(), 1u);
}

TEST(TriangleFill, NearerSurfaceWinsWhateverTheOrder) {
  for (bool nearFirst : {true, false}) {
    DrawList list;
    const auto addNear = [&] { AddFlat(list, At(0, 0, 0.3), At(20, 0, 0.3), At(0, 20, 0.3), 0x11); };
    const auto addFar = [&] { AddFlat(list, At(0, 0, 0.8), At(20, 0, 0.8), At(20, 20, 0.8), 0x22); };
    if (nearFirst) {
      addNear();
      addFar();
    } else {
      addFar();
      addNear();
    }
    Canvas canvas(20, 20);
    Draw(canvas, list);
    EXPECT_EQ(canvas.At(5, 2), 0x11u);    // both cover it: the nearer one shows
    EXPECT_EQ(canvas.At(18, 15), 0x22u);  // only the far one
  }
}

TEST(TriangleFill, GouraudInterpolatesLinearlyAcrossTheTriangle) {
  Canvas canvas(64, 8);
  DrawList list;
  ScreenVertex a = At(0, 0), b = At(64, 0), c = At(0, 8), d = At(64, 8);
  a.r = c.r = 0;
  b.r = d.r = 255;
  const auto ia = list.AddVertex(a), ib = list.AddVertex(b), ic = list.AddVertex(c), id = list.AddVertex(d);
  std::uint32_t grey[256];
  for (unsigned i = 0; i < 256; ++i) grey[i] = i;
  const auto table = list.AddShadeTable(grey);
  list.AddTriangle(ia, ib, id, Fill::Solid, Shading::GouraudShade, 0, table, 7);
  list.AddTriangle(ia, id, ic, Fill::Solid, Shading::GouraudShade, 0, table, 7);
  Draw(canvas, list);
  for (int x = 0; x < 64; ++x) {
    const double expected = (x + 0.5) / 64 * 255;
    EXPECT_NEAR(double(canvas.At(x, 4)), expected, 1.0) << x;
  }
}

TEST(TriangleFill, OutputIsTheSameWithOneThreadAndWithSeveral) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> pos(-20, 300), depth(0.01, 0.99);
  DrawList list;
  for (int i = 0; i < 3000; ++i) {
    ScreenVertex v[3];
    for (auto& p : v) {
      p = At(pos(random), pos(random) * 0.8, depth(random));
      p.r = static_cast<std::uint8_t>(random());
      p.g = static_cast<std::uint8_t>(random());
      p.b = static_cast<std::uint8_t>(random());
    }
    if (DrawList::DoubledArea(v[0], v[1], v[2]) < 0) std::swap(v[1], v[2]);
    const auto a = list.AddVertex(v[0]), b = list.AddVertex(v[1]), c = list.AddVertex(v[2]);
    list.AddTriangle(a, b, c, i % 3 == 0 ? Fill::Wireframe : Fill::Solid,
                     i % 2 ? Shading::GouraudRgb : Shading::Flat, static_cast<std::uint32_t>(random()), 0, 7);
  }
  Canvas one(300, 240), many(300, 240);
  TileRenderer r1, r4;
  r1.Render(list, one.target, one.target.Bounds(), nullptr);
  ThreadPool pool(4);
  r4.Render(list, many.target, many.target.Bounds(), &pool);
  EXPECT_EQ(one.color, many.color);
  EXPECT_EQ(one.depth, many.depth);
}

TEST(TriangleFill, DrawnBoundsCoverWhatWasDrawnInsideTheScissor) {
  DrawList list;
  AddFlat(list, At(10, 10), At(50, 10), At(10, 40), 1);
  Canvas canvas(64, 64);
  TileRenderer renderer;
  const PixelRect drawn = renderer.Render(list, canvas.target, {0, 0, 30, 64}, nullptr);
  EXPECT_EQ(drawn, (PixelRect{10, 10, 30, 41}));
  for (int y = 0; y < 64; ++y)
    for (int x = 30; x < 64; ++x) ASSERT_EQ(canvas.At(x, y), 0u);  // scissor holds
}

}  // namespace
}  // namespace vyn::raster::testing

namespace vyn::raster::testing {
namespace {

// A stack of overlapping Gouraud squares submitted back to front (the order
// in which the renderer may draw a tile backwards), with pairs of equal
// depth: the later of a pair must show, as with "less or equal" in
// submission order.
DrawList BackToFrontStack(int size) {
  DrawList list;
  const double depths[] = {0.9, 0.8, 0.8, 0.6, 0.5, 0.5, 0.5, 0.3, 0.3};
  int k = 0;
  for (const double depth : depths) {
    const double inset = 3.0 * k;
    ScreenVertex a = At(inset, inset, depth), b = At(size - inset / 2, inset, depth),
                 c = At(size - inset / 2, size - inset, depth), d = At(inset, size - inset, depth);
    for (ScreenVertex* v : {&a, &b, &c, &d}) {
      v->r = static_cast<std::uint8_t>(20 * k + 10);
      v->g = static_cast<std::uint8_t>(v->x & 0xFF);
      v->b = static_cast<std::uint8_t>(255 - 20 * k);
    }
    const auto ia = list.AddVertex(a), ib = list.AddVertex(b), ic = list.AddVertex(c), id = list.AddVertex(d);
    list.AddTriangle(ia, ib, ic, Fill::Solid, Shading::GouraudRgb, 0, 0, 7);
    list.AddTriangle(ia, ic, id, Fill::Solid, Shading::GouraudRgb, 0, 0, 7);
    ++k;
  }
  return list;
}

TEST(TriangleFill, TilesDrawnBackwardsGiveTheImageOfSubmissionOrder) {
  constexpr int size = 300;  // several tiles
  const DrawList stack = BackToFrontStack(size - 10);
  // A line in the corner keeps every tile in submission order.
  DrawList inOrder = stack;
  const auto p = inOrder.AddVertex(At(size - 2.5, size - 2.5, 0.99));
  const auto q = inOrder.AddVertex(At(size - 1.5, size - 1.5, 0.99));
  inOrder.AddTriangle(p, q, q, Fill::Points, Shading::Flat, 0xFF, 0, 7);
  for (ThreadPool* pool : {static_cast<ThreadPool*>(nullptr), new ThreadPool(2)}) {
    Canvas backwards(size, size), forwards(size, size);
    TileRenderer().Render(stack, backwards.target, backwards.target.Bounds(), pool);
    TileRenderer().Render(inOrder, forwards.target, forwards.target.Bounds(), pool);
    for (int y = 0; y < size - 4; ++y)
      for (int x = 0; x < size - 4; ++x) ASSERT_EQ(backwards.At(x, y), forwards.At(x, y)) << x << ", " << y;
    // The last two squares, at depth 0.3, cover the middle: the later one shows.
    const std::uint32_t later = backwards.At(150, 150);
    EXPECT_EQ((later >> 16) & 0xFF, 20u * 8 + 10);
    delete pool;
  }
}

TEST(TriangleFill, AFragmentTyingWithTheStoredDepthIsStillDrawn) {
  const DrawList stack = BackToFrontStack(100);
  Canvas canvas(110, 110);
  // Stored before the list: exactly the depth of the nearest squares.
  const auto tie = static_cast<std::uint16_t>(static_cast<std::uint32_t>(0.3 * 65535.0 * 65536.0) >> 16);
  std::fill(canvas.depth.begin(), canvas.depth.end(), tie);
  Draw(canvas, stack);
  EXPECT_EQ((canvas.At(50, 50) >> 16) & 0xFF, 20u * 8 + 10);  // "less or equal": the last square draws
  EXPECT_EQ(canvas.At(105, 105), 0u);                         // outside every square
}

}  // namespace
}  // namespace vyn::raster::testing
