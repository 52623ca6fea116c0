#include "d3drm/MeshDrawer.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "raster/ThreadPool.h"

namespace vyn::d3drm {

namespace {

// Vertices made by clipping carry this bit until the chunks are joined.
constexpr std::uint32_t ClippedVertex = 0x80000000u;
// Fixed chunk sizes: the work is cut the same way whatever the thread count.
constexpr std::size_t VerticesPerChunk = 16384;
constexpr std::size_t FacesPerChunk = 8192;

// Pixels whose centres can lie inside [lo, hi] (28.4): centre = p * 16 + 8.
inline int FirstCentre(std::int32_t lo) {
  return (lo - raster::SubpixelScale / 2 + raster::SubpixelScale - 1) >> raster::SubpixelBits;
}
inline int LastCentre(std::int32_t hi) { return (hi - raster::SubpixelScale / 2) >> raster::SubpixelBits; }

// False when no pixel centre lies inside the triangle's bounding box: such a
// triangle fills nothing (most of a dense mesh's far-away triangles).
inline bool MayCoverACentre(const raster::ScreenVertex& a, const raster::ScreenVertex& b,
                            const raster::ScreenVertex& c) {
  return FirstCentre(std::min({a.x, b.x, c.x})) <= LastCentre(std::max({a.x, b.x, c.x})) &&
         FirstCentre(std::min({a.y, b.y, c.y})) <= LastCentre(std::max({a.y, b.y, c.y}));
}

void RunChunks(raster::ThreadPool* pool, std::size_t chunks, const std::function<void(int)>& work) {
  if (pool != nullptr) {
    pool->Run(static_cast<int>(chunks), work);
  } else {
    for (std::size_t i = 0; i < chunks; ++i) work(static_cast<int>(i));
  }
}

std::uint8_t ToByte(float v) {
  if (!(v > 0)) return 0;
  if (v >= 255) return 255;
  return static_cast<std::uint8_t>(v + 0.5f);
}


}  // namespace

std::uint8_t MeshDrawer::OutcodeOf(const ClipVertex& v, const Projection& p) {
  const float guard = GuardBand * v.z;
  const float sx = p.scale * v.x, sy = p.scale * v.y;
  if (!(std::isfinite(sx) && std::isfinite(sy) && std::isfinite(guard))) return OutInvalid | OutFront;
  return static_cast<std::uint8_t>((v.z < p.front ? OutFront : 0) | (v.z > p.back ? OutBack : 0) |
                                   (sx < -guard ? OutLeft : 0) | (sx > guard ? OutRight : 0) |
                                   (sy > guard ? OutTop : 0) | (sy < -guard ? OutBottom : 0));
}

void MeshDrawer::SetUpFrame(const MeshGeometry& mesh, const Placement& modelWorld, const Placement& worldToView,
                            const SceneLights& lights, const Projection& projection) {
  material_[0] = (mesh.color >> 16) & 0xFF;
  material_[1] = (mesh.color >> 8) & 0xFF;
  material_[2] = mesh.color & 0xFF;

  // Lights into the model's own coordinates: normals are then used as stored.
  lights_ = ModelLights{};
  lights_.ambient = lights.ambient;
  lights_.ambientMono = MonoOf(lights.ambient);
  for (const DirectionalLight& light : lights.directional) {
    const Vec3d d = Normalized(modelWorld.RotateIn(light.direction));
    lights_.dx.push_back(float(d.x));
    lights_.dy.push_back(float(d.y));
    lights_.dz.push_back(float(d.z));
    lights_.colors.push_back(light.color);
    lights_.mono.push_back(MonoOf(light.color));
  }
  zScale_ = MaxDepth * projection.back / (projection.back - projection.front);

  const Placement m = Compose(modelWorld, worldToView);
  for (int k = 0; k < 3; ++k) {
    m_[3 * k] = float(m.axis[k].x);
    m_[3 * k + 1] = float(m.axis[k].y);
    m_[3 * k + 2] = float(m.axis[k].z);
  }
  m_[9] = float(m.origin.x);
  m_[10] = float(m.origin.y);
  m_[11] = float(m.origin.z);
}

void MeshDrawer::Shade(const MeshGeometry& mesh, std::size_t i, bool ramp, float& r, float& g, float& b) const {
  if (ramp) {
    r = ToByte(lights_.Mono(mesh.nx[i], mesh.ny[i], mesh.nz[i]) * 255.0f);
    g = b = 0;
  } else {
    const ColorRgb light = lights_.Rgb(mesh.nx[i], mesh.ny[i], mesh.nz[i]);
    r = static_cast<float>(ScaleChannel(material_[0], light.r));
    g = static_cast<float>(ScaleChannel(material_[1], light.g));
    b = static_cast<float>(ScaleChannel(material_[2], light.b));
  }
}

MeshDrawer::ClipVertex MeshDrawer::CameraVertex(const MeshGeometry& mesh, std::uint32_t i, raster::Shading shading,
                                                bool ramp) const {
  const float x = mesh.x[i], y = mesh.y[i], z = mesh.z[i];
  ClipVertex v{x * m_[0] + y * m_[3] + z * m_[6] + m_[9], x * m_[1] + y * m_[4] + z * m_[7] + m_[10],
               x * m_[2] + y * m_[5] + z * m_[8] + m_[11], 0, 0, 0};
  if (shading != raster::Shading::Flat) Shade(mesh, i, ramp, v.r, v.g, v.b);
  return v;
}

raster::ScreenVertex MeshDrawer::Project(const ClipVertex& v, const Projection& p) const {
  const float inverse = 1.0f / v.z;
  const float sx = p.cx + p.scale * v.x * inverse;
  const float sy = p.cy - p.scale * v.y * inverse;
  const float depth = std::clamp(zScale_ * (1.0f - p.front * inverse), 0.0f, MaxDepth);
  raster::ScreenVertex out;
  // Round to the nearest sub-pixel (inside the guard band, far from overflow).
  const float fx = sx * raster::SubpixelScale, fy = sy * raster::SubpixelScale;
  out.x = static_cast<std::int32_t>(fx >= 0 ? fx + 0.5f : fx - 0.5f);
  out.y = static_cast<std::int32_t>(fy >= 0 ? fy + 0.5f : fy - 0.5f);
  out.z = static_cast<std::uint32_t>(depth);
  out.r = ToByte(v.r);
  out.g = ToByte(v.g);
  out.b = ToByte(v.b);
  out.pad = 0;
  return out;
}

std::uint32_t MeshDrawer::FacePixel(const MeshGeometry& mesh, std::size_t face, const RenderStyle& style,
                                    const raster::PixelPacking& packing) const {
  if (!style.lit) return packing.Pack(material_[0], material_[1], material_[2]);
  const float nx = mesh.faceNx[face], ny = mesh.faceNy[face], nz = mesh.faceNz[face];
  if (style.ramp) {
    const float level = QuantiseShade(lights_.Mono(nx, ny, nz), style.shades);
    return packing.Pack(ScaleChannel(material_[0], level), ScaleChannel(material_[1], level),
                        ScaleChannel(material_[2], level));
  }
  const ColorRgb light = lights_.Rgb(nx, ny, nz);
  return packing.Pack(ScaleChannel(material_[0], light.r), ScaleChannel(material_[1], light.g),
                      ScaleChannel(material_[2], light.b));
}

template <std::uint32_t Corners>
void MeshDrawer::FaceRange(const Job& job, std::size_t faceBegin, std::size_t faceEnd, FaceChunk& chunk) const {
  const MeshGeometry& mesh = *job.mesh;
  const RenderStyle& style = job.style;
  const bool perVertexShade = job.shading != raster::Shading::Flat;
  const bool solid = style.fill == raster::Fill::Solid;
  const std::uint32_t* corners = mesh.corners.data();
  const std::uint8_t* outcode = outcode_.data();
  const raster::ScreenVertex* screen = job.screen;
  chunk.primitives.clear();
  chunk.clipped.clear();
  for (std::size_t f = faceBegin; f < faceEnd; ++f) {
    // Corners is the number of corners of every face when the mesh says so
    // (the loops below then unroll), else 0.
    const std::uint32_t begin = Corners != 0 ? static_cast<std::uint32_t>(f * Corners) : mesh.FaceBegin(f);
    const std::uint32_t end = Corners != 0 ? begin + Corners : mesh.FaceEnd(f);
    std::uint8_t anyOut = 0, allOut = 0xFF;
    for (std::uint32_t c = begin; c < end; ++c) {
      anyOut |= outcode[corners[c]];
      allOut &= outcode[corners[c]];
    }
    if (allOut != 0 || (anyOut & OutInvalid) != 0) continue;  // wholly beyond one plane, or broken
    if (anyOut != 0) {
      const std::uint32_t pixel = perVertexShade ? 0 : FacePixel(mesh, f, style, *job.packing);
      Clip(job, begin, end, pixel, chunk);
      continue;
    }
    const std::uint32_t count = end - begin;
    const std::uint32_t first = corners[begin];
    bool pixelKnown = perVertexShade;
    std::uint32_t pixel = 0;
    for (std::uint32_t t = 0; t + 2 < count; ++t) {
      const std::uint32_t second = corners[begin + t + 1];
      const std::uint32_t third = corners[begin + t + 2];
      const raster::ScreenVertex &a = screen[first], &b = screen[second], &c = screen[third];
      if (raster::DrawList::DoubledArea(a, b, c) <= 0) continue;
      if (solid && !MayCoverACentre(a, b, c)) continue;
      if (!pixelKnown) {
        // Faces turned away are never lit.
        pixel = FacePixel(mesh, f, style, *job.packing);
        pixelKnown = true;
      }
      const std::uint8_t edges = raster::EdgeBC | (t == 0 ? raster::EdgeAB : 0) | (t + 3 == count ? raster::EdgeCA : 0);
      raster::AppendTriangle(chunk.primitives, job.base + first, job.base + second, job.base + third, style.fill,
                             job.shading, pixel, job.table, edges);
    }
  }
}

void MeshDrawer::Clip(const Job& job, std::uint32_t begin, std::uint32_t end, std::uint32_t pixel,
                      FaceChunk& chunk) const {
  const MeshGeometry& mesh = *job.mesh;
  const Projection& p = job.projection;
  std::vector<ClipVertex>& polygon = chunk.polygon;
  std::vector<ClipVertex>& scratch = chunk.scratch;
  polygon.clear();
  for (std::uint32_t c = begin; c < end; ++c) {
    polygon.push_back(CameraVertex(mesh, mesh.corners[c], job.shading, job.style.ramp));
  }
  const float s = p.scale;
  const auto distances = [&](int plane, const ClipVertex& v) -> float {
    switch (plane) {
      case 0: return v.z - p.front;
      case 1: return p.back - v.z;
      case 2: return GuardBand * v.z + s * v.x;
      case 3: return GuardBand * v.z - s * v.x;
      case 4: return GuardBand * v.z - s * v.y;
      default: return GuardBand * v.z + s * v.y;
    }
  };
  // Sutherland-Hodgman, the front plane first so that the guard planes only
  // ever see points in front of the camera.
  for (int plane = 0; plane < 6 && polygon.size() >= 3; ++plane) {
    scratch.clear();
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
      const ClipVertex& cur = polygon[i];
      const ClipVertex& prev = polygon[(i + n - 1) % n];
      const float dc = distances(plane, cur), dp = distances(plane, prev);
      if ((dc >= 0) != (dp >= 0)) {
        const float t = dp / (dp - dc);
        scratch.push_back({prev.x + (cur.x - prev.x) * t, prev.y + (cur.y - prev.y) * t,
                           prev.z + (cur.z - prev.z) * t, prev.r + (cur.r - prev.r) * t,
                           prev.g + (cur.g - prev.g) * t, prev.b + (cur.b - prev.b) * t});
      }
      if (dc >= 0) scratch.push_back(cur);
    }
    polygon.swap(scratch);
  }
  if (polygon.size() < 3) return;
  // Corners are numbered within the chunk until the chunks are joined.
  const std::size_t firstLocal = chunk.clipped.size();
  for (const ClipVertex& v : polygon) {
    // Rounding can leave a point a hair in front of the front plane.
    ClipVertex safe = v;
    safe.z = std::max(safe.z, p.front);
    chunk.clipped.push_back(Project(safe, p));
  }
  const raster::ScreenVertex* local = chunk.clipped.data() + firstLocal;
  const auto id = [&](std::size_t k) { return ClippedVertex | static_cast<std::uint32_t>(firstLocal + k); };
  const std::size_t count = polygon.size();
  for (std::size_t t = 0; t + 2 < count; ++t) {
    if (raster::DrawList::DoubledArea(local[0], local[t + 1], local[t + 2]) <= 0) continue;
    const std::uint8_t edges = raster::EdgeBC | (t == 0 ? raster::EdgeAB : 0) | (t + 3 == count ? raster::EdgeCA : 0);
    raster::AppendTriangle(chunk.primitives, id(0), id(t + 1), id(t + 2), job.style.fill, job.shading, pixel,
                           job.table, edges);
  }
}

