#include "d3drm/SceneWalk.h"

#include <utility>

#include "d3drm/Frame.h"

namespace vyn::d3drm {

void WalkScene(const Frame& top, SceneLights& lights, std::vector<VisualInstance>& visuals) {
  lights = SceneLights{};
  visuals.clear();
  // Iterative, so that a deep hierarchy cannot exhaust the stack.
  std::vector<std::pair<const Frame*, Placement>> pending{{&top, top.World()}};
  while (!pending.empty()) {
    auto [frame, world] = pending.back();
    pending.pop_back();
    for (const Light* light : frame->lights()) {
      const ColorRgb& c = light->color();
      if (light->type() == D3DRMLIGHT_AMBIENT) {
        lights.ambient.r += c.r;
        lights.ambient.g += c.g;
        lights.ambient.b += c.b;
      } else if (light->type() == D3DRMLIGHT_DIRECTIONAL) {
        lights.directional.push_back({Normalized(world.axis[2]), c});
      }
    }
    for (const Mesh* mesh : frame->visuals()) visuals.push_back({mesh, world});
    // Children in reverse, so that they come off the stack in their order.
    const auto& children = frame->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      pending.emplace_back(*it, Compose((*it)->local(), world));
    }
  }
}

}  // namespace vyn::d3drm
