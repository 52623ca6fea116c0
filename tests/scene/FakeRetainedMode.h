// A small stand-in for Retained Mode that remembers what the scene code asked
// of it: the frame tree, the lights, the builder's look, and who holds which
// reference. Parents hold their children, lights and visuals, as Retained
// Mode does. Any creation can be made to fail.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "com/ComObject.h"
#include "d3drm/D3DRM.h"

namespace vyn::scenetest {

// Which fake objects are still alive, so a test can tell a frame that lives
// from one that was destroyed.
std::set<const void*>& LiveFakes();

template <class Interface>
class Fake : public com::ComObject<Interface> {
 public:
  Fake() { LiveFakes().insert(this); }
  ~Fake() override { LiveFakes().erase(this); }
  HRESULT QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
};

template <class T>
bool IsAlive(const T* object) {
  return LiveFakes().count(static_cast<const void*>(object)) != 0;
}

class FakeLight : public Fake<IDirect3DRMLight> {
 public:
  FakeLight(D3DRMLIGHTTYPE type, D3DVALUE r, D3DVALUE g, D3DVALUE b) : type(type), red(r), green(g), blue(b) {}
  D3DCOLOR GetColor() override { return 0; }
  D3DRMLIGHTTYPE GetType() override { return type; }
  D3DRMLIGHTTYPE type;
  D3DVALUE red, green, blue;
};

class FakeMesh : public Fake<IDirect3DRMMesh> {
 public:
  HRESULT GetBox(D3DRMBOX*) override { return D3DRM_OK; }
};

class FakeFace : public Fake<IDirect3DRMFace> {
 public:
  HRESULT AddVertexAndNormalIndexed(DWORD, DWORD) override {
    ++corners;
    return D3DRM_OK;
  }
  int GetVertexCount() override { return corners; }
  int corners = 0;
};

class FakeMeshBuilder : public Fake<IDirect3DRMMeshBuilder2> {
 public:
  ~FakeMeshBuilder() override;
  int AddVertex(D3DVALUE x, D3DVALUE y, D3DVALUE z) override;
  int AddNormal(D3DVALUE, D3DVALUE, D3DVALUE) override { return normals++; }
  HRESULT CreateFace(LPDIRECT3DRMFACE* face) override;
  HRESULT CreateMesh(LPDIRECT3DRMMESH* mesh) override;
  HRESULT GetBox(D3DRMBOX* box) override;
  int GetFaceCount() override { return static_cast<int>(faces.size()); }
  int GetVertexCount() override { return vertices; }
  D3DRMRENDERQUALITY GetQuality() override { return quality; }
  HRESULT Scale(D3DVALUE sx, D3DVALUE, D3DVALUE) override {
    scale = sx;
    return D3DRM_OK;
  }
  HRESULT SetColor(D3DCOLOR value) override {
    color = value;
    ++colorCalls;
    return D3DRM_OK;
  }
  HRESULT SetQuality(D3DRMRENDERQUALITY value) override {
    quality = value;
    ++qualityCalls;
    return D3DRM_OK;
  }

  int vertices = 0;
  int normals = 0;
  D3DRMBOX box{{0, 0, 0}, {0, 0, 0}};
  std::vector<FakeFace*> faces;
  D3DVALUE scale = 1.0f;
  D3DRMRENDERQUALITY quality = 0;
  D3DCOLOR color = 0;
  int qualityCalls = 0;
  int colorCalls = 0;
  bool failCreateMesh = false;
  FakeMesh* mesh = nullptr;  // the last mesh made, not held
};

class FakeFrame : public Fake<IDirect3DRMFrame2> {
 public:
  explicit FakeFrame(FakeFrame* parent) : parent(parent) {}
  ~FakeFrame() override;

  HRESULT AddLight(LPDIRECT3DRMLIGHT light) override;
  HRESULT AddVisual(IUnknown* visual) override;
  HRESULT GetOrientation(LPDIRECT3DRMFRAME, LPD3DVECTOR d, LPD3DVECTOR u) override {
    *d = direction;
    *u = up;
    return D3DRM_OK;
  }
  HRESULT GetPosition(LPDIRECT3DRMFRAME reference, LPD3DVECTOR p) override {
    positionReferences.push_back(reference);
    if (getPositionResult != D3DRM_OK) return getPositionResult;
    *p = position;
    return D3DRM_OK;
  }
  HRESULT Move(D3DVALUE delta) override {
    moves.push_back(delta);
    return moveResult;
  }
  HRESULT SetOrientation(LPDIRECT3DRMFRAME reference, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux,
                         D3DVALUE uy, D3DVALUE uz) override {
    orientationReference = reference;
    direction = {dx, dy, dz};
    up = {ux, uy, uz};
    return D3DRM_OK;
  }
  HRESULT SetPosition(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) override {
    positionReference = reference;
    position = {x, y, z};
    return D3DRM_OK;
  }
  HRESULT SetRotation(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE theta) override {
    rotationReference = reference;
    rotationAxis = {x, y, z};
    rotationAngle = theta;
    ++rotationCalls;
    return D3DRM_OK;
  }
  HRESULT SetVelocity(LPDIRECT3DRMFRAME reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, BOOL withRotation) override {
    velocityReference = reference;
    velocity = {x, y, z};
    velocityWithRotation = withRotation;
    ++velocityCalls;
    return D3DRM_OK;
  }

