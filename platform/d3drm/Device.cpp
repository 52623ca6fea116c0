#include "d3drm/Device.h"

#include <chrono>
#include <cstring>
#include <new>

#include "d3d/DeviceTarget.h"
#include "d3drm/Iids.h"
#include "display/Display.h"
#include "testctl/TestControls.h"

namespace vyn::d3drm {

raster::PixelRect ToPixelRect(const RECT& r) {
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right), static_cast<int>(r.bottom)};
}

RECT ToRect(const raster::PixelRect& r) {
  if (r.Empty()) return RECT{};
  return {r.x0, r.y0, r.x1, r.y1};
}

HRESULT Device::CreateOnDirect3D(IDirect3DDevice2* direct3dDevice, Device** created) {
  *created = nullptr;
  d3d::DeviceTarget target;
  if (!d3d::TargetOf(direct3dDevice, target) || target.renderTarget == nullptr) return D3DRMERR_BADDEVICE;
  if (ddraw::MemoryOf(target.renderTarget) == nullptr) return D3DRMERR_BADDEVICE;
  Device* device = new (std::nothrow) Device(nullptr, nullptr, target.colorModel == 0 ? D3DCOLOR_RGB : target.colorModel);
  if (device == nullptr) return D3DRMERR_BADALLOC;
  device->colorSurface_ = target.renderTarget;
  *created = device;
  return D3DRM_OK;
}

Device::Device(ddraw::SurfaceMemory* color, ddraw::SurfaceMemory* depth, D3DCOLORMODEL colorModel)
    : fixedColor_(color), fixedDepth_(depth), colorModel_(colorModel), unclean_{0, 0, 1 << 30, 1 << 30} {}

Device* Device::From(IDirect3DRMDevice* device) {
  return device == nullptr ? nullptr : dynamic_cast<Device*>(static_cast<IUnknown*>(device));
}

HRESULT Device::QueryInterface(REFIID iid, void** object) {
  IDirect3DRMDevice2* self = this;
  return com::QueryFor(self, iid, object,
                       {{&IID_IUnknown, self}, {&IID_Object, self}, {&IID_Device, self}, {&IID_Device2, self}});
}

ddraw::SurfaceMemory* Device::ColorMemory() const {
  return fixedColor_ != nullptr ? fixedColor_ : ddraw::MemoryOf(colorSurface_);
}

ddraw::SurfaceMemory* Device::DepthMemory() {
  const ddraw::SurfaceMemory* color = ColorMemory();
  ddraw::SurfaceMemory* depth = fixedDepth_;
  if (depth == nullptr && colorSurface_ != nullptr) {
    if (IDirectDrawSurface* z = ddraw::AttachedZBuffer(colorSurface_)) depth = ddraw::MemoryOf(z);
  }
  if (depth != nullptr && depth->pixels != nullptr && depth->width >= color->width &&
      depth->height >= color->height) {
    return depth;
  }
  // No usable Z-buffer attached: keep one of our own.
  const std::size_t needed = static_cast<std::size_t>(color->width) * color->height;
  if (ownDepth_.size() != needed) {
    ownDepth_.assign(needed, raster::FarDepth);
    ownDepthMemory_.pixels = reinterpret_cast<std::uint8_t*>(ownDepth_.data());
    ownDepthMemory_.pitch = color->width * 2;
    ownDepthMemory_.width = color->width;
    ownDepthMemory_.height = color->height;
    ownDepthMemory_.isZBuffer = true;
  }
  return &ownDepthMemory_;
}

