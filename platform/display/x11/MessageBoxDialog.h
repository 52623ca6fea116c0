// The window of a message box: a title bar with the caption (drawn by us
// when no window manager can decorate it), the text and an OK button.
// Enter, Escape, Space or a click close it.
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace vyn::display::x11 {

class MessageBoxDialog {
 public:
  // `over` is the rectangle (root coordinates) to centre on, `bounds` the
  // monitor it must stay on. An override-redirect box goes above a
  // full-screen window and draws its own title bar.
  MessageBoxDialog(::Display* connection, int screen, Window owner, const XRectangle& over,
                   const XRectangle& bounds, bool overrideRedirect, const std::string& caption,
                   const std::string& text);
  ~MessageBoxDialog();
  MessageBoxDialog(const MessageBoxDialog&) = delete;
  MessageBoxDialog& operator=(const MessageBoxDialog&) = delete;

  Window window() const { return window_; }

  // Handles an event of the box, or a key press that the box takes while it
  // is up; true when it closes the box.
  bool handle(const XEvent& event);

 private:
  void layOut(const XRectangle& over, const XRectangle& bounds);
  void paint();
  unsigned long color(unsigned red, unsigned green, unsigned blue);
  int textWidth(const std::string& line) const;

  ::Display* connection_;
  int screen_;
  Window window_ = None;
  GC gc_ = nullptr;
  XFontStruct* font_ = nullptr;
  Cursor arrow_ = None;
  bool drawsTitle_;
  std::string caption_;
  std::vector<std::string> lines_;
  int x_ = 0, y_ = 0, width_ = 0, height_ = 0, titleHeight_ = 0, lineHeight_ = 0;
  XRectangle button_{};
};

}  // namespace vyn::display::x11
