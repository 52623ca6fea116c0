// The screen's pixels on the client side: one image of the whole screen,
// in shared memory (MIT-SHM) when the server can read it there, else in
// ordinary memory sent with XPutImage. Presenting writes into it and puts
// the changed rectangle onto a window; an Expose is repainted from it.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>

#include "display/Display.h"

namespace vyn::display::x11 {

class ScreenImage {
 public:
  // `trySharedMemory` false goes straight to XPutImage (tests use it).
  ScreenImage(::Display* connection, int screen, int width, int height, const PixelFormat& format,
              bool trySharedMemory = true);
  ~ScreenImage();
  ScreenImage(const ScreenImage&) = delete;
  ScreenImage& operator=(const ScreenImage&) = delete;

  bool valid() const { return image_ != nullptr; }
  bool sharedMemory() const { return shared_; }
  std::uint8_t* row(int y);
  int pitch() const { return image_->bytes_per_line; }

  // Copies a rectangle of caller pixels (in the screen's format) into the
  // image; `rect` lies inside the screen.
  void write(const RECT& rect, const std::uint8_t* pixels, int pitch);

  // Puts the image's rectangle `source` onto `window` at (x, y).
  void put(Window window, GC gc, const RECT& source, int x, int y);

  // Waits until the server has read the shared image, so that it may be
  // written again without tearing the picture being copied.
  void waitUntilRead();

 private:
  bool attachShared(int screen, int width, int height);
  void createPlain(int screen, int width, int height);

  ::Display* connection_;
  XImage* image_ = nullptr;
  XShmSegmentInfo segment_{};
  bool shared_ = false;
  bool readPending_ = false;
  int completionEvent_ = 0;
  int bytesPerPixel_;
};

}  // namespace vyn::display::x11
