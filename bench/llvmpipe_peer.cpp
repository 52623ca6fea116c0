// vyn_llvmpipe_peer: one case of vyn_bench drawn by Mesa's llvmpipe. It is a
// program of its own so that vyn_bench, which runs our renderer, neither
// loads Mesa nor pays for linking it at start-up. vyn_bench starts it with
// the same options; it can be run by hand under a profiler.
#include <cstdio>
#include <string>

#include "ChildCase.h"
#include "LlvmpipePeer.h"
#include "OffscreenChoice.h"
#include "ScenarioOptions.h"

int main(int argc, char** argv) {
  using namespace vyn::bench;
  std::string error;
  auto options = ParseScenarioOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "%s", error.c_str());
    return 2;
  }
  // llvmpipe with both cores, as a user's OpenGL saver would get it.
  ChooseLlvmpipe(2);
  // The picture is read through our GDI; keep its screen small.
  ChooseOffscreenDisplay({64, 64, 32});
  auto peer = MakeLlvmpipePeer();
  return RunChildCase(*peer, Renderer::Llvmpipe, *options);
}
