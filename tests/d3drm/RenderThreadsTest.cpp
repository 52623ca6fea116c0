// Which threads draw a frame: on a display that waits for the refresh, the
// calling thread alone (fewest cycles); on an unpaced one, or when a count
// was set, the whole pool.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "RenderFixture.h"
#include "d3drm/Device.h"
#include "display/Display.h"
#include "display/offscreen/OffscreenDisplay.h"

namespace vyn::d3drm::testing {
namespace {

// The offscreen display, but presenting as a refresh-paced screen does.
class PacedDisplay final : public display::Display {
 public:
  const char* name() const override { return "paced"; }
  int width() const override { return inner_.width(); }
  int height() const override { return inner_.height(); }
  display::PixelFormat format() const override { return inner_.format(); }
  bool systemPalette(PALETTEENTRY (&entries)[256]) const override { return inner_.systemPalette(entries); }
  display::NativeWindow createWindow(const display::WindowOptions& options) override {
    return inner_.createWindow(options);
  }
  void showWindow(display::NativeWindow window, bool visible) override { inner_.showWindow(window, visible); }
  void destroyWindow(display::NativeWindow window) override { inner_.destroyWindow(window); }
  RECT windowRect(display::NativeWindow window) const override { return inner_.windowRect(window); }
  void setPointerVisible(bool visible) override { inner_.setPointerVisible(visible); }
  void present(const RECT& rect, const std::uint8_t* pixels, int pitch) override {
    inner_.present(rect, pixels, pitch);
  }
  bool nextEvent(display::InputEvent& event) override { return inner_.nextEvent(event); }
  std::uint32_t lossGeneration() const override { return inner_.lossGeneration(); }
  bool pacesPresents() const override { return true; }

 private:
  display::OffscreenDisplay inner_;
};

class RenderThreadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* before = std::getenv("VYN_RENDER_THREADS");
    if (before != nullptr) savedThreads_ = before;
    hadThreads_ = before != nullptr;
    setenv("VYN_RENDER_THREADS", "3", 1);  // a pool whatever the machine
  }
  void TearDown() override {
    if (hadThreads_) {
      setenv("VYN_RENDER_THREADS", savedThreads_.c_str(), 1);
    } else {
      unsetenv("VYN_RENDER_THREADS");
    }
    display::SetActiveDisplay(nullptr);
  }

  // A fresh device's choice for its first frame.
  static bool FirstFrameUsesPool(bool setThreads) {
    MemorySurface target(64, 48, 32);
    Device* device = new Device(&target.memory, nullptr, D3DCOLOR_RGB);
    if (setThreads) device->SetRenderThreads(3);
    raster::ThreadPool* pool = device->RenderPool();
    const bool used = pool != nullptr && pool->threads() == 3;
    device->Release();
    return used;
  }

 private:
  std::string savedThreads_;
  bool hadThreads_ = false;
};

TEST_F(RenderThreadsTest, PacedDisplaysDrawSmallFramesAloneUnlessACountWasSet) {
  display::SetActiveDisplay(std::make_unique<display::OffscreenDisplay>());
  EXPECT_TRUE(FirstFrameUsesPool(false));
  EXPECT_TRUE(FirstFrameUsesPool(true));

  display::SetActiveDisplay(std::make_unique<PacedDisplay>());
  EXPECT_FALSE(FirstFrameUsesPool(false));
  EXPECT_TRUE(FirstFrameUsesPool(true));
}

TEST_F(RenderThreadsTest, WithoutAnActiveDisplayFramesUseThePool) {
  display::SetActiveDisplay(nullptr);
  EXPECT_FALSE(display::ActiveDisplayPacesPresents());
  EXPECT_TRUE(FirstFrameUsesPool(false));
}

}  // namespace
}  // namespace vyn::d3drm::testing
