#include "display/x11/MessageBoxDialog.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

#include <algorithm>

namespace vyn::display::x11 {
namespace {

constexpr int Padding = 16;
constexpr int MinimumWidth = 220;
constexpr int ButtonWidth = 80;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') lines.emplace_back();
    else if (c != '\r') lines.back() += c;
  }
  return lines;
}

bool ClosesTheBox(KeySym symbol) {
  return symbol == XK_Return || symbol == XK_KP_Enter || symbol == XK_Escape || symbol == XK_space;
}

}  // namespace

MessageBoxDialog::MessageBoxDialog(::Display* connection, int screen, Window owner,
                                   const XRectangle& over, const XRectangle& bounds,
                                   bool overrideRedirect, const std::string& caption,
                                   const std::string& text)
    : connection_(connection), screen_(screen), drawsTitle_(overrideRedirect), caption_(caption),
      lines_(SplitLines(text)) {
  font_ = XLoadQueryFont(connection_, "fixed");
  if (font_ == nullptr) font_ = XQueryFont(connection_, XGContextFromGC(DefaultGC(connection_, screen_)));
  lineHeight_ = font_ != nullptr ? font_->ascent + font_->descent : 13;
  layOut(over, bounds);

  XSetWindowAttributes attributes{};
  attributes.background_pixel = color(0xC0, 0xC0, 0xC0);
  attributes.border_pixel = color(0, 0, 0);
  attributes.override_redirect = overrideRedirect ? True : False;
  attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | StructureNotifyMask;
  arrow_ = XCreateFontCursor(connection_, XC_left_ptr);
  attributes.cursor = arrow_;
  window_ = XCreateWindow(connection_, RootWindow(connection_, screen_), x_, y_,
                          static_cast<unsigned>(width_), static_cast<unsigned>(height_), 1,
                          CopyFromParent, InputOutput, CopyFromParent,
                          CWBackPixel | CWBorderPixel | CWOverrideRedirect | CWEventMask | CWCursor,
                          &attributes);
  XStoreName(connection_, window_, caption_.c_str());
  Atom utf8 = XInternAtom(connection_, "UTF8_STRING", False);
  XChangeProperty(connection_, window_, XInternAtom(connection_, "_NET_WM_NAME", False), utf8, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(caption_.data()),
                  static_cast<int>(caption_.size()));
  Atom dialogType = XInternAtom(connection_, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  XChangeProperty(connection_, window_, XInternAtom(connection_, "_NET_WM_WINDOW_TYPE", False),
                  XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&dialogType), 1);
  if (owner != None) XSetTransientForHint(connection_, window_, owner);
  XSizeHints* size = XAllocSizeHints();
  size->flags = PPosition | PMinSize | PMaxSize;
  size->min_width = size->max_width = width_;
  size->min_height = size->max_height = height_;
  size->x = x_;
  size->y = y_;
  XSetWMNormalHints(connection_, window_, size);
  XFree(size);

  gc_ = XCreateGC(connection_, window_, 0, nullptr);
  if (font_ != nullptr) XSetFont(connection_, gc_, font_->fid);
  XMapRaised(connection_, window_);
  XFlush(connection_);
}

MessageBoxDialog::~MessageBoxDialog() {
  if (gc_ != nullptr) XFreeGC(connection_, gc_);
  if (window_ != None) XDestroyWindow(connection_, window_);
  if (arrow_ != None) XFreeCursor(connection_, arrow_);
  if (font_ != nullptr) XFreeFont(connection_, font_);
  XFlush(connection_);
}

int MessageBoxDialog::textWidth(const std::string& line) const {
  if (font_ == nullptr) return static_cast<int>(line.size()) * 6;
  return XTextWidth(font_, line.data(), static_cast<int>(line.size()));
}

