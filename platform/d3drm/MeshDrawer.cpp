#include "d3drm/MeshDrawer.h"

#include <algorithm>
#include <cmath>

namespace vyn::d3drm {

namespace {

// Outcodes: which planes a camera-space vertex lies outside of. The guard
// band keeps projected positions small enough for the rasteriser's fixed
// point; inside it the scissor rectangle does the rest of the clipping.
constexpr std::uint8_t OutFront = 1, OutBack = 2, OutLeft = 4, OutRight = 8, OutTop = 16, OutBottom = 32;
// A vertex that is not a finite point: faces using it are not drawn.
constexpr std::uint8_t OutInvalid = 64;
constexpr float GuardBand = 8192.0f;  // pixels from the centre of projection
constexpr float MaxDepth = 65535.0f * 65536.0f;

std::uint8_t ToByte(float v) {
  if (!(v > 0)) return 0;
  if (v >= 255) return 255;
  return static_cast<std::uint8_t>(v + 0.5f);
}

}  // namespace

void MeshDrawer::TransformVertices(const MeshGeometry& mesh, const Placement& m, const Projection& p) {
  const std::size_t n = mesh.VertexCount();
  vx_.resize(n);
  vy_.resize(n);
  vz_.resize(n);
  outcode_.resize(n);
  const float ax = float(m.axis[0].x), ay = float(m.axis[0].y), az = float(m.axis[0].z);
  const float bx = float(m.axis[1].x), by = float(m.axis[1].y), bz = float(m.axis[1].z);
  const float cx = float(m.axis[2].x), cy = float(m.axis[2].y), cz = float(m.axis[2].z);
  const float ox = float(m.origin.x), oy = float(m.origin.y), oz = float(m.origin.z);
  const float* x = mesh.x.data();
  const float* y = mesh.y.data();
  const float* z = mesh.z.data();
  float* outX = vx_.data();
  float* outY = vy_.data();
  float* outZ = vz_.data();
  for (std::size_t i = 0; i < n; ++i) {
    outX[i] = x[i] * ax + y[i] * bx + z[i] * cx + ox;
    outY[i] = x[i] * ay + y[i] * by + z[i] * cy + oy;
    outZ[i] = x[i] * az + y[i] * bz + z[i] * cz + oz;
  }
  const float s = p.scale;
  for (std::size_t i = 0; i < n; ++i) {
    const float guard = GuardBand * outZ[i];
    const float sx = s * outX[i], sy = s * outY[i];
    const bool finite = std::isfinite(sx) && std::isfinite(sy) && std::isfinite(guard);
    outcode_[i] = !finite ? (OutInvalid | OutFront)
                          : static_cast<std::uint8_t>((outZ[i] < p.front ? OutFront : 0) |
                                                      (outZ[i] > p.back ? OutBack : 0) | (sx < -guard ? OutLeft : 0) |
                                                      (sx > guard ? OutRight : 0) | (sy > guard ? OutTop : 0) |
                                                      (sy < -guard ? OutBottom : 0));
  }
}

void MeshDrawer::ShadeVertices(const MeshGeometry& mesh, const RenderStyle& style) {
  const std::size_t n = mesh.VertexCount();
  for (auto& channel : shade_) channel.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (style.ramp) {
      shade_[0][i] = ToByte(lights_.Mono(mesh.nx[i], mesh.ny[i], mesh.nz[i]) * 255.0f);
    } else {
      const ColorRgb light = lights_.Rgb(mesh.nx[i], mesh.ny[i], mesh.nz[i]);
      shade_[0][i] = static_cast<std::uint8_t>(ScaleChannel(material_[0], light.r));
      shade_[1][i] = static_cast<std::uint8_t>(ScaleChannel(material_[1], light.g));
      shade_[2][i] = static_cast<std::uint8_t>(ScaleChannel(material_[2], light.b));
    }
  }
}

