// The walked spans against the edge functions tested at every pixel, for
// triangles of every slope: steep and flat edges, horizontal edges, edges
// whose bounds move by many pixels a row, and rows outside the triangle.
#include <gtest/gtest.h>

#include <random>

#include "raster/SpanWalk.h"

namespace vyn::raster {
namespace {

struct Point {
  std::int64_t x, y;
};

// E(P) = dx * (P.y - a.y) - dy * (P.x - a.x), evaluated at pixel centres
// (p * 16 + 8), positive inside a clockwise triangle; the -1 stands for a
// fill-rule bias, so that the bounds are not all on exact multiples.
EdgeFunction Edge(Point a, Point b, std::int64_t bias) {
  const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
  return {dx * (8 - a.y) - dy * (8 - a.x) - bias, -dy * 16, dx * 16};
}

bool Inside(const EdgeFunction& e, std::int64_t x, std::int64_t y) { return e.at00 + e.stepX * x + e.stepY * y >= 0; }

void ExpectSpansMatch(Point a, Point b, Point c, int x0, int x1, int y0, int y1) {
  const EdgeFunction e[3] = {Edge(a, b, 0), Edge(b, c, 1), Edge(c, a, 1)};
  SpanWalk walk(e[0], e[1], e[2], y0);
  for (int y = y0; y < y1; ++y) {
    std::int64_t expectFirst = x1, expectLast = x0 - 1;
    for (int x = x0; x <= x1; ++x) {
      if (Inside(e[0], x, y) && Inside(e[1], x, y) && Inside(e[2], x, y)) {
        expectFirst = std::min<std::int64_t>(expectFirst, x);
        expectLast = x;
      }
    }
    std::int64_t first, last;
    walk.Span(x0, x1, first, last);
    walk.NextRow();
    if (expectLast < expectFirst) {
      ASSERT_GT(first, last) << "row " << y;
    } else {
      ASSERT_EQ(first, expectFirst) << "row " << y;
      ASSERT_EQ(last, expectLast) << "row " << y;
    }
  }
}

// Corners in 28.4 fixed point, clockwise on a screen whose y grows downwards.
TEST(SpanWalk, MatchesTheEdgeFunctionsOnEveryRow) {
  struct Case {
    const char* name;
    Point a, b, c;
  };
  const Case cases[] = {
      {"wide and flat", {0, 0}, {4000, 40}, {100, 200}},
      {"tall and thin", {500, 0}, {540, 0}, {100, 3000}},
      {"horizontal top", {16, 16}, {1600, 16}, {800, 1600}},
      {"horizontal bottom", {800, 16}, {1600, 1600}, {16, 1600}},
      {"two left edges", {1000, 0}, {1200, 1500}, {0, 700}},
      {"two right edges", {0, 0}, {1500, 900}, {100, 1800}},
      {"negative corners", {-700, -300}, {900, -200}, {-500, 1100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectSpansMatch(c.a, c.b, c.c, -60, 260, -30, 130);
  }
}

TEST(SpanWalk, MatchesTheEdgeFunctionsForRandomTriangles) {
  std::mt19937 random(11);
  std::uniform_int_distribution<std::int64_t> coordinate(-400, 2400);
  int tested = 0;
  while (tested < 300) {
    const Point a{coordinate(random), coordinate(random)}, b{coordinate(random), coordinate(random)},
        c{coordinate(random), coordinate(random)};
    const std::int64_t area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (area == 0) continue;
    SCOPED_TRACE(testing::Message() << "triangle " << tested);
    if (area > 0) {
      ExpectSpansMatch(a, b, c, -30, 160, -30, 160);
    } else {
      ExpectSpansMatch(a, c, b, -30, 160, -30, 160);
    }
    ++tested;
  }
}

}  // namespace
}  // namespace vyn::raster
