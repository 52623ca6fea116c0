// The context's reset, its release order and the active switch.
#include <gtest/gtest.h>

#include <cstring>

#include "LayerFixture.h"
#include "testctl/TestControls.h"

namespace vyn::lumivex::test {
namespace {

using Strings = std::vector<std::string>;

using RenderContextTest = LayerTest;

TEST_F(RenderContextTest, InitializeResetsEveryFieldAndTheSearchFlag) {
  RenderContext& c = renderContext;
  c.active = 1;
  c.width = 7;
  c.height = 9;
  c.bitsPerPixel = 8;
  c.colorModel = D3DCOLOR_RGB;
  c.windowRect = {1, 2, 3, 4};
  c.paletteEntries[17] = {1, 2, 3, 4};
  std::strcpy(c.messageBuffer, "old text");
  searchStopFlag = 1;

  EXPECT_EQ(Initialize(), 1);

  EXPECT_EQ(texts, Strings{"KVR:Lumivex Initialize\n"});
  ExpectNothingHeld();
  EXPECT_EQ(c.active, 0);
  EXPECT_EQ(c.width, 320);
  EXPECT_EQ(c.height, 240);
  EXPECT_EQ(c.bitsPerPixel, 16);
  EXPECT_EQ(c.colorModel, 0u);
  EXPECT_EQ(c.windowRect.left | c.windowRect.top | c.windowRect.right | c.windowRect.bottom, 0);
  const PALETTEENTRY zero{};
  EXPECT_EQ(std::memcmp(&c.paletteEntries[17], &zero, sizeof zero), 0);
  EXPECT_EQ(c.messageBuffer[0], '\0');
  EXPECT_EQ(searchStopFlag, 0);
}

TEST_F(RenderContextTest, CleanupOfAnEmptyRecordOnlyWritesItsLine) {
  renderContext.active = 1;
  EXPECT_EQ(Cleanup(), 1);
  EXPECT_EQ(Cleanup(), 1);
  EXPECT_EQ(texts, (Strings{cleanupLine, cleanupLine}));
  EXPECT_EQ(renderContext.active, 0);
  EXPECT_TRUE(testctl::CallsOf("Release").empty());
}

TEST_F(RenderContextTest, SetActiveTakesOnlyZeroAndOne) {
  struct Case {
    int before;
    int state;
    int after;
  };
  const Case cases[] = {{0, 1, 1}, {1, 0, 0}, {1, 1, 1}, {0, 0, 0},
                        {0, 2, 0}, {1, 2, 1}, {0, -1, 0}, {1, -1, 1}};
  for (const Case& c : cases) {
    renderContext.active = c.before;
    EXPECT_EQ(SetActive(c.state), 1);
    EXPECT_EQ(renderContext.active, c.after) << c.before << " then SetActive(" << c.state << ")";
  }
  EXPECT_TRUE(texts.empty());
}

// On an 8-bit display the context holds every kind of object at once.
class FullContextTest : public LayerTest {
 protected:
  void SetUp() override {
    displayBits = 8;
    LayerTest::SetUp();
  }
};

TEST_F(FullContextTest, CleanupReleasesEachObjectOnceInItsOrder) {
  ASSERT_EQ(SetUpViewport(), 1);
  SetActive(1);
  StartRecord();

  EXPECT_EQ(Cleanup(), 1);

  EXPECT_EQ(texts, Strings{cleanupLine});
  EXPECT_EQ(HeldAtCleanup(0),
            (Strings{"viewport", "retainedModeDevice", "device", "palette", "zBuffer",
                     "retainedMode", "direct3D", "backBuffer", "clipper", "primarySurface",
                     "directDraw"}));
  ExpectCleanupReleasedAll(0);
  ExpectNothingHeld();
  EXPECT_EQ(renderContext.active, 0);
}

TEST_F(FullContextTest, CleanupKeepsGeometryDepthAndPaletteCopy) {
  ASSERT_EQ(SetUpViewport(), 1);
  const RenderContext before = renderContext;
  Cleanup();
  const RenderContext& after = renderContext;
  EXPECT_EQ(after.width, 640);
  EXPECT_EQ(after.height, 480);
  EXPECT_EQ(after.bitsPerPixel, 8);
  EXPECT_EQ(after.colorModel, D3DCOLOR_MONO);
  EXPECT_EQ(std::memcmp(&after.windowRect, &before.windowRect, sizeof(RECT)), 0);
  EXPECT_EQ(after.windowRect.right, 640);
  EXPECT_EQ(std::memcmp(after.paletteEntries, before.paletteEntries, sizeof after.paletteEntries), 0);
  EXPECT_STREQ(after.messageBuffer, before.messageBuffer);
}

TEST_F(FullContextTest, ASecondCleanupReleasesNothing) {
  ASSERT_EQ(SetUpViewport(), 1);
  Cleanup();
  StartRecord();
  Cleanup();
  EXPECT_EQ(texts, Strings{cleanupLine});
  EXPECT_TRUE(testctl::CallsOf("Release").empty());
}

}  // namespace
}  // namespace vyn::lumivex::test
