// Direct3D Retained Mode, interface version 2: the interfaces, records,
// constants and result codes that the rendering layer and the scene use,
// declared from the DirectX 5 SDK documentation.
//
// Frame2, Device2 and MeshBuilder2 carry the methods of their first-version
// interfaces, as in the SDK; the test controls name those methods after the
// interface that declares them here ("IDirect3DRMFrame::Move").
#pragma once

#include "com/Unknown.h"
#include "d3d/D3D.h"
#include "ddraw/DDraw.h"
#include "kernel/Win32Types.h"

struct IDirect3DRM;
struct IDirect3DRM2;
struct IDirect3DRMObject;
struct IDirect3DRMVisual;
struct IDirect3DRMDevice;
struct IDirect3DRMDevice2;
struct IDirect3DRMViewport;
struct IDirect3DRMFrame;
struct IDirect3DRMFrame2;
struct IDirect3DRMLight;
struct IDirect3DRMMesh;
struct IDirect3DRMMeshBuilder;
struct IDirect3DRMMeshBuilder2;
struct IDirect3DRMFace;
using LPDIRECT3DRM = IDirect3DRM*;
using LPDIRECT3DRM2 = IDirect3DRM2*;
using LPDIRECT3DRMVISUAL = IDirect3DRMVisual*;
using LPDIRECT3DRMDEVICE = IDirect3DRMDevice*;
using LPDIRECT3DRMDEVICE2 = IDirect3DRMDevice2*;
using LPDIRECT3DRMVIEWPORT = IDirect3DRMViewport*;
using LPDIRECT3DRMFRAME = IDirect3DRMFrame*;
using LPDIRECT3DRMFRAME2 = IDirect3DRMFrame2*;
using LPDIRECT3DRMLIGHT = IDirect3DRMLight*;
using LPDIRECT3DRMMESH = IDirect3DRMMesh*;
using LPDIRECT3DRMMESHBUILDER = IDirect3DRMMeshBuilder*;
using LPDIRECT3DRMMESHBUILDER2 = IDirect3DRMMeshBuilder2*;
using LPDIRECT3DRMFACE = IDirect3DRMFace*;

// {2BC49361-8327-11CF-AC4A-0000C03825A1}
inline constexpr IID IID_IDirect3DRM = {0x2BC49361, 0x8327, 0x11CF, {0xAC, 0x4A, 0x00, 0x00, 0xC0, 0x38, 0x25, 0xA1}};
// {4516ECC8-8F20-11D0-9B6D-0000C0781BC3}
inline constexpr IID IID_IDirect3DRM2 = {0x4516ECC8, 0x8F20, 0x11D0, {0x9B, 0x6D, 0x00, 0x00, 0xC0, 0x78, 0x1B, 0xC3}};

struct D3DVECTOR {
  D3DVALUE x;
  D3DVALUE y;
  D3DVALUE z;
};
using LPD3DVECTOR = D3DVECTOR*;

struct D3DRMBOX {
  D3DVECTOR min;
  D3DVECTOR max;
};

using D3DRMLIGHTTYPE = DWORD;
inline constexpr D3DRMLIGHTTYPE D3DRMLIGHT_AMBIENT = 0;
inline constexpr D3DRMLIGHTTYPE D3DRMLIGHT_POINT = 1;
inline constexpr D3DRMLIGHTTYPE D3DRMLIGHT_SPOT = 2;
inline constexpr D3DRMLIGHTTYPE D3DRMLIGHT_DIRECTIONAL = 3;
inline constexpr D3DRMLIGHTTYPE D3DRMLIGHT_PARALLELPOINT = 4;

