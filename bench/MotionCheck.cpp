#include "MotionCheck.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "OffscreenChoice.h"
#include "OursRunner.h"
#include "Scene.h"
#include "SolidMotion.h"

namespace vyn::bench {

namespace {

double Distance(const D3DVECTOR& a, const double (&b)[3]) {
  return std::sqrt((a.x - b[0]) * (a.x - b[0]) + (a.y - b[1]) * (a.y - b[1]) + (a.z - b[2]) * (a.z - b[2]));
}

}  // namespace

int RunMotionCheck(const ScenarioOptions& options, int ticks) {
  ChooseOffscreenDisplay(options.size);
  auto ours = MakeOursRunner();
  std::string error;
  if (!ours->setUp(options, options.cases.front(), error)) {
    std::fprintf(stderr, "vyn_bench: %s\n", error.c_str());
    return 2;
  }
  SolidMotion peer(options.speed);
  double worstPosition = 0.0, worstAxis = 0.0;
  int worstTick = 0;
  for (int tick = 1; tick <= ticks; ++tick) {
    ours->drawFrame();
    peer.step();
    peer.move();
    LPDIRECT3DRMFRAME2 scene = saver::sceneHandles.scene;
    LPDIRECT3DRMFRAME2 object = saver::sceneHandles.object;
    D3DVECTOR position{}, direction{}, up{};
    object->GetPosition(scene, &position);
    object->GetOrientation(scene, &direction, &up);
    double p = Distance(position, peer.position());
    double a = std::fmax(Distance(direction, peer.axes()[2]), Distance(up, peer.axes()[1]));
    if (p > worstPosition) worstPosition = p;
    if (a > worstAxis) {
      worstAxis = a;
      worstTick = tick;
    }
  }
  std::printf("motion over %d ticks: largest position difference %.3g, largest axis difference %.3g (tick %d)\n",
              ticks, worstPosition, worstAxis, worstTick);
  return worstPosition < 1e-3 && worstAxis < 1e-3 ? 0 : 1;
}

}  // namespace vyn::bench
