// The per-frame operations: restoring lost surfaces, rendering, presenting,
// and what a failure among them leaves.
#include <gtest/gtest.h>

#include <algorithm>

#include "LayerFixture.h"
#include "ddraw/SurfaceLossControl.h"
#include "display/offscreen/OffscreenDisplay.h"
#include "testctl/TestControls.h"

namespace vyn::lumivex::test {
namespace {

using Strings = std::vector<std::string>;

const Strings frameOperations = {"IDirectDrawSurface::IsLost", "IDirectDrawSurface::Restore",
                                 "IDirect3DRMViewport::ForceUpdate", "IDirect3DRMViewport::Clear",
                                 "IDirect3DRMViewport::Render", "IDirect3DRMDevice::Update",
                                 "IDirectDrawSurface::Blt"};

Strings FrameOperationsSeen() {
  Strings seen;
  for (const testctl::CallRecord& call : testctl::Calls())
    if (std::find(frameOperations.begin(), frameOperations.end(), call.operation) !=
        frameOperations.end())
      seen.push_back(call.operation);
  return seen;
}

display::OffscreenDisplay& Screen() {
  return static_cast<display::OffscreenDisplay&>(display::ActiveDisplay());
}

const Strings everythingHeld = {"viewport",       "retainedModeDevice", "device",
                                "zBuffer",        "retainedMode",       "direct3D",
                                "backBuffer",     "clipper",            "primarySurface",
                                "directDraw"};

// Stands in the context for the real viewport and notes the rectangles that
// ForceUpdate is given; everything else goes to the real one.
class ForceUpdateSpy final : public IDirect3DRMViewport {
 public:
  explicit ForceUpdateSpy(IDirect3DRMViewport* real) : real_(real) {}

  struct Area {
    DWORD x1, y1, x2, y2;
    bool operator==(const Area&) const = default;
  };
  std::vector<Area> forced;

  HRESULT QueryInterface(REFIID iid, void** object) override {
    return real_->QueryInterface(iid, object);
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    if (--references_ > 0) return references_;
    real_->Release();
    delete this;
    return 0;
  }
  HRESULT Clear() override { return real_->Clear(); }
  HRESULT ForceUpdate(DWORD x1, DWORD y1, DWORD x2, DWORD y2) override {
    forced.push_back({x1, y1, x2, y2});
    return real_->ForceUpdate(x1, y1, x2, y2);
  }
  D3DVALUE GetBack() override { return real_->GetBack(); }
  D3DVALUE GetField() override { return real_->GetField(); }
  D3DVALUE GetFront() override { return real_->GetFront(); }
  HRESULT Render(LPDIRECT3DRMFRAME frame) override { return real_->Render(frame); }
  HRESULT SetBack(D3DVALUE back) override { return real_->SetBack(back); }

 private:
  IDirect3DRMViewport* real_;
  ULONG references_ = 1;
};

class FrameRenderingTest : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    OpenWindow(100, 50, 300, 200);
    ASSERT_EQ(SetUpViewport(), 1);
    SetActive(1);
    StartRecord();
  }
};

TEST_F(FrameRenderingTest, AnActiveContextRendersAndPresentsAFrame) {
  const int presentedBefore = Screen().presentCount();
  EXPECT_EQ(RestoreSurfaces(), 1);
  EXPECT_EQ(RenderScene(scene), 1);
  EXPECT_EQ(PresentFrame(), 1);
  EXPECT_EQ(FrameOperationsSeen(),
            (Strings{"IDirectDrawSurface::IsLost", "IDirectDrawSurface::IsLost",
                     "IDirect3DRMViewport::Clear", "IDirect3DRMViewport::Render",
                     "IDirect3DRMDevice::Update", "IDirectDrawSurface::Blt"}));
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(Screen().presentCount(), presentedBefore + 1);
  const RECT presented = Screen().lastPresentRect();
  EXPECT_EQ(Describe(presented), "(100, 50)-(400, 250)");
}