  FakeFrame* parent;
  std::vector<FakeFrame*> children;  // held
  std::vector<FakeLight*> lights;    // held
  std::vector<IUnknown*> visuals;    // held
  D3DVECTOR position{0, 0, 0};
  D3DVECTOR direction{0, 0, 1};
  D3DVECTOR up{0, 1, 0};
  LPDIRECT3DRMFRAME positionReference = nullptr;
  LPDIRECT3DRMFRAME orientationReference = nullptr;
  std::vector<LPDIRECT3DRMFRAME> positionReferences;  // of each GetPosition
  D3DVECTOR velocity{0, 0, 0};
  LPDIRECT3DRMFRAME velocityReference = nullptr;
  BOOL velocityWithRotation = -1;
  int velocityCalls = 0;
  D3DVECTOR rotationAxis{0, 0, 0};
  D3DVALUE rotationAngle = 0;
  LPDIRECT3DRMFRAME rotationReference = nullptr;
  int rotationCalls = 0;
  std::vector<D3DVALUE> moves;
  HRESULT moveResult = D3DRM_OK;
  HRESULT getPositionResult = D3DRM_OK;  // a failure leaves the vector as it was
};

class FakeViewport : public Fake<IDirect3DRMViewport> {
 public:
  HRESULT Clear() override { return D3DRM_OK; }
  HRESULT ForceUpdate(DWORD, DWORD, DWORD, DWORD) override { return D3DRM_OK; }
  D3DVALUE GetBack() override { return back; }
  D3DVALUE GetField() override { return 0.5f; }
  D3DVALUE GetFront() override { return 1.0f; }
  HRESULT Render(LPDIRECT3DRMFRAME) override { return D3DRM_OK; }
  HRESULT SetBack(D3DVALUE value) override {
    back = value;
    return D3DRM_OK;
  }
  LPDIRECT3DRMFRAME camera = nullptr;
  D3DVALUE back = 0;
};

class FakeDevice : public Fake<IDirect3DRMDevice2> {
 public:
  DWORD GetBufferCount() override { return 1; }
  BOOL GetDither() override { return FALSE; }
  D3DRMRENDERQUALITY GetQuality() override { return 0; }
  DWORD GetShades() override { return 32; }
  D3DRMTEXTUREQUALITY GetTextureQuality() override { return 0; }
  DWORD GetWidth() override { return 320; }
  DWORD GetHeight() override { return 240; }
  HRESULT SetBufferCount(DWORD) override { return D3DRM_OK; }
  HRESULT SetDither(BOOL) override { return D3DRM_OK; }
  HRESULT SetQuality(D3DRMRENDERQUALITY) override { return D3DRM_OK; }
  HRESULT SetShades(DWORD) override { return D3DRM_OK; }
  HRESULT SetTextureQuality(D3DRMTEXTUREQUALITY) override { return D3DRM_OK; }
  HRESULT Update() override { return D3DRM_OK; }
};

// Failures a test can arm: the nth CreateFrame (from 1), each light, the
// builder, the mesh and the viewport.
struct FakeFailures {
  int frame = 0;
  bool ambientLight = false;
  bool directionalLight = false;
  bool meshBuilder = false;
  bool mesh = false;
  bool viewport = false;
};

class FakeRetainedMode : public Fake<IDirect3DRM2> {
 public:
  ~FakeRetainedMode() override;
  HRESULT CreateDeviceFromD3D(LPDIRECT3D2, LPDIRECT3DDEVICE2, LPDIRECT3DRMDEVICE2* created) override {
    *created = nullptr;
    return D3DRMERR_BADDEVICE;
  }
  HRESULT CreateFrame(LPDIRECT3DRMFRAME parent, LPDIRECT3DRMFRAME2* created) override;
  HRESULT CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE r, D3DVALUE g, D3DVALUE b,
                         LPDIRECT3DRMLIGHT* created) override;
  HRESULT CreateMeshBuilder(LPDIRECT3DRMMESHBUILDER2* created) override;
  HRESULT CreateViewport(LPDIRECT3DRMDEVICE device, LPDIRECT3DRMFRAME camera, DWORD x, DWORD y, DWORD width,
                         DWORD height, LPDIRECT3DRMVIEWPORT* created) override;
  HRESULT SetDefaultTextureColors(DWORD) override { return D3DRM_OK; }
  HRESULT SetDefaultTextureShades(DWORD) override { return D3DRM_OK; }

  FakeFailures fail;
  int framesMade = 0;
  std::vector<FakeFrame*> frames;          // every frame made, in order; not held
  std::vector<FakeLight*> lights;          // not held
  // The last builder made. Held, so that a test can read it after the
  // scene has given up its own reference.
  FakeMeshBuilder* builder = nullptr;
  FakeViewport* viewport = nullptr;        // not held
};

}  // namespace vyn::scenetest
