// What one Render hands to the rasteriser: screen-space vertices and the
// primitives made of them, in submission order. Triangles are culled here
// (back faces and those without area) as they are added.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "raster/Rect.h"

namespace vyn::raster {

// Sub-pixel precision of screen positions: 4 bits (1/16 pixel).
inline constexpr int SubpixelBits = 4;
inline constexpr int SubpixelScale = 1 << SubpixelBits;

struct ScreenVertex {
  std::int32_t x, y;  // pixels in 28.4 fixed point; y grows downwards
  std::uint32_t z;    // depth 0 (front plane) .. 0xFFFF (back plane), with 16 fraction bits
  std::uint8_t r, g, b;  // Gouraud colour, or r alone as a shade level (0..255)
  std::uint8_t pad;
};

enum class Shading : std::uint8_t {
  Flat,          // every pixel is `pixel`
  GouraudRgb,    // colours interpolated and packed per pixel
  GouraudShade,  // shade level interpolated, pixel from the batch's shade table
};

enum class PrimitiveKind : std::uint8_t { Triangle, Line, Point };

struct Primitive {
  std::uint32_t v[3];     // vertex indices (a line uses two, a point one)
  std::uint32_t pixel;    // flat pixel in the target's format
  PrimitiveKind kind;
  Shading shading;
  std::uint16_t table;    // shade table of GouraudShade
};

// Wireframe edges of a triangle that are edges of its face (the diagonals of
// a fanned polygon are not drawn).
inline constexpr std::uint8_t EdgeAB = 1, EdgeBC = 2, EdgeCA = 4;

enum class Fill : std::uint8_t { Points, Wireframe, Solid };

// An allocator whose resize leaves new elements uninitialised: the geometry
// stage writes every vertex and primitive it makes room for, so zeroing them
// first would only cost a pass over the memory.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

using VertexArray = std::vector<ScreenVertex, UninitialisedAllocator<ScreenVertex>>;
using PrimitiveArray = std::vector<Primitive, UninitialisedAllocator<Primitive>>;

// The primitives of one triangle whose corners run clockwise on screen, for
// `fill`, appended to `out` (the caller has culled the triangle).
template <typename Out>
inline void AppendTriangle(Out& out, std::uint32_t a, std::uint32_t b, std::uint32_t c, Fill fill, Shading shading,
                           std::uint32_t pixel, std::uint16_t table, std::uint8_t edges) {
  switch (fill) {
    case Fill::Solid:
      out.push_back({{a, b, c}, pixel, PrimitiveKind::Triangle, shading, table});
      break;
    case Fill::Wireframe:
      if (edges & EdgeAB) out.push_back({{a, b, b}, pixel, PrimitiveKind::Line, Shading::Flat, 0});
      if (edges & EdgeBC) out.push_back({{b, c, c}, pixel, PrimitiveKind::Line, Shading::Flat, 0});
      if (edges & EdgeCA) out.push_back({{c, a, a}, pixel, PrimitiveKind::Line, Shading::Flat, 0});
      break;
    case Fill::Points:
      for (std::uint32_t v : {a, b, c}) out.push_back({{v, v, v}, pixel, PrimitiveKind::Point, Shading::Flat, 0});
      break;
  }
}

class DrawList {
 public:
  void Clear();

  std::uint32_t AddVertex(const ScreenVertex& v) {
    vertices_.push_back(v);
    return static_cast<std::uint32_t>(vertices_.size() - 1);
  }
  ScreenVertex& vertex(std::uint32_t i) { return vertices_[i]; }
  // Room for `count` more vertices (or primitives), left for the caller to
  // fill; returns the first one. Earlier pointers become invalid.
  ScreenVertex* AppendVertices(std::size_t count) {
    vertices_.resize(vertices_.size() + count);
    return vertices_.data() + (vertices_.size() - count);
  }
  Primitive* AppendPrimitives(std::size_t count) {
    primitives_.resize(primitives_.size() + count);
    return primitives_.data() + (primitives_.size() - count);
  }

  // 256 pixels for the shade levels of GouraudShade; returns its number.
  std::uint16_t AddShadeTable(const std::uint32_t (&pixels)[256]);

  // Adds a triangle whose corners run clockwise on screen (front facing);
  // others are dropped. Wireframe fill adds the edges named by `edges`,
  // point fill the corners. Returns false when the triangle was culled.
  bool AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, Fill fill, Shading shading,
                   std::uint32_t pixel, std::uint16_t table, std::uint8_t edges);

  // Signed doubled area in 1/256 pixel units: positive for clockwise corners.
  static std::int64_t DoubledArea(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
    return std::int64_t{b.x - a.x} * (c.y - a.y) - std::int64_t{b.y - a.y} * (c.x - a.x);
  }

  const VertexArray& vertices() const { return vertices_; }
  const PrimitiveArray& primitives() const { return primitives_; }
  const std::vector<std::uint32_t>& shadeTables() const { return shadeTables_; }

 private:
  VertexArray vertices_;
  PrimitiveArray primitives_;
  std::vector<std::uint32_t> shadeTables_;  // 256 entries each
};

}  // namespace vyn::raster
