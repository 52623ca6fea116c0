// What a run on the offscreen display does besides drawing: it can end by
// itself with a key press after a number of presented frames (VYN_FRAMES),
// and it can leave the screen behind as a PNG file (VYN_SNAPSHOT). When the
// offscreen display stands in for an X display that could not be opened, a
// run ends by itself after 300 frames and saves vyn-snapshot.png in the
// current folder, so that a machine without a screen still gets a picture.
#pragma once

#include <string>

#include "display/offscreen/OffscreenDisplay.h"

namespace vyn::display {

inline constexpr int StandInFrameLimit = 300;
inline constexpr const char* StandInSnapshotName = "vyn-snapshot.png";

struct OffscreenRunPlan {
  int keyPressAfterFrames = 0;  // 0: the run waits for real input
  std::string snapshotPath;     // empty: no snapshot
  bool standsInForX = false;    // say so on standard error when the run starts
};

// From the VYN_FRAMES and VYN_SNAPSHOT values (null when unset).
// `standsInForX`: the display was taken because no X display could be opened
// and VYN_DISPLAY asked for none; the two variables still win when set.
OffscreenRunPlan PlanOffscreenRun(const char* frames, const char* snapshot, bool standsInForX);

// Arms the key press and, with a snapshot path, has the screen saved when the
// process ends, however it ends through the normal exit. The display must
// live until then or until ForgetOffscreenRun. Only the last call's snapshot
// is saved.
void StartOffscreenRun(OffscreenDisplay& display, const OffscreenRunPlan& plan);

// Drops the pending snapshot: its display is about to go away.
void ForgetOffscreenRun();

// Writes the whole screen as it stands to `path` and names the file, as an
// absolute path, on standard error. False when the file cannot be written.
bool SaveSnapshot(const OffscreenDisplay& display, const std::string& path);

}  // namespace vyn::display
