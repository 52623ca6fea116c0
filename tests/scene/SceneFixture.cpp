#include "SceneFixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Lumivex.h"
#include "Motion.h"
#include "Scene.h"
#include "Settings.h"

namespace vyn::scenetest {
namespace {

// A 24-bit bottom-up BMP: white, with a black bar across the middle rows and
// a second bar on the right, so every sampled row has one or two runs.
void WritePicture(const std::string& path, int width, int height) {
  const int rowBytes = (width * 3 + 3) & ~3;
  const int imageBytes = rowBytes * height;
  std::vector<unsigned char> file(54 + static_cast<size_t>(imageBytes), 0);
  auto put32 = [&](int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[static_cast<size_t>(at + i)] = static_cast<unsigned char>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  put32(34, static_cast<std::uint32_t>(imageBytes));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool black = (x >= 4 && x < 12) || (x >= 20 && x < 26);
      unsigned char* p = &file[54 + static_cast<size_t>(y * rowBytes + x * 3)];
      p[0] = p[1] = p[2] = black ? 0 : 255;
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                              static_cast<std::streamsize>(file.size()));
}

}  // namespace

void SceneFixture::SetUp() {
  char pattern[] = "/tmp/vyn-scene-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  folder = pattern;
  picturePath = folder + "/bars.bmp";
  WritePicture(picturePath, 32, 16);
  setenv("VYN_WINDOWS_DIR", folder.c_str(), 1);
  setenv("VYN_DISPLAY", "offscreen", 1);
  WriteSettings("", "");
  saver::sceneHandles = {};
  saver::motionState = {};
}

void SceneFixture::TearDown() {
  lumivex::Cleanup();
  if (rm != nullptr) rm->Release();
  if (saver::sceneHandles.camera != nullptr) saver::sceneHandles.camera->Release();
  if (saver::sceneHandles.scene != nullptr) saver::sceneHandles.scene->Release();
  saver::sceneHandles = {};
  // Every fake the set-up made went with the root, the camera and the layer:
  // no reference was kept or dropped by mistake.
  EXPECT_TRUE(LiveFakes().empty()) << LiveFakes().size() << " fake objects left";
  LiveFakes().clear();
  std::filesystem::remove_all(folder);
  unsetenv("VYN_WINDOWS_DIR");
}

void SceneFixture::WriteSettings(const std::string& ssSection, const std::string& settingSection) {
  std::ofstream ini(folder + "/vyn.ini");
  ini << "[SS_SECTION]\n" << ssSection << "[SETTING]\nFILENAME=" << picturePath << "\n" << settingSection;
}

int SceneFixture::RunCreateScene() {
  lumivex::Initialize();
  rm = new FakeRetainedMode;
  rm->fail = failures;
  rm->AddRef();  // the test's own reference, so the fake outlives a clean-up
  lumivex::renderContext.retainedMode = rm;
  lumivex::renderContext.retainedModeDevice = new FakeDevice;
  return saver::CreateScene();
}

}  // namespace vyn::scenetest
