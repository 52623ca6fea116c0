// What a render sees of a frame hierarchy: every visual with its placement
// relative to the root, and the lights, gathered in one walk.
#pragma once

#include <vector>

#include "d3drm/Light.h"
#include "d3drm/Transform.h"

namespace vyn::d3drm {

class Frame;
class Mesh;

struct DirectionalLight {
  Vec3d direction;  // unit, the way the light travels (its frame's +z), in root coordinates
  ColorRgb color;
};

struct SceneLights {
  ColorRgb ambient;  // the sum of every ambient light
  std::vector<DirectionalLight> directional;
};

struct VisualInstance {
  const Mesh* mesh;
  Placement world;
};

// Walks `top` and everything below it. Lights of kinds other than ambient and
// directional are not drawn.
void WalkScene(const Frame& top, SceneLights& lights, std::vector<VisualInstance>& visuals);

}  // namespace vyn::d3drm
