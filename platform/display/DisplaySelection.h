// How the process chooses its display from the environment:
//   VYN_DISPLAY=offscreen                   in-memory screen, 1920x1080, 32 bits
//   VYN_DISPLAY=offscreen:WIDTHxHEIGHTxBITS in-memory screen of that size and depth
//   VYN_DISPLAY=x11                         the X server named by DISPLAY
//   unset or empty                          X11 when it can be opened, else offscreen
//   VYN_FRAMES=N                            (offscreen) a key press after N frames
//   VYN_SNAPSHOT=FILE.png                   (offscreen) the screen saved at the end
// Without VYN_DISPLAY and an X display, a run ends after 300 frames and
// leaves vyn-snapshot.png in the current folder (see OffscreenRun).
#pragma once

#include <string>

namespace vyn::display {

struct DisplayChoice {
  enum class Backend { Automatic, Offscreen, X11 };
  Backend backend = Backend::Automatic;
  int width = 1920;
  int height = 1080;
  int bitsPerPixel = 32;
  // Why the value was not understood (the choice then falls back to the
  // default offscreen screen for "offscreen:..." and to Automatic otherwise).
  std::string problem;
};

// Reads a VYN_DISPLAY value; null or empty means Automatic.
DisplayChoice ParseDisplayChoice(const char* value);

// Reads a VYN_FRAMES value: a positive frame count, or 0 for none or a value
// that is not one.
int ParseFrameLimit(const char* value);

}  // namespace vyn::display
