#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <vector>

#include "display/offscreen/OffscreenDisplay.h"
#include "support/TempFolder.h"

namespace vyn::display {
namespace {

// A picture of w x h 32-bit pixels whose value encodes its position.
std::vector<std::uint32_t> numberedPixels(int w, int h) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[y * w + x] = 0x00100000u * (x + 1) + 0x100u * (y + 1) + 0x55;
  return pixels;
}

const std::uint8_t* bytes(const std::vector<std::uint32_t>& pixels) {
  return reinterpret_cast<const std::uint8_t*>(pixels.data());
}

TEST(OffscreenDisplayTest, StartsBlackWithTheAskedGeometry) {
  OffscreenDisplay screen(40, 30, 16);
  EXPECT_STREQ(screen.name(), "offscreen");
  EXPECT_EQ(screen.width(), 40);
  EXPECT_EQ(screen.height(), 30);
  EXPECT_EQ(screen.format(), FormatForDepth(16));
  EXPECT_EQ(screen.framebufferPitch(), 80);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(screen.pixel(x, y), 0u);
}

TEST(OffscreenDisplayTest, PresentCopiesTheExactPixelsAndNothingElse) {
  OffscreenDisplay screen(20, 10, 32);
  const auto picture = numberedPixels(4, 3);
  screen.present(RECT{5, 2, 9, 5}, bytes(picture), 4 * 4);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 5 && x < 9 && y >= 2 && y < 5;
      const std::uint32_t expected = inside ? picture[(y - 2) * 4 + (x - 5)] : 0u;
      ASSERT_EQ(screen.pixel(x, y), expected) << x << "," << y;
    }
  EXPECT_EQ(screen.presentCount(), 1);
}

TEST(OffscreenDisplayTest, PresentKeepsToTheScreenWhenGivenTooMuch) {
  OffscreenDisplay screen(8, 6, 32);
  const auto picture = numberedPixels(6, 4);
  // Hangs over the top-left corner by 2 columns and 1 row.
  screen.present(RECT{-2, -1, 4, 3}, bytes(picture), 6 * 4);
  EXPECT_EQ(screen.pixel(0, 0), picture[1 * 6 + 2]);
  EXPECT_EQ(screen.pixel(3, 2), picture[3 * 6 + 5]);
  EXPECT_EQ(screen.pixel(4, 0), 0u);
  // Wholly off screen: counted as a frame, nothing written.
  screen.present(RECT{100, 100, 106, 104}, bytes(picture), 6 * 4);
  EXPECT_EQ(screen.presentCount(), 2);
}

TEST(OffscreenDisplayTest, KeyPressArrivesAfterTheNthFrameAtThePresentedWindow) {
  OffscreenDisplay screen(100, 100, 32);
  const NativeWindow behind = screen.createWindow({RECT{0, 0, 100, 100}, true, "a"});
  const NativeWindow other = screen.createWindow({RECT{60, 60, 100, 100}, true, "b"});
  screen.showWindow(behind, true);
  screen.showWindow(other, true);
  screen.pressKeyAfterFrames(3);
  InputEvent event{};
  const std::uint32_t black = 0;
  for (int frame = 1; frame <= 2; ++frame) {
    screen.present(RECT{0, 0, 1, 1}, reinterpret_cast<const std::uint8_t*>(&black), 4);
    EXPECT_FALSE(screen.nextEvent(event)) << "frame " << frame;
  }
  screen.present(RECT{0, 0, 1, 1}, reinterpret_cast<const std::uint8_t*>(&black), 4);
  ASSERT_TRUE(screen.nextEvent(event));
  EXPECT_EQ(event.kind, InputEvent::Kind::KeyDown);
  EXPECT_EQ(event.keyCode, OffscreenDisplay::EscapeKey);
  EXPECT_EQ(event.window, behind);  // the newer window does not overlap (0,0)
  screen.present(RECT{0, 0, 1, 1}, reinterpret_cast<const std::uint8_t*>(&black), 4);
  EXPECT_FALSE(screen.nextEvent(event)) << "only one key press";
}

TEST(OffscreenDisplayTest, EventsComeOutInTheOrderPushed) {
  OffscreenDisplay screen(10, 10, 32);
  InputEvent first{InputEvent::Kind::ButtonDown, 7};
  first.button = 1;
  InputEvent second{InputEvent::Kind::KeyDown, 7};
  second.keyCode = 'A';
  screen.pushEvent(first);
  screen.pushEvent(second);
  InputEvent event{};
  ASSERT_TRUE(screen.nextEvent(event));
  EXPECT_EQ(event.kind, InputEvent::Kind::ButtonDown);
  ASSERT_TRUE(screen.nextEvent(event));
  EXPECT_EQ(event.keyCode, unsigned{'A'});
  EXPECT_FALSE(screen.nextEvent(event));
}

