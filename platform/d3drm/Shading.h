// How a mesh is drawn on a device: the mesh's quality capped by the device's
// (a Gouraud mesh on a flat device draws flat), and the light arithmetic of
// the two colour models: RGB lights each channel, Ramp (mono) lights in
// shades of the material colour, quantised to the device's shade count.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "d3drm/D3DRM.h"
#include "d3drm/Light.h"
#include "raster/DrawList.h"

namespace vyn::d3drm {

struct RenderStyle {
  raster::Fill fill = raster::Fill::Solid;
  bool gouraud = false;
  bool lit = true;
  bool ramp = false;
  unsigned shades = 32;
};

inline RenderStyle EffectiveStyle(D3DRMRENDERQUALITY mesh, D3DRMRENDERQUALITY device, D3DCOLORMODEL model,
                                  DWORD shades) {
  RenderStyle style;
  const DWORD shade = std::min(mesh & D3DRMSHADE_MASK, device & D3DRMSHADE_MASK);
  const DWORD fill = std::min(mesh & D3DRMFILL_MASK, device & D3DRMFILL_MASK);
  style.gouraud = shade >= D3DRMSHADE_GOURAUD;  // Phong draws as Gouraud
  style.lit = (mesh & D3DRMLIGHT_MASK) == D3DRMLIGHT_ON && (device & D3DRMLIGHT_MASK) == D3DRMLIGHT_ON;
  style.fill = fill >= D3DRMFILL_SOLID      ? raster::Fill::Solid
               : fill == D3DRMFILL_WIREFRAME ? raster::Fill::Wireframe
                                             : raster::Fill::Points;
  style.ramp = model == D3DCOLOR_MONO;
  style.shades = std::max<DWORD>(1, shades);
  return style;
}

// The lights of a scene turned into the coordinates of one model, so that
// its normals need no transform.
struct ModelLights {
  ColorRgb ambient;
  std::vector<float> dx, dy, dz;  // directions the lights travel, unit
  std::vector<ColorRgb> colors;
  float ambientMono = 0;
  std::vector<float> mono;

  // Lambert: the light that reaches a surface with unit normal n.
  ColorRgb Rgb(float nx, float ny, float nz) const {
    ColorRgb sum = ambient;
    for (std::size_t i = 0; i < dx.size(); ++i) {
      const float facing = -(nx * dx[i] + ny * dy[i] + nz * dz[i]);
      if (facing > 0) {
        sum.r += facing * colors[i].r;
        sum.g += facing * colors[i].g;
        sum.b += facing * colors[i].b;
      }
    }
    return sum;
  }
  float Mono(float nx, float ny, float nz) const {
    float sum = ambientMono;
    for (std::size_t i = 0; i < dx.size(); ++i) {
      const float facing = -(nx * dx[i] + ny * dy[i] + nz * dz[i]);
      if (facing > 0) sum += facing * mono[i];
    }
    return std::clamp(sum, 0.0f, 1.0f);
  }
};

// The intensity of a mono light: the mean of its channels.
inline float MonoOf(const ColorRgb& c) { return (c.r + c.g + c.b) / 3.0f; }

// A Ramp intensity in [0, 1] quantised to one of `shades` levels (0 and 1 included).
inline float QuantiseShade(float intensity, unsigned shades) {
  if (shades <= 1) return 1.0f;
  const float steps = static_cast<float>(shades - 1);
  return std::nearbyint(std::clamp(intensity, 0.0f, 1.0f) * steps) / steps;
}

inline unsigned ScaleChannel(unsigned material, float factor) {
  const float value = static_cast<float>(material) * factor;
  if (!(value > 0)) return 0;
  if (value >= 255) return 255;
  return static_cast<unsigned>(value + 0.5f);
}

}  // namespace vyn::d3drm
