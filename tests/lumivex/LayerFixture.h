// A rendering layer on an offscreen display, driven through the platform's
// test controls. The fixture captures the debugger output and, at every
// "KVR:Lumivex Cleanup\n" (written before Cleanup releases anything), takes a
// snapshot of what the context holds, so that tests can check what Cleanup
// released, in which order and how often.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Lumivex.h"
#include "kernel/Win32Types.h"

namespace vyn::lumivex::test {

inline const char* const cleanupLine = "KVR:Lumivex Cleanup\n";

// One interface field of the context: its name and the object it held.
struct HeldObject {
  const char* field;
  const void* object;
};

struct CleanupSnapshot {
  std::vector<HeldObject> held;  // non-null fields, in Cleanup's order
  size_t callIndex = 0;          // where Cleanup began in the call record
};

class LayerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The display that the next window and set-up see (default 640 x 480 at
  // 16 bits per pixel).
  void UseDisplay(int width, int height, int bitsPerPixel);
  // Releases everything, closes the window and switches to a new display, on
  // which the next set-up opens a full-screen window.
  void RestartOnDisplay(int width, int height, int bitsPerPixel);
  // A borderless window; its client area is the whole rectangle.
  HWND OpenWindow(int x, int y, int width, int height);

  // The start sequence up to each stage, on a full-screen window when none
  // is open. Each returns the result of its last step.
  int SetUpSurfaces();
  int SetUpDevice();
  int SetUpViewport();  // makes scene and camera frames first

  // Forgets the debugger texts, the call record and the snapshots, and
  // records from now on.
  void StartRecord();

  // Field names that the context held when Cleanup number `index` began.
  std::vector<std::string> HeldAtCleanup(size_t index) const;
  // Cleanup number `index` released exactly what it held, in its order, and
  // nothing in the record releases any of those objects a second time.
  void ExpectCleanupReleasedAll(size_t index) const;
  // Every interface field of the context is null.
  void ExpectNothingHeld() const;

  std::vector<std::string> texts;
  std::vector<CleanupSnapshot> cleanups;
  HWND window = nullptr;
  LPDIRECT3DRMFRAME2 scene = nullptr;
  LPDIRECT3DRMFRAME2 camera = nullptr;
  int displayWidth = 640;
  int displayHeight = 480;
  int displayBits = 16;
};

// A rectangle as "(left, top)-(right, bottom)", for comparing whole rectangles.
std::string Describe(const RECT& rect);

// Checks a two-line report: its prefix ("DirectDraw Error " or
// "Direct3D-RM Error : "), the code's name, the layer's source file, and that
// the line it names holds a report of that kind in that file. Returns the
// line, or -1.
int ExpectReportAt(const std::string& text, const std::string& prefix, const std::string& name,
                   const std::string& file);

}  // namespace vyn::lumivex::test
