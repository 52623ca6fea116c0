// Windowed DirectDraw on the saver window: the desktop keeps its mode, the
// primary surface is clipped to the window, and frames are drawn into a
// system-memory back buffer of the client area's size.
#include "Lumivex.h"

#include "LayerFailure.h"
#include "gdi/Gdi.h"
#include "kernel/Kernel.h"
#include "user/User.h"

namespace vyn::lumivex {

namespace {

void ReadColourDepth(HWND window) {
  HDC dc = GetDC(window);
  renderContext.bitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(window, dc);
}

// The client area in screen coordinates; the results of the calls are not
// needed, a failure leaves zeros.
void ReadClientArea(HWND window) {
  RECT& rect = renderContext.windowRect;
  GetClientRect(window, &rect);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  rect.left += origin.x;
  rect.right += origin.x;
  rect.top += origin.y;
  rect.bottom += origin.y;
  renderContext.width = rect.right - rect.left;
  renderContext.height = rect.bottom - rect.top;
}

// The DirectDraw object of the display driver, sharing the display with the
// desktop (no exclusive mode, no mode change).
bool CreateSharedDirectDraw(HWND window) {
  RenderContext& c = renderContext;
  HRESULT result = DirectDrawCreate(nullptr, &c.directDraw, nullptr);
  if (result != DD_OK) {
    VYN_REPORT(ReportDDError, result);
    return false;
  }
  c.colorModel = D3DCOLOR_MONO;
  result = c.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
  if (result != DD_OK) {
    VYN_REPORT(ReportDDError, result);
    return false;
  }
  return true;
}

// The primary surface, and a back buffer of the client area's size in system
// memory that a software 3D device can draw into. One description serves
// both, zeroed once.
bool CreateSurfaces() {
  RenderContext& c = renderContext;
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE_WIN32;
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  HRESULT result = c.directDraw->CreateSurface(&description, &c.primarySurface, nullptr);
  if (result != DD_OK) {
    VYN_REPORT(ReportDDError, result);
    return false;
  }
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  description.dwHeight = static_cast<DWORD>(c.height);
  description.dwWidth = static_cast<DWORD>(c.width);
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY;
  result = c.directDraw->CreateSurface(&description, &c.backBuffer, nullptr);
  if (result != DD_OK) {
    VYN_REPORT(ReportDDError, result);
    return false;
  }
  return true;
}

// A clipper bound to the window on the primary surface: every blit there
// stays inside the window's visible region.
bool ClipPrimaryToWindow(HWND window) {
  RenderContext& c = renderContext;
  HRESULT result = c.directDraw->CreateClipper(0, &c.clipper, nullptr);
  if (result != DD_OK) {
    VYN_REPORT(ReportDDError, result);
    return false;
  }
  result = c.clipper->SetHWnd(0, window);
  if (result != DD_OK) {
    VYN_REPORT(ReportDDError, result);
    return false;
  }
  result = c.primarySurface->SetClipper(c.clipper);
  if (result != DD_OK) {
    VYN_REPORT(ReportDDError, result);
    return false;
  }
  return true;
}

}  // namespace

int CreateDirectDrawWin(HWND window) {
  OutputDebugStringA("KVR:CreateDirectDrawWin\n");
  Cleanup();
  ReadColourDepth(window);
  ReadClientArea(window);
  if (!CreateSharedDirectDraw(window) || !CreateSurfaces() || !ClipPrimaryToWindow(window))
    return CleanupAndFail();
  return 1;
}

}  // namespace vyn::lumivex
