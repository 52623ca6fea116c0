#include "Scene.h"

#include "Lumivex.h"
#include "Settings.h"
#include "SlabBitmap.h"

namespace vyn::saver {

SceneHandles sceneHandles;

namespace {

constexpr D3DVALUE kAmbientLevel = 0.1f;
constexpr D3DVALUE kDirectionalLevel = 0.9f;
constexpr D3DVALUE kObjectDistance = 15.0f;

template <class Interface>
void ReleaseNow(Interface*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

// Position and orientation of a child of the root: at (0, 0, z), looking
// along +z with +y up.
void PlaceOnAxis(LPDIRECT3DRMFRAME2 frame, LPDIRECT3DRMFRAME2 root, D3DVALUE z) {
  frame->SetPosition(root, 0.0f, 0.0f, z);
  frame->SetOrientation(root, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f);
}

// The camera carries the viewport; the program keeps its reference.
void CreateCamera(LPDIRECT3DRM2 rm, LPDIRECT3DRMFRAME2 root) {
  rm->CreateFrame(root, &sceneHandles.camera);
  if (sceneHandles.camera == nullptr) return;
  PlaceOnAxis(sceneHandles.camera, root, 0.0f);
  lumivex::KVRViewport(sceneHandles.camera);
}

void AddAmbientLight(LPDIRECT3DRM2 rm, LPDIRECT3DRMFRAME2 root) {
  LPDIRECT3DRMLIGHT light = nullptr;
  rm->CreateLightRGB(D3DRMLIGHT_AMBIENT, kAmbientLevel, kAmbientLevel, kAmbientLevel, &light);
  if (light == nullptr) return;
  root->AddLight(light);
  ReleaseNow(light);
}

// The light frame keeps the placement of a new child, so the light points
// along +z like the camera.
void AddDirectionalLight(LPDIRECT3DRM2 rm, LPDIRECT3DRMFRAME2 root) {
  LPDIRECT3DRMFRAME2 lightFrame = nullptr;
  rm->CreateFrame(root, &lightFrame);
  if (lightFrame == nullptr) return;
  LPDIRECT3DRMLIGHT light = nullptr;
  rm->CreateLightRGB(D3DRMLIGHT_DIRECTIONAL, kDirectionalLevel, kDirectionalLevel, kDirectionalLevel, &light);
  if (light != nullptr) {
    lightFrame->AddLight(light);
    ReleaseNow(light);
  }
  ReleaseNow(lightFrame);
}

// Fills the builder from the bitmap, gives it the settings' look and hangs
// the resulting mesh on the object frame.
void AttachSlabMesh(LPDIRECT3DRM2 rm, LPDIRECT3DRMFRAME2 object) {
  LPDIRECT3DRMMESHBUILDER2 builder = nullptr;
  rm->CreateMeshBuilder(&builder);
  if (builder == nullptr) return;

  BuildSlabsInto(builder);

  const SaverSettings& s = saverSettings;
  builder->SetQuality(SolidQuality(s.shade));
  builder->SetColor(PackSolidColor(s.colorAlpha, s.colorRed, s.colorGreen, s.colorBlue));

  LPDIRECT3DRMMESH mesh = nullptr;
  builder->CreateMesh(&mesh);
  if (mesh != nullptr) object->AddVisual(mesh);
  ReleaseNow(mesh);
  ReleaseNow(builder);
}

void CreateObject(LPDIRECT3DRM2 rm, LPDIRECT3DRMFRAME2 root) {
  rm->CreateFrame(root, &sceneHandles.object);
  LPDIRECT3DRMFRAME2 object = sceneHandles.object;
  if (object == nullptr) return;
  PlaceOnAxis(object, root, kObjectDistance);
  AttachSlabMesh(rm, object);
  // The root holds the frame as its child; the handle stays as a borrowed one.
  object->Release();
}

// The layer can draw only while it still holds its device and viewport.
bool LayerCanRender() {
  return lumivex::renderContext.retainedModeDevice != nullptr && lumivex::renderContext.viewport != nullptr;
}

}  // namespace

D3DCOLOR PackSolidColor(double alpha, double red, double green, double blue) {
  auto channel = [](double share) { return static_cast<D3DCOLOR>(static_cast<int>(share * 255.0)) & 0xFFu; };
  return (channel(alpha) << 24) | (channel(red) << 16) | (channel(green) << 8) | channel(blue);
}

D3DRMRENDERQUALITY SolidQuality(int shade) { return shade == 1 ? D3DRMRENDER_WIREFRAME : D3DRMRENDER_GOURAUD; }

int CreateScene() {
  LoadSaverSettings();
  LPDIRECT3DRM2 rm = lumivex::renderContext.retainedMode;
  if (rm == nullptr) return 1;

  rm->CreateFrame(nullptr, &sceneHandles.scene);
  LPDIRECT3DRMFRAME2 root = sceneHandles.scene;
  if (root == nullptr) return 1;

  CreateCamera(rm, root);
  // A failed viewport has cleaned the layer up, the Retained Mode object
  // included: nothing more can be made, and marking the layer active would
  // send the frame tick into released objects. The run then shows the black
  // window until the user ends it.
  if (!LayerCanRender()) return 1;

  AddAmbientLight(rm, root);
  AddDirectionalLight(rm, root);
  CreateObject(rm, root);

  lumivex::SetActive(1);
  return 1;
}

}  // namespace vyn::saver
