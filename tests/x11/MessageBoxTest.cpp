// The message box on X: a modal dialog over its owner, closed by Enter,
// Escape, Space or a click, while the owner's messages keep being dispatched.
#include "X11Fixture.h"

#include <X11/Xutil.h>

#include <cstdlib>

namespace vyn::x11test {
namespace {

struct DialogSeen {
  bool found = false;
  int x = 0, y = 0, width = 0, height = 0;
  std::uint32_t titleColor = 0, bodyColor = 0;
  int darkTextPixels = 0;
};

class MessageBox : public X11Fixture {
 protected:
  // The top-level window titled `caption`, as another client sees it.
  DialogSeen FindDialog(const char* caption) {
    DialogSeen seen;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    XQueryTree(observer, DefaultRootWindow(observer), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && !seen.found; ++i) {
      char* name = nullptr;
      XWindowAttributes attributes{};
      if (!XFetchName(observer, children[i], &name) || name == nullptr) continue;
      bool match = std::string(name) == caption;
      XFree(name);
      if (!match || !XGetWindowAttributes(observer, children[i], &attributes) ||
          attributes.map_state != IsViewable)
        continue;
      seen = DialogSeen{true, attributes.x, attributes.y, attributes.width, attributes.height};
      XImage* image = XGetImage(observer, children[i], 0, 0, attributes.width, attributes.height,
                                AllPlanes, ZPixmap);
      if (image == nullptr) continue;
      seen.titleColor = PixelColor(image, 2, 2);
      seen.bodyColor = PixelColor(image, 2, attributes.height - 3);
      for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x) seen.darkTextPixels += PixelColor(image, x, y) == 0;
      XDestroyImage(image);
    }
    if (children != nullptr) XFree(children);
    return seen;
  }
};

TEST_F(MessageBox, DialogShowsOverTheOwnerAndEachWayOfClosingItWorks) {
  const char* closers[] = {"key Return", "key Escape", "key space", "mousemove 320 240 click 1"};
  OpenDisplay();
  HWND owner = OpenScreenWindow();
  ShowCursor(FALSE);
  for (const char* closer : closers) {
    SCOPED_TRACE(closer);
    // The owner keeps a message posted to itself: each one dispatched while
    // the box is up is counted, and the first also looks at the box.
    int dispatchedDuringBox = 0;
    DialogSeen seen;
    bool closing = false;
    answer = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT&) {
      // As the saver does: input that reached the owner would end it.
      if (message == WM_KEYDOWN || message == WM_LBUTTONDOWN) DestroyWindow(hwnd);
      if (message != WM_USER) return false;
      ++dispatchedDuringBox;
      // The box is drawn when its Expose comes round: look until it shows.
      bool painted = seen.found && seen.titleColor == 0x000080u && seen.darkTextPixels > 50;
      if (!painted && !closing) seen = FindDialog("SCRNSAVE");
      painted = seen.found && seen.titleColor == 0x000080u && seen.darkTextPixels > 50;
      if ((painted || dispatchedDuringBox > 2000) && !closing) {
        closing = true;
        EXPECT_TRUE(Run(std::string(closer)));
      }
      if (dispatchedDuringBox < 100000) PostMessageA(hwnd, WM_USER, 0, 0);
      return true;
    };
    PostMessageA(owner, WM_USER, 0, 0);
    EXPECT_EQ(MessageBoxA(owner, "Could not load Bitmap.", "SCRNSAVE", MB_OK | MB_ICONERROR), IDOK);
    answer = nullptr;
    MSG leftover;
    while (PeekMessageA(&leftover, nullptr, 0, 0, PM_REMOVE)) {
    }

    ASSERT_TRUE(seen.found);
    EXPECT_GT(dispatchedDuringBox, 1);
    EXPECT_TRUE(IsWindow(owner));  // the closing key or click did not reach the saver
    // Centred on the full-screen owner (one pixel of border on each side).
    EXPECT_NEAR(seen.x + seen.width / 2.0 + 1, ScreenWidth / 2.0, 1.0);
    EXPECT_NEAR(seen.y + seen.height / 2.0 + 1, ScreenHeight / 2.0, 1.0);
    EXPECT_EQ(seen.titleColor, 0x000080u);  // its own title bar
    EXPECT_EQ(seen.bodyColor, 0xC0C0C0u);
    EXPECT_GT(seen.darkTextPixels, 50);     // text and button drawn in black
    EXPECT_FALSE(FindDialog("SCRNSAVE").found);
  }
}

TEST_F(MessageBox, QuitPostedWhileTheBoxIsUpEndsItAndReachesTheOuterLoop) {
  OpenDisplay();
  HWND owner = OpenScreenWindow();
  answer = [](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_USER) PostQuitMessage(4);
    return message == WM_USER;
  };
  PostMessageA(owner, WM_USER, 0, 0);
  EXPECT_EQ(MessageBoxA(owner, "text", "Quit", MB_OK), IDOK);
  EXPECT_FALSE(FindDialog("Quit").found);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, 4u);
}

}  // namespace
}  // namespace vyn::x11test
