// Whole runs on an Xvfb screen of each test's own, driven with xdotool: what
// the user sees and what ends the run. Pixels are read back from the screen.
#include <gtest/gtest.h>
#include <signal.h>

#include <X11/Xlib.h>

#include <cstdio>

#include "RunFolder.h"
#include "ScreenImage.h"
#include "XvfbServer.h"

namespace vyn::e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
// Limits that only keep a broken run from hanging the suite.
constexpr auto kAppearLimit = 60s;
constexpr auto kEndLimit = 20s;
// How long a run is watched to see that something does not end it.
constexpr auto kStaysOpen = 1500ms;

class XRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!XToolsAvailable()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
    server = std::make_unique<XvfbServer>(kScreenWidth, kScreenHeight);
    ASSERT_TRUE(server->ready()) << server->problem();
  }

  Environment XEnvironment() const {
    Environment environment = folder.environment();
    environment["DISPLAY"] = server->name();
    return environment;
  }

  std::optional<Picture> Screen() const { return GrabWindow(server->connection(), server->root()); }

  int LitOnScreen() const {
    std::optional<Picture> screen = Screen();
    return screen ? CountLit(*screen, {0, 0, screen->width, screen->height}) : 0;
  }

  // Starts vyn and waits until its window is up and the solid shows.
  std::unique_ptr<ChildProcess> StartAndWaitForTheSolid(const std::string& label) {
    auto vyn = folder.startVyn(XEnvironment(), label);
    const bool shown = WaitFor(
        [&] { return !vyn->running() || (FindWindowNamed(server->connection(), "vyn") && LitOnScreen() > 200); },
        kAppearLimit);
    EXPECT_TRUE(shown && vyn->running()) << vyn->standardError();
    return vyn;
  }

  int Xdotool(const std::vector<std::string>& arguments) const {
    std::vector<std::string> command{"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunCommand(command, XEnvironment());
  }

  bool EndsWithin(ChildProcess& vyn, std::chrono::milliseconds limit) {
    return WaitFor([&] { return !vyn.running(); }, limit);
  }

  RunFolder folder;
  std::unique_ptr<XvfbServer> server;
};

TEST_F(XRunTest, BlackWindowCoversTheScreenWithThePointerHidden) {
  auto vyn = StartAndWaitForTheSolid("cover");
  ASSERT_TRUE(vyn->running());
  std::optional<Window> window = FindWindowNamed(server->connection(), "vyn");
  ASSERT_TRUE(window.has_value());
  const Area area = WindowArea(server->connection(), *window);
  EXPECT_EQ(area.left, 0);
  EXPECT_EQ(area.top, 0);
  EXPECT_EQ(area.right, kScreenWidth);
  EXPECT_EQ(area.bottom, kScreenHeight);
  EXPECT_TRUE(PointerInvisible(server->connection()));

  // The solid in the middle, black all round it.
  std::optional<Picture> screen = Screen();
  ASSERT_TRUE(screen.has_value());
  const std::optional<Area> solid = LitBounds(*screen);
  ASSERT_TRUE(solid.has_value());
  EXPECT_GT(solid->left, 0);
  EXPECT_GT(solid->top, 0);
  EXPECT_LT(solid->right, kScreenWidth);
  EXPECT_LT(solid->bottom, kScreenHeight);
  EXPECT_EQ(CountLit(*screen, {0, 0, kScreenWidth, 40}), 0);

  // It moves: a later look finds another picture.
  EXPECT_TRUE(WaitFor(
      [&] {
        std::optional<Picture> later = Screen();
        return later && later->pixels != screen->pixels;
      },
      kEndLimit));
}

struct EndingInput {
  const char* name;
  std::vector<std::string> xdotool;
};

class XRunEndingTest : public XRunTest, public ::testing::WithParamInterface<EndingInput> {};

TEST_P(XRunEndingTest, InputEndsTheRunWithZero) {
  auto vyn = StartAndWaitForTheSolid(GetParam().name);
  ASSERT_TRUE(vyn->running());
  ASSERT_EQ(Xdotool(GetParam().xdotool), 0);
  EXPECT_EQ(vyn->waitForExit(kEndLimit), 0) << vyn->standardError();
  EXPECT_FALSE(FindWindowNamed(server->connection(), "vyn").has_value());
}

