// The retained-mode scene of a run: root, camera with the viewport, the two
// lights and the object frame that carries the slab mesh.
#pragma once

#include "d3drm/D3DRM.h"

namespace vyn::saver {

// The three frames kept for the run, all relative to `scene`.
struct SceneHandles {
  // The root and reference frame of all motion. The program holds one
  // reference until the process ends.
  LPDIRECT3DRMFRAME2 scene = nullptr;
  // Child of `scene` that carries the viewport; held until the process ends.
  LPDIRECT3DRMFRAME2 camera = nullptr;
  // Child of `scene` that carries the mesh. Borrowed: the program gives up
  // its own reference at the end of the set-up, and `scene` keeps the frame
  // alive as its child.
  LPDIRECT3DRMFRAME2 object = nullptr;
};

extern SceneHandles sceneHandles;

// Builds the scene through the rendering layer's Retained Mode object, then
// marks the layer active. Always returns 1.
int CreateScene();

// The solid's colour as 0xAARRGGBB, from colour shares in [0, 1].
D3DCOLOR PackSolidColor(double alpha, double red, double green, double blue);

// The mesh quality for a `shade` setting: 1 is the wireframe, any other value
// the Gouraud-shaded solid.
D3DRMRENDERQUALITY SolidQuality(int shade);

}  // namespace vyn::saver