TEST_F(FrameRenderingTest, TheImageStaysWhereTheClientAreaWasAtSetUp) {
  // The window moves to (300, 200)-(600, 400) after set-up. The blit still
  // goes to the rectangle captured then, (100, 50)-(400, 250), and the
  // clipper keeps only the part inside the window's new place.
  Screen().moveWindow(Screen().windows().back(), RECT{300, 200, 600, 400});
  EXPECT_EQ(PresentFrame(), 1);
  const RECT presented = Screen().lastPresentRect();
  EXPECT_EQ(Describe(presented), "(300, 200)-(400, 250)");
}

TEST_F(FrameRenderingTest, AnInactiveContextTouchesNoDirectXObject) {
  struct Case {
    const char* what;
    void (*makeInactive)();
  };
  const Case cases[] = {{"before activation", [] { SetActive(0); }},
                        {"after Cleanup", [] { Cleanup(); }}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.makeInactive();
    StartRecord();
    EXPECT_EQ(RestoreSurfaces(), 1);
    EXPECT_EQ(RenderScene(scene), 0);
    EXPECT_EQ(PresentFrame(), 0);
    EXPECT_TRUE(testctl::Calls().empty());
    EXPECT_TRUE(texts.empty());
  }
}

TEST_F(FrameRenderingTest, ANullFrameIsRefusedQuietly) {
  EXPECT_EQ(RenderScene(nullptr), 0);
  EXPECT_TRUE(texts.empty());
  EXPECT_TRUE(testctl::Calls().empty());
  EXPECT_EQ(renderContext.active, 1);
}

struct StepFailure {
  const char* operation;
  HRESULT code;
  const char* name;
  Strings calledOperations;  // among frameOperations, the failing call included
};

const StepFailure renderFailures[] = {
    {"IDirect3DRMViewport::Clear", D3DRMERR_BADVALUE, "D3DRMERR_BADVALUE",
     {"IDirect3DRMViewport::Clear"}},
    // A DirectDraw code from a Retained Mode call is not in the Retained Mode table.
    {"IDirect3DRMViewport::Render", DDERR_SURFACELOST, "Unknown Error",
     {"IDirect3DRMViewport::Clear", "IDirect3DRMViewport::Render"}},
    {"IDirect3DRMDevice::Update", D3DRMERR_UNABLETOEXECUTE, "D3DRMERR_UNABLETOEXECUTE",
     {"IDirect3DRMViewport::Clear", "IDirect3DRMViewport::Render", "IDirect3DRMDevice::Update"}},
};

TEST_F(FrameRenderingTest, AFailingStepIsReportedFromItsOwnLineAndEndsDrawing) {
  std::vector<int> lines;
  for (const StepFailure& failure : renderFailures) {
    SCOPED_TRACE(failure.operation);
    ASSERT_EQ(SetUpViewport(), 1);
    SetActive(1);
    StartRecord();
    testctl::FailCall(failure.operation, 1, failure.code);

    EXPECT_EQ(RenderScene(scene), 0);
    // The same tick's present finds the context inactive.
    EXPECT_EQ(PresentFrame(), 0);

    EXPECT_EQ(FrameOperationsSeen(), failure.calledOperations);
    ASSERT_EQ(texts.size(), 2u);
    lines.push_back(
        ExpectReportAt(texts[0], "Direct3D-RM Error : ", failure.name, "FrameRendering.cpp"));
    EXPECT_EQ(texts[1], cleanupLine);
    EXPECT_EQ(HeldAtCleanup(0), everythingHeld);
    ExpectCleanupReleasedAll(0);
    ExpectNothingHeld();
    EXPECT_EQ(renderContext.active, 0);
    testctl::Reset();
  }
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_LT(lines[0], lines[1]);
  EXPECT_LT(lines[1], lines[2]);
}

TEST_F(FrameRenderingTest, AFailingBlitIsReportedAndEndsDrawing) {
  ASSERT_EQ(RenderScene(scene), 1);
  testctl::FailCall("IDirectDrawSurface::Blt", 1, DDERR_SURFACELOST);
  EXPECT_EQ(PresentFrame(), 0);
  ASSERT_EQ(texts.size(), 2u);
  ExpectReportAt(texts[0], "DirectDraw Error ", "DDERR_SURFACELOST", "FrameRendering.cpp");
  EXPECT_EQ(texts[1], cleanupLine);
  EXPECT_EQ(HeldAtCleanup(0), everythingHeld);
  ExpectCleanupReleasedAll(0);
  ExpectNothingHeld();
  EXPECT_EQ(RenderScene(scene), 0);
}

