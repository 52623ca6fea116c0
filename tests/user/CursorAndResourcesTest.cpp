// The ShowCursor count, system cursors and icons, system metrics.
#include "WindowFixture.h"
#include "user/UserState.h"

namespace vyn::user::test {
namespace {

class CursorAndResources : public WindowFixture {};

TEST_F(CursorAndResources, ShowCursorKeepsACountAndHidesThePointerBelowZero) {
  struct Step {
    BOOL show;
    int count;
    bool visible;
  };
  const Step steps[] = {{FALSE, -1, false}, {FALSE, -2, false}, {TRUE, -1, false},
                        {TRUE, 0, true},    {TRUE, 1, true},    {FALSE, 0, true}};
  EXPECT_TRUE(screen->pointerVisible());
  for (const Step& step : steps) {
    EXPECT_EQ(ShowCursor(step.show), step.count);
    EXPECT_EQ(screen->pointerVisible(), step.visible) << "count " << step.count;
  }
}

TEST_F(CursorAndResources, ResetShowsAHiddenPointerAgain) {
  ShowCursor(FALSE);
  ResetUserState();
  EXPECT_TRUE(screen->pointerVisible());
  EXPECT_EQ(ShowCursor(FALSE), -1);
}

TEST_F(CursorAndResources, OnlySystemCursorsAndIconsLoad) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  EXPECT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
  EXPECT_NE(LoadCursorA(nullptr, IDC_WAIT), arrow);
  EXPECT_EQ(LoadCursorA(nullptr, MakeIntResourceA(1)), nullptr);
  HINSTANCE module = reinterpret_cast<HINSTANCE>(0x400000);
  EXPECT_EQ(LoadCursorA(module, "Arrow"), nullptr);
  // The module holds no icon, so the saver's class has none.
  EXPECT_EQ(LoadIconA(module, "AppIcon"), nullptr);
  EXPECT_EQ(LoadIconA(module, MakeIntResourceA(1)), nullptr);
  EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
}

TEST_F(CursorAndResources, ScreenMetricsFollowTheDisplay) {
  UseScreen(16);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ScreenWidth);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), ScreenHeight);
  EXPECT_EQ(GetSystemMetrics(9999), 0);
}

}  // namespace
}  // namespace vyn::user::test
