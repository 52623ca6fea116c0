#include "OursRunner.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include "FrameTick.h"
#include "Lumivex.h"
#include "Motion.h"
#include "Pictures.h"
#include "SaverWindow.h"
#include "Scene.h"
#include "SettingsFolder.h"
#include "StageClock.h"
#include "display/Display.h"
#include "display/offscreen/OffscreenDisplay.h"
#include "kernel/Kernel.h"
#include "user/User.h"

namespace vyn::bench {

namespace {

class OursRunner final : public FrameSource {
 public:
  bool setUp(const ScenarioOptions& options, const Case& c, std::string& error) override {
    const std::string picture = PicturePath(options, c.picture);
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(picture, ignored)) {
      error = "no picture at " + picture + " (scripts/make_pictures.py makes them)";
      return false;
    }
    if (!settings_.create(picture, c.style == Style::Wireframe ? 1 : 0, options.speed)) {
      error = "cannot write the settings file";
      return false;
    }
    // The start sequence of run mode, step by step.
    HINSTANCE instance = GetModuleHandleA(nullptr);
    stages_.start();
    if (saver::RegisterSaverClass(instance) == 0 || !saver::CreateSaverWindow(instance, SW_SHOWDEFAULT)) {
      error = "the saver window cannot be made";
      return false;
    }
    stages_.mark("window");
    if (!lumivex::Initialize() || !lumivex::CreateDirectDrawWin(saver::saverWindow)) {
      error = "the rendering layer cannot start";
      return false;
    }
    stages_.mark("directdraw");
    if (!lumivex::CreateD3DRM()) {
      error = "the rendering layer cannot start";
      return false;
    }
    stages_.mark("device");
    saver::CreateScene();
    stages_.mark("scene");
    firstFrame_ = true;
    return true;
  }

  void drawFrame() override {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    saver::StepMotion();
    saver::TickFrame();
    if (firstFrame_) {
      stages_.mark("first-frame");
      firstFrame_ = false;
    }
  }

  std::string setUpStages() const override { return stages_.text(); }

  // What the screen shows, read back from the offscreen display.
  bool snapshot(FrameImage& image) override {
    auto* screen = dynamic_cast<display::OffscreenDisplay*>(&display::ActiveDisplay());
    if (screen == nullptr) return false;
    image.width = screen->width();
    image.height = screen->height();
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        image.pixels[static_cast<std::size_t>(y) * image.width + x] = screen->colorAt(x, y);
    return true;
  }

  // The scene keeps no count of its faces; the peer's row gives it.
  long long triangleCount() const override { return 0; }

 private:
  SettingsFolder settings_;
  StageClock stages_;
  bool firstFrame_ = false;
};

}  // namespace

std::unique_ptr<FrameSource> MakeOursRunner() { return std::make_unique<OursRunner>(); }

}  // namespace vyn::bench
