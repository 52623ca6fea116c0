#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/offscreen/OffscreenDisplay.h"

namespace vyn::display {
namespace {

bool inside(int x, int y, const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Every pixel of the screen: `value` inside `area`, `outside` elsewhere.
void ExpectScreen(const OffscreenDisplay& screen, const RECT& area, std::uint32_t value, std::uint32_t outside) {
  for (int y = 0; y < screen.height(); ++y)
    for (int x = 0; x < screen.width(); ++x)
      ASSERT_EQ(screen.pixel(x, y), inside(x, y, area) ? value : outside) << x << "," << y;
}

struct FillCase {
  int bitsPerPixel;
  std::uint32_t pixel;  // in the display's format
};

class OffscreenFillTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(OffscreenFillTest, FillsTheRectangleInPlaceWithTheFormatsBytes) {
  OffscreenDisplay screen(12, 7, GetParam().bitsPerPixel);
  screen.fill(RECT{3, 2, 9, 6}, GetParam().pixel);
  ExpectScreen(screen, RECT{3, 2, 9, 6}, GetParam().pixel, 0u);
  EXPECT_EQ(screen.presentCount(), 1);
  EXPECT_EQ(screen.lastPresentRect().left, 3);
}

INSTANTIATE_TEST_SUITE_P(Depths, OffscreenFillTest,
                         ::testing::Values(FillCase{8, 0x7Bu}, FillCase{16, 0xF81Fu}, FillCase{24, 0x123456u},
                                           FillCase{32, 0x00ABCDEFu}));

TEST(OffscreenFillTest, KeepsToTheScreen) {
  OffscreenDisplay screen(6, 5, 32);
  screen.fill(RECT{-3, -2, 2, 3}, 0x00FF0000u);
  ExpectScreen(screen, RECT{0, 0, 2, 3}, 0x00FF0000u, 0u);
  screen.fill(RECT{50, 50, 60, 60}, 0x00FF0000u);  // off screen: a frame, nothing written
  EXPECT_EQ(screen.presentCount(), 2);
}

// A black fill may skip a screen that nothing has drawn on, never one that
// something has: the fill after a present must clear it.
TEST(OffscreenFillTest, BlackFillClearsWhatWasDrawnBefore) {
  OffscreenDisplay screen(5, 4, 32);
  const std::vector<std::uint32_t> white(5 * 4, 0x00FFFFFFu);
  screen.present(RECT{0, 0, 5, 4}, reinterpret_cast<const std::uint8_t*>(white.data()), 5 * 4);
  screen.fill(RECT{1, 1, 4, 3}, 0u);
  ExpectScreen(screen, RECT{1, 1, 4, 3}, 0u, 0x00FFFFFFu);

  OffscreenDisplay filled(5, 4, 32);
  filled.fill(RECT{0, 0, 5, 4}, 0x00FFFFFFu);
  filled.fill(RECT{0, 0, 2, 4}, 0u);
  ExpectScreen(filled, RECT{0, 0, 2, 4}, 0u, 0x00FFFFFFu);
}

TEST(OffscreenFillTest, CountsTowardsTheKeyPressAfterFrames) {
  OffscreenDisplay screen(4, 4, 32);
  const NativeWindow window = screen.createWindow(WindowOptions{RECT{0, 0, 4, 4}, true, "w"});
  screen.showWindow(window, true);
  screen.pressKeyAfterFrames(2);
  screen.fill(RECT{0, 0, 4, 4}, 0u);
  InputEvent event{};
  EXPECT_FALSE(screen.nextEvent(event));
  screen.fill(RECT{0, 0, 4, 4}, 0u);
  ASSERT_TRUE(screen.nextEvent(event));
  EXPECT_EQ(event.kind, InputEvent::Kind::KeyDown);
  EXPECT_EQ(event.window, window);
}

}  // namespace
}  // namespace vyn::display
