// Reading the surface description that CreateSurface is given, and writing
// the one that GetSurfaceDesc and Lock hand back.
#pragma once

#include "ddraw/DDraw.h"
#include "ddraw/Surface.h"
#include "display/Display.h"

namespace vyn::ddraw {

// Callers built for 32-bit Windows put 108 into dwSize; this platform's own
// record may be larger. Both are accepted.
inline bool HasAcceptedSize(const DDSURFACEDESC& description) {
  return description.dwSize == DDSURFACEDESC_SIZE_WIN32 || description.dwSize == sizeof(DDSURFACEDESC);
}

struct SurfaceRequest {
  SurfaceKind kind;
  int width;
  int height;
  DWORD caps;  // as the surface will report them
};

// The largest side of a surface that is not the screen.
inline constexpr int MaxSurfaceSide = 16384;

// DD_OK and the request, or the code that CreateSurface returns.
HRESULT ReadSurfaceRequest(const DDSURFACEDESC& description, const display::PixelFormat& screenFormat,
                           SurfaceRequest& request);

// Fills everything after dwSize (which is kept) for the surface.
void DescribeSurface(const Surface& surface, DDSURFACEDESC& description);

DDPIXELFORMAT PixelFormatRecord(const display::PixelFormat& format, bool zBuffer);

}  // namespace vyn::ddraw
