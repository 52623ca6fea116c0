// Lumivex: the saver's rendering layer over DirectDraw, Direct3D and Retained
// Mode. It keeps one process-wide record of every DirectX object it creates,
// sets up windowed surfaces on the saver window, chooses and creates a
// software device, makes the viewport, renders and presents each frame, and
// names failing DirectX codes on the debugger output.
//
// Every operation returns 1 for success and 0 for failure. An operation that
// sees a failing DirectX call reports it, calls Cleanup and returns 0: the
// caller releases nothing itself.
#pragma once

#include "d3d/D3D.h"
#include "d3drm/D3DRM.h"
#include "ddraw/DDraw.h"
#include "kernel/Win32Types.h"

namespace vyn::lumivex {

// The rendering layer's single record. The fields keep this order; each
// interface field holds one reference, and null means "not held".
struct RenderContext {
  LPDIRECTDRAW directDraw;
  LPDIRECT3D2 direct3D;
  LPDIRECT3DRM2 retainedMode;
  // Held only between Direct3DRMCreate and the query for IDirect3DRM2.
  LPDIRECT3DRM retainedModeV1;
  LPDIRECTDRAWSURFACE primarySurface;
  LPDIRECTDRAWSURFACE backBuffer;
  LPDIRECTDRAWSURFACE zBuffer;
  LPDIRECTDRAWPALETTE palette;  // 8-bit displays only
  PALETTEENTRY paletteEntries[256];
  LPDIRECTDRAWCLIPPER clipper;
  LPDIRECT3DDEVICE2 device;
  LPDIRECT3DRMDEVICE2 retainedModeDevice;
  LPDIRECT3DRMVIEWPORT viewport;
  D3DCOLORMODEL colorModel;  // what the device search asks for
  RECT windowRect;           // the client area in screen coordinates
  int active;                // frames are drawn only while this is 1
  char messageBuffer[2048];  // the last text sent by DebugPrint
  int width;                 // of the client area, in pixels
  int height;
  int bitsPerPixel;  // of the display; 8 selects the palette path
};

// What the device search of CreateD3DDevice hands to EnumDevicesCallback.
struct DeviceSearch {
  D3DCOLORMODEL requestedColorModel;
  // The first software device with the requested colour model, as the
  // enumeration handed its GUID over; null until one is seen.
  const GUID* softwareDevice;
};

// The one instance, shared by every operation of the layer and by the scene.
extern RenderContext renderContext;

// Set when the device search takes a hardware device: later devices of the
// same enumeration are passed over.
extern int searchStopFlag;

// --- Context (RenderContext.cpp) ---------------------------------------------

// Writes its progress line, zeroes the record and sets 320 x 240 at 16 bits
// per pixel. Always 1.
int Initialize();
// Releases every held object, viewport first and the DirectDraw object last,
// and clears the active flag. Safe to call any number of times. Always 1.
int Cleanup();
// 0 and 1 set the active flag; other values leave it alone. Always 1.
int SetActive(int state);

// --- Set-up (DirectDrawSetup.cpp, DeviceCreation.cpp, Viewport.cpp) ---------

// Primary surface with a clipper bound to `window`, and a system-memory back
// buffer of the window's client size.
int CreateDirectDrawWin(HWND window);
// Retained Mode object, palette on 8-bit displays, the software device and the
// Retained Mode device with its settings. Ends the process with exit status 1
// when neither software device can be created.
int CreateD3DRM();
// The Direct3D interface, the device search, the Z-buffer and the MMX or Ramp
// device. Called by CreateD3DRM.
int CreateD3DDevice(D3DCOLORMODEL colorModel);
// The device search's callback for IDirect3D2::EnumDevices; `context` is a
// DeviceSearch. Writes a line for the first software device of the requested
// colour model and for a hardware device that would do, after which the
// search stops looking. Always D3DENUMRET_OK.
HRESULT EnumDevicesCallback(GUID* guid, LPSTR description, LPSTR name, LPD3DDEVICEDESC hardware,
                            LPD3DDEVICEDESC software, LPVOID context);
// The viewport over the whole client area on `camera`, back plane at 5000.
int KVRViewport(LPDIRECT3DRMFRAME2 camera);

// --- Per frame (FrameRendering.cpp) ------------------------------------------

// Restores a lost primary surface or Z-buffer and forces a full redraw.
// Always 1.
int RestoreSurfaces();
// Clear, render `frame`'s hierarchy, update the device.
int RenderScene(LPDIRECT3DRMFRAME frame);
// Copies the back buffer onto the window's area of the primary surface.
int PresentFrame();

// --- Error reporting (ErrorReport.cpp) ---------------------------------------

// Sends `text` and a newline to the debugger through the message buffer.
void DebugPrint(const char* text);
// Two-line reports naming a failing DirectDraw or Retained Mode code and the
// call site. Use them through VYN_REPORT so that the site is the caller's.
void ReportDDError(HRESULT code, const char* file, int line);
void ReportD3DRMError(HRESULT code, const char* file, int line);

// The name a report prints for `code`: the table's name, or "Unknown Error".
const char* DirectDrawErrorName(HRESULT code);
const char* RetainedModeErrorName(HRESULT code);

// The two name tables, in ascending order of code.
struct ErrorName {
  HRESULT code;
  const char* name;
};
extern const ErrorName directDrawErrorNames[];
extern const int directDrawErrorNameCount;
extern const ErrorName retainedModeErrorNames[];
extern const int retainedModeErrorNameCount;

}  // namespace vyn::lumivex

// The source file a report names. The bare file name rather than __FILE__'s
// build path: the same report on every machine and build directory, no
// build-tree path in the saver's output, and short enough that a report never
// comes near its buffer. GCC 12 and Clang provide __FILE_NAME__.
#ifdef __FILE_NAME__
#define VYN_SOURCE_FILE __FILE_NAME__
#else
#define VYN_SOURCE_FILE __FILE__
#endif

// Reports `code` through `reporter` (ReportDDError or ReportD3DRMError) with
// the file and line where the macro stands.
#define VYN_REPORT(reporter, code) ::vyn::lumivex::reporter((code), VYN_SOURCE_FILE, __LINE__)
