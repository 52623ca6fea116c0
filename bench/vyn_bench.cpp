// vyn_bench: the saver's own scene set-up and frame tick on the offscreen
// display, side by side with the same scene on Mesa's llvmpipe
// (vyn_llvmpipe_peer). Each case runs in a process of its own, so that its
// peak memory and its start-up are its own.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "CaseLoop.h"
#include "ChildCase.h"
#include "ChildProcess.h"
#include "FrameCompare.h"
#include "MotionCheck.h"
#include "OffscreenChoice.h"
#include "OursRunner.h"
#include "ScenarioOptions.h"

namespace vyn::bench {

namespace {

constexpr int kMotionCheckTicks = 600;

// The child for our renderer: one case, its result on standard output.
int RunOursChild(const ScenarioOptions& options) {
  ChooseOffscreenDisplay(options.size);
  if (options.threads > 0) setenv("VYN_RENDER_THREADS", std::to_string(options.threads).c_str(), 1);
  auto ours = MakeOursRunner();
  return RunChildCase(*ours, Renderer::Ours, options);
}

// Our renderer runs in this program; the peer in its own, next to it.
std::string ChildProgram(Renderer renderer) {
  return renderer == Renderer::Ours ? SiblingProgram("vyn_bench") : SiblingProgram("vyn_llvmpipe_peer");
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

// With --dump-png: how far the two renderers' frames of a case differ.
void CompareDumps(const ScenarioOptions& options, const Case& c, std::string& notes) {
  constexpr int kTolerance = 24;  // in 0..255 per channel: shading rounding, not a different picture
  for (int frame : {1, options.dumpFrame}) {
    auto path = [&](Renderer r) {
      return options.dumpDir + "/" + c.name() + "-" + RendererName(r) + "-frame" + std::to_string(frame) + ".png";
    };
    FrameImage ours, peer;
    if (!ReadFramePng(path(Renderer::Ours), ours) || !ReadFramePng(path(Renderer::Llvmpipe), peer)) continue;
    auto difference = CompareFrames(ours, peer, kTolerance);
    if (!difference) continue;
    char line[256];
    std::snprintf(line, sizeof line,
                  "- %s, frame %d: %.3f%% of the pixels differ by more than %d; lit: ours %.2f%%, llvmpipe %.2f%%\n",
                  c.name().c_str(), frame, 100.0 * difference->differing, kTolerance, 100.0 * difference->litOurs,
                  100.0 * difference->litPeer);
    notes += line;
  }
}

// Other work on the machine only ever makes a run slower or bigger: of
// several runs, each figure's best is the renderer's own.
void KeepBest(std::optional<CaseResult>& best, const CaseResult& run) {
  if (!best) {
    best = run;
    return;
  }
  best->framesPerSecond = std::max(best->framesPerSecond, run.framesPerSecond);
  best->firstFrameMs = std::min(best->firstFrameMs, run.firstFrameMs);
  best->setUpMs = std::min(best->setUpMs, run.setUpMs);
  if (run.peakKiB >= 0 && (best->peakKiB < 0 || run.peakKiB < best->peakKiB)) best->peakKiB = run.peakKiB;
}

int RunTable(const ScenarioOptions& options) {
  const ScreenSize& s = options.size;
  std::printf("vyn_bench %dx%dx%d, %s, best of %d\n\n", s.width, s.height, s.bitsPerPixel,
              options.frames > 0 ? (std::to_string(options.frames) + " frames a case").c_str()
                                 : (std::to_string(options.seconds) + " s a case").c_str(),
              options.repeat);
  std::printf("| case | triangles | ours fps | llvmpipe fps | ours / llvmpipe | ours first frame ms | "
              "llvmpipe first frame ms | ours peak MiB | llvmpipe peak MiB |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  std::fflush(stdout);
  int failures = 0;
  std::string notes;
  for (const Case& c : options.cases) {
    std::map<Renderer, std::optional<CaseResult>> results;
    for (int run = 0; run < options.repeat; ++run) {
      for (Renderer renderer : options.renderers) {
        long long start = MonotonicNs();
        ChildOutput child = RunProgram(ChildProgram(renderer), ChildArguments(options, renderer, c, start));
        auto result = child.exitStatus == 0 ? ParseCaseResult(child.stdoutText) : std::nullopt;
        if (!result) {
          std::fprintf(stderr, "vyn_bench: %s on %s failed (exit %d)\n", c.name().c_str(), RendererName(renderer),
                       child.exitStatus);
          ++failures;
          continue;
        }
        KeepBest(results[renderer], *result);
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
    if (!options.dumpDir.empty()) CompareDumps(options, c, notes);
  }
  if (!notes.empty()) std::printf("\nFrames compared (%s):\n%s", options.dumpDir.c_str(), notes.c_str());
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
  if (options->childRenderer) {
    if (*options->childRenderer == Renderer::Ours) return RunOursChild(*options);
    std::fprintf(stderr, "vyn_bench: the llvmpipe peer is the program vyn_llvmpipe_peer\n");
    return 2;
  }
  if (options->checkMotion) return RunMotionCheck(*options, kMotionCheckTicks);
  return RunTable(*options);
}
