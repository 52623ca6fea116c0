// The IDirect3D2 interface of a DirectDraw object: device enumeration and
// creation of the software devices. It is a separate object that keeps the
// DirectDraw object alive while it lives; QueryInterface on it for
// IID_IDirectDraw (or IID_IUnknown) gives the DirectDraw object back.
#pragma once

#include <vector>

#include "com/ComObject.h"
#include "d3d/D3D.h"
#include "d3d/DeviceList.h"

namespace vyn::ddraw {
class DirectDrawObject;
}

namespace vyn::d3d {

class Direct3D final : public com::ComObject<IDirect3D2> {
 public:
  explicit Direct3D(ddraw::DirectDrawObject& owner);
  ~Direct3D() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK callback, LPVOID context) override;
  HRESULT CreateDevice(REFCLSID device, LPDIRECTDRAWSURFACE renderTarget,
                       LPDIRECT3DDEVICE2* created) override;

 private:
  ddraw::DirectDrawObject& owner_;
  // The devices of the last enumeration: the GUID, text and description
  // pointers handed to the callback stay valid until the next one.
  std::vector<DeviceEntry> enumerated_;
};

// Answers the DirectDraw object's query for IID_IDirect3D2 (object non-null).
HRESULT QueryDirect3D2(ddraw::DirectDrawObject& owner, void** object);

}  // namespace vyn::d3d