void MeshDrawer::Join(std::size_t chunks, raster::DrawList& list, raster::ThreadPool* pool) {
  primitiveStart_.assign(chunks + 1, 0);
  clippedStart_.assign(chunks + 1, 0);
  for (std::size_t c = 0; c < chunks; ++c) {
    primitiveStart_[c + 1] = primitiveStart_[c] + chunks_[c].primitives.size();
    clippedStart_[c + 1] = clippedStart_[c] + chunks_[c].clipped.size();
  }
  const std::size_t firstClipped = list.vertices().size();
  if (clippedStart_[chunks] != 0) {
    raster::ScreenVertex* out = list.AppendVertices(clippedStart_[chunks]);
    for (std::size_t c = 0; c < chunks; ++c) {
      std::copy(chunks_[c].clipped.begin(), chunks_[c].clipped.end(), out + clippedStart_[c]);
    }
  }
  raster::Primitive* out = list.AppendPrimitives(primitiveStart_[chunks]);
  RunChunks(pool, chunks, [&](int task) {
    const FaceChunk& chunk = chunks_[static_cast<std::size_t>(task)];
    raster::Primitive* to = out + primitiveStart_[static_cast<std::size_t>(task)];
    if (chunk.clipped.empty()) {
      std::copy(chunk.primitives.begin(), chunk.primitives.end(), to);
      return;
    }
    const std::uint32_t shift = static_cast<std::uint32_t>(firstClipped + clippedStart_[static_cast<std::size_t>(task)]);
    for (raster::Primitive prim : chunk.primitives) {
      for (std::uint32_t& v : prim.v) {
        if (v & ClippedVertex) v = shift + (v & ~ClippedVertex);
      }
      *to++ = prim;
    }
  });
}

