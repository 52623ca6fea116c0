#include "display/x11/X11Display.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xpresent.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "display/x11/ErrorTrap.h"
#include "display/x11/KeyTranslation.h"
#include "display/x11/VisualFormat.h"

namespace vyn::display::x11 {
namespace {

constexpr long WindowEvents = KeyPressMask | ButtonPressMask | PointerMotionMask | ExposureMask |
                              StructureNotifyMask;
// Another client (a screen locker, a menu) may hold a grab for a moment.
constexpr int GrabAttempts = 50;
constexpr auto GrabRetryDelay = std::chrono::milliseconds(20);
constexpr unsigned NoVirtualKey = 0xFF;  // a key Windows has no code for

// XSCREENSAVER_WINDOW: the window id, decimal or 0x-hex; None when unset or
// not a number.
Window HostWindowFromEnvironment() {
  const char* value = std::getenv("XSCREENSAVER_WINDOW");
  if (value == nullptr || *value == '\0') return None;
  char* end = nullptr;
  unsigned long id = std::strtoul(value, &end, 0);
  if (end == value || *end != '\0') return None;
  return static_cast<Window>(id);
}

Monitor HostArea(::Display* connection, Window host, double refreshRate) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(connection, host, &attributes);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(connection, host, attributes.root, 0, 0, &x, &y, &child);
  return Monitor{x, y, attributes.width, attributes.height, refreshRate};
}

Cursor MakeBlankCursor(::Display* connection, Window root) {
  static const char empty[1] = {0};
  Pixmap bitmap = XCreateBitmapFromData(connection, root, empty, 1, 1);
  XColor black{};
  Cursor cursor = XCreatePixmapCursor(connection, bitmap, bitmap, &black, &black, 0, 0);
  XFreePixmap(connection, bitmap);
  return cursor;
}

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

std::unique_ptr<Display> OpenX11Display(const char* name, std::string* problem) {
  auto fail = [problem](const std::string& why) -> std::unique_ptr<Display> {
    if (problem != nullptr) *problem = why;
    return nullptr;
  };
  ::Display* connection = XOpenDisplay(name);
  if (connection == nullptr) return fail("cannot open the X display");
  InstallErrorHandler();
  std::optional<PixelFormat> format = DefaultVisualFormat(connection, DefaultScreen(connection));
  if (!format) {
    XCloseDisplay(connection);
    return fail("the X screen's default visual is not a 16, 24 or 32 bit TrueColor visual");
  }
  Window host = HostWindowFromEnvironment();
  if (host != None) {
    ErrorTrap trap(connection);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(connection, host, &attributes) || trap.failed()) {
      std::fprintf(stderr, "vyn: XSCREENSAVER_WINDOW names no window; opening a window of its own\n");
      host = None;
    }
  }
  auto display = std::make_unique<X11Display>(connection, *format, host);
  if (!display->ready()) return fail("no memory for an image of the X screen");
  return display;
}

X11Display::X11Display(::Display* connection, const PixelFormat& format, Window host)
    : connection_(connection),
      screen_(DefaultScreen(connection)),
      root_(RootWindow(connection, screen_)),
      host_(host),
      monitor_(FindPrimaryMonitor(connection, screen_)),
      format_(format),
      gc_(DefaultGC(connection, screen_)),
      pacer_(connection, monitor_.refreshRate),
      blankCursor_(MakeBlankCursor(connection, root_)),
      wmProtocols_(XInternAtom(connection, "WM_PROTOCOLS", False)),
      wmDeleteWindow_(XInternAtom(connection, "WM_DELETE_WINDOW", False)) {
  if (host_ != None) monitor_ = HostArea(connection_, host_, monitor_.refreshRate);
  presentationEvents_.shmCompletion = XShmGetEventBase(connection_) + ShmCompletion;
  int presentEvent, presentError;
  if (!XPresentQueryExtension(connection_, &presentationEvents_.presentOpcode, &presentEvent,
                              &presentError))
    presentationEvents_.presentOpcode = -1;
  image_ = std::make_unique<ScreenImage>(connection_, screen_, std::max(monitor_.width, 1),
                                         std::max(monitor_.height, 1), format_);
}

X11Display::~X11Display() {
  dialog_.reset();
  for (auto& [xid, record] : windows_) {
    releaseInput(record);
    if (record.foreign) XSelectInput(connection_, xid, NoEventMask);
    else XDestroyWindow(connection_, xid);
  }
  image_.reset();
  XFreeCursor(connection_, blankCursor_);
  XCloseDisplay(connection_);
}

