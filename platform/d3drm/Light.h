// A light of the scene: ambient (adds its colour everywhere) or directional
// (shines along the +z axis of the frame that holds it).
#pragma once

#include "com/ComObject.h"
#include "d3drm/D3DRM.h"

namespace vyn::d3drm {

struct ColorRgb {
  float r = 0, g = 0, b = 0;
};

class Light final : public com::ComObject<IDirect3DRMLight> {
 public:
  Light(D3DRMLIGHTTYPE type, ColorRgb color) : type_(type), color_(color) {}

  HRESULT QueryInterface(REFIID iid, void** object) override;
  D3DCOLOR GetColor() override;
  D3DRMLIGHTTYPE GetType() override;

  D3DRMLIGHTTYPE type() const { return type_; }
  const ColorRgb& color() const { return color_; }

 private:
  D3DRMLIGHTTYPE type_;
  ColorRgb color_;
};

// A colour channel in [0, 1] as a byte, saturating outside.
inline unsigned ChannelByte(float value) {
  if (!(value > 0)) return 0;
  if (value >= 1) return 255;
  return static_cast<unsigned>(value * 255.0f + 0.5f);
}

}  // namespace vyn::d3drm
