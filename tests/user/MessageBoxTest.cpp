// Message boxes: the text form of a display without dialogs, and the modal
// loop of a display that shows them.
#include <functional>
#include <memory>

#include "WindowFixture.h"

namespace vyn::user::test {
namespace {

using Kind = display::InputEvent::Kind;

// An offscreen screen that also "shows" dialogs: a script decides, on each
// wait of the modal loop, what happens next.
class DialogScreen final : public display::Display {
 public:
  const char* name() const override { return "dialog-test"; }
  int width() const override { return inner.width(); }
  int height() const override { return inner.height(); }
  display::PixelFormat format() const override { return inner.format(); }
  bool systemPalette(PALETTEENTRY (&entries)[256]) const override {
    return inner.systemPalette(entries);
  }
  display::NativeWindow createWindow(const display::WindowOptions& options) override {
    return inner.createWindow(options);
  }
  void showWindow(display::NativeWindow window, bool visible) override {
    inner.showWindow(window, visible);
  }
  void destroyWindow(display::NativeWindow window) override {
    if (window == box) {
      boxOpen = false;
      return;
    }
    inner.destroyWindow(window);
  }
  RECT windowRect(display::NativeWindow window) const override { return inner.windowRect(window); }
  void setPointerVisible(bool visible) override { inner.setPointerVisible(visible); }
  void present(const RECT& rect, const std::uint8_t* pixels, int pitch) override {
    inner.present(rect, pixels, pitch);
  }
  bool nextEvent(display::InputEvent& event) override { return inner.nextEvent(event); }
  std::uint32_t lossGeneration() const override { return inner.lossGeneration(); }

  void waitForEvents(int) override {
    ++waits;
    if (onWait) onWait(*this);
  }
  display::NativeWindow openMessageBox(display::NativeWindow owner, const std::string& caption,
                                       const std::string& text) override {
    boxOwner = owner;
    boxCaption = caption;
    boxText = text;
    boxOpen = true;
    return box;
  }

  void dismissBox() {
    display::InputEvent dismissed{};
    dismissed.kind = Kind::DialogDismissed;
    dismissed.window = box;
    inner.pushEvent(dismissed);
  }

  display::OffscreenDisplay inner{64, 48, 32};
  static constexpr display::NativeWindow box = 999;
  bool boxOpen = false;
  display::NativeWindow boxOwner = display::NoNativeWindow;
  std::string boxCaption, boxText;
  int waits = 0;
  std::function<void(DialogScreen&)> onWait;
};

class MessageBox : public WindowFixture {
 protected:
  DialogScreen& UseDialogScreen() {
    auto owned = std::make_unique<DialogScreen>();
    DialogScreen& dialogs = *owned;
    display::SetActiveDisplay(std::move(owned));
    screen = nullptr;
    return dialogs;
  }
};

TEST_F(MessageBox, WithoutDialogsTheBoxIsOneLineOnStandardError) {
  struct Case {
    const char* text;
    const char* caption;
    const char* line;
  };
  const Case cases[] = {
      {"Could not load Bitmap.", "SCRNSAVE", "SCRNSAVE: Could not load Bitmap.\n"},
      {"two\nlines", "C", "C: two lines\n"},
      {nullptr, nullptr, "Error: \n"},
  };
  RegisterTestClass();
  HWND owner = CreateScreenWindow();
  for (const Case& c : cases) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(owner, c.text, c.caption, MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.line);
  }
}

TEST_F(MessageBox, ModalLoopDispatchesTheOwnersMessagesUntilTheBoxIsClosed) {
  DialogScreen& dialogs = UseDialogScreen();
  RegisterTestClass();
  HWND owner = CreateScreenWindow();
  ShowWindow(owner, SW_SHOW);
  UpdateWindow(owner);
  display::NativeWindow ownerNative = dialogs.inner.windows()[0];
  dialogs.onWait = [&](DialogScreen& d) {
    if (d.waits == 1) PostMessageA(owner, WM_USER, 1, 0);
    if (d.waits == 2) {
      display::InputEvent motion{};
      motion.kind = Kind::Motion;
      motion.window = ownerNative;
      d.inner.pushEvent(motion);
    }
    if (d.waits == 3) d.dismissBox();
  };
  received.clear();
  EXPECT_EQ(MessageBoxA(owner, "Could not load Bitmap.", "SCRNSAVE", MB_OK | MB_ICONERROR), IDOK);
  EXPECT_EQ(dialogs.boxCaption, "SCRNSAVE");
  EXPECT_EQ(dialogs.boxText, "Could not load Bitmap.");
  EXPECT_EQ(dialogs.boxOwner, ownerNative);
  EXPECT_FALSE(dialogs.boxOpen);
  EXPECT_EQ(dialogs.waits, 3);
  EXPECT_EQ(MessagesOf(owner), (std::vector<UINT>{WM_USER, WM_MOUSEMOVE}));
}

TEST_F(MessageBox, QuitDuringTheBoxEndsItAndStaysPendingForTheOuterLoop) {
  DialogScreen& dialogs = UseDialogScreen();
  dialogs.onWait = [](DialogScreen&) { PostQuitMessage(5); };
  EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_OK), IDOK);
  EXPECT_FALSE(dialogs.boxOpen);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, 5u);
}

TEST_F(MessageBox, OwnerDestroyedDuringTheBoxEndsIt) {
  DialogScreen& dialogs = UseDialogScreen();
  RegisterTestClass();
  HWND owner = CreateScreenWindow();
  dialogs.onWait = [owner](DialogScreen&) { PostMessageA(owner, WM_CLOSE, 0, 0); };
  EXPECT_EQ(MessageBoxA(owner, "text", "caption", MB_OK), IDOK);
  EXPECT_FALSE(IsWindow(owner));
  EXPECT_FALSE(dialogs.boxOpen);
  EXPECT_EQ(dialogs.waits, 1);
}

}  // namespace
}  // namespace vyn::user::test