INSTANTIATE_TEST_SUITE_P(Inputs, XRunEndingTest,
                         ::testing::Values(EndingInput{"Key", {"key", "a"}},
                                           EndingInput{"Alt", {"key", "Alt_L"}},
                                           EndingInput{"LeftClick", {"click", "1"}},
                                           EndingInput{"RightClick", {"click", "3"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(XRunTest, PointerMotionAndTheMiddleButtonLeaveItRunning) {
  auto vyn = StartAndWaitForTheSolid("middle");
  ASSERT_TRUE(vyn->running());
  ASSERT_EQ(Xdotool({"mousemove", "10", "10"}), 0);
  ASSERT_EQ(Xdotool({"mousemove", "400", "300"}), 0);
  ASSERT_EQ(Xdotool({"click", "2"}), 0);
  EXPECT_FALSE(EndsWithin(*vyn, kStaysOpen)) << vyn->standardError();
  EXPECT_GT(LitOnScreen(), 200);
  // Still listening: a key ends it as usual.
  ASSERT_EQ(Xdotool({"key", "space"}), 0);
  EXPECT_EQ(vyn->waitForExit(kEndLimit), 0);
}

TEST_F(XRunTest, SecondStartEndsAtOnceWithOne) {
  auto first = StartAndWaitForTheSolid("first");
  ASSERT_TRUE(first->running());
  auto second = folder.startVyn(XEnvironment(), "second");
  EXPECT_EQ(second->waitForExit(kEndLimit), 1) << second->standardError();
  EXPECT_TRUE(first->running());
  first->sendSignal(SIGTERM);
  EXPECT_EQ(first->waitForExit(kEndLimit), 0);
}

TEST_F(XRunTest, SigtermEndsTheRunWithZero) {
  auto vyn = StartAndWaitForTheSolid("sigterm");
  ASSERT_TRUE(vyn->running());
  vyn->sendSignal(SIGTERM);
  EXPECT_EQ(vyn->waitForExit(kEndLimit), 0) << vyn->standardError();
  EXPECT_FALSE(vyn->signalled());
}

TEST_F(XRunTest, MissingBitmapShowsTheBoxAndTheRunGoesOnAfterEnter) {
  folder.writeSettings("[SETTING]\nFILENAME=C:\\nowhere\\missing.BMP\n");
  auto vyn = folder.startVyn(XEnvironment(), "missing");
  std::optional<Window> box;
  ASSERT_TRUE(WaitFor(
      [&] {
        box = FindWindowNamed(server->connection(), "SCRNSAVE");
        return box.has_value() || !vyn->running();
      },
      kAppearLimit));
  ASSERT_TRUE(box.has_value()) << vyn->standardError();

  // The box is drawn in front of the black saver window.
  std::optional<Picture> boxPicture;
  ASSERT_TRUE(WaitFor(
      [&] {
        boxPicture = GrabWindow(server->connection(), *box);
        return boxPicture && CountLit(*boxPicture, {0, 0, boxPicture->width, boxPicture->height}) > 100;
      },
      kEndLimit));
  EXPECT_TRUE(FindWindowNamed(server->connection(), "vyn").has_value());

  ASSERT_EQ(Xdotool({"key", "Return"}), 0);
  EXPECT_TRUE(WaitFor([&] { return !FindWindowNamed(server->connection(), "SCRNSAVE").has_value(); }, kEndLimit));
  // Enter closed the box, not the run: the saver goes on until a key.
  EXPECT_FALSE(EndsWithin(*vyn, kStaysOpen)) << vyn->standardError();
  ASSERT_EQ(Xdotool({"key", "a"}), 0);
  EXPECT_EQ(vyn->waitForExit(kEndLimit), 0) << vyn->standardError();
}

TEST_F(XRunTest, InsideXScreenSaverDrawsIntoTheGivenWindowWithoutGrabs) {
  ::Display* x = server->connection();
  const Area host{120, 90, 120 + 400, 90 + 300};
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(x, DefaultScreen(x));
  attributes.override_redirect = True;
  Window window = XCreateWindow(x, server->root(), host.left, host.top, host.width(), host.height(), 0,
                                CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect,
                                &attributes);
  XMapRaised(x, window);
  XSync(x, False);

  Environment environment = XEnvironment();
  char id[32];
  std::snprintf(id, sizeof id, "0x%lx", window);
  environment["XSCREENSAVER_WINDOW"] = id;
  auto vyn = folder.startVyn(environment, "hosted");

  std::optional<Picture> inside;
  ASSERT_TRUE(WaitFor(
      [&] {
        inside = GrabWindow(x, window);
        return !vyn->running() || (inside && CountLit(*inside, {0, 0, inside->width, inside->height}) > 200);
      },
      kAppearLimit))
      << vyn->standardError();
  ASSERT_TRUE(vyn->running()) << vyn->standardError();

  // The picture is fitted to the window and nothing is drawn outside it.
  const std::optional<Area> solid = LitBounds(*inside);
  ASSERT_TRUE(solid.has_value());
  EXPECT_GT(solid->left + solid->right, host.width() / 2);
  EXPECT_LT(solid->left + solid->right, host.width() * 3 / 2);
  EXPECT_GT(solid->top + solid->bottom, host.height() / 2);
  EXPECT_LT(solid->top + solid->bottom, host.height() * 3 / 2);
  std::optional<Picture> screen = Screen();
  ASSERT_TRUE(screen.has_value());
  EXPECT_EQ(CountLit(*screen, {0, 0, kScreenWidth, host.top}), 0);
  EXPECT_EQ(CountLit(*screen, {0, host.bottom, kScreenWidth, kScreenHeight}), 0);

  // No grabs and the pointer left alone: this client can take both.
  EXPECT_EQ(XGrabKeyboard(x, server->root(), False, GrabModeAsync, GrabModeAsync, CurrentTime), GrabSuccess);
  EXPECT_EQ(XGrabPointer(x, server->root(), False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime),
            GrabSuccess);
  XUngrabKeyboard(x, CurrentTime);
  XUngrabPointer(x, CurrentTime);
  EXPECT_FALSE(PointerInvisible(x));

  vyn->sendSignal(SIGTERM);
  EXPECT_EQ(vyn->waitForExit(kEndLimit), 0) << vyn->standardError();
  XDestroyWindow(x, window);
}

}  // namespace
}  // namespace vyn::e2e
