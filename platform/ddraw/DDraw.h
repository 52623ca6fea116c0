// DirectDraw: the interfaces, records, constants and result codes that the
// rendering layer uses, declared from the DirectX 5 SDK documentation.
#pragma once

#include "com/Unknown.h"
#include "kernel/Win32Types.h"

struct IDirectDraw;
struct IDirectDrawSurface;
struct IDirectDrawClipper;
struct IDirectDrawPalette;
using LPDIRECTDRAW = IDirectDraw*;
using LPDIRECTDRAWSURFACE = IDirectDrawSurface*;
using LPDIRECTDRAWCLIPPER = IDirectDrawClipper*;
using LPDIRECTDRAWPALETTE = IDirectDrawPalette*;

// {6C14DB80-A733-11CE-A521-0020AF0BE560}
inline constexpr IID IID_IDirectDraw = {0x6C14DB80, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
// {6C14DB81-A733-11CE-A521-0020AF0BE560}
inline constexpr IID IID_IDirectDrawSurface = {0x6C14DB81, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
// {6C14DB84-A733-11CE-A521-0020AF0BE560}
inline constexpr IID IID_IDirectDrawPalette = {0x6C14DB84, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
// {6C14DB85-A733-11CE-A521-0020AF0BE560}
inline constexpr IID IID_IDirectDrawClipper = {0x6C14DB85, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};

struct DDSCAPS {
  DWORD dwCaps;
};

struct DDCOLORKEY {
  DWORD dwColorSpaceLowValue;
  DWORD dwColorSpaceHighValue;
};

struct DDPIXELFORMAT {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwFourCC;
  union {
    DWORD dwRGBBitCount;
    DWORD dwYUVBitCount;
    DWORD dwZBufferBitDepth;
    DWORD dwAlphaBitDepth;
  };
  DWORD dwRBitMask;
  DWORD dwGBitMask;
  DWORD dwBBitMask;
  DWORD dwRGBAlphaBitMask;
};

// The surface description. On 32-bit Windows it is 108 bytes, the value that
// callers put into dwSize; here lpSurface is a host pointer, so sizeof may be
// larger. The platform accepts dwSize equal to either.
struct DDSURFACEDESC {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwHeight;
  DWORD dwWidth;
  union {
    LONG lPitch;
    DWORD dwLinearSize;
  };
  DWORD dwBackBufferCount;
  union {
    DWORD dwMipMapCount;
    DWORD dwZBufferBitDepth;
    DWORD dwRefreshRate;
  };
  DWORD dwAlphaBitDepth;
  DWORD dwReserved;
  LPVOID lpSurface;
  DDCOLORKEY ddckCKDestOverlay;
  DDCOLORKEY ddckCKDestBlt;
  DDCOLORKEY ddckCKSrcOverlay;
  DDCOLORKEY ddckCKSrcBlt;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS ddsCaps;
};
inline constexpr DWORD DDSURFACEDESC_SIZE_WIN32 = 108;

struct DDBLTFX;  // no effects are used; Blt takes null

// DDSURFACEDESC.dwFlags
inline constexpr DWORD DDSD_CAPS = 0x00000001;
inline constexpr DWORD DDSD_HEIGHT = 0x00000002;
inline constexpr DWORD DDSD_WIDTH = 0x00000004;
inline constexpr DWORD DDSD_PITCH = 0x00000008;
inline constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
inline constexpr DWORD DDSD_ZBUFFERBITDEPTH = 0x00000040;
inline constexpr DWORD DDSD_LPSURFACE = 0x00000800;
inline constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;

// DDSCAPS.dwCaps
inline constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
inline constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
inline constexpr DWORD DDSCAPS_FLIP = 0x00000010;
inline constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr DWORD DDSCAPS_PALETTE = 0x00000100;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
inline constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
inline constexpr DWORD DDSCAPS_TEXTURE = 0x00001000;
inline constexpr DWORD DDSCAPS_3DDEVICE = 0x00002000;
inline constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
inline constexpr DWORD DDSCAPS_ZBUFFER = 0x00020000;

// DDPIXELFORMAT.dwFlags
inline constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
inline constexpr DWORD DDPF_RGB = 0x00000040;
inline constexpr DWORD DDPF_ZBUFFER = 0x00000400;

// Bit depths (D3DDEVICEDESC.dwDeviceZBufferBitDepth and others)
inline constexpr DWORD DDBD_1 = 0x00004000;
inline constexpr DWORD DDBD_2 = 0x00002000;
inline constexpr DWORD DDBD_4 = 0x00001000;
inline constexpr DWORD DDBD_8 = 0x00000800;
inline constexpr DWORD DDBD_16 = 0x00000400;
inline constexpr DWORD DDBD_24 = 0x00000200;
inline constexpr DWORD DDBD_32 = 0x00000100;

// SetCooperativeLevel
inline constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
inline constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
inline constexpr DWORD DDSCL_NOWINDOWCHANGES = 0x00000004;
inline constexpr DWORD DDSCL_NORMAL = 0x00000008;
inline constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;

// CreatePalette
inline constexpr DWORD DDPCAPS_4BIT = 0x00000001;
inline constexpr DWORD DDPCAPS_8BITENTRIES = 0x00000002;
inline constexpr DWORD DDPCAPS_8BIT = 0x00000004;
inline constexpr DWORD DDPCAPS_INITIALIZE = 0x00000008;
inline constexpr DWORD DDPCAPS_PRIMARYSURFACE = 0x00000010;
inline constexpr DWORD DDPCAPS_ALLOW256 = 0x00000040;

// Blt
inline constexpr DWORD DDBLT_WAIT = 0x01000000;

// Lock
inline constexpr DWORD DDLOCK_SURFACEMEMORYPTR = 0x00000000;
inline constexpr DWORD DDLOCK_WAIT = 0x00000001;

// Palette entry flags
inline constexpr BYTE PC_RESERVED = 0x01;
inline constexpr BYTE PC_EXPLICIT = 0x02;
inline constexpr BYTE PC_NOCOLLAPSE = 0x04;

// Result codes: MAKE_DDHRESULT(code) is 0x88760000 + code.
constexpr HRESULT MakeDDHResult(DWORD code) { return static_cast<HRESULT>(0x88760000u + code); }
inline constexpr HRESULT DD_OK = 0;
inline constexpr HRESULT DDERR_GENERIC = E_FAIL;
inline constexpr HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
inline constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
inline constexpr HRESULT DDERR_NOTINITIALIZED = CO_E_NOTINITIALIZED;
inline constexpr HRESULT DDERR_ALREADYINITIALIZED = MakeDDHResult(5);
inline constexpr HRESULT DDERR_CANNOTATTACHSURFACE = MakeDDHResult(10);
inline constexpr HRESULT DDERR_INVALIDCAPS = MakeDDHResult(100);
inline constexpr HRESULT DDERR_INVALIDOBJECT = MakeDDHResult(130);
inline constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDDHResult(145);
inline constexpr HRESULT DDERR_INVALIDRECT = MakeDDHResult(150);
inline constexpr HRESULT DDERR_NOCLIPLIST = MakeDDHResult(205);
inline constexpr HRESULT DDERR_NOTFOUND = MakeDDHResult(255);
inline constexpr HRESULT DDERR_SURFACEALREADYATTACHED = MakeDDHResult(410);
inline constexpr HRESULT DDERR_SURFACEBUSY = MakeDDHResult(430);
inline constexpr HRESULT DDERR_CANTLOCKSURFACE = MakeDDHResult(435);
inline constexpr HRESULT DDERR_SURFACELOST = MakeDDHResult(450);
inline constexpr HRESULT DDERR_TOOBIGSIZE = MakeDDHResult(480);
inline constexpr HRESULT DDERR_INVALIDDIRECTDRAWGUID = MakeDDHResult(561);
inline constexpr HRESULT DDERR_NOTLOCKED = MakeDDHResult(584);
inline constexpr HRESULT DDERR_NOCLIPPERATTACHED = MakeDDHResult(568);
inline constexpr HRESULT DDERR_NOHWND = MakeDDHResult(569);
inline constexpr HRESULT DDERR_NOPALETTEATTACHED = MakeDDHResult(572);
inline constexpr HRESULT DDERR_NOTPALETTIZED = MakeDDHResult(589);

struct IDirectDrawClipper : IUnknown {
  virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;
  virtual HRESULT GetHWnd(HWND* window) = 0;
};

struct IDirectDrawPalette : IUnknown {
  virtual HRESULT GetEntries(DWORD flags, DWORD base, DWORD count, LPPALETTEENTRY entries) = 0;
  virtual HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) = 0;
};

struct IDirectDrawSurface : IUnknown {
  virtual HRESULT AddAttachedSurface(LPDIRECTDRAWSURFACE surface) = 0;
  virtual HRESULT Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
                      DDBLTFX* effects) = 0;
  virtual HRESULT GetSurfaceDesc(DDSURFACEDESC* description) = 0;
  virtual HRESULT IsLost() = 0;
  virtual HRESULT Lock(LPRECT rect, DDSURFACEDESC* description, DWORD flags, HANDLE event) = 0;
  virtual HRESULT Restore() = 0;
  virtual HRESULT SetClipper(LPDIRECTDRAWCLIPPER clipper) = 0;
  virtual HRESULT SetPalette(LPDIRECTDRAWPALETTE palette) = 0;
  virtual HRESULT Unlock(LPVOID surfaceData) = 0;
};

struct IDirectDraw : IUnknown {
  virtual HRESULT CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) = 0;
  virtual HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                IUnknown* outer) = 0;
  virtual HRESULT CreateSurface(DDSURFACEDESC* description, LPDIRECTDRAWSURFACE* surface,
                                IUnknown* outer) = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
};

HRESULT DirectDrawCreate(GUID* driver, LPDIRECTDRAW* directDraw, IUnknown* outer);
