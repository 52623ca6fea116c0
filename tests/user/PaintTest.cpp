// Painting a window with its class background brush.
#include <cstring>

#include "WindowFixture.h"
#include "gdi/Gdi.h"
#include "gdi/StockObjects.h"
#include "user/UserState.h"
#include "user/WindowPainting.h"

namespace vyn::user::test {
namespace {

class Paint : public WindowFixture {
 protected:
  // Fills the whole screen with one raw pixel value so that painting shows.
  void FillScreen(std::uint32_t pixel) {
    int bytes = screen->format().bytesPerPixel();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(ScreenWidth) * ScreenHeight * bytes);
    for (std::size_t i = 0; i < pixels.size(); i += bytes) std::memcpy(&pixels[i], &pixel, bytes);
    screen->present(RECT{0, 0, ScreenWidth, ScreenHeight}, pixels.data(), ScreenWidth * bytes);
  }
  HBRUSH Stock(int index) { return static_cast<HBRUSH>(gdi::StockObjectHandle(index)); }
};

TEST_F(Paint, UpdateWindowPaintsTheWholeWindowWithTheBlackBrush) {
  for (int bits : {32, 24, 16, 8}) {
    SCOPED_TRACE(bits);
    UseScreen(bits);
    FillScreen(bits == 8 ? 255 : 0x00FFFFFF);  // white
    RegisterTestClass(Stock(BLACK_BRUSH));
    HWND window = CreateScreenWindow();
    ShowWindow(window, SW_SHOW);
    received.clear();
    ASSERT_TRUE(UpdateWindow(window));
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[0].message, WM_PAINT);
    EXPECT_EQ(received[1].message, WM_ERASEBKGND);
    for (auto [x, y] : {std::pair{0, 0}, {ScreenWidth - 1, ScreenHeight - 1}, {31, 17}})
      EXPECT_EQ(screen->colorAt(x, y), 0x000000u) << x << "," << y;
    // Painted: nothing more to do until it is shown again.
    received.clear();
    UpdateWindow(window);
    EXPECT_TRUE(received.empty());
    ResetUserState();
  }
}

TEST_F(Paint, OnlyTheWindowsAreaIsPainted) {
  FillScreen(0x00FFFFFF);
  RegisterTestClass(Stock(BLACK_BRUSH));
  HWND window = CreateWindowExA(0, "test", "t", WS_POPUP, 10, 5, 20, 10, nullptr, nullptr,
                                nullptr, nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  EXPECT_EQ(screen->colorAt(10, 5), 0x000000u);
  EXPECT_EQ(screen->colorAt(29, 14), 0x000000u);
  EXPECT_EQ(screen->colorAt(9, 5), 0xFFFFFFu);
  EXPECT_EQ(screen->colorAt(30, 14), 0xFFFFFFu);
  EXPECT_EQ(screen->colorAt(10, 15), 0xFFFFFFu);
}

TEST_F(Paint, NullBrushOrHiddenWindowLeavesTheScreen) {
  FillScreen(0x00FFFFFF);
  RegisterTestClass(Stock(NULL_BRUSH));
  HWND window = CreateScreenWindow();
  UpdateWindow(window);  // hidden: no paint
  EXPECT_TRUE(MessagesOf(window) == (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  EXPECT_EQ(screen->colorAt(0, 0), 0xFFFFFFu);
}

TEST_F(Paint, UnpaintedWindowGetsWmPaintFromTheQueueUntilValidated) {
  RegisterTestClass(Stock(BLACK_BRUSH));
  HWND window = CreateScreenWindow();
  ShowWindow(window, SW_SHOW);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_PAINT);
  EXPECT_EQ(message.hwnd, window);
  // Still pending: removing WM_PAINT does not validate the window.
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_PAINT);
  DispatchMessageA(&message);  // the default procedure paints and validates
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST(PackColor, FitsEachComponentIntoItsMask) {
  PALETTEENTRY palette[256]{};
  palette[7] = {0x10, 0x80, 0xF0, 0};
  palette[9] = {0xFF, 0xFF, 0xFF, 0};
  struct Case {
    int bits;
    COLORREF color;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {32, 0x00FFFFFF, 0x00FFFFFF},  {32, 0x000000FF, 0x00FF0000}, {32, 0x00FF0000, 0x000000FF},
      {24, 0x0000FF00, 0x0000FF00},  {16, 0x00FFFFFF, 0xFFFF},     {16, 0x000000FF, 0xF800},
      {16, 0x0000FF00, 0x07E0},      {16, 0x00FF0000, 0x001F},     {16, 0x00000000, 0},
      {8, 0x00F08010, 7},            {8, 0x00FEFEFE, 9},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PackColor(display::FormatForDepth(c.bits), c.color, palette), c.expected)
        << c.bits << " bits, colour " << std::hex << c.color;
}

}  // namespace
}  // namespace vyn::user::test