// Sizes the box for its text and centres it on `over`, inside `bounds`.
void MessageBoxDialog::layOut(const XRectangle& over, const XRectangle& bounds) {
  int textWide = textWidth(caption_) + 2 * Padding;
  for (const std::string& line : lines_) textWide = std::max(textWide, textWidth(line));
  titleHeight_ = drawsTitle_ ? lineHeight_ + 8 : 0;
  int buttonHeight = lineHeight_ + 10;
  width_ = std::min(std::max(MinimumWidth, textWide + 2 * Padding), static_cast<int>(bounds.width));
  int textHeight = static_cast<int>(lines_.size()) * lineHeight_;
  height_ = std::min(titleHeight_ + Padding + textHeight + Padding + buttonHeight + Padding,
                     static_cast<int>(bounds.height));
  button_ = XRectangle{static_cast<short>((width_ - ButtonWidth) / 2),
                       static_cast<short>(height_ - Padding - buttonHeight),
                       static_cast<unsigned short>(ButtonWidth),
                       static_cast<unsigned short>(buttonHeight)};
  int x = over.x + (over.width - width_) / 2;
  int y = over.y + (over.height - height_) / 2;
  x_ = std::clamp(x, static_cast<int>(bounds.x), std::max<int>(bounds.x, bounds.x + bounds.width - width_));
  y_ = std::clamp(y, static_cast<int>(bounds.y), std::max<int>(bounds.y, bounds.y + bounds.height - height_));
}

unsigned long MessageBoxDialog::color(unsigned red, unsigned green, unsigned blue) {
  XColor wanted{};
  wanted.red = static_cast<unsigned short>(red * 257);
  wanted.green = static_cast<unsigned short>(green * 257);
  wanted.blue = static_cast<unsigned short>(blue * 257);
  wanted.flags = DoRed | DoGreen | DoBlue;
  if (XAllocColor(connection_, DefaultColormap(connection_, screen_), &wanted)) return wanted.pixel;
  return red + green + blue > 384 ? WhitePixel(connection_, screen_) : BlackPixel(connection_, screen_);
}

void MessageBoxDialog::paint() {
  int ascent = font_ != nullptr ? font_->ascent : 10;
  if (drawsTitle_) {
    XSetForeground(connection_, gc_, color(0x00, 0x00, 0x80));
    XFillRectangle(connection_, window_, gc_, 0, 0, static_cast<unsigned>(width_),
                   static_cast<unsigned>(titleHeight_));
    XSetForeground(connection_, gc_, color(0xFF, 0xFF, 0xFF));
    XDrawString(connection_, window_, gc_, 6, 4 + ascent, caption_.data(),
                static_cast<int>(caption_.size()));
  }
  XSetForeground(connection_, gc_, color(0, 0, 0));
  int y = titleHeight_ + Padding + ascent;
  for (const std::string& line : lines_) {
    XDrawString(connection_, window_, gc_, Padding, y, line.data(), static_cast<int>(line.size()));
    y += lineHeight_;
  }
  // The OK button, raised as on Windows: light top-left, dark bottom-right.
  const XRectangle& b = button_;
  XDrawRectangle(connection_, window_, gc_, b.x, b.y, b.width, b.height);
  XSetForeground(connection_, gc_, color(0xFF, 0xFF, 0xFF));
  XDrawLine(connection_, window_, gc_, b.x + 1, b.y + 1, b.x + b.width - 2, b.y + 1);
  XDrawLine(connection_, window_, gc_, b.x + 1, b.y + 1, b.x + 1, b.y + b.height - 2);
  XSetForeground(connection_, gc_, color(0x80, 0x80, 0x80));
  XDrawLine(connection_, window_, gc_, b.x + 1, b.y + b.height - 1, b.x + b.width - 1, b.y + b.height - 1);
  XDrawLine(connection_, window_, gc_, b.x + b.width - 1, b.y + 1, b.x + b.width - 1, b.y + b.height - 1);
  XSetForeground(connection_, gc_, color(0, 0, 0));
  const std::string ok = "OK";
  XDrawString(connection_, window_, gc_, b.x + (b.width - textWidth(ok)) / 2,
              b.y + (b.height - lineHeight_) / 2 + ascent, ok.data(), static_cast<int>(ok.size()));
  XFlush(connection_);
}

bool MessageBoxDialog::handle(const XEvent& event) {
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) paint();
      return false;
    case KeyPress: {
      XKeyEvent key = event.xkey;
      return ClosesTheBox(XLookupKeysym(&key, 0));
    }
    case ButtonPress:
      return event.xbutton.window == window_ && event.xbutton.button >= 1 && event.xbutton.button <= 3;
    default:
      return false;
  }
}

}  // namespace vyn::display::x11
