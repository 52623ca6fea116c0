// Triangle filling over one tile with edge functions in 28.4 fixed point.
//
// Fill rule: a pixel is covered when its centre lies inside the triangle, or
// on a top or left edge. Two triangles that share an edge therefore cover
// every pixel along it exactly once. Attributes (depth, colour) are planes in
// 16.16 fixed point evaluated from the target's origin, so a pixel's value
// does not depend on which tile (or thread) draws it.
#include <algorithm>
#include <cmath>
#include <optional>

#include "raster/DepthSpan.h"
#include "raster/PixelWrite.h"
#include "raster/Primitives.h"
#include "raster/SpanWalk.h"

namespace vyn::raster {

namespace {

struct Edge {
  std::int64_t at00;  // value at the centre of pixel (0, 0), fill-rule bias included
  std::int64_t stepX;
  std::int64_t stepY;
  std::int64_t rawAt00;  // without the bias, for attribute planes

  EdgeFunction Function() const { return {at00, stepX, stepY}; }
};

// E(P) = dx * (P.y - a.y) - dy * (P.x - a.x): positive inside a clockwise triangle.
Edge MakeEdge(const ScreenVertex& a, const ScreenVertex& b) {
  const std::int64_t dx = b.x - a.x;
  const std::int64_t dy = b.y - a.y;
  const std::int64_t half = SubpixelScale / 2;
  Edge e;
  e.rawAt00 = dx * (half - a.y) - dy * (half - a.x);
  const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
  e.at00 = e.rawAt00 - (topLeft ? 0 : 1);
  e.stepX = -dy * SubpixelScale;
  e.stepY = dx * SubpixelScale;
  return e;
}

struct Plane {
  std::int64_t at00, stepX, stepY;
  std::int64_t At(int px, int py) const { return at00 + stepX * px + stepY * py; }
};

// Nearest integer, without a library call (the values are far inside int64).
inline std::int64_t RoundToInt(double v) { return static_cast<std::int64_t>(v >= 0 ? v + 0.5 : v - 0.5); }

// The weights of the three corners at pixel (0, 0) and their steps: corner
// a's weight is E_bc / area, b's E_ca / area, c's E_ab / area. Worked out
// once a triangle, they give every attribute plane with a few products.
struct Weights {
  double a[3], b[3], c[3];  // at (0, 0), per step in x, per step in y
};

Weights MakeWeights(const Edge& ab, const Edge& bc, const Edge& ca, double inverseArea) {
  Weights w;
  const auto put = [inverseArea](double (&to)[3], const Edge& e) {
    to[0] = double(e.rawAt00) * inverseArea;
    to[1] = double(e.stepX) * inverseArea;
    to[2] = double(e.stepY) * inverseArea;
  };
  put(w.a, bc);
  put(w.b, ca);
  put(w.c, ab);
  return w;
}

// The plane through the corner values va, vb, vc (already in 16.16).
Plane MakePlane(double va, double vb, double vc, const Weights& w) {
  const auto mix = [&](int k) { return va * w.a[k] + vb * w.b[k] + vc * w.c[k]; };
  return {RoundToInt(mix(0)), RoundToInt(mix(1)), RoundToInt(mix(2))};
}

inline unsigned ClampByte(std::int64_t fixed) {
  return static_cast<unsigned>(std::clamp<std::int64_t>(fixed >> 16, 0, 255));
}
inline std::uint16_t ClampDepth(std::int64_t fixed) {
  return static_cast<std::uint16_t>(std::clamp<std::int64_t>(fixed >> 16, 0, 0xFFFF));
}

struct Setup {
  Edge e0, e1, e2;  // ab, bc, ca
  Plane z, r, g, b;
};

// Boxes this wide or narrower find their spans by stepping.
constexpr int NarrowBox = 12;

// The same span as NarrowSpan gives for all three edges, found by stepping
// from first to last. A triangle is convex, so the covered pixels of a row
// are one run.
inline void NarrowSpanByStepping(std::int64_t e0, std::int64_t e1, std::int64_t e2, const Setup& s,
                                 std::int64_t& first, std::int64_t& last) {
  std::int64_t x = first;
  while (x <= last && (e0 | e1 | e2) < 0) {
    e0 += s.e0.stepX;
    e1 += s.e1.stepX;
    e2 += s.e2.stepX;
    ++x;
  }
  const std::int64_t start = x;
  while (x <= last && (e0 | e1 | e2) >= 0) {
    e0 += s.e0.stepX;
    e1 += s.e1.stepX;
    e2 += s.e2.stepX;
    ++x;
  }
  first = start;
  last = x - 1;
}

// Whether the plane stays inside [low, high] over the box: a plane takes its
// extremes at the corners.
bool PlaneWithin(const Plane& p, const PixelRect& box, std::int64_t low, std::int64_t high) {
  for (const int y : {box.y0, box.y1 - 1})
    for (const int x : {box.x0, box.x1 - 1}) {
      const std::int64_t v = p.At(x, y);
      if (v < low || v > high) return false;
    }
  return true;
}

// Whether the box's depth and colours fit the 32-bit lanes of FillDepthSpan32.
template <Shading S>
bool FitsSpanLanes(const Setup& s, const PixelRect& box) {
  if (!PlaneWithin(s.z, box, 0, 0xFFFFFFFFll)) return false;
  if constexpr (S != Shading::Flat) {
    if (!PlaneWithin(s.r, box, INT32_MIN, INT32_MAX)) return false;
  }
  if constexpr (S == Shading::GouraudRgb) {
    if (!PlaneWithin(s.g, box, INT32_MIN, INT32_MAX) || !PlaneWithin(s.b, box, INT32_MIN, INT32_MAX)) return false;
  }
  return true;
}

template <int Bytes, Shading S, bool Depth>
void Rasterise(const TileContext& context, const Primitive& prim, const Setup& s, const PixelRect& box) {
  const RenderTarget& target = *context.target;
  const std::uint32_t* table =
      S == Shading::GouraudShade ? context.list->shadeTables().data() + std::size_t{prim.table} * 256 : nullptr;
  // Narrow boxes (most triangles of a dense mesh) step the edge functions
  // across the row; wider ones walk the span's ends down the rows.
  const bool narrow = box.x1 - box.x0 <= NarrowBox;
  std::optional<SpanWalk> walk;
  if (!narrow) walk.emplace(s.e0.Function(), s.e1.Function(), s.e2.Function(), box.y0);
  // Depth-tested 32-bit targets fill four pixels at a time where the lanes hold.
  bool lanes = false;
  if constexpr (Depth && Bytes == 4) lanes = FitsSpanLanes<S>(s, box);
  for (int py = box.y0; py < box.y1; ++py) {
    // The covered span of this row: the loop below then needs no coverage test.
    std::int64_t first = box.x0, last = box.x1 - 1;
    if (narrow) {
      const std::int64_t e0 = s.e0.at00 + s.e0.stepX * box.x0 + s.e0.stepY * py;
      const std::int64_t e1 = s.e1.at00 + s.e1.stepX * box.x0 + s.e1.stepY * py;
      const std::int64_t e2 = s.e2.at00 + s.e2.stepX * box.x0 + s.e2.stepY * py;
      NarrowSpanByStepping(e0, e1, e2, s, first, last);
    } else {
      walk->Span(box.x0, box.x1 - 1, first, last);
      walk->NextRow();
    }
    if (first > last) continue;
    const int x0 = static_cast<int>(first), x1 = static_cast<int>(last) + 1;
    std::int64_t z = s.z.At(x0, py);
    std::int64_t r = 0, g = 0, b = 0;
    if constexpr (S != Shading::Flat) r = s.r.At(x0, py);
    if constexpr (S == Shading::GouraudRgb) {
      g = s.g.At(x0, py);
      b = s.b.At(x0, py);
    }
    std::uint8_t* color = target.color + static_cast<std::ptrdiff_t>(py) * target.colorPitch;
    std::uint16_t* depth = nullptr;
    if constexpr (Depth) {
      depth = reinterpret_cast<std::uint16_t*>(reinterpret_cast<std::uint8_t*>(target.depth) +
                                               static_cast<std::ptrdiff_t>(py) * target.depthPitch);
    }
    if constexpr (Depth && Bytes == 4) {
      if (lanes) {
        const auto lane = [](std::int64_t v) { return static_cast<std::uint32_t>(v); };
        const SpanLanes start{lane(z),
                              lane(r),
                              lane(g),
                              lane(b),
                              lane(s.z.stepX),
                              lane(S != Shading::Flat ? s.r.stepX : 0),
                              lane(S == Shading::GouraudRgb ? s.g.stepX : 0),
                              lane(S == Shading::GouraudRgb ? s.b.stepX : 0)};
        FillDepthSpan32<S>(color + x0 * 4, depth + x0, x1 - x0, start, target.packing, table, prim.pixel,
                           context.depthBias);
        continue;
      }
    }
    for (int px = x0; px < x1; ++px) {
      const std::uint16_t zz = ClampDepth(z);
      if (!Depth || zz + context.depthBias <= depth[px]) {
        if constexpr (Depth) depth[px] = zz;
        std::uint32_t pixel;
        if constexpr (S == Shading::Flat) {
          pixel = prim.pixel;
        } else if constexpr (S == Shading::GouraudShade) {
          pixel = table[ClampByte(r)];
        } else {
          pixel = PackRgb<Bytes>(target.packing, ClampByte(r), ClampByte(g), ClampByte(b));
        }
        StorePixel<Bytes>(color + px * Bytes, pixel);
      }
      z += s.z.stepX;
      if constexpr (S != Shading::Flat) r += s.r.stepX;
      if constexpr (S == Shading::GouraudRgb) {
        g += s.g.stepX;
        b += s.b.stepX;
      }
    }
  }
}

template <int Bytes, bool Depth>
void RasteriseShading(const TileContext& context, const Primitive& prim, const Setup& s, const PixelRect& box) {
  switch (prim.shading) {
    case Shading::Flat: return Rasterise<Bytes, Shading::Flat, Depth>(context, prim, s, box);
    case Shading::GouraudRgb: return Rasterise<Bytes, Shading::GouraudRgb, Depth>(context, prim, s, box);
    case Shading::GouraudShade: return Rasterise<Bytes, Shading::GouraudShade, Depth>(context, prim, s, box);
  }
}

template <bool Depth>
void RasteriseFormat(const TileContext& context, const Primitive& prim, const Setup& s, const PixelRect& box) {
  switch (context.target->packing.bytesPerPixel) {
    case 1: return RasteriseShading<1, Depth>(context, prim, s, box);
    case 2: return RasteriseShading<2, Depth>(context, prim, s, box);
    case 3: return RasteriseShading<3, Depth>(context, prim, s, box);
    default: return RasteriseShading<4, Depth>(context, prim, s, box);
  }
}

bool CoversAnyPixel(const Setup& s, const PixelRect& box) {
  for (int py = box.y0; py < box.y1; ++py)
    for (int px = box.x0; px < box.x1; ++px) {
      const std::int64_t e0 = s.e0.at00 + s.e0.stepX * px + s.e0.stepY * py;
      const std::int64_t e1 = s.e1.at00 + s.e1.stepX * px + s.e1.stepY * py;
      const std::int64_t e2 = s.e2.at00 + s.e2.stepX * px + s.e2.stepY * py;
      if ((e0 | e1 | e2) >= 0) return true;
    }
  return false;
}

// Pixels whose centres can lie inside [lo, hi] (28.4): centre = p * 16 + 8.
inline int FirstCentre(std::int32_t lo) { return (lo - SubpixelScale / 2 + SubpixelScale - 1) >> SubpixelBits; }
inline int LastCentre(std::int32_t hi) { return (hi - SubpixelScale / 2) >> SubpixelBits; }

}  // namespace

void FillTriangle(const TileContext& context, const Primitive& prim) {
  const auto& vertices = context.list->vertices();
  const ScreenVertex& a = vertices[prim.v[0]];
  const ScreenVertex& b = vertices[prim.v[1]];
  const ScreenVertex& c = vertices[prim.v[2]];
  PixelRect box{FirstCentre(std::min({a.x, b.x, c.x})), FirstCentre(std::min({a.y, b.y, c.y})),
                LastCentre(std::max({a.x, b.x, c.x})) + 1, LastCentre(std::max({a.y, b.y, c.y})) + 1};
  box = Intersect(box, context.clip);
  if (box.Empty()) return;

  Setup s;
  s.e0 = MakeEdge(a, b);
  s.e1 = MakeEdge(b, c);
  s.e2 = MakeEdge(c, a);
  // Most triangles of a dense mesh are tiny: when a small box holds no
  // covered pixel centre, skip the attribute set-up altogether.
  if ((box.x1 - box.x0) * (box.y1 - box.y0) <= 16 && !CoversAnyPixel(s, box)) return;
  const Weights w = MakeWeights(s.e0, s.e1, s.e2, 1.0 / static_cast<double>(DrawList::DoubledArea(a, b, c)));
  s.z = MakePlane(a.z, b.z, c.z, w);
  if (prim.shading != Shading::Flat) {
    s.r = MakePlane(a.r * 65536.0, b.r * 65536.0, c.r * 65536.0, w);
  }
  if (prim.shading == Shading::GouraudRgb) {
    s.g = MakePlane(a.g * 65536.0, b.g * 65536.0, c.g * 65536.0, w);
    s.b = MakePlane(a.b * 65536.0, b.b * 65536.0, c.b * 65536.0, w);
  }
  if (context.target->depth != nullptr) {
    RasteriseFormat<true>(context, prim, s, box);
  } else {
    RasteriseFormat<false>(context, prim, s, box);
  }
}

}  // namespace vyn::raster
