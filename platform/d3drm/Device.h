// The Retained Mode device: draws into the back buffer of a Direct3D device
// made by this platform, keeps the rendering settings, and knows which part
// of the buffer each frame touched, so that clearing and presenting can be
// limited to that.
#pragma once

#include <memory>
#include <vector>

#include "com/ComObject.h"
#include "d3drm/D3DRM.h"
#include "ddraw/SurfaceMemory.h"
#include "raster/DrawList.h"
#include "raster/PaletteMatch.h"
#include "raster/RenderTarget.h"
#include "raster/ThreadPool.h"
#include "raster/TileRenderer.h"

namespace vyn::d3drm {

class Device final : public com::ComObject<IDirect3DRMDevice2> {
 public:
  // Wraps a Direct3D device of this platform: D3DRMERR_BADDEVICE for any other.
  static HRESULT CreateOnDirect3D(IDirect3DDevice2* direct3dDevice, Device** created);

  // A device over memory that is no DirectDraw surface (tools and tests);
  // `depth` may be null, and the device then keeps a Z-buffer of its own.
  Device(ddraw::SurfaceMemory* color, ddraw::SurfaceMemory* depth, D3DCOLORMODEL colorModel);

  static Device* From(IDirect3DRMDevice* device);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  DWORD GetBufferCount() override;
  BOOL GetDither() override;
  D3DRMRENDERQUALITY GetQuality() override;
  DWORD GetShades() override;
  D3DRMTEXTUREQUALITY GetTextureQuality() override;
  DWORD GetWidth() override;
  DWORD GetHeight() override;
  HRESULT SetBufferCount(DWORD count) override;
  HRESULT SetDither(BOOL dither) override;
  HRESULT SetQuality(D3DRMRENDERQUALITY quality) override;
  HRESULT SetShades(DWORD shades) override;
  HRESULT SetTextureQuality(D3DRMTEXTUREQUALITY quality) override;
  HRESULT Update() override;

  // --- for viewports ---
  D3DCOLORMODEL colorModel() const { return colorModel_; }
  D3DRMRENDERQUALITY quality() const { return quality_; }
  DWORD shades() const { return shades_; }
  DWORD width() const;
  DWORD height() const;
  // The target as it stands now; false when the memory is gone.
  bool AcquireTarget(raster::RenderTarget& target);
  // Clears what may hold earlier drawing inside `area` (everything, the first time).
  void ClearArea(const raster::PixelRect& area);
  // Marks `area` as needing a full refresh at the next clear and update.
  void ForceArea(const raster::PixelRect& area);
  // Draws a finished draw list inside `scissor`.
  void Draw(const raster::DrawList& list, const raster::PixelRect& scissor);
  raster::DrawList& drawList() { return drawList_; }
  // The thread count used to draw tiles (tests compare 1 with several);
  // every frame then uses it.
  void SetRenderThreads(int threads);
  // The threads that share this frame's work (null when the calling thread
  // works alone).
  raster::ThreadPool* RenderPool();

 private:
  ddraw::SurfaceMemory* ColorMemory() const;
  ddraw::SurfaceMemory* DepthMemory();
  void RefreshPalette(const ddraw::SurfaceMemory& color);
  void MakePool(int threads);
  bool DrawsAlone() const;

  IDirectDrawSurface* colorSurface_ = nullptr;  // borrowed: the caller keeps the back buffer
  ddraw::SurfaceMemory* fixedColor_ = nullptr;
  ddraw::SurfaceMemory* fixedDepth_ = nullptr;
  D3DCOLORMODEL colorModel_;

  DWORD bufferCount_ = 1;
  BOOL dither_ = TRUE;
  D3DRMRENDERQUALITY quality_ = D3DRMRENDER_FLAT;
  DWORD shades_ = 32;
  D3DRMTEXTUREQUALITY textureQuality_ = D3DRMTEXTURE_NEAREST;

  // Where earlier drawing may still stand (everything, until the first clear).
  raster::PixelRect unclean_;
  // What this frame changed (clears and drawing, forced areas), and whether
  // any frame was finished yet: the first one refreshes everything.
  raster::PixelRect changed_{};
  bool updatedOnce_ = false;

  std::vector<std::uint16_t> ownDepth_;
  ddraw::SurfaceMemory ownDepthMemory_;
  raster::PaletteMatch palette_;
  std::vector<PALETTEENTRY> paletteSeen_;
  raster::DrawList drawList_;
  raster::TileRenderer tiles_;
  std::unique_ptr<raster::ThreadPool> pool_;
  bool threadsChosen_ = false;  // else the default is taken at the first draw
  bool threadsExplicit_ = false;  // SetRenderThreads was called
  int pooledFramesLeft_ = 0;      // paced frames to draw with the pool before trying alone again
};

raster::PixelRect ToPixelRect(const RECT& r);
RECT ToRect(const raster::PixelRect& r);

}  // namespace vyn::d3drm
