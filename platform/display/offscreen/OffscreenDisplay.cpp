#include "display/offscreen/OffscreenDisplay.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>

#include "display/offscreen/PngFile.h"
#include "display/offscreen/SystemPalette.h"

namespace vyn::display {
namespace {

bool overlaps(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Widens a pixel channel of `bits` bits to 8 bits.
std::uint32_t widen(std::uint32_t value, int bits) {
  return bits >= 8 ? value : (value << (8 - bits)) | (value >> (2 * bits - 8));
}

}  // namespace

OffscreenDisplay::OffscreenDisplay(int width, int height, int bitsPerPixel)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      format_(FormatForDepth(bitsPerPixel)),
      pitch_(width_ * format_.bytesPerPixel()),
      framebuffer_(static_cast<std::uint8_t*>(
          std::calloc(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(height_), 1))) {
  if (!framebuffer_) throw std::bad_alloc();
  FillDefaultSystemPalette(palette_);
}

void OffscreenDisplay::FreeMemory::operator()(std::uint8_t* memory) const { std::free(memory); }

bool OffscreenDisplay::systemPalette(PALETTEENTRY (&entries)[256]) const {
  if (format_.bitsPerPixel != 8) return false;
  std::copy(std::begin(palette_), std::end(palette_), std::begin(entries));
  return true;
}

NativeWindow OffscreenDisplay::createWindow(const WindowOptions& options) {
  const NativeWindow id = nextWindow_++;
  windows_[id] = Window{options.screenRect, false, options.fullScreenPopup, options.title};
  return id;
}

void OffscreenDisplay::showWindow(NativeWindow window, bool visible) {
  if (auto it = windows_.find(window); it != windows_.end()) it->second.visible = visible;
}

void OffscreenDisplay::destroyWindow(NativeWindow window) { windows_.erase(window); }

RECT OffscreenDisplay::windowRect(NativeWindow window) const {
  auto it = windows_.find(window);
  return it == windows_.end() ? RECT{} : it->second.rect;
}

void OffscreenDisplay::present(const RECT& screenRect, const std::uint8_t* pixels, int pitch) {
  const LONG left = std::max<LONG>(screenRect.left, 0);
  const LONG top = std::max<LONG>(screenRect.top, 0);
  const LONG right = std::min<LONG>(screenRect.right, width_);
  const LONG bottom = std::min<LONG>(screenRect.bottom, height_);
  const int bytes = format_.bytesPerPixel();
  if (pixels != nullptr && left < right && top < bottom) {
    const std::uint8_t* source = pixels + static_cast<std::ptrdiff_t>(top - screenRect.top) * pitch +
                                 static_cast<std::ptrdiff_t>(left - screenRect.left) * bytes;
    const std::size_t rowBytes = static_cast<std::size_t>(right - left) * bytes;
    std::uint8_t* target = framebuffer_.get() + static_cast<std::ptrdiff_t>(top) * pitch_ +
                           static_cast<std::ptrdiff_t>(left) * bytes;
    for (LONG y = top; y < bottom; ++y, source += pitch, target += pitch_)
      std::memcpy(target, source, rowBytes);
    blank_ = false;
  }
  countPresent(screenRect);
}

void OffscreenDisplay::fill(const RECT& screenRect, std::uint32_t pixel) {
  const LONG left = std::max<LONG>(screenRect.left, 0);
  const LONG top = std::max<LONG>(screenRect.top, 0);
  const LONG right = std::min<LONG>(screenRect.right, width_);
  const LONG bottom = std::min<LONG>(screenRect.bottom, height_);
  const int bytes = format_.bytesPerPixel();
  const std::uint32_t used = bytes == 4 ? pixel : pixel & ((1u << (8 * bytes)) - 1);
  if (left < right && top < bottom && !(blank_ && used == 0)) {
    std::uint8_t* first = framebuffer_.get() + static_cast<std::ptrdiff_t>(top) * pitch_ +
                          static_cast<std::ptrdiff_t>(left) * bytes;
    const std::size_t rowBytes = static_cast<std::size_t>(right - left) * bytes;
    for (LONG x = left; x < right; ++x)
      std::memcpy(first + static_cast<std::ptrdiff_t>(x - left) * bytes, &pixel, bytes);  // little-endian
    std::uint8_t* target = first + pitch_;
    for (LONG y = top + 1; y < bottom; ++y, target += pitch_) std::memcpy(target, first, rowBytes);
    blank_ = false;
  }
  countPresent(screenRect);
}

void OffscreenDisplay::countPresent(const RECT& screenRect) {
  ++presentCount_;
  lastPresentRect_ = screenRect;
  if (keyPressAtFrame_ != 0 && presentCount_ == keyPressAtFrame_) {
    keyPressAtFrame_ = 0;
    InputEvent press{InputEvent::Kind::KeyDown, windowPresentedTo(screenRect)};
    press.keyCode = keyPressCode_;
    events_.push_back(press);
  }
}

NativeWindow OffscreenDisplay::windowPresentedTo(const RECT& screenRect) const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
    if (it->second.visible && overlaps(it->second.rect, screenRect)) return it->first;
  return windows_.empty() ? NoNativeWindow : windows_.rbegin()->first;
}

bool OffscreenDisplay::nextEvent(InputEvent& event) {
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  return true;
}

std::uint32_t OffscreenDisplay::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint8_t* at = framebuffer_.get() + static_cast<std::ptrdiff_t>(y) * pitch_ +
                           static_cast<std::ptrdiff_t>(x) * format_.bytesPerPixel();
  std::uint32_t value = 0;
  for (int i = format_.bytesPerPixel() - 1; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

std::uint32_t OffscreenDisplay::colorAt(int x, int y) const {
  const std::uint32_t value = pixel(x, y);
  if (format_.bitsPerPixel == 8) {
    const PALETTEENTRY& e = palette_[value & 0xFF];
    return (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
  }
  if (format_.bitsPerPixel == 16) {
    const std::uint32_t red = widen((value >> 11) & 0x1F, 5);
    const std::uint32_t green = widen((value >> 5) & 0x3F, 6);
    const std::uint32_t blue = widen(value & 0x1F, 5);
    return (red << 16) | (green << 8) | blue;
  }
  return value & 0x00FFFFFF;
}

bool OffscreenDisplay::savePng(const std::string& path) const {
  return WriteRgbPng(path, width_, height_, [this](int y, std::uint32_t* out) {
    for (int x = 0; x < width_; ++x) out[x] = colorAt(x, y);
  });
}

void OffscreenDisplay::pressKeyAfterFrames(int frames, unsigned keyCode) {
  keyPressAtFrame_ = frames > 0 ? presentCount_ + frames : 0;
  keyPressCode_ = keyCode;
}

std::vector<NativeWindow> OffscreenDisplay::windows() const {
  std::vector<NativeWindow> ids;
  for (const auto& [id, window] : windows_) ids.push_back(id);
  return ids;
}

bool OffscreenDisplay::isWindowVisible(NativeWindow window) const {
  auto it = windows_.find(window);
  return it != windows_.end() && it->second.visible;
}

std::string OffscreenDisplay::windowTitle(NativeWindow window) const {
  auto it = windows_.find(window);
  return it == windows_.end() ? std::string() : it->second.title;
}

void OffscreenDisplay::moveWindow(NativeWindow window, const RECT& screenRect) {
  if (auto it = windows_.find(window); it != windows_.end()) it->second.rect = screenRect;
}

}  // namespace vyn::display
