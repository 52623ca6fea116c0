// The viewport: its lines, its size, its back plane and its two failures.
#include <gtest/gtest.h>

#include "LayerFixture.h"
#include "d3drm/Viewport.h"
#include "testctl/TestControls.h"

namespace vyn::lumivex::test {
namespace {

using Strings = std::vector<std::string>;

class ViewportTest : public LayerTest {
 protected:
  void SetUp() override {
    displayWidth = 1024;
    displayHeight = 768;
    LayerTest::SetUp();
    ASSERT_EQ(SetUpDevice(), 1);
    ASSERT_EQ(renderContext.retainedMode->CreateFrame(nullptr, &scene), D3DRM_OK);
    ASSERT_EQ(renderContext.retainedMode->CreateFrame(scene, &camera), D3DRM_OK);
    StartRecord();
  }
};

const Strings allButTheViewport = {"retainedModeDevice", "device",     "zBuffer",
                                   "retainedMode",       "direct3D",   "backBuffer",
                                   "clipper",            "primarySurface", "directDraw"};

TEST_F(ViewportTest, CoversTheClientAreaWithItsBackPlaneAt5000) {
  EXPECT_EQ(KVRViewport(camera), 1);
  EXPECT_EQ(texts, (Strings{"KVR:KVRViewport\n", "KVR:Viewport width:1024 height:768\n",
                            "phase 3\n", "phase 4\n"}));
  ASSERT_NE(renderContext.viewport, nullptr);
  EXPECT_EQ(renderContext.viewport->GetBack(), 5000.0f);
  const RECT area = static_cast<d3drm::Viewport*>(renderContext.viewport)->Area();
  EXPECT_EQ(Describe(area), "(0, 0)-(1024, 768)");
  EXPECT_TRUE(cleanups.empty());
}

TEST_F(ViewportTest, AFailingCreateViewportStopsBeforePhase3) {
  renderContext.active = 1;
  testctl::FailCall("IDirect3DRM2::CreateViewport", 1, D3DRMERR_BADDEVICE);
  EXPECT_EQ(KVRViewport(camera), 0);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], "KVR:KVRViewport\n");
  EXPECT_EQ(texts[1], "KVR:Viewport width:1024 height:768\n");
  ExpectReportAt(texts[2], "Direct3D-RM Error : ", "D3DRMERR_BADDEVICE", "Viewport.cpp");
  EXPECT_EQ(texts[3], cleanupLine);
  EXPECT_EQ(HeldAtCleanup(0), allButTheViewport);
  ExpectCleanupReleasedAll(0);
  ExpectNothingHeld();
  EXPECT_EQ(renderContext.active, 0);
}

TEST_F(ViewportTest, AFailingSetBackReleasesTheNewViewportToo) {
  renderContext.active = 1;
  testctl::FailCall("IDirect3DRMViewport::SetBack", 1, D3DRMERR_BADVALUE);
  EXPECT_EQ(KVRViewport(camera), 0);
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[2], "phase 3\n");
  const int setBackLine =
      ExpectReportAt(texts[3], "Direct3D-RM Error : ", "D3DRMERR_BADVALUE", "Viewport.cpp");
  EXPECT_EQ(texts[4], cleanupLine);
  Strings everything{"viewport"};
  everything.insert(everything.end(), allButTheViewport.begin(), allButTheViewport.end());
  EXPECT_EQ(HeldAtCleanup(0), everything);
  ExpectCleanupReleasedAll(0);
  ExpectNothingHeld();
  EXPECT_EQ(renderContext.active, 0);

  // The two failures are reported from different lines.
  Initialize();
  ASSERT_EQ(SetUpDevice(), 1);
  StartRecord();
  testctl::FailCall("IDirect3DRM2::CreateViewport", 1, D3DRMERR_BADDEVICE);
  KVRViewport(camera);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_NE(ExpectReportAt(texts[2], "Direct3D-RM Error : ", "D3DRMERR_BADDEVICE", "Viewport.cpp"),
            setBackLine);
}

TEST_F(ViewportTest, AfterEverythingWasReleasedItIsReportedNotDereferenced) {
  Cleanup();
  StartRecord();
  EXPECT_EQ(KVRViewport(camera), 0);
  ASSERT_EQ(texts.size(), 4u);
  ExpectReportAt(texts[2], "Direct3D-RM Error : ", "D3DRMERR_BADOBJECT", "Viewport.cpp");
  EXPECT_EQ(texts[3], cleanupLine);
  ExpectNothingHeld();
}

}  // namespace
}  // namespace vyn::lumivex::test