void Device::RefreshPalette(const ddraw::SurfaceMemory& color) {
  PALETTEENTRY entries[256]{};
  if (color.palette != nullptr) std::memcpy(entries, color.palette, sizeof entries);
  if (paletteSeen_.size() == 256 && std::memcmp(paletteSeen_.data(), entries, sizeof entries) == 0) return;
  paletteSeen_.assign(entries, entries + 256);
  raster::PaletteColor colors[256];
  bool usable[256];
  for (int i = 0; i < 256; ++i) {
    colors[i] = {entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
    usable[i] = true;
  }
  palette_.Build(colors, usable);
}

bool Device::AcquireTarget(raster::RenderTarget& target) {
  ddraw::SurfaceMemory* color = ColorMemory();
  if (color == nullptr || color->pixels == nullptr || color->width <= 0 || color->height <= 0) return false;
  const display::PixelFormat& f = color->format;
  if (f.bitsPerPixel != 8 && f.bitsPerPixel != 16 && f.bitsPerPixel != 24 && f.bitsPerPixel != 32) return false;
  if (f.bitsPerPixel == 8) RefreshPalette(*color);
  target.color = color->pixels;
  target.colorPitch = color->pitch;
  target.width = color->width;
  target.height = color->height;
  target.packing = raster::PackingFor(f.bitsPerPixel, f.redMask, f.greenMask, f.blueMask, &palette_);
  ddraw::SurfaceMemory* depth = DepthMemory();
  target.depth = reinterpret_cast<std::uint16_t*>(depth->pixels);
  target.depthPitch = depth->pitch;
  return true;
}

void Device::ClearArea(const raster::PixelRect& area) {
  raster::RenderTarget target;
  if (!AcquireTarget(target)) return;
  const raster::PixelRect region = Intersect(Intersect(unclean_, area), target.Bounds());
  raster::ClearRect(target, region, target.packing.Pack(0, 0, 0));
  changed_ = Union(changed_, region);
  // What the clear covered is clean now; a part of `unclean_` outside the
  // cleared area keeps the whole rectangle marked (it stays conservative).
  if (Intersect(unclean_, area) == unclean_ || Intersect(unclean_, target.Bounds()) == region) unclean_ = {};
}

void Device::ForceArea(const raster::PixelRect& area) {
  unclean_ = Union(unclean_, area);
  changed_ = Union(changed_, area);
}

void Device::SetRenderThreads(int threads) {
  threadsExplicit_ = true;
  MakePool(threads);
}

void Device::MakePool(int threads) {
  threadsChosen_ = true;
  pool_.reset();
  if (threads > 1) pool_ = std::make_unique<raster::ThreadPool>(threads);
}

namespace {
// A paced frame drawn alone in less than this leaves most of a 60 Hz refresh
// idle: handing its work to other threads would only add wake-ups.
constexpr auto AloneDrawBudget = std::chrono::milliseconds(4);
constexpr int PooledFramesAfterSlowDraw = 120;
}  // namespace

// On a display that waits for the refresh a frame only has to be ready in
// time, and the fewest processor cycles win: small frames are drawn on the
// calling thread. Unpaced displays (offscreen runs) want frames as fast as
// they come and use every thread, as does a count that was set.
bool Device::DrawsAlone() const {
  return pool_ != nullptr && !threadsExplicit_ && pooledFramesLeft_ == 0 && display::ActiveDisplayPacesPresents();
}

raster::ThreadPool* Device::RenderPool() {
  if (!threadsChosen_) MakePool(raster::ThreadPool::DefaultThreads());
  return DrawsAlone() ? nullptr : pool_.get();
}

void Device::Draw(const raster::DrawList& list, const raster::PixelRect& scissor) {
  raster::RenderTarget target;
  if (!AcquireTarget(target)) return;
  raster::ThreadPool* pool = RenderPool();
  const auto start = std::chrono::steady_clock::now();
  const raster::PixelRect drawn = tiles_.Render(list, target, scissor, pool);
  if (pooledFramesLeft_ > 0) {
    --pooledFramesLeft_;
  } else if (pool == nullptr && pool_ != nullptr && updatedOnce_ &&
             std::chrono::steady_clock::now() - start > AloneDrawBudget) {
    // (The first frame is left out: it also pays for the first touch of the buffers.)
    pooledFramesLeft_ = PooledFramesAfterSlowDraw;  // too slow alone: share the next frames
  }
  changed_ = Union(changed_, drawn);
  unclean_ = Union(unclean_, drawn);
}

HRESULT Device::Update() {
  if (HRESULT hr = testctl::Enter("IDirect3DRMDevice::Update", this); hr != S_OK) return hr;
  ddraw::SurfaceMemory* color = ColorMemory();
  if (color == nullptr) return D3DRMERR_BADDEVICE;
  const raster::PixelRect whole{0, 0, color->width, color->height};
  if (!updatedOnce_ || !color->damageTracked) {
    color->damage = ToRect(whole);
  } else {
    color->damage = ToRect(Intersect(Union(ToPixelRect(color->damage), changed_), whole));
  }
  color->damageTracked = true;
  updatedOnce_ = true;
  changed_ = {};
  return D3DRM_OK;
}

DWORD Device::GetBufferCount() {
  testctl::Enter("IDirect3DRMDevice::GetBufferCount", this);
  return bufferCount_;
}
BOOL Device::GetDither() {
  testctl::Enter("IDirect3DRMDevice::GetDither", this);
  return dither_;
}
D3DRMRENDERQUALITY Device::GetQuality() {
  testctl::Enter("IDirect3DRMDevice::GetQuality", this);
  return quality_;
}
DWORD Device::GetShades() {
  testctl::Enter("IDirect3DRMDevice::GetShades", this);
  return shades_;
}
D3DRMTEXTUREQUALITY Device::GetTextureQuality() {
  testctl::Enter("IDirect3DRMDevice::GetTextureQuality", this);
  return textureQuality_;
}
DWORD Device::GetWidth() {
  testctl::Enter("IDirect3DRMDevice::GetWidth", this);
  return width();
}
DWORD Device::GetHeight() {
  testctl::Enter("IDirect3DRMDevice::GetHeight", this);
  return height();
}
DWORD Device::width() const {
  const ddraw::SurfaceMemory* color = ColorMemory();
  return color == nullptr ? 0 : static_cast<DWORD>(color->width);
}
DWORD Device::height() const {
  const ddraw::SurfaceMemory* color = ColorMemory();
  return color == nullptr ? 0 : static_cast<DWORD>(color->height);
}

HRESULT Device::SetBufferCount(DWORD count) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMDevice::SetBufferCount", this); hr != S_OK) return hr;
  if (count == 0) return D3DRMERR_BADVALUE;
  bufferCount_ = count;
  return D3DRM_OK;
}
HRESULT Device::SetDither(BOOL dither) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMDevice::SetDither", this); hr != S_OK) return hr;
  dither_ = dither;
  return D3DRM_OK;
}
HRESULT Device::SetQuality(D3DRMRENDERQUALITY quality) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMDevice::SetQuality", this); hr != S_OK) return hr;
  quality_ = quality;
  return D3DRM_OK;
}
// The shade count is a power of two from 1 to 256.
HRESULT Device::SetShades(DWORD shades) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMDevice::SetShades", this); hr != S_OK) return hr;
  if (shades == 0 || shades > 256 || (shades & (shades - 1)) != 0) return D3DRMERR_BADVALUE;
  shades_ = shades;
  return D3DRM_OK;
}
HRESULT Device::SetTextureQuality(D3DRMTEXTUREQUALITY quality) {
  if (HRESULT hr = testctl::Enter("IDirect3DRMDevice::SetTextureQuality", this); hr != S_OK) return hr;
  if (quality > D3DRMTEXTURE_LINEAR) return D3DRMERR_BADVALUE;
  textureQuality_ = quality;
  return D3DRM_OK;
}

}  // namespace vyn::d3drm