void MeshDrawer::Draw(const MeshGeometry& mesh, const Placement& modelWorld, const Placement& worldToView,
                      const SceneLights& lights, const Projection& projection, const RenderStyle& style,
                      const raster::PixelPacking& packing, raster::DrawList& list, raster::ThreadPool* pool) {
  if (mesh.VertexCount() == 0 || mesh.FaceCount() == 0) return;
  SetUpFrame(mesh, modelWorld, worldToView, lights, projection);

  Job job{&mesh, projection, style, raster::Shading::Flat, 0, &packing, 0, nullptr};
  if (style.fill == raster::Fill::Solid && style.gouraud && style.lit) {
    if (style.ramp) {
      std::uint32_t pixels[256];
      for (unsigned k = 0; k < 256; ++k) {
        const float level = QuantiseShade(static_cast<float>(k) / 255.0f, style.shades);
        pixels[k] = packing.Pack(ScaleChannel(material_[0], level), ScaleChannel(material_[1], level),
                                 ScaleChannel(material_[2], level));
      }
      job.table = list.AddShadeTable(pixels);
      job.shading = raster::Shading::GouraudShade;
    } else {
      job.shading = raster::Shading::GouraudRgb;
    }
  }

  // Every vertex gets a slot in the draw list; those outside the guard band
  // are never used as they stand (their faces go through the clipper).
  const std::size_t vertices = mesh.VertexCount();
  job.base = static_cast<std::uint32_t>(list.vertices().size());
  raster::ScreenVertex* screen = list.AppendVertices(vertices);
  job.screen = screen;
  outcode_.resize(vertices);
  const std::size_t vertexChunks = (vertices + VerticesPerChunk - 1) / VerticesPerChunk;
  RunChunks(pool, vertexChunks, [&](int task) {
    const std::size_t begin = static_cast<std::size_t>(task) * VerticesPerChunk;
    VertexRange(job, begin, std::min(vertices, begin + VerticesPerChunk), screen);
  });

  const std::size_t faces = mesh.FaceCount();
  const std::size_t faceChunks = (faces + FacesPerChunk - 1) / FacesPerChunk;
  if (chunks_.size() < faceChunks) chunks_.resize(faceChunks);
  RunChunks(pool, faceChunks, [&](int task) {
    const std::size_t begin = static_cast<std::size_t>(task) * FacesPerChunk;
    const std::size_t end = std::min(faces, begin + FacesPerChunk);
    FaceChunk& chunk = chunks_[static_cast<std::size_t>(task)];
    switch (mesh.cornersPerFace) {
      case 3: return FaceRange<3>(job, begin, end, chunk);
      case 4: return FaceRange<4>(job, begin, end, chunk);
      default: return FaceRange<0>(job, begin, end, chunk);
    }
  });
  Join(faceChunks, list, pool);
}

}  // namespace vyn::d3drm
