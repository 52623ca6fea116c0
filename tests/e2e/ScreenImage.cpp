#include "ScreenImage.h"

#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <png.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace vyn::e2e {
namespace {

int Channel(std::uint32_t color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

// Scales a pixel value under `mask` to 8 bits.
std::uint32_t Component(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const unsigned long value = (pixel & mask) >> shift;
  const unsigned long maximum = (1ul << bits) - 1;
  return static_cast<std::uint32_t>(value * 255 / maximum);
}

std::optional<Window> Search(::Display* display, Window window, const std::string& name) {
  char* windowName = nullptr;
  if (XFetchName(display, window, &windowName) && windowName != nullptr) {
    const bool match = name == windowName;
    XFree(windowName);
    if (match) return window;
  }
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return std::nullopt;
  std::optional<Window> found;
  for (unsigned i = 0; i < count && !found; ++i) found = Search(display, children[i], name);
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

bool IsLit(std::uint32_t color) {
  return Channel(color, 16) > LitThreshold || Channel(color, 8) > LitThreshold || Channel(color, 0) > LitThreshold;
}

int CountLit(const Picture& picture, const Area& area) {
  int lit = 0;
  for (int y = std::max(area.top, 0); y < std::min(area.bottom, picture.height); ++y)
    for (int x = std::max(area.left, 0); x < std::min(area.right, picture.width); ++x)
      if (IsLit(picture.at(x, y))) ++lit;
  return lit;
}

std::optional<Area> LitBounds(const Picture& picture) {
  std::optional<Area> bounds;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (!IsLit(picture.at(x, y))) continue;
      if (!bounds) bounds = Area{x, y, x + 1, y + 1};
      bounds->left = std::min(bounds->left, x);
      bounds->top = std::min(bounds->top, y);
      bounds->right = std::max(bounds->right, x + 1);
      bounds->bottom = std::max(bounds->bottom, y + 1);
    }
  }
  return bounds;
}

MeanColor MeanLitColor(const Picture& picture) {
  double red = 0, green = 0, blue = 0;
  long count = 0;
  for (std::uint32_t color : picture.pixels) {
    if (!IsLit(color)) continue;
    red += Channel(color, 16);
    green += Channel(color, 8);
    blue += Channel(color, 0);
    ++count;
  }
  if (count == 0) return {0, 0, 0};
  return {red / count, green / count, blue / count};
}

std::optional<Picture> ReadPng(const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  Picture picture{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = (std::uint32_t{bytes[i * 3]} << 16) | (std::uint32_t{bytes[i * 3 + 1]} << 8) | bytes[i * 3 + 2];
  return picture;
}

std::optional<Picture> GrabWindow(::Display* display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return std::nullopt;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr) return std::nullopt;
  Picture picture{attributes.width, attributes.height, {}};
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      picture.pixels[static_cast<size_t>(y) * picture.width + x] = (Component(pixel, image->red_mask) << 16) |
                                                                   (Component(pixel, image->green_mask) << 8) |
                                                                   Component(pixel, image->blue_mask);
    }
  }
  XDestroyImage(image);
  return picture;
}

std::optional<Window> FindWindowNamed(::Display* display, const std::string& name) {
  return Search(display, DefaultRootWindow(display), name);
}

Area WindowArea(::Display* display, Window window) {
  XWindowAttributes attributes;
  XGetWindowAttributes(display, window, &attributes);
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  return {x, y, x + attributes.width, y + attributes.height};
}

bool PointerInvisible(::Display* display) {
  XFixesCursorImage* cursor = XFixesGetCursorImage(display);
  if (cursor == nullptr) return false;
  bool invisible = true;
  const size_t count = static_cast<size_t>(cursor->width) * cursor->height;
  for (size_t i = 0; i < count; ++i)
    if ((cursor->pixels[i] >> 24) != 0) invisible = false;
  XFree(cursor);
  return invisible;
}

}  // namespace vyn::e2e