// Render quality: shade mode | lighting | fill mode.
using D3DRMRENDERQUALITY = DWORD;
inline constexpr DWORD D3DRMSHADE_FLAT = 0;
inline constexpr DWORD D3DRMSHADE_GOURAUD = 1;
inline constexpr DWORD D3DRMSHADE_PHONG = 2;
inline constexpr DWORD D3DRMSHADE_MASK = 7;
inline constexpr DWORD D3DRMSHADE_MAX = 8;
inline constexpr DWORD D3DRMLIGHT_OFF = 0 * D3DRMSHADE_MAX;
inline constexpr DWORD D3DRMLIGHT_ON = 1 * D3DRMSHADE_MAX;
inline constexpr DWORD D3DRMLIGHT_MASK = 7 * D3DRMSHADE_MAX;
inline constexpr DWORD D3DRMLIGHT_MAX = 8 * D3DRMSHADE_MAX;
inline constexpr DWORD D3DRMFILL_POINTS = 0 * D3DRMLIGHT_MAX;
inline constexpr DWORD D3DRMFILL_WIREFRAME = 1 * D3DRMLIGHT_MAX;
inline constexpr DWORD D3DRMFILL_SOLID = 2 * D3DRMLIGHT_MAX;
inline constexpr DWORD D3DRMFILL_MASK = 7 * D3DRMLIGHT_MAX;
inline constexpr D3DRMRENDERQUALITY D3DRMRENDER_WIREFRAME = D3DRMSHADE_FLAT | D3DRMLIGHT_OFF | D3DRMFILL_WIREFRAME;  // 64
inline constexpr D3DRMRENDERQUALITY D3DRMRENDER_UNLITFLAT = D3DRMSHADE_FLAT | D3DRMLIGHT_OFF | D3DRMFILL_SOLID;      // 128
inline constexpr D3DRMRENDERQUALITY D3DRMRENDER_FLAT = D3DRMSHADE_FLAT | D3DRMLIGHT_ON | D3DRMFILL_SOLID;            // 136
inline constexpr D3DRMRENDERQUALITY D3DRMRENDER_GOURAUD = D3DRMSHADE_GOURAUD | D3DRMLIGHT_ON | D3DRMFILL_SOLID;      // 137
inline constexpr D3DRMRENDERQUALITY D3DRMRENDER_PHONG = D3DRMSHADE_PHONG | D3DRMLIGHT_ON | D3DRMFILL_SOLID;          // 138

using D3DRMTEXTUREQUALITY = DWORD;
inline constexpr D3DRMTEXTUREQUALITY D3DRMTEXTURE_NEAREST = 0;
inline constexpr D3DRMTEXTUREQUALITY D3DRMTEXTURE_LINEAR = 1;

// Palette entry flag of the Direct3D renderers.
inline constexpr BYTE D3DPAL_FREE = 0x00;
inline constexpr BYTE D3DPAL_READONLY = 0x40;
inline constexpr BYTE D3DPAL_RESERVED = 0x80;

// Result codes: the DirectDraw facility, 0x88760000 + 781 and up.
inline constexpr HRESULT D3DRM_OK = 0;
inline constexpr HRESULT D3DRMERR_BADOBJECT = MakeDDHResult(781);
inline constexpr HRESULT D3DRMERR_BADTYPE = MakeDDHResult(782);
inline constexpr HRESULT D3DRMERR_BADALLOC = MakeDDHResult(783);
inline constexpr HRESULT D3DRMERR_FACEUSED = MakeDDHResult(784);
inline constexpr HRESULT D3DRMERR_NOTFOUND = MakeDDHResult(785);
inline constexpr HRESULT D3DRMERR_NOTDONEYET = MakeDDHResult(786);
inline constexpr HRESULT D3DRMERR_FILENOTFOUND = MakeDDHResult(787);
inline constexpr HRESULT D3DRMERR_BADFILE = MakeDDHResult(788);
inline constexpr HRESULT D3DRMERR_BADDEVICE = MakeDDHResult(789);
inline constexpr HRESULT D3DRMERR_BADVALUE = MakeDDHResult(790);
inline constexpr HRESULT D3DRMERR_BADMAJORVERSION = MakeDDHResult(791);
inline constexpr HRESULT D3DRMERR_BADMINORVERSION = MakeDDHResult(792);
inline constexpr HRESULT D3DRMERR_UNABLETOEXECUTE = MakeDDHResult(793);

struct IDirect3DRMObject : IUnknown {};
struct IDirect3DRMVisual : IDirect3DRMObject {};

struct IDirect3DRMLight : IDirect3DRMObject {
  virtual D3DCOLOR GetColor() = 0;
  virtual D3DRMLIGHTTYPE GetType() = 0;
};

struct IDirect3DRMFace : IDirect3DRMObject {
  virtual HRESULT AddVertexAndNormalIndexed(DWORD vertex, DWORD normal) = 0;
  virtual int GetVertexCount() = 0;
};

struct IDirect3DRMMesh : IDirect3DRMVisual {
  virtual HRESULT GetBox(D3DRMBOX* box) = 0;
};

