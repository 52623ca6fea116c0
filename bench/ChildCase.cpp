#include "ChildCase.h"

#include <cstdio>
#include <string>

#include "CaseLoop.h"
#include "CaseResult.h"

namespace vyn::bench {

int RunChildCase(FrameSource& source, Renderer renderer, const ScenarioOptions& options) {
  const Case& c = options.cases.front();
  std::string error;
  auto result = RunCase(source, options, c, renderer, options.childStartNs, error);
  if (!result) {
    std::fprintf(stderr, "vyn_bench: %s on %s: %s\n", c.name().c_str(), RendererName(renderer), error.c_str());
    return 2;
  }
  if (options.verbose)
    std::fprintf(stderr, "%s on %s: set-up %s\n", c.name().c_str(), RendererName(renderer),
                 source.setUpStages().c_str());
  std::printf("%s\n", FormatCaseResult(*result).c_str());
  return 0;
}

}  // namespace vyn::bench
