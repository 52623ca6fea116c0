#include "CaseLoop.h"

#include <time.h>

#include <cstdio>
#include <filesystem>

#include "FramePng.h"
#include "PeakMemory.h"

namespace vyn::bench {

namespace {

// Writes frame `index` of `source` when the dump asks for that frame; returns
// the time it took, to be left out of the timing.
long long DumpIfWanted(FrameSource& source, const ScenarioOptions& options, const Case& c, Renderer renderer,
                       int index) {
  if (options.dumpDir.empty() || (index != 1 && index != options.dumpFrame)) return 0;
  long long begin = MonotonicNs();
  FrameImage image;
  std::error_code ignored;
  std::filesystem::create_directories(options.dumpDir, ignored);
  std::string path = options.dumpDir + "/" + c.name() + "-" + RendererName(renderer) + "-frame" +
                     std::to_string(index) + ".png";
  if (!source.snapshot(image) || !WriteFramePng(image, path))
    std::fprintf(stderr, "vyn_bench: cannot write %s\n", path.c_str());
  return MonotonicNs() - begin;
}

}  // namespace

long long MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::optional<CaseResult> RunCase(FrameSource& source, const ScenarioOptions& options, const Case& c,
                                  Renderer renderer, long long startNs, std::string& error) {
  const long long caseStart = MonotonicNs();
  if (startNs == 0) startNs = caseStart;
  if (!source.setUp(options, c, error)) return std::nullopt;
  source.drawFrame();
  const long long firstFrame = MonotonicNs();

  CaseResult result;
  result.firstFrameMs = (firstFrame - startNs) / 1e6;
  result.setUpMs = (firstFrame - caseStart) / 1e6;
  DumpIfWanted(source, options, c, renderer, 1);

  int index = 1;
  long long untimed = 0;  // dumps inside the timed frames
  const long long loopStart = MonotonicNs();
  const long long deadline = loopStart + static_cast<long long>(options.seconds * 1e9);
  for (;;) {
    if (options.frames > 0 ? result.framesTimed >= options.frames : MonotonicNs() - untimed >= deadline) break;
    source.drawFrame();
    ++result.framesTimed;
    untimed += DumpIfWanted(source, options, c, renderer, ++index);
  }
  const double elapsed = (MonotonicNs() - loopStart - untimed) / 1e9;
  result.framesPerSecond = elapsed > 0.0 ? result.framesTimed / elapsed : 0.0;
  // A dump beyond the timed frames still gets its frame.
  while (!options.dumpDir.empty() && index < options.dumpFrame) {
    source.drawFrame();
    DumpIfWanted(source, options, c, renderer, ++index);
  }
  result.peakKiB = PeakResidentKiB();
  result.triangles = source.triangleCount();
  return result;
}

}  // namespace vyn::bench
