// The choice of the process's display, and the pixel formats of the depths
// that a display can have.
#include "display/DisplaySelection.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "display/Display.h"
#include "display/offscreen/OffscreenDisplay.h"
#include "display/x11/X11Display.h"
#include "display/offscreen/OffscreenRun.h"

namespace vyn::display {
namespace {

constexpr int MaxScreenSide = 16384;

// Parses a decimal number that fills `text` exactly.
bool parseNumber(std::string_view text, int& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// "WIDTHxHEIGHTxBITS"
bool parseGeometry(std::string_view text, DisplayChoice& choice) {
  const std::size_t first = text.find('x');
  if (first == std::string_view::npos) return false;
  const std::size_t second = text.find('x', first + 1);
  if (second == std::string_view::npos) return false;
  int width = 0, height = 0, bits = 0;
  if (!parseNumber(text.substr(0, first), width) ||
      !parseNumber(text.substr(first + 1, second - first - 1), height) ||
      !parseNumber(text.substr(second + 1), bits))
    return false;
  if (width < 1 || height < 1 || width > MaxScreenSide || height > MaxScreenSide) return false;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  choice.width = width;
  choice.height = height;
  choice.bitsPerPixel = bits;
  return true;
}

// `standsInForX`: taken because no X display could be opened while
// VYN_DISPLAY asked for none (see OffscreenRun).
std::unique_ptr<Display> makeOffscreen(const DisplayChoice& choice, bool standsInForX = false) {
  auto offscreen = std::make_unique<OffscreenDisplay>(choice.width, choice.height, choice.bitsPerPixel);
  StartOffscreenRun(*offscreen,
                    PlanOffscreenRun(std::getenv("VYN_FRAMES"), std::getenv("VYN_SNAPSHOT"), standsInForX));
  return offscreen;
}

std::unique_ptr<Display> chooseFromEnvironment() {
  const DisplayChoice choice = ParseDisplayChoice(std::getenv("VYN_DISPLAY"));
  if (!choice.problem.empty()) std::fprintf(stderr, "vyn: VYN_DISPLAY: %s\n", choice.problem.c_str());
  if (choice.backend == DisplayChoice::Backend::Offscreen) return makeOffscreen(choice);
  // X11 for Backend::X11 and Backend::Automatic, falling through to the
  // offscreen screen when no X display can be opened.
  std::string problem;
  if (std::unique_ptr<Display> x11 = x11::OpenX11Display(nullptr, &problem)) return x11;
  if (choice.backend == DisplayChoice::Backend::X11)
    std::fprintf(stderr, "vyn: no X11 display available (%s); using the offscreen display\n",
                 problem.c_str());
  return makeOffscreen(choice, choice.backend == DisplayChoice::Backend::Automatic);
}

std::unique_ptr<Display>& activeDisplay() {
  static std::unique_ptr<Display> active;
  return active;
}

}  // namespace

DisplayChoice ParseDisplayChoice(const char* value) {
  DisplayChoice choice;
  if (value == nullptr || *value == '\0') return choice;
  const std::string_view text(value);
  if (text == "x11") {
    choice.backend = DisplayChoice::Backend::X11;
    return choice;
  }
  constexpr std::string_view offscreen = "offscreen";
  if (text.substr(0, offscreen.size()) != offscreen) {
    choice.problem = "unknown display \"" + std::string(text) + "\"";
    return choice;
  }
  choice.backend = DisplayChoice::Backend::Offscreen;
  std::string_view rest = text.substr(offscreen.size());
  if (rest.empty()) return choice;
  DisplayChoice parsed = choice;
  if (rest.front() == ':' && parseGeometry(rest.substr(1), parsed)) return parsed;
  choice.problem = "\"" + std::string(text) +
                   "\" is not offscreen:WIDTHxHEIGHTxBITS (BITS 8, 16, 24 or 32); using 1920x1080x32";
  return choice;
}

int ParseFrameLimit(const char* value) {
  int frames = 0;
  if (value == nullptr || !parseNumber(value, frames) || frames < 0) return 0;
  return frames;
}

PixelFormat FormatForDepth(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 8:
      return {8, 0, 0, 0};
    case 16:
      return {16, 0xF800, 0x07E0, 0x001F};
    case 24:
      return {24, 0xFF0000, 0x00FF00, 0x0000FF};
    default:
      return {32, 0xFF0000, 0x00FF00, 0x0000FF};
  }
}

Display& ActiveDisplay() {
  std::unique_ptr<Display>& active = activeDisplay();
  if (!active) active = chooseFromEnvironment();
  return *active;
}

bool ActiveDisplayPacesPresents() {
  const std::unique_ptr<Display>& active = activeDisplay();
  return active != nullptr && active->pacesPresents();
}

void SetActiveDisplay(std::unique_ptr<Display> display) {
  ForgetOffscreenRun();  // it may refer to the display being replaced
  activeDisplay() = std::move(display);
}

}  // namespace vyn::display
