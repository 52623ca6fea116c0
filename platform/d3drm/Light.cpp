#include "d3drm/Light.h"

#include "d3drm/Iids.h"
#include "testctl/TestControls.h"

namespace vyn::d3drm {

HRESULT Light::QueryInterface(REFIID iid, void** object) {
  IDirect3DRMLight* self = this;
  return com::QueryFor(self, iid, object, {{&IID_IUnknown, self}, {&IID_Object, self}, {&IID_Light, self}});
}

D3DCOLOR Light::GetColor() {
  testctl::Enter("IDirect3DRMLight::GetColor", this);
  return 0xFF000000u | (ChannelByte(color_.r) << 16) | (ChannelByte(color_.g) << 8) | ChannelByte(color_.b);
}

D3DRMLIGHTTYPE Light::GetType() {
  testctl::Enter("IDirect3DRMLight::GetType", this);
  return type_;
}

}  // namespace vyn::d3drm