struct IDirect3DRMMeshBuilder : IDirect3DRMVisual {
  virtual int AddVertex(D3DVALUE x, D3DVALUE y, D3DVALUE z) = 0;
  virtual int AddNormal(D3DVALUE x, D3DVALUE y, D3DVALUE z) = 0;
  virtual HRESULT CreateFace(LPDIRECT3DRMFACE* face) = 0;
  virtual HRESULT CreateMesh(LPDIRECT3DRMMESH* mesh) = 0;
  virtual HRESULT GetBox(D3DRMBOX* box) = 0;
  virtual int GetFaceCount() = 0;
  virtual int GetVertexCount() = 0;
  virtual D3DRMRENDERQUALITY GetQuality() = 0;
  virtual HRESULT Scale(D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) = 0;
  virtual HRESULT SetColor(D3DCOLOR color) = 0;
  virtual HRESULT SetQuality(D3DRMRENDERQUALITY quality) = 0;
};
struct IDirect3DRMMeshBuilder2 : IDirect3DRMMeshBuilder {};

struct IDirect3DRMFrame : IDirect3DRMVisual {
  virtual HRESULT AddLight(LPDIRECT3DRMLIGHT light) = 0;
  virtual HRESULT AddVisual(IUnknown* visual) = 0;
  virtual HRESULT GetOrientation(LPDIRECT3DRMFRAME reference, LPD3DVECTOR direction, LPD3DVECTOR up) = 0;
  virtual HRESULT GetPosition(LPDIRECT3DRMFRAME reference, LPD3DVECTOR position) = 0;
  virtual HRESULT Move(D3DVALUE delta) = 0;
  virtual HRESULT SetOrientation(LPDIRECT3DRMFRAME reference, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz,
                                 D3DVALUE ux, D3DVALUE uy, D3DVALUE uz) = 0;
  virtual HRESULT SetPosition(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) = 0;
  virtual HRESULT SetRotation(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z,
                              D3DVALUE theta) = 0;
  virtual HRESULT SetVelocity(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z,
                              BOOL withRotation) = 0;
};
struct IDirect3DRMFrame2 : IDirect3DRMFrame {};

struct IDirect3DRMDevice : IDirect3DRMObject {
  virtual DWORD GetBufferCount() = 0;
  virtual BOOL GetDither() = 0;
  virtual D3DRMRENDERQUALITY GetQuality() = 0;
  virtual DWORD GetShades() = 0;
  virtual D3DRMTEXTUREQUALITY GetTextureQuality() = 0;
  virtual DWORD GetWidth() = 0;
  virtual DWORD GetHeight() = 0;
  virtual HRESULT SetBufferCount(DWORD count) = 0;
  virtual HRESULT SetDither(BOOL dither) = 0;
  virtual HRESULT SetQuality(D3DRMRENDERQUALITY quality) = 0;
  virtual HRESULT SetShades(DWORD shades) = 0;
  virtual HRESULT SetTextureQuality(D3DRMTEXTUREQUALITY quality) = 0;
  virtual HRESULT Update() = 0;
};
struct IDirect3DRMDevice2 : IDirect3DRMDevice {};

struct IDirect3DRMViewport : IDirect3DRMObject {
  virtual HRESULT Clear() = 0;
  virtual HRESULT ForceUpdate(DWORD x1, DWORD y1, DWORD x2, DWORD y2) = 0;
  virtual D3DVALUE GetBack() = 0;
  virtual D3DVALUE GetField() = 0;
  virtual D3DVALUE GetFront() = 0;
  virtual HRESULT Render(LPDIRECT3DRMFRAME frame) = 0;
  virtual HRESULT SetBack(D3DVALUE back) = 0;
};

struct IDirect3DRM : IUnknown {};

struct IDirect3DRM2 : IUnknown {
  virtual HRESULT CreateDeviceFromD3D(LPDIRECT3D2 direct3d, LPDIRECT3DDEVICE2 device,
                                      LPDIRECT3DRMDEVICE2* created) = 0;
  virtual HRESULT CreateFrame(LPDIRECT3DRMFRAME parent, LPDIRECT3DRMFRAME2* created) = 0;
  virtual HRESULT CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE red, D3DVALUE green, D3DVALUE blue,
                                 LPDIRECT3DRMLIGHT* created) = 0;
  virtual HRESULT CreateMeshBuilder(LPDIRECT3DRMMESHBUILDER2* created) = 0;
  virtual HRESULT CreateViewport(LPDIRECT3DRMDEVICE device, LPDIRECT3DRMFRAME camera, DWORD x, DWORD y,
                                 DWORD width, DWORD height, LPDIRECT3DRMVIEWPORT* created) = 0;
  virtual HRESULT SetDefaultTextureColors(DWORD colors) = 0;
  virtual HRESULT SetDefaultTextureShades(DWORD shades) = 0;
};

HRESULT Direct3DRMCreate(LPDIRECT3DRM* created);
