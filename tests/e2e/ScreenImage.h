// Pictures of the screen for tests: read from a PNG snapshot or grabbed from
// an X window, with the few measures the tests make on them.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vyn::e2e {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, row by row from the top

  std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct Area {
  int left, top, right, bottom;  // right and bottom exclusive
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// A pixel counts as lit when one of its channels is above this: the solid
// is lit by an ambient share of 0.1 and a directional one of 0.9, so even its
// darkest faces stay above it, while the background is pure black.
inline constexpr int LitThreshold = 16;

bool IsLit(std::uint32_t color);
// Pixels of `area` that are lit.
int CountLit(const Picture& picture, const Area& area);
// The smallest area that holds every lit pixel; nothing when none is lit.
std::optional<Area> LitBounds(const Picture& picture);
// The mean of red, green and blue over the lit pixels.
struct MeanColor {
  double red, green, blue;
};
MeanColor MeanLitColor(const Picture& picture);

std::optional<Picture> ReadPng(const std::string& path);

// The window's contents (root-relative area when `window` is the root).
std::optional<Picture> GrabWindow(::Display* display, Window window);

// The first window, searched depth-first from the root, whose name is
// `name`.
std::optional<Window> FindWindowNamed(::Display* display, const std::string& name);
// The window's outer area in root coordinates.
Area WindowArea(::Display* display, Window window);
// Whether the pointer shows nothing: the current cursor image is fully
// transparent.
bool PointerInvisible(::Display* display);

}  // namespace vyn::e2e
