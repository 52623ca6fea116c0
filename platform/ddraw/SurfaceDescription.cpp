#include "ddraw/SurfaceDescription.h"

#include <cstring>

namespace vyn::ddraw {
namespace {

constexpr DWORD UnsupportedCaps = DDSCAPS_BACKBUFFER | DDSCAPS_COMPLEX | DDSCAPS_FLIP;

HRESULT readSize(const DDSURFACEDESC& description, SurfaceRequest& request) {
  if ((description.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT))
    return DDERR_INVALIDPARAMS;
  if (description.dwWidth == 0 || description.dwHeight == 0) return DDERR_INVALIDPARAMS;
  if (description.dwWidth > MaxSurfaceSide || description.dwHeight > MaxSurfaceSide)
    return DDERR_TOOBIGSIZE;
  request.width = static_cast<int>(description.dwWidth);
  request.height = static_cast<int>(description.dwHeight);
  return DD_OK;
}

// Only 16-bit depth is made: from DDSD_ZBUFFERBITDEPTH or a Z pixel format.
bool asksFor16BitDepth(const DDSURFACEDESC& description) {
  if (description.dwFlags & DDSD_ZBUFFERBITDEPTH) return description.dwZBufferBitDepth == 16;
  if (description.dwFlags & DDSD_PIXELFORMAT)
    return (description.ddpfPixelFormat.dwFlags & DDPF_ZBUFFER) &&
           description.ddpfPixelFormat.dwZBufferBitDepth == 16;
  return false;
}

// An off-screen surface may name a pixel format, but only the screen's.
bool matchesScreenFormat(const DDSURFACEDESC& description, const display::PixelFormat& screen) {
  if (!(description.dwFlags & DDSD_PIXELFORMAT)) return true;
  const DDPIXELFORMAT wanted = description.ddpfPixelFormat;
  const DDPIXELFORMAT ours = PixelFormatRecord(screen, false);
  return wanted.dwFlags == ours.dwFlags && wanted.dwRGBBitCount == ours.dwRGBBitCount &&
         wanted.dwRBitMask == ours.dwRBitMask && wanted.dwGBitMask == ours.dwGBitMask &&
         wanted.dwBBitMask == ours.dwBBitMask;
}

}  // namespace

HRESULT ReadSurfaceRequest(const DDSURFACEDESC& description, const display::PixelFormat& screenFormat,
                           SurfaceRequest& request) {
  if (!(description.dwFlags & DDSD_CAPS)) return DDERR_INVALIDPARAMS;
  const DWORD caps = description.ddsCaps.dwCaps;
  if (caps & UnsupportedCaps) return DDERR_INVALIDCAPS;

  if (caps & DDSCAPS_PRIMARYSURFACE) {
    // The screen has the screen's size: naming one is an error.
    if (caps & DDSCAPS_ZBUFFER) return DDERR_INVALIDCAPS;
    if (description.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT)) return DDERR_INVALIDPARAMS;
    request = {SurfaceKind::Primary, 0, 0, caps | DDSCAPS_VIDEOMEMORY};
    return DD_OK;
  }
  if (HRESULT hr = readSize(description, request)) return hr;
  // Everything else lives in system memory, whatever was asked.
  const DWORD memoryCaps = (caps & ~DDSCAPS_VIDEOMEMORY) | DDSCAPS_SYSTEMMEMORY;
  if (caps & DDSCAPS_ZBUFFER) {
    if (caps & DDSCAPS_3DDEVICE) return DDERR_INVALIDCAPS;
    if (!asksFor16BitDepth(description)) return DDERR_INVALIDPIXELFORMAT;
    request.kind = SurfaceKind::ZBuffer;
    request.caps = memoryCaps;
    return DD_OK;
  }
  if (!matchesScreenFormat(description, screenFormat)) return DDERR_INVALIDPIXELFORMAT;
  request.kind = SurfaceKind::Offscreen;
  request.caps = memoryCaps;
  return DD_OK;
}

DDPIXELFORMAT PixelFormatRecord(const display::PixelFormat& format, bool zBuffer) {
  DDPIXELFORMAT record{};
  record.dwSize = sizeof(DDPIXELFORMAT);
  if (zBuffer) {
    record.dwFlags = DDPF_ZBUFFER;
    record.dwZBufferBitDepth = 16;
    return record;
  }
  record.dwFlags = format.bitsPerPixel == 8 ? (DDPF_RGB | DDPF_PALETTEINDEXED8) : DDPF_RGB;
  record.dwRGBBitCount = static_cast<DWORD>(format.bitsPerPixel);
  record.dwRBitMask = format.redMask;
  record.dwGBitMask = format.greenMask;
  record.dwBBitMask = format.blueMask;
  return record;
}

void DescribeSurface(const Surface& surface, DDSURFACEDESC& description) {
  const DWORD size = description.dwSize;
  std::memset(&description, 0, sizeof(description));
  description.dwSize = size;
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
  description.dwWidth = static_cast<DWORD>(surface.width());
  description.dwHeight = static_cast<DWORD>(surface.height());
  description.lPitch = surface.memory().pitch;
  const bool zBuffer = surface.kind() == SurfaceKind::ZBuffer;
  if (zBuffer) {
    description.dwFlags |= DDSD_ZBUFFERBITDEPTH;
    description.dwZBufferBitDepth = 16;
  }
  description.ddpfPixelFormat = PixelFormatRecord(surface.format(), zBuffer);
  description.ddsCaps.dwCaps = surface.caps();
}

}  // namespace vyn::ddraw
