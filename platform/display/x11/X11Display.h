// The display of an X server: Windows' screen is the primary monitor (or,
// inside XScreenSaver, the window it hands over in XSCREENSAVER_WINDOW).
// A popup over the whole screen becomes a borderless full-screen window that
// takes the keyboard and the pointer; presenting copies the changed
// rectangle with MIT-SHM (else XPutImage) and waits for the next refresh.
#pragma once

#include <X11/Xlib.h>

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "display/Display.h"
#include "display/x11/MessageBoxDialog.h"
#include "display/x11/PrimaryMonitor.h"
#include "display/x11/RefreshPacer.h"
#include "display/x11/ScreenImage.h"

namespace vyn::display::x11 {

// Opens the X display `name` (null: $DISPLAY); null, with the reason in
// `problem`, when there is none this backend can draw on.
std::unique_ptr<Display> OpenX11Display(const char* name, std::string* problem = nullptr);

class X11Display final : public Display {
 public:
  // Takes the connection; `host` is the window to draw into (XScreenSaver's)
  // or None. Use OpenX11Display.
  X11Display(::Display* connection, const PixelFormat& format, Window host);
  ~X11Display() override;

  const char* name() const override { return "x11"; }
  int width() const override { return monitor_.width; }
  int height() const override { return monitor_.height; }
  PixelFormat format() const override { return format_; }
  bool systemPalette(PALETTEENTRY (&)[256]) const override { return false; }

  NativeWindow createWindow(const WindowOptions& options) override;
  void showWindow(NativeWindow window, bool visible) override;
  void destroyWindow(NativeWindow window) override;
  RECT windowRect(NativeWindow window) const override;
  void setPointerVisible(bool visible) override;
  void present(const RECT& screenRect, const std::uint8_t* pixels, int pitch) override;
  bool nextEvent(InputEvent& event) override;
  void waitForEvents(int timeoutMilliseconds) override;
  NativeWindow openMessageBox(NativeWindow owner, const std::string& caption,
                              const std::string& text) override;
  std::uint32_t lossGeneration() const override { return 0; }
  bool pacesPresents() const override { return pacer_.enabled(); }

  // For tests and diagnostics.
  bool ready() const { return image_ && image_->valid(); }
  ::Display* connection() const { return connection_; }
  bool embedded() const { return host_ != None; }
  bool sharedMemory() const { return image_ && image_->sharedMemory(); }
  bool pacedByPresent() const { return pacer_.usesPresent(); }
  // Refresh waits taken so far, one for each frame presented to a shown window.
  std::uint64_t refreshWaits() const { return pacer_.waits(); }

  // The replies that presentation waits for: the MIT-SHM completion of a put
  // and Present's notifications. The input drain leaves them queued.
  struct PresentationEvents {
    int shmCompletion = -1;
    int presentOpcode = -1;
  };

 private:
  struct NativeRecord {
    Window xid;
    RECT rect;         // screen coordinates
    bool fullScreen;   // override-redirect, grabs the keyboard and the pointer
    bool foreign;      // the host window: never mapped, grabbed or destroyed by us
    bool visible = false;
    bool grabbed = false;
  };

  NativeRecord* find(Window xid);
  void waitUntilMapped(Window xid);
  void grabInput(NativeRecord& record);
  void releaseInput(NativeRecord& record);
  void applyPointer(const NativeRecord& record);
  bool translate(XEvent& xevent, InputEvent& event);
  bool translateForDialog(XEvent& xevent, InputEvent& event, bool& handled);
  void repaint(const NativeRecord& record, const RECT& windowArea);
  void updateRect(NativeRecord& record, const XConfigureEvent& configure);
  XRectangle rootRect(const RECT& screenRect) const;

  ::Display* connection_;
  int screen_;
  Window root_;
  Window host_;
  Monitor monitor_;  // the screen, in root coordinates
  PixelFormat format_;
  std::unique_ptr<ScreenImage> image_;
  GC gc_;
  RefreshPacer pacer_;
  Cursor blankCursor_;
  bool pointerVisible_ = true;
  Atom wmProtocols_, wmDeleteWindow_;
  std::map<Window, NativeRecord> windows_;
  std::unique_ptr<MessageBoxDialog> dialog_;
  Window dialogOwner_ = None;
  PresentationEvents presentationEvents_;
};

}  // namespace vyn::display::x11
