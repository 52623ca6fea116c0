// The Retained Mode object: the factory of frames, lights, mesh builders,
// devices and viewports. One object answers both interface versions; the
// first-version interface shares the reference count.
#pragma once

#include "com/ComObject.h"
#include "d3drm/D3DRM.h"

namespace vyn::d3drm {

class RetainedMode final : public com::ComObject<IDirect3DRM2> {
 public:
  RetainedMode();

  IDirect3DRM* version1() { return &version1_; }

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT CreateDeviceFromD3D(LPDIRECT3D2 direct3d, LPDIRECT3DDEVICE2 device,
                              LPDIRECT3DRMDEVICE2* created) override;
  HRESULT CreateFrame(LPDIRECT3DRMFRAME parent, LPDIRECT3DRMFRAME2* created) override;
  HRESULT CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE red, D3DVALUE green, D3DVALUE blue,
                         LPDIRECT3DRMLIGHT* created) override;
  HRESULT CreateMeshBuilder(LPDIRECT3DRMMESHBUILDER2* created) override;
  HRESULT CreateViewport(LPDIRECT3DRMDEVICE device, LPDIRECT3DRMFRAME camera, DWORD x, DWORD y, DWORD width,
                         DWORD height, LPDIRECT3DRMVIEWPORT* created) override;
  HRESULT SetDefaultTextureColors(DWORD colors) override;
  HRESULT SetDefaultTextureShades(DWORD shades) override;

  DWORD defaultTextureColors() const { return defaultTextureColors_; }
  DWORD defaultTextureShades() const { return defaultTextureShades_; }

 private:
  // The IDirect3DRM face of the same object.
  struct Version1 final : IDirect3DRM {
    explicit Version1(RetainedMode* owner) : owner(owner) {}
    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return owner->AddRef(); }
    ULONG Release() override;
    RetainedMode* owner;
  };

  Version1 version1_;
  DWORD defaultTextureColors_ = 16;
  DWORD defaultTextureShades_ = 16;
};

}  // namespace vyn::d3drm
