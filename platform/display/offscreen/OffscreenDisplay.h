// An in-memory screen: the display for tests and for machines without an X
// server. It holds the whole screen as a framebuffer in the display's pixel
// format, keeps windows as recorded rectangles and delivers only the events
// that are pushed into it.
//
// Beyond the Display interface it offers what tests and the run mode need:
// the framebuffer itself, a PNG snapshot of the screen, an event queue to
// push input into, a way to make the screen's surfaces lost, a count of
// presented frames, and a key press delivered after a given number of frames
// (VYN_FRAMES, see DisplaySelection).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "display/Display.h"

namespace vyn::display {

class OffscreenDisplay final : public Display {
 public:
  static constexpr int DefaultWidth = 1920;
  static constexpr int DefaultHeight = 1080;
  static constexpr int DefaultBitsPerPixel = 32;
  static constexpr unsigned EscapeKey = 0x1B;  // VK_ESCAPE

  // bitsPerPixel is 8, 16, 24 or 32; width and height at least 1. The screen
  // starts black (all zero).
  OffscreenDisplay(int width = DefaultWidth, int height = DefaultHeight,
                   int bitsPerPixel = DefaultBitsPerPixel);

  const char* name() const override { return "offscreen"; }
  int width() const override { return width_; }
  int height() const override { return height_; }
  PixelFormat format() const override { return format_; }
  bool systemPalette(PALETTEENTRY (&entries)[256]) const override;

  NativeWindow createWindow(const WindowOptions& options) override;
  void showWindow(NativeWindow window, bool visible) override;
  void destroyWindow(NativeWindow window) override;
  RECT windowRect(NativeWindow window) const override;
  void setPointerVisible(bool visible) override { pointerVisible_ = visible; }

  // Copies the pixels into the framebuffer (clipped to the screen again, so a
  // careless caller cannot write outside it) and counts one presented frame,
  // even for an empty rectangle.
  void present(const RECT& screenRect, const std::uint8_t* pixels, int pitch) override;
  // Writes the pixel value into the framebuffer in place. A fill of zero
  // bytes on a screen that nothing has drawn on yet writes nothing: the
  // framebuffer starts zero, and its pages stay untouched until drawn on.
  void fill(const RECT& screenRect, std::uint32_t pixel) override;

  bool nextEvent(InputEvent& event) override;
  std::uint32_t lossGeneration() const override { return lossGeneration_; }

  // --- Extras of the offscreen screen ---

  const std::uint8_t* framebuffer() const { return framebuffer_.get(); }
  int framebufferPitch() const { return pitch_; }
  // The raw pixel value at (x, y): a palette index for 8 bits per pixel.
  std::uint32_t pixel(int x, int y) const;
  // The colour at (x, y) as 0x00RRGGBB, through the system palette on 8 bits.
  std::uint32_t colorAt(int x, int y) const;

  // Writes the whole screen as an 8-bit RGB PNG file; false (with a line on
  // standard error) when the file cannot be written.
  bool savePng(const std::string& path) const;

  // Input for the window layer to read through nextEvent.
  void pushEvent(const InputEvent& event) { events_.push_back(event); }

  // Moves lossGeneration: every surface of the screen is lost from now on
  // until it is restored (as after a display mode change).
  void loseSurfaces() { ++lossGeneration_; }

  int presentCount() const { return presentCount_; }
  RECT lastPresentRect() const { return lastPresentRect_; }

  // After `frames` more presented frames, one KeyDown of keyCode goes to the
  // window presented to (the newest visible window overlapping the presented
  // rectangle, else the newest window). frames <= 0 cancels.
  void pressKeyAfterFrames(int frames, unsigned keyCode = EscapeKey);

  // The windows the display knows, oldest first, and their state.
  std::vector<NativeWindow> windows() const;
  bool isWindowVisible(NativeWindow window) const;
  std::string windowTitle(NativeWindow window) const;
  // Moves a window, as a window manager or a hosting saver framework would.
  void moveWindow(NativeWindow window, const RECT& screenRect);
  bool pointerVisible() const { return pointerVisible_; }

 private:
  struct Window {
    RECT rect;
    bool visible;
    bool fullScreenPopup;
    std::string title;
  };

  NativeWindow windowPresentedTo(const RECT& screenRect) const;
  // The bookkeeping of one presented frame: the count, the rectangle and the
  // key press that VYN_FRAMES asked for.
  void countPresent(const RECT& screenRect);

  struct FreeMemory {
    void operator()(std::uint8_t* memory) const;
  };

  int width_;
  int height_;
  PixelFormat format_;
  int pitch_;
  // Zeroed by the system as it is first touched (calloc), so a large screen
  // costs only what is drawn on it.
  std::unique_ptr<std::uint8_t[], FreeMemory> framebuffer_;
  bool blank_ = true;  // nothing but zero bytes written since creation
  PALETTEENTRY palette_[256];  // used on 8 bits per pixel
  std::map<NativeWindow, Window> windows_;  // ids grow, so oldest first
  NativeWindow nextWindow_ = 1;
  std::deque<InputEvent> events_;
  std::uint32_t lossGeneration_ = 0;
  int presentCount_ = 0;
  RECT lastPresentRect_{};
  int keyPressAtFrame_ = 0;  // presentCount_ value that triggers it; 0 = none
  unsigned keyPressCode_ = EscapeKey;
  bool pointerVisible_ = true;
};

}  // namespace vyn::display
