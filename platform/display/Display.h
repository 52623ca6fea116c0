// "The screen": the one abstraction that DirectDraw, GDI and the window calls
// draw on. Two backends implement it: an in-memory offscreen screen (tests and
// machines without an X server) and X11.
//
// Coordinates are Windows screen coordinates: (0, 0) is the top-left corner of
// the primary monitor.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "kernel/Win32Types.h"

namespace vyn::display {

// Layout of one pixel in memory (little-endian). For 8 bits per pixel the
// masks are 0 and a pixel is an index into the system palette.
struct PixelFormat {
  int bitsPerPixel;  // 8, 16, 24 or 32
  std::uint32_t redMask;
  std::uint32_t greenMask;
  std::uint32_t blueMask;

  int bytesPerPixel() const { return bitsPerPixel / 8; }
  friend bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

PixelFormat FormatForDepth(int bitsPerPixel);  // 8; 16 = 5-6-5; 24 and 32 = 8-8-8

// A top-level window on the display, as the display backend knows it.
using NativeWindow = std::uint64_t;
inline constexpr NativeWindow NoNativeWindow = 0;

struct WindowOptions {
  RECT screenRect;            // outer rectangle in screen coordinates
  bool fullScreenPopup;       // borderless, above everything, takes keyboard and pointer
  std::string title;
};

// Input and window-manager events, in the display's own terms; the window
// layer turns them into window messages.
struct InputEvent {
  // DialogDismissed: the user closed a message box (Enter, Escape, Space or
  // a click); `window` is the box.
  enum class Kind { KeyDown, ButtonDown, Wheel, Motion, CloseRequest, DialogDismissed };
  Kind kind;
  NativeWindow window;
  unsigned keyCode = 0;   // Windows virtual-key code for KeyDown
  bool altHeld = false;   // KeyDown with Alt: WM_SYSKEYDOWN
  int button = 0;         // 1 left, 2 middle, 3 right
  int wheelDelta = 0;     // multiples of 120, positive away from the user
  int x = 0;              // client coordinates for pointer events
  int y = 0;
};

class Display {
 public:
  virtual ~Display() = default;

  virtual const char* name() const = 0;  // "offscreen", "x11"
  virtual int width() const = 0;         // of the primary monitor
  virtual int height() const = 0;
  virtual PixelFormat format() const = 0;
  // The 256 system palette entries of an 8-bit display; false otherwise.
  virtual bool systemPalette(PALETTEENTRY (&entries)[256]) const = 0;

  virtual NativeWindow createWindow(const WindowOptions& options) = 0;
  virtual void showWindow(NativeWindow window, bool visible) = 0;
  virtual void destroyWindow(NativeWindow window) = 0;
  // Outer rectangle of a window in screen coordinates (it may differ from the
  // one asked for, for instance inside XScreenSaver's window).
  virtual RECT windowRect(NativeWindow window) const = 0;
  virtual void setPointerVisible(bool visible) = 0;

  // Puts pixels (in format()) onto the screen at screenRect, which the caller
  // has clipped to the screen. `pitch` is the distance between rows in bytes.
  // DirectDraw calls it once per blit to the primary surface, so one call is
  // one frame; the rectangle is empty when nothing of the frame is visible or
  // nothing changed since the last one.
  virtual void present(const RECT& screenRect, const std::uint8_t* pixels, int pitch) = 0;

  // Paints screenRect, which the caller has clipped to the screen, in one
  // pixel value of format(), as a window's background brush does; it counts
  // as a present. The default builds the rows and presents them; a backend
  // that can fill in place does so without the screen-sized copy.
  virtual void fill(const RECT& screenRect, std::uint32_t pixel);

  // Takes the next pending event without waiting; false when there is none.
  virtual bool nextEvent(InputEvent& event) = 0;

  // Waits until an event may be pending, at most `timeoutMilliseconds`; a
  // signal may end the wait early. Modal loops call it so as not to spin.
  virtual void waitForEvents(int timeoutMilliseconds) { (void)timeoutMilliseconds; }

  // Opens a message box: a dialog with `caption` as its title, the text and
  // an OK button, centred over `owner` (or the screen), above it. Closing it
  // arrives as a DialogDismissed event. NoNativeWindow when this display
  // shows no dialogs; the window layer then reports the box in text.
  virtual NativeWindow openMessageBox(NativeWindow owner, const std::string& caption,
                                      const std::string& text) {
    (void)owner, (void)caption, (void)text;
    return NoNativeWindow;
  }

  // Surfaces of the screen are lost when this count moves (a mode change, a
  // test asking for it): DirectDraw compares it with the count it saw.
  virtual std::uint32_t lossGeneration() const = 0;

  // Whether a present waits for the screen's next refresh, so that a frame
  // has a whole refresh period to be drawn in.
  virtual bool pacesPresents() const { return false; }
};

// The display of this process, chosen once on first use: the offscreen
// display when VYN_DISPLAY asks for it ("offscreen" or
// "offscreen:WIDTHxHEIGHTxBITS") or when no X display can be opened; X11
// otherwise.
Display& ActiveDisplay();

// Whether a display is active and paces its presents; chooses no display.
bool ActiveDisplayPacesPresents();

// Tests: replace the active display (null returns to the automatic choice).
void SetActiveDisplay(std::unique_ptr<Display> display);

}  // namespace vyn::display