TEST(OffscreenDisplayTest, WindowsAreRecordedRectangles) {
  OffscreenDisplay screen(50, 50, 32);
  const NativeWindow window = screen.createWindow({RECT{1, 2, 30, 40}, false, "vyn"});
  EXPECT_NE(window, NoNativeWindow);
  EXPECT_FALSE(screen.isWindowVisible(window));
  screen.showWindow(window, true);
  EXPECT_TRUE(screen.isWindowVisible(window));
  EXPECT_EQ(screen.windowTitle(window), "vyn");
  screen.moveWindow(window, RECT{5, 5, 20, 20});
  const RECT moved = screen.windowRect(window);
  EXPECT_EQ(moved.left, 5);
  EXPECT_EQ(moved.bottom, 20);
  screen.destroyWindow(window);
  EXPECT_TRUE(screen.windows().empty());
  const RECT gone = screen.windowRect(window);
  EXPECT_EQ(gone.right - gone.left, 0);
}

TEST(OffscreenDisplayTest, LosingSurfacesMovesTheGeneration) {
  OffscreenDisplay screen(4, 4, 32);
  const std::uint32_t before = screen.lossGeneration();
  screen.loseSurfaces();
  EXPECT_NE(screen.lossGeneration(), before);
}

TEST(OffscreenDisplayTest, OnlyAnEightBitScreenHasASystemPalette) {
  PALETTEENTRY entries[256];
  EXPECT_FALSE(OffscreenDisplay(4, 4, 32).systemPalette(entries));
  EXPECT_FALSE(OffscreenDisplay(4, 4, 16).systemPalette(entries));
  ASSERT_TRUE(OffscreenDisplay(4, 4, 8).systemPalette(entries));
  // Windows' static colours at both ends.
  EXPECT_EQ(entries[0].peRed + entries[0].peGreen + entries[0].peBlue, 0);
  EXPECT_EQ(entries[1].peRed, 128);
  EXPECT_EQ(entries[7].peGreen, 192);
  EXPECT_EQ(entries[249].peRed, 255);
  EXPECT_EQ(entries[249].peGreen, 0);
  EXPECT_EQ(entries[255].peRed & entries[255].peGreen & entries[255].peBlue, 255);
}

struct Png {
  int width = 0, height = 0;
  std::vector<std::uint32_t> colors;
};

bool readPng(const std::string& path, Png& png) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
  png.width = static_cast<int>(image.width);
  png.height = static_cast<int>(image.height);
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
    png.colors.push_back((std::uint32_t{rgb[i]} << 16) | (std::uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
  return true;
}

TEST(OffscreenDisplayTest, SavesTheScreenAsPngInItsTrueColours) {
  test::TempFolder folder;
  struct Case {
    int bits;
    std::uint32_t raw;       // a pixel value in the screen's format
    std::uint32_t expected;  // its colour
  };
  for (const Case& c : {Case{32, 0x123456, 0x123456}, Case{24, 0xABCDEF, 0xABCDEF},
                        Case{16, 0xF800, 0xFF0000}, Case{16, 0x07E0, 0x00FF00},
                        Case{8, 249, 0xFF0000}, Case{8, 7, 0xC0C0C0}}) {
    OffscreenDisplay screen(3, 2, c.bits);
    std::uint32_t pixel = c.raw;
    screen.present(RECT{1, 1, 2, 2}, reinterpret_cast<const std::uint8_t*>(&pixel), 4);
    const std::string path = folder / ("screen" + std::to_string(c.bits) + ".png");
    ASSERT_TRUE(screen.savePng(path));
    Png png;
    ASSERT_TRUE(readPng(path, png)) << path;
    ASSERT_EQ(png.width, 3);
    ASSERT_EQ(png.height, 2);
    EXPECT_EQ(png.colors[1 * 3 + 1], c.expected) << c.bits << " bits";
    EXPECT_EQ(png.colors[0], 0u);
  }
}

TEST(OffscreenDisplayTest, SavingToAnUnwritablePlaceFails) {
  OffscreenDisplay screen(2, 2, 32);
  EXPECT_FALSE(screen.savePng("/nonexistent-folder/screen.png"));
}

}  // namespace
}  // namespace vyn::display
