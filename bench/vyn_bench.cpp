// vyn_bench: the saver's own scene set-up and frame tick on the offscreen
// display, side by side with the same scene on Mesa's llvmpipe. Each case
// runs in a process of its own, so that its peak memory is its own.
#include <cstdio>
#include <map>
#include <string>

#include "CaseLoop.h"
#include "ChildProcess.h"
#include "MotionCheck.h"
#include "OursRunner.h"
#include "ScenarioOptions.h"
#ifdef VYN_BENCH_HAVE_OSMESA
#include "LlvmpipePeer.h"
#endif

namespace vyn::bench {

namespace {

constexpr int kLlvmpipeThreads = 2;
constexpr int kMotionCheckTicks = 600;

// The child: one case on one renderer, its result on standard output.
int RunChild(const ScenarioOptions& options) {
  const Case& c = options.cases.front();
  std::unique_ptr<FrameSource> source;
  if (*options.childRenderer == Renderer::Ours) {
    ChooseOffscreenDisplay(options.size);
    if (options.threads > 0) setenv("VYN_RENDER_THREADS", std::to_string(options.threads).c_str(), 1);
    source = MakeOursRunner();
  } else {
#ifdef VYN_BENCH_HAVE_OSMESA
    ChooseLlvmpipe(kLlvmpipeThreads);
    // The picture is read through our GDI; keep its screen small.
    ChooseOffscreenDisplay({64, 64, 32});
    source = MakeLlvmpipePeer();
#else
    std::fprintf(stderr, "vyn_bench: built without OSMesa, no llvmpipe peer\n");
    return 2;
#endif
  }
  std::string error;
  auto result = RunCase(*source, options, c, *options.childRenderer, options.childStartNs, error);
  if (!result) {
    std::fprintf(stderr, "vyn_bench: %s on %s: %s\n", c.name().c_str(), RendererName(*options.childRenderer),
                 error.c_str());
    return 2;
  }
  std::printf("%s\n", FormatCaseResult(*result).c_str());
  return 0;
}

std::string Figure(const std::optional<CaseResult>& r, double CaseResult::*field, const char* format) {
  if (!r) return "-";
  char text[64];
  std::snprintf(text, sizeof text, format, (*r).*field);
  return text;
}

std::string PeakMiB(const std::optional<CaseResult>& r) {
  if (!r || r->peakKiB < 0) return "-";
  char text[64];
  std::snprintf(text, sizeof text, "%.1f", r->peakKiB / 1024.0);
  return text;
}

int RunTable(const ScenarioOptions& options) {
  const ScreenSize& s = options.size;
  std::printf("vyn_bench %dx%dx%d, %s\n\n", s.width, s.height, s.bitsPerPixel,
              options.frames > 0 ? (std::to_string(options.frames) + " frames a case").c_str()
                                 : (std::to_string(options.seconds) + " s a case").c_str());
  std::printf("| case | triangles | ours fps | llvmpipe fps | ours / llvmpipe | ours first frame ms | "
              "llvmpipe first frame ms | ours peak MiB | llvmpipe peak MiB |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  std::fflush(stdout);
  int failures = 0;
  for (const Case& c : options.cases) {
    std::map<Renderer, std::optional<CaseResult>> results;
    for (Renderer renderer : options.renderers) {
      long long start = MonotonicNs();
      ChildOutput child = RunSelf(ChildArguments(options, renderer, c, start));
      results[renderer] = child.exitStatus == 0 ? ParseCaseResult(child.stdoutText) : std::nullopt;
      if (!results[renderer]) {
        std::fprintf(stderr, "vyn_bench: %s on %s failed (exit %d)\n", c.name().c_str(), RendererName(renderer),
                     child.exitStatus);
        ++failures;
      }
    }
    const auto& ours = results[Renderer::Ours];
    const auto& peer = results[Renderer::Llvmpipe];
    std::string ratio = "-";
    if (ours && peer && peer->framesPerSecond > 0.0) {
      char text[32];
      std::snprintf(text, sizeof text, "%.2f", ours->framesPerSecond / peer->framesPerSecond);
      ratio = text;
    }
    long long triangles = peer ? peer->triangles : 0;
    std::printf("| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", c.name().c_str(),
                triangles > 0 ? std::to_string(triangles).c_str() : "-",
                Figure(ours, &CaseResult::framesPerSecond, "%.1f").c_str(),
                Figure(peer, &CaseResult::framesPerSecond, "%.1f").c_str(), ratio.c_str(),
                Figure(ours, &CaseResult::firstFrameMs, "%.1f").c_str(),
                Figure(peer, &CaseResult::firstFrameMs, "%.1f").c_str(), PeakMiB(ours).c_str(),
                PeakMiB(peer).c_str());
    std::fflush(stdout);
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

}  // namespace vyn::bench

int main(int argc, char** argv) {
  using namespace vyn::bench;
  std::string error;
  auto options = ParseScenarioOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "%s", error.c_str());
    return 2;
  }
  if (options->childRenderer) return RunChild(*options);
  if (options->checkMotion) return RunMotionCheck(*options, kMotionCheckTicks);
  return RunTable(*options);
}
