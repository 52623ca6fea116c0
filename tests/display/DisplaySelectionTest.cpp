#include <gtest/gtest.h>

#include "display/Display.h"
#include "display/DisplaySelection.h"

namespace vyn::display {
namespace {

using Backend = DisplayChoice::Backend;

struct ChoiceCase {
  const char* value;
  Backend backend;
  int width, height, bits;
  bool problem;
};

class DisplayChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(DisplayChoiceTest, ReadsTheValue) {
  const ChoiceCase& c = GetParam();
  const DisplayChoice choice = ParseDisplayChoice(c.value);
  EXPECT_EQ(choice.backend, c.backend);
  EXPECT_EQ(choice.width, c.width);
  EXPECT_EQ(choice.height, c.height);
  EXPECT_EQ(choice.bitsPerPixel, c.bits);
  EXPECT_EQ(!choice.problem.empty(), c.problem) << choice.problem;
}

INSTANTIATE_TEST_SUITE_P(
    Values, DisplayChoiceTest,
    ::testing::Values(ChoiceCase{nullptr, Backend::Automatic, 1920, 1080, 32, false},
                      ChoiceCase{"", Backend::Automatic, 1920, 1080, 32, false},
                      ChoiceCase{"x11", Backend::X11, 1920, 1080, 32, false},
                      ChoiceCase{"offscreen", Backend::Offscreen, 1920, 1080, 32, false},
                      ChoiceCase{"offscreen:640x480x8", Backend::Offscreen, 640, 480, 8, false},
                      ChoiceCase{"offscreen:800x600x16", Backend::Offscreen, 800, 600, 16, false},
                      ChoiceCase{"offscreen:1x1x24", Backend::Offscreen, 1, 1, 24, false},
                      // Unusable geometry: the default offscreen screen, with a complaint.
                      ChoiceCase{"offscreen:640x480x15", Backend::Offscreen, 1920, 1080, 32, true},
                      ChoiceCase{"offscreen:0x480x32", Backend::Offscreen, 1920, 1080, 32, true},
                      ChoiceCase{"offscreen:640x480", Backend::Offscreen, 1920, 1080, 32, true},
                      ChoiceCase{"offscreen:640x480x32x1", Backend::Offscreen, 1920, 1080, 32, true},
                      ChoiceCase{"offscreen:-640x480x32", Backend::Offscreen, 1920, 1080, 32, true},
                      ChoiceCase{"offscreen:99999999999x480x32", Backend::Offscreen, 1920, 1080, 32, true},
                      ChoiceCase{"offscreen640x480x32", Backend::Offscreen, 1920, 1080, 32, true},
                      ChoiceCase{"wayland", Backend::Automatic, 1920, 1080, 32, true}));

TEST(FrameLimitTest, AcceptsOnlyWholeNonNegativeNumbers) {
  EXPECT_EQ(ParseFrameLimit("25"), 25);
  EXPECT_EQ(ParseFrameLimit("0"), 0);
  EXPECT_EQ(ParseFrameLimit(nullptr), 0);
  EXPECT_EQ(ParseFrameLimit(""), 0);
  EXPECT_EQ(ParseFrameLimit("-3"), 0);
  EXPECT_EQ(ParseFrameLimit("12frames"), 0);
  EXPECT_EQ(ParseFrameLimit("99999999999"), 0);
}

TEST(FormatForDepthTest, GivesTheLayoutOfEachDepth) {
  EXPECT_EQ(FormatForDepth(8), (PixelFormat{8, 0, 0, 0}));
  EXPECT_EQ(FormatForDepth(16), (PixelFormat{16, 0xF800, 0x07E0, 0x001F}));
  EXPECT_EQ(FormatForDepth(24), (PixelFormat{24, 0xFF0000, 0xFF00, 0xFF}));
  EXPECT_EQ(FormatForDepth(32), (PixelFormat{32, 0xFF0000, 0xFF00, 0xFF}));
  EXPECT_EQ(FormatForDepth(24).bytesPerPixel(), 3);
}

}  // namespace
}  // namespace vyn::display

#include "display/offscreen/OffscreenDisplay.h"
#include "support/ScopedEnvironment.h"

namespace vyn::display {
namespace {

class ActiveDisplayTest : public ::testing::Test {
 protected:
  void TearDown() override { SetActiveDisplay(nullptr); }
  test::ScopedEnvironment environment;
};

TEST_F(ActiveDisplayTest, IsChosenOnceFromTheEnvironment) {
  environment.Set("VYN_DISPLAY", "offscreen:320x200x16");
  environment.Set("VYN_FRAMES", "2");
  SetActiveDisplay(nullptr);
  Display& display = ActiveDisplay();
  EXPECT_STREQ(display.name(), "offscreen");
  EXPECT_EQ(display.width(), 320);
  EXPECT_EQ(display.height(), 200);
  EXPECT_EQ(display.format().bitsPerPixel, 16);
  EXPECT_EQ(&ActiveDisplay(), &display) << "the same display from then on";

  // VYN_FRAMES: a key press after the second presented frame.
  const std::uint16_t black = 0;
  InputEvent event{};
  display.present(RECT{0, 0, 1, 1}, reinterpret_cast<const std::uint8_t*>(&black), 2);
  EXPECT_FALSE(display.nextEvent(event));
  display.present(RECT{0, 0, 1, 1}, reinterpret_cast<const std::uint8_t*>(&black), 2);
  ASSERT_TRUE(display.nextEvent(event));
  EXPECT_EQ(event.kind, InputEvent::Kind::KeyDown);
}

TEST_F(ActiveDisplayTest, ABadValueStillGivesAScreen) {
  environment.Set("VYN_DISPLAY", "offscreen:huge");
  environment.Clear("VYN_FRAMES");
  SetActiveDisplay(nullptr);
  EXPECT_EQ(ActiveDisplay().width(), OffscreenDisplay::DefaultWidth);
  EXPECT_EQ(ActiveDisplay().format().bitsPerPixel, OffscreenDisplay::DefaultBitsPerPixel);
}

TEST_F(ActiveDisplayTest, ATestCanPutItsOwnDisplayInPlace) {
  auto own = std::make_unique<OffscreenDisplay>(8, 8, 8);
  Display* expected = own.get();
  SetActiveDisplay(std::move(own));
  EXPECT_EQ(&ActiveDisplay(), expected);
}

}  // namespace
}  // namespace vyn::display