struct LossCase {
  const char* what;
  bool primaryLost;
  bool zBufferLost;
};

const LossCase lossCases[] = {
    {"nothing lost", false, false},
    {"primary surface lost", true, false},
    {"Z-buffer lost", false, true},
    {"both lost", true, true},
};

TEST_F(FrameRenderingTest, LostSurfacesAreRestoredAndTheViewportRedrawn) {
  // The spy takes over the context's reference to the viewport.
  auto* spy = new ForceUpdateSpy(renderContext.viewport);
  renderContext.viewport = spy;
  const ForceUpdateSpy::Area whole{0, 0, 300, 200};
  for (const LossCase& loss : lossCases) {
    SCOPED_TRACE(loss.what);
    RenderContext& c = renderContext;
    if (loss.primaryLost) {
      ASSERT_TRUE(ddraw::MakeSurfaceLost(c.primarySurface));
    }
    if (loss.zBufferLost) {
      ASSERT_TRUE(ddraw::MakeSurfaceLost(c.zBuffer));
    }
    StartRecord();
    spy->forced.clear();

    EXPECT_EQ(RestoreSurfaces(), 1);

    std::vector<const void*> restored;
    for (const testctl::CallRecord& call : testctl::CallsOf("IDirectDrawSurface::Restore"))
      restored.push_back(call.object);
    std::vector<const void*> expected;
    if (loss.primaryLost) expected.push_back(c.primarySurface);
    if (loss.zBufferLost) expected.push_back(c.zBuffer);
    EXPECT_EQ(restored, expected);
    const auto isLost = testctl::CallsOf("IDirectDrawSurface::IsLost");
    ASSERT_EQ(isLost.size(), 2u) << "both surfaces are tested every time";
    EXPECT_EQ(isLost[0].object, c.primarySurface);
    EXPECT_EQ(isLost[1].object, c.zBuffer);
    EXPECT_EQ(spy->forced, std::vector<ForceUpdateSpy::Area>(expected.size(), whole));
    EXPECT_EQ(c.primarySurface->IsLost(), DD_OK);
    EXPECT_EQ(c.zBuffer->IsLost(), DD_OK);
    EXPECT_TRUE(texts.empty());

    // The tick then goes on as usual.
    EXPECT_EQ(RenderScene(scene), 1);
    EXPECT_EQ(PresentFrame(), 1);
  }
}

TEST_F(FrameRenderingTest, ASurfaceThatCannotBeRestoredShowsInTheBlit) {
  ASSERT_TRUE(ddraw::MakeSurfaceLost(renderContext.primarySurface));
  testctl::FailCall("IDirectDrawSurface::Restore", 1, DDERR_SURFACELOST);
  EXPECT_EQ(RestoreSurfaces(), 1);
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(RenderScene(scene), 1);
  EXPECT_EQ(PresentFrame(), 0);
  ASSERT_EQ(texts.size(), 2u);
  ExpectReportAt(texts[0], "DirectDraw Error ", "DDERR_SURFACELOST", "FrameRendering.cpp");
  ExpectNothingHeld();
}

// The scene switches the layer on even when its viewport could not be made;
// the frame operations must then not use the released objects.
TEST_F(FrameRenderingTest, ActivationAfterAFailedViewportIsReportedOnceNotDereferenced) {
  ASSERT_EQ(SetUpDevice(), 1);
  testctl::FailCall("IDirect3DRM2::CreateViewport", 1, D3DRMERR_BADDEVICE);
  ASSERT_EQ(KVRViewport(camera), 0);
  SetActive(1);
  StartRecord();

  EXPECT_EQ(RestoreSurfaces(), 1);
  EXPECT_EQ(RenderScene(scene), 0);
  EXPECT_EQ(PresentFrame(), 0);
  EXPECT_EQ(RenderScene(scene), 0);

  ASSERT_EQ(texts.size(), 2u);
  ExpectReportAt(texts[0], "Direct3D-RM Error : ", "D3DRMERR_BADOBJECT", "FrameRendering.cpp");
  EXPECT_EQ(texts[1], cleanupLine);
  EXPECT_EQ(renderContext.active, 0);
}

}  // namespace
}  // namespace vyn::lumivex::test