X11Display::NativeRecord* X11Display::find(Window xid) {
  auto it = windows_.find(xid);
  return it == windows_.end() ? nullptr : &it->second;
}

XRectangle X11Display::rootRect(const RECT& r) const {
  return XRectangle{static_cast<short>(r.left + monitor_.x), static_cast<short>(r.top + monitor_.y),
                    static_cast<unsigned short>(std::max<LONG>(r.right - r.left, 1)),
                    static_cast<unsigned short>(std::max<LONG>(r.bottom - r.top, 1))};
}

NativeWindow X11Display::createWindow(const WindowOptions& options) {
  // Inside XScreenSaver the saver draws into the window it was given, which
  // is the whole screen there.
  if (options.fullScreenPopup && host_ != None && find(host_) == nullptr) {
    XSelectInput(connection_, host_, ExposureMask | StructureNotifyMask);
    RECT area{0, 0, monitor_.width, monitor_.height};
    windows_.emplace(host_, NativeRecord{host_, area, true, true});
    return host_;
  }
  RECT rect = options.screenRect;
  if (options.fullScreenPopup) rect = RECT{0, 0, monitor_.width, monitor_.height};
  XRectangle at = rootRect(rect);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(connection_, screen_);
  attributes.override_redirect = options.fullScreenPopup ? True : False;
  attributes.event_mask = WindowEvents;
  Window xid = XCreateWindow(connection_, root_, at.x, at.y, at.width, at.height, 0, CopyFromParent,
                             InputOutput, CopyFromParent,
                             CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
  XStoreName(connection_, xid, options.title.c_str());
  XClassHint classHint{const_cast<char*>("vyn"), const_cast<char*>("vyn")};
  XSetClassHint(connection_, xid, &classHint);
  XSetWMProtocols(connection_, xid, &wmDeleteWindow_, 1);
  XSizeHints* size = XAllocSizeHints();
  size->flags = USPosition | USSize;
  size->x = at.x;
  size->y = at.y;
  size->width = at.width;
  size->height = at.height;
  XSetWMNormalHints(connection_, xid, size);
  XFree(size);
  NativeRecord& record =
      windows_.emplace(xid, NativeRecord{xid, rect, options.fullScreenPopup, false}).first->second;
  applyPointer(record);
  XFlush(connection_);
  return xid;
}

void X11Display::waitUntilMapped(Window xid) {
  XEvent event;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (XCheckTypedWindowEvent(connection_, xid, MapNotify, &event)) return;
    pollfd descriptor{ConnectionNumber(connection_), POLLIN, 0};
    poll(&descriptor, 1, 10);
  }
}

