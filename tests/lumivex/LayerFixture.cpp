#include "LayerFixture.h"

#include <algorithm>
#include <memory>

#include "SourceSite.h"
#include "d3d/DeviceListControl.h"
#include "display/Display.h"
#include "display/offscreen/OffscreenDisplay.h"
#include "kernel/Kernel.h"
#include "testctl/TestControls.h"
#include "user/User.h"

namespace vyn::lumivex::test {

namespace {

const char* const windowClassName = "lumivex-test";

LRESULT TestWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterTestClass() {
  static const bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TestWindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = windowClassName;
    return RegisterClassA(&windowClass) != 0;
  }();
  (void)registered;
}

const IUnknown* AsUnknown(const IUnknown* object) { return object; }

CleanupSnapshot TakeSnapshot() {
  const RenderContext& c = renderContext;
  const HeldObject inOrder[] = {
      {"viewport", AsUnknown(c.viewport)},
      {"retainedModeDevice", AsUnknown(c.retainedModeDevice)},
      {"device", AsUnknown(c.device)},
      {"palette", AsUnknown(c.palette)},
      {"zBuffer", AsUnknown(c.zBuffer)},
      {"retainedMode", AsUnknown(c.retainedMode)},
      {"direct3D", AsUnknown(c.direct3D)},
      {"backBuffer", AsUnknown(c.backBuffer)},
      {"clipper", AsUnknown(c.clipper)},
      {"primarySurface", AsUnknown(c.primarySurface)},
      {"directDraw", AsUnknown(c.directDraw)},
  };
  CleanupSnapshot snapshot;
  for (const HeldObject& held : inOrder)
    if (held.object != nullptr) snapshot.held.push_back(held);
  snapshot.callIndex = testctl::Calls().size();
  return snapshot;
}

}  // namespace

void LayerTest::SetUp() {
  testctl::Reset();
  kernel::SetDebugSink([this](const char* text) {
    texts.emplace_back(text);
    if (texts.back() == cleanupLine) cleanups.push_back(TakeSnapshot());
  });
  UseDisplay(displayWidth, displayHeight, displayBits);
  Initialize();
  StartRecord();
}

void LayerTest::TearDown() {
  Cleanup();
  if (camera != nullptr) camera->Release();
  if (scene != nullptr) scene->Release();
  if (window != nullptr) DestroyWindow(window);
  kernel::SetDebugSink({});
  testctl::Reset();
  d3d::ResetDevices();
  display::SetActiveDisplay(nullptr);
}

void LayerTest::UseDisplay(int width, int height, int bitsPerPixel) {
  displayWidth = width;
  displayHeight = height;
  displayBits = bitsPerPixel;
  display::SetActiveDisplay(std::make_unique<display::OffscreenDisplay>(width, height, bitsPerPixel));
}

void LayerTest::RestartOnDisplay(int width, int height, int bitsPerPixel) {
  Cleanup();
  if (window != nullptr) DestroyWindow(window);
  window = nullptr;
  UseDisplay(width, height, bitsPerPixel);
}

HWND LayerTest::OpenWindow(int x, int y, int width, int height) {
  RegisterTestClass();
  window = CreateWindowExA(0, windowClassName, "lumivex", WS_POPUP | WS_VISIBLE, x, y, width,
                           height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  return window;
}

int LayerTest::SetUpSurfaces() {
  if (window == nullptr) OpenWindow(0, 0, displayWidth, displayHeight);
  return CreateDirectDrawWin(window);
}

int LayerTest::SetUpDevice() {
  if (SetUpSurfaces() == 0) return 0;
  return CreateD3DRM();
}

int LayerTest::SetUpViewport() {
  if (SetUpDevice() == 0) return 0;
  if (camera != nullptr) camera->Release();
  if (scene != nullptr) scene->Release();
  camera = scene = nullptr;
  if (renderContext.retainedMode->CreateFrame(nullptr, &scene) != D3DRM_OK) return 0;
  if (renderContext.retainedMode->CreateFrame(scene, &camera) != D3DRM_OK) return 0;
  return KVRViewport(camera);
}

void LayerTest::StartRecord() {
  texts.clear();
  cleanups.clear();
  testctl::ClearCalls();
  testctl::StartRecording();
}

std::vector<std::string> LayerTest::HeldAtCleanup(size_t index) const {
  std::vector<std::string> names;
  if (index >= cleanups.size()) return {"<no such Cleanup>"};
  for (const HeldObject& held : cleanups[index].held) names.emplace_back(held.field);
  return names;
}

void LayerTest::ExpectCleanupReleasedAll(size_t index) const {
  ASSERT_LT(index, cleanups.size());
  const CleanupSnapshot& snapshot = cleanups[index];
  const std::vector<testctl::CallRecord> calls = testctl::Calls();
  const size_t end = index + 1 < cleanups.size() ? cleanups[index + 1].callIndex : calls.size();

  auto isHeld = [&](const void* object) {
    return std::any_of(snapshot.held.begin(), snapshot.held.end(),
                       [&](const HeldObject& held) { return held.object == object; });
  };
  std::vector<std::string> released;
  for (size_t i = snapshot.callIndex; i < end; ++i) {
    if (calls[i].operation != "Release" || !isHeld(calls[i].object)) continue;
    for (const HeldObject& held : snapshot.held)
      if (held.object == calls[i].object) released.emplace_back(held.field);
  }
  EXPECT_EQ(released, HeldAtCleanup(index)) << "Releases made by Cleanup " << index;

  for (const HeldObject& held : snapshot.held) {
    const auto count = std::count_if(calls.begin(), calls.end(), [&](const testctl::CallRecord& c) {
      return c.operation == "Release" && c.object == held.object;
    });
    EXPECT_EQ(count, 1) << held.field << " released " << count << " times in the record";
  }
}

void LayerTest::ExpectNothingHeld() const {
  const RenderContext& c = renderContext;
  EXPECT_EQ(c.directDraw, nullptr);
  EXPECT_EQ(c.direct3D, nullptr);
  EXPECT_EQ(c.retainedMode, nullptr);
  EXPECT_EQ(c.retainedModeV1, nullptr);
  EXPECT_EQ(c.primarySurface, nullptr);
  EXPECT_EQ(c.backBuffer, nullptr);
  EXPECT_EQ(c.zBuffer, nullptr);
  EXPECT_EQ(c.palette, nullptr);
  EXPECT_EQ(c.clipper, nullptr);
  EXPECT_EQ(c.device, nullptr);
  EXPECT_EQ(c.retainedModeDevice, nullptr);
  EXPECT_EQ(c.viewport, nullptr);
}

std::string Describe(const RECT& rect) {
  return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ")-(" +
         std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + ")";
}

int ExpectReportAt(const std::string& text, const std::string& prefix, const std::string& name,
                   const std::string& file) {
  ReportedSite site;
  EXPECT_TRUE(ParseReport(text, prefix, site)) << "not a report: " << text;
  EXPECT_EQ(site.name, name);
  EXPECT_EQ(site.file, file);
  const std::string reporter =
      prefix == "DirectDraw Error " ? "VYN_REPORT(ReportDDError" : "VYN_REPORT(ReportD3DRMError";
  EXPECT_NE(SourceLine(site.file, site.line).find(reporter), std::string::npos)
      << site.file << ":" << site.line << " is not a " << reporter << " call site";
  return site.line > 0 ? site.line : -1;
}

}  // namespace vyn::lumivex::test
