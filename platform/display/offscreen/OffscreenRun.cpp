#include "display/offscreen/OffscreenRun.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "display/DisplaySelection.h"

namespace vyn::display {
namespace {

// The screen only changes when a frame is presented, so saving it when the
// process ends gives the last presented frame.
struct PendingSnapshot {
  const OffscreenDisplay* display = nullptr;
  std::string path;
};

PendingSnapshot& pending() {
  static PendingSnapshot snapshot;
  return snapshot;
}

void saveAtExit() {
  PendingSnapshot& snapshot = pending();
  if (snapshot.display == nullptr) return;
  SaveSnapshot(*snapshot.display, snapshot.path);
  snapshot.display = nullptr;
}

std::string absolutePath(const std::string& path) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

}  // namespace

OffscreenRunPlan PlanOffscreenRun(const char* frames, const char* snapshot, bool standsInForX) {
  OffscreenRunPlan plan;
  plan.standsInForX = standsInForX;
  if (standsInForX) {
    plan.keyPressAfterFrames = StandInFrameLimit;
    plan.snapshotPath = StandInSnapshotName;
  }
  if (frames != nullptr && *frames != '\0') plan.keyPressAfterFrames = ParseFrameLimit(frames);
  if (snapshot != nullptr && *snapshot != '\0') plan.snapshotPath = snapshot;
  return plan;
}

void StartOffscreenRun(OffscreenDisplay& display, const OffscreenRunPlan& plan) {
  if (plan.standsInForX) {
    std::fprintf(stderr, "vyn: no X display could be opened (DISPLAY is %s); drawing offscreen",
                 std::getenv("DISPLAY") != nullptr ? "not reachable" : "not set");
    if (plan.keyPressAfterFrames > 0) std::fprintf(stderr, " for %d frames", plan.keyPressAfterFrames);
    std::fputc('\n', stderr);
  }
  if (plan.keyPressAfterFrames > 0) display.pressKeyAfterFrames(plan.keyPressAfterFrames);
  if (plan.snapshotPath.empty()) return;
  PendingSnapshot& snapshot = pending();
  // The pending record is built before the handler is registered, so the
  // handler runs before the record is destroyed at exit.
  static const bool registered = (std::atexit(saveAtExit) == 0);
  if (!registered) {
    std::fprintf(stderr, "vyn: cannot arrange the snapshot %s\n", plan.snapshotPath.c_str());
    return;
  }
  snapshot.display = &display;
  snapshot.path = plan.snapshotPath;
}

void ForgetOffscreenRun() { pending().display = nullptr; }

bool SaveSnapshot(const OffscreenDisplay& display, const std::string& path) {
  const std::string shown = absolutePath(path);
  if (!display.savePng(path)) return false;
  std::fprintf(stderr, "vyn: saved the screen to %s\n", shown.c_str());
  std::fflush(stderr);
  return true;
}

}  // namespace vyn::display