// A screen saver takes every key and click, whatever window they were for.
void X11Display::grabInput(NativeRecord& record) {
  bool keyboard = false, pointer = false;
  for (int attempt = 0; attempt < GrabAttempts && !(keyboard && pointer); ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(GrabRetryDelay);
    if (!keyboard)
      keyboard = XGrabKeyboard(connection_, record.xid, True, GrabModeAsync, GrabModeAsync,
                               CurrentTime) == GrabSuccess;
    // No cursor of its own: the window's (hidden or not) shows during the grab.
    if (!pointer)
      pointer = XGrabPointer(connection_, record.xid, True, ButtonPressMask | PointerMotionMask,
                             GrabModeAsync, GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
  }
  if (!keyboard || !pointer)
    std::fprintf(stderr, "vyn: could not take the %s; another program holds it\n",
                 keyboard ? "pointer" : "keyboard");
  record.grabbed = keyboard || pointer;
  XSetInputFocus(connection_, record.xid, RevertToParent, CurrentTime);
  XFlush(connection_);
}

void X11Display::releaseInput(NativeRecord& record) {
  if (!record.grabbed) return;
  record.grabbed = false;
  XUngrabKeyboard(connection_, CurrentTime);
  XUngrabPointer(connection_, CurrentTime);
  XSync(connection_, False);  // given back before the call returns
}

void X11Display::showWindow(NativeWindow window, bool visible) {
  NativeRecord* record = find(static_cast<Window>(window));
  if (record == nullptr || record->visible == visible) return;
  record->visible = visible;
  if (record->foreign) {
    pacer_.follow(visible ? record->xid : None);
    return;
  }
  if (visible) {
    XMapRaised(connection_, record->xid);
    XFlush(connection_);
    waitUntilMapped(record->xid);
    if (record->fullScreen) grabInput(*record);
    pacer_.follow(record->xid);
  } else {
    releaseInput(*record);
    XUnmapWindow(connection_, record->xid);
    XFlush(connection_);
  }
}

void X11Display::destroyWindow(NativeWindow window) {
  auto xid = static_cast<Window>(window);
  if (dialog_ && dialog_->window() == xid) {
    dialog_.reset();
    dialogOwner_ = None;
    return;
  }
  NativeRecord* record = find(xid);
  if (record == nullptr) return;
  releaseInput(*record);
  if (record->foreign) {
    XSelectInput(connection_, xid, NoEventMask);
  } else {
    XDestroyWindow(connection_, xid);
  }
  windows_.erase(xid);
  pacer_.follow(None);
  for (auto& [other, rest] : windows_)
    if (rest.visible) pacer_.follow(other);
  XFlush(connection_);
}

RECT X11Display::windowRect(NativeWindow window) const {
  auto it = windows_.find(static_cast<Window>(window));
  return it == windows_.end() ? RECT{} : it->second.rect;
}

// The pointer is hidden with an empty cursor on our own windows only; the
// window XScreenSaver lends is left as it is.
void X11Display::applyPointer(const NativeRecord& record) {
  if (record.foreign) return;
  if (pointerVisible_) XUndefineCursor(connection_, record.xid);
  else XDefineCursor(connection_, record.xid, blankCursor_);
}

void X11Display::setPointerVisible(bool visible) {
  pointerVisible_ = visible;
  for (auto& [xid, record] : windows_) applyPointer(record);
  XSync(connection_, False);  // in effect before ShowCursor returns
}

void X11Display::present(const RECT& screenRect, const std::uint8_t* pixels, int pitch) {
  if (!image_ || !image_->valid()) return;
  RECT area = Intersect(screenRect, RECT{0, 0, monitor_.width, monitor_.height});
  if (IsEmpty(area) || pixels == nullptr) {
    // A frame that changed nothing still takes its refresh: the caller's
    // loop is paced by presents, and would spin on unchanged frames.
    if (std::any_of(windows_.begin(), windows_.end(), [](const auto& entry) { return entry.second.visible; }))
      pacer_.waitForRefresh();
    return;
  }
  const std::uint8_t* first = pixels + static_cast<std::ptrdiff_t>(area.top - screenRect.top) * pitch +
                              static_cast<std::ptrdiff_t>(area.left - screenRect.left) * format_.bytesPerPixel();
  image_->write(area, first, pitch);
  bool shown = false;
  for (auto& [xid, record] : windows_) {
    if (!record.visible) continue;
    RECT part = Intersect(area, record.rect);
    if (IsEmpty(part)) continue;
    image_->put(xid, gc_, part, part.left - record.rect.left, part.top - record.rect.top);
    shown = true;
  }
  if (shown) pacer_.waitForRefresh();
}

void X11Display::repaint(const NativeRecord& record, const RECT& windowArea) {
  RECT area{windowArea.left + record.rect.left, windowArea.top + record.rect.top,
            windowArea.right + record.rect.left, windowArea.bottom + record.rect.top};
  area = Intersect(Intersect(area, record.rect), RECT{0, 0, monitor_.width, monitor_.height});
  if (IsEmpty(area) || !image_->valid()) return;
  image_->put(record.xid, gc_, area, area.left - record.rect.left, area.top - record.rect.top);
}

void X11Display::updateRect(NativeRecord& record, const XConfigureEvent& configure) {
  if (record.foreign) {
    record.rect = RECT{0, 0, configure.width, configure.height};
    return;
  }
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(connection_, record.xid, root_, 0, 0, &x, &y, &child);
  record.rect = RECT{x - monitor_.x, y - monitor_.y, x - monitor_.x + configure.width,
                     y - monitor_.y + configure.height};
}

// While a message box is up it takes the keys, and the other windows get no
// input, as an owner disabled by a modal box on Windows.
bool X11Display::translateForDialog(XEvent& xevent, InputEvent& event, bool& handled) {
  handled = true;
  Window box = dialog_->window();
  bool forBox = xevent.xany.window == box;
  if (forBox || xevent.type == KeyPress) {
    if (!dialog_->handle(xevent)) return false;
    event = InputEvent{InputEvent::Kind::DialogDismissed, box};
    return true;
  }
  if (xevent.type == ButtonPress || xevent.type == MotionNotify) return false;
  handled = false;
  return false;
}

bool X11Display::translate(XEvent& xevent, InputEvent& event) {
  if (dialog_) {
    bool handled;
    bool produced = translateForDialog(xevent, event, handled);
    if (handled) return produced;
  }
  NativeRecord* record = find(xevent.xany.window);
  if (record == nullptr) return false;
  NativeWindow window = record->xid;
  switch (xevent.type) {
    case KeyPress: {
      KeySym symbol = XLookupKeysym(&xevent.xkey, 0);
      unsigned key = VirtualKeyOf(symbol);
      event = InputEvent{InputEvent::Kind::KeyDown, window};
      event.keyCode = key != 0 ? key : NoVirtualKey;
      event.altHeld = (xevent.xkey.state & Mod1Mask) != 0 || IsAltKey(symbol);
      return true;
    }
    case ButtonPress: {
      unsigned button = xevent.xbutton.button;
      if (button >= 1 && button <= 3) {
        event = InputEvent{InputEvent::Kind::ButtonDown, window};
        event.button = static_cast<int>(button);
      } else if (button == 4 || button == 5) {
        event = InputEvent{InputEvent::Kind::Wheel, window};
        event.wheelDelta = button == 4 ? 120 : -120;  // away from the user is positive
      } else {
        return false;
      }
      event.x = xevent.xbutton.x;
      event.y = xevent.xbutton.y;
      return true;
    }
    case MotionNotify:
      event = InputEvent{InputEvent::Kind::Motion, window};
      event.x = xevent.xmotion.x;
      event.y = xevent.xmotion.y;
      return true;
    case ClientMessage:
      if (xevent.xclient.message_type != wmProtocols_ ||
          static_cast<Atom>(xevent.xclient.data.l[0]) != wmDeleteWindow_)
        return false;
      event = InputEvent{InputEvent::Kind::CloseRequest, window};
      return true;
    case Expose: {
      const XExposeEvent& e = xevent.xexpose;
      repaint(*record, RECT{e.x, e.y, e.x + e.width, e.y + e.height});
      return false;
    }
    case ConfigureNotify:
      updateRect(*record, xevent.xconfigure);
      return false;
    default:
      return false;
  }
}

namespace {

Bool IsNotPresentation(::Display*, XEvent* event, XPointer arg) {
  const auto* kinds = reinterpret_cast<const X11Display::PresentationEvents*>(arg);
  if (event->type == kinds->shmCompletion) return False;
  if (event->type == GenericEvent && event->xcookie.extension == kinds->presentOpcode) return False;
  return True;
}

}  // namespace

bool X11Display::nextEvent(InputEvent& event) {
  // Presentation's replies stay queued for ScreenImage and RefreshPacer:
  // taken here they would be lost, and each wait for them would run into
  // its time-out (a put waits up to a second for its completion).
  XEvent xevent;
  while (XCheckIfEvent(connection_, &xevent, IsNotPresentation,
                       reinterpret_cast<XPointer>(&presentationEvents_))) {
    if (translate(xevent, event)) return true;
  }
  return false;
}

void X11Display::waitForEvents(int timeoutMilliseconds) {
  // A put's completion left queued would count as pending and make a modal
  // loop spin; take it first.
  if (image_) image_->waitUntilRead();
  if (XPending(connection_) > 0) return;
  pollfd descriptor{ConnectionNumber(connection_), POLLIN, 0};
  poll(&descriptor, 1, timeoutMilliseconds);  // a signal ends it early (EINTR)
}

NativeWindow X11Display::openMessageBox(NativeWindow owner, const std::string& caption,
                                        const std::string& text) {
  if (dialog_) return NoNativeWindow;  // one box at a time; a second is reported in text
  NativeRecord* ownerRecord = find(static_cast<Window>(owner));
  bool ownerShown = ownerRecord != nullptr && ownerRecord->visible;
  XRectangle bounds = rootRect(RECT{0, 0, monitor_.width, monitor_.height});
  XRectangle over = ownerShown ? rootRect(ownerRecord->rect) : bounds;
  // Above a full-screen window only an override-redirect window can show.
  bool overrideRedirect = ownerShown && ownerRecord->fullScreen;
  dialog_ = std::make_unique<MessageBoxDialog>(connection_, screen_,
                                               ownerRecord != nullptr ? ownerRecord->xid : None,
                                               over, bounds, overrideRedirect, caption, text);
  dialogOwner_ = ownerRecord != nullptr ? ownerRecord->xid : None;
  waitUntilMapped(dialog_->window());
  if (!(ownerShown && ownerRecord->grabbed))
    XSetInputFocus(connection_, dialog_->window(), RevertToParent, CurrentTime);
  XFlush(connection_);
  return dialog_->window();
}

}  // namespace vyn::display::x11