MeshDrawer::ClipVertex MeshDrawer::CameraVertex(std::uint32_t i, bool perVertexShade, bool ramp) const {
  ClipVertex v{vx_[i], vy_[i], vz_[i], 0, 0, 0};
  if (perVertexShade) {
    v.r = shade_[0][i];
    if (!ramp) {
      v.g = shade_[1][i];
      v.b = shade_[2][i];
    }
  }
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

void MeshDrawer::Draw(const MeshGeometry& mesh, const Placement& modelWorld, const Placement& worldToView,
                      const SceneLights& lights, const Projection& projection, const RenderStyle& style,
                      const raster::PixelPacking& packing, raster::DrawList& list) {
  if (mesh.VertexCount() == 0 || mesh.FaceCount() == 0) return;
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

  TransformVertices(mesh, Compose(modelWorld, worldToView), projection);

  raster::Shading shading = raster::Shading::Flat;
  std::uint16_t table = 0;
  if (style.fill == raster::Fill::Solid && style.gouraud && style.lit) {
    ShadeVertices(mesh, style);
    if (style.ramp) {
      std::uint32_t pixels[256];
      for (unsigned k = 0; k < 256; ++k) {
        const float level = QuantiseShade(static_cast<float>(k) / 255.0f, style.shades);
        pixels[k] = packing.Pack(ScaleChannel(material_[0], level), ScaleChannel(material_[1], level),
                                 ScaleChannel(material_[2], level));
      }
      table = list.AddShadeTable(pixels);
      shading = raster::Shading::GouraudShade;
    } else {
      shading = raster::Shading::GouraudRgb;
    }
  }
  const bool perVertexShade = shading != raster::Shading::Flat;

  // Every vertex gets a slot in the draw list; those outside the guard band
  // are never used as they stand (their faces go through the clipper).
  const std::uint32_t base = static_cast<std::uint32_t>(list.vertices().size());
  for (std::size_t i = 0; i < mesh.VertexCount(); ++i) {
    raster::ScreenVertex sv{};
    if (outcode_[i] == 0) {
      sv = Project(CameraVertex(static_cast<std::uint32_t>(i), perVertexShade, style.ramp), projection);
    }
    list.AddVertex(sv);
  }

  const auto& corners = mesh.corners;
  for (std::size_t f = 0; f < mesh.FaceCount(); ++f) {
    const std::uint32_t begin = mesh.FaceBegin(f), end = mesh.FaceEnd(f);
    std::uint8_t anyOut = 0, allOut = 0xFF;
    for (std::uint32_t c = begin; c < end; ++c) {
      anyOut |= outcode_[corners[c]];
      allOut &= outcode_[corners[c]];
    }
    if (allOut != 0 || (anyOut & OutInvalid) != 0) continue;  // wholly beyond one plane, or broken
    if (anyOut != 0) {
      const std::uint32_t pixel = perVertexShade ? 0 : FacePixel(mesh, f, style, packing);
      ClipAndAdd(mesh, begin, end, projection, style, shading, pixel, table, list);
      continue;
    }
    const std::uint32_t count = end - begin;
    const std::uint32_t first = base + corners[begin];
    bool pixelKnown = perVertexShade;
    std::uint32_t pixel = 0;
    for (std::uint32_t t = 0; t + 2 < count; ++t) {
      const std::uint32_t second = base + corners[begin + t + 1];
      const std::uint32_t third = base + corners[begin + t + 2];
      const auto& v = list.vertices();
      if (raster::DrawList::DoubledArea(v[first], v[second], v[third]) <= 0) continue;
      if (!pixelKnown) {
        // Faces turned away are never lit.
        pixel = FacePixel(mesh, f, style, packing);
        pixelKnown = true;
      }
      const std::uint8_t edges = raster::EdgeBC | (t == 0 ? raster::EdgeAB : 0) | (t + 3 == count ? raster::EdgeCA : 0);
      list.AddTriangle(first, second, third, style.fill, shading, pixel, table, edges);
    }
  }
}

void MeshDrawer::ClipAndAdd(const MeshGeometry& mesh, std::uint32_t begin, std::uint32_t end,
                            const Projection& p, const RenderStyle& style, raster::Shading shading,
                            std::uint32_t pixel, std::uint16_t table, raster::DrawList& list) {
  polygon_.clear();
  const bool perVertexShade = shading != raster::Shading::Flat;
  for (std::uint32_t c = begin; c < end; ++c) {
    polygon_.push_back(CameraVertex(mesh.corners[c], perVertexShade, style.ramp));
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
  for (int plane = 0; plane < 6 && polygon_.size() >= 3; ++plane) {
    scratch_.clear();
    const std::size_t n = polygon_.size();
    for (std::size_t i = 0; i < n; ++i) {
      const ClipVertex& cur = polygon_[i];
      const ClipVertex& prev = polygon_[(i + n - 1) % n];
      const float dc = distances(plane, cur), dp = distances(plane, prev);
      if ((dc >= 0) != (dp >= 0)) {
        const float t = dp / (dp - dc);
        scratch_.push_back({prev.x + (cur.x - prev.x) * t, prev.y + (cur.y - prev.y) * t,
                            prev.z + (cur.z - prev.z) * t, prev.r + (cur.r - prev.r) * t,
                            prev.g + (cur.g - prev.g) * t, prev.b + (cur.b - prev.b) * t});
      }
      if (dc >= 0) scratch_.push_back(cur);
    }
    polygon_.swap(scratch_);
  }
  if (polygon_.size() < 3) return;
  clippedIndex_.clear();
  for (const ClipVertex& v : polygon_) {
    // Rounding can leave a point a hair in front of the front plane.
    ClipVertex safe = v;
    safe.z = std::max(safe.z, p.front);
    clippedIndex_.push_back(list.AddVertex(Project(safe, p)));
  }
  const std::size_t count = clippedIndex_.size();
  for (std::size_t t = 0; t + 2 < count; ++t) {
    const std::uint8_t edges = raster::EdgeBC | (t == 0 ? raster::EdgeAB : 0) | (t + 3 == count ? raster::EdgeCA : 0);
    list.AddTriangle(clippedIndex_[0], clippedIndex_[t + 1], clippedIndex_[t + 2], style.fill, shading, pixel, table,
                     edges);
  }
}

}  // namespace vyn::d3drm
