// Direct3D immediate mode, interface version 2: device enumeration and the
// software devices, declared from the DirectX 5 SDK documentation.
#pragma once

#include "com/Unknown.h"
#include "ddraw/DDraw.h"
#include "kernel/Win32Types.h"

struct IDirect3D2;
struct IDirect3DDevice2;
using LPDIRECT3D2 = IDirect3D2*;
using LPDIRECT3DDEVICE2 = IDirect3DDevice2*;

// {6AAE1EC1-662A-11D0-889D-00AA00BBB76A}
inline constexpr IID IID_IDirect3D2 = {0x6AAE1EC1, 0x662A, 0x11D0, {0x88, 0x9D, 0x00, 0xAA, 0x00, 0xBB, 0xB7, 0x6A}};
// {93281501-8CF8-11D0-89AB-00A0C9054129}
inline constexpr IID IID_IDirect3DDevice2 = {0x93281501, 0x8CF8, 0x11D0, {0x89, 0xAB, 0x00, 0xA0, 0xC9, 0x05, 0x41, 0x29}};
// {F2086B20-259F-11CF-A31A-00AA00B93356}
inline constexpr IID IID_IDirect3DRampDevice = {0xF2086B20, 0x259F, 0x11CF, {0xA3, 0x1A, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
// {A4665C60-2673-11CF-A31A-00AA00B93356}
inline constexpr IID IID_IDirect3DRGBDevice = {0xA4665C60, 0x2673, 0x11CF, {0xA3, 0x1A, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
// {881949A1-D6F3-11D0-89AB-00A0C9054129}
inline constexpr IID IID_IDirect3DMMXDevice = {0x881949A1, 0xD6F3, 0x11D0, {0x89, 0xAB, 0x00, 0xA0, 0xC9, 0x05, 0x41, 0x29}};
// {84E63DE0-46AA-11CF-816F-0000C020156E}
inline constexpr IID IID_IDirect3DHALDevice = {0x84E63DE0, 0x46AA, 0x11CF, {0x81, 0x6F, 0x00, 0x00, 0xC0, 0x20, 0x15, 0x6E}};

using D3DCOLORMODEL = DWORD;
inline constexpr D3DCOLORMODEL D3DCOLOR_MONO = 1;
inline constexpr D3DCOLORMODEL D3DCOLOR_RGB = 2;

using D3DCOLOR = DWORD;  // 0xAARRGGBB
using D3DVALUE = float;

struct D3DTRANSFORMCAPS {
  DWORD dwSize;
  DWORD dwCaps;
};

struct D3DLIGHTINGCAPS {
  DWORD dwSize;
  DWORD dwCaps;
  DWORD dwLightingModel;
  DWORD dwNumLights;
};

struct D3DPRIMCAPS {
  DWORD dwSize;
  DWORD dwMiscCaps;
  DWORD dwRasterCaps;
  DWORD dwZCmpCaps;
  DWORD dwSrcBlendCaps;
  DWORD dwDestBlendCaps;
  DWORD dwAlphaCmpCaps;
  DWORD dwShadeCaps;
  DWORD dwTextureCaps;
  DWORD dwTextureFilterCaps;
  DWORD dwTextureBlendCaps;
  DWORD dwTextureAddressCaps;
  DWORD dwStippleWidth;
  DWORD dwStippleHeight;
};

// The device description of DirectX 5.
struct D3DDEVICEDESC {
  DWORD dwSize;
  DWORD dwFlags;
  D3DCOLORMODEL dcmColorModel;
  DWORD dwDevCaps;
  D3DTRANSFORMCAPS dtcTransformCaps;
  BOOL bClipping;
  D3DLIGHTINGCAPS dlcLightingCaps;
  D3DPRIMCAPS dpcLineCaps;
  D3DPRIMCAPS dpcTriCaps;
  DWORD dwDeviceRenderBitDepth;
  DWORD dwDeviceZBufferBitDepth;
  DWORD dwMaxBufferSize;
  DWORD dwMaxVertexCount;
  DWORD dwMinTextureWidth;
  DWORD dwMinTextureHeight;
  DWORD dwMaxTextureWidth;
  DWORD dwMaxTextureHeight;
  DWORD dwMinStippleWidth;
  DWORD dwMaxStippleWidth;
  DWORD dwMinStippleHeight;
  DWORD dwMaxStippleHeight;
};
using LPD3DDEVICEDESC = D3DDEVICEDESC*;

// D3DDEVICEDESC.dwFlags: which members are valid.
inline constexpr DWORD D3DDD_COLORMODEL = 0x00000001;
inline constexpr DWORD D3DDD_DEVCAPS = 0x00000002;
inline constexpr DWORD D3DDD_TRANSFORMCAPS = 0x00000004;
inline constexpr DWORD D3DDD_LIGHTINGCAPS = 0x00000008;
inline constexpr DWORD D3DDD_BCLIPPING = 0x00000010;
inline constexpr DWORD D3DDD_LINECAPS = 0x00000020;
inline constexpr DWORD D3DDD_TRICAPS = 0x00000040;
inline constexpr DWORD D3DDD_DEVICERENDERBITDEPTH = 0x00000080;
inline constexpr DWORD D3DDD_DEVICEZBUFFERBITDEPTH = 0x00000100;
inline constexpr DWORD D3DDD_MAXBUFFERSIZE = 0x00000200;
inline constexpr DWORD D3DDD_MAXVERTEXCOUNT = 0x00000400;

// D3DDEVICEDESC.dwDevCaps
inline constexpr DWORD D3DDEVCAPS_FLOATTLVERTEX = 0x00000001;
inline constexpr DWORD D3DDEVCAPS_EXECUTESYSTEMMEMORY = 0x00000010;
inline constexpr DWORD D3DDEVCAPS_TLVERTEXSYSTEMMEMORY = 0x00000040;
inline constexpr DWORD D3DDEVCAPS_TEXTURESYSTEMMEMORY = 0x00000100;
inline constexpr DWORD D3DDEVCAPS_DRAWPRIMTLVERTEX = 0x00000400;

inline constexpr DWORD D3DTRANSFORMCAPS_CLIP = 0x00000001;

inline constexpr DWORD D3DLIGHTINGMODEL_RGB = 0x00000001;
inline constexpr DWORD D3DLIGHTINGMODEL_MONO = 0x00000002;
inline constexpr DWORD D3DLIGHTCAPS_POINT = 0x00000001;
inline constexpr DWORD D3DLIGHTCAPS_SPOT = 0x00000002;
inline constexpr DWORD D3DLIGHTCAPS_DIRECTIONAL = 0x00000004;
inline constexpr DWORD D3DLIGHTCAPS_PARALLELPOINT = 0x00000008;

// D3DPRIMCAPS.dwShadeCaps
inline constexpr DWORD D3DPSHADECAPS_COLORFLATMONO = 0x00000001;
inline constexpr DWORD D3DPSHADECAPS_COLORFLATRGB = 0x00000002;
inline constexpr DWORD D3DPSHADECAPS_COLORGOURAUDMONO = 0x00000004;
inline constexpr DWORD D3DPSHADECAPS_COLORGOURAUDRGB = 0x00000008;

inline constexpr HRESULT D3D_OK = 0;

inline constexpr HRESULT D3DENUMRET_CANCEL = 0;
inline constexpr HRESULT D3DENUMRET_OK = 1;

using LPD3DENUMDEVICESCALLBACK = HRESULT (*)(GUID* guid, LPSTR description, LPSTR name,
                                             LPD3DDEVICEDESC hardware, LPD3DDEVICEDESC software,
                                             LPVOID context);

struct IDirect3DDevice2 : IUnknown {};

struct IDirect3D2 : IUnknown {
  virtual HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK callback, LPVOID context) = 0;
  virtual HRESULT CreateDevice(REFCLSID device, LPDIRECTDRAWSURFACE renderTarget,
                               LPDIRECT3DDEVICE2* created) = 0;
};
