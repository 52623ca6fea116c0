// The picture loaded through GDI: the default circle on a fresh install, a
// file that cannot be loaded, and the device contexts given back.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "SlabBitmap.h"
#include "SlabMesh.h"
#include "gdi/GdiObjects.h"

namespace {

using namespace vyn::saver;
namespace fs = std::filesystem;

std::string Source(const std::string& relative) {
  const char* root = getenv("VYN_SOURCE_DIR");
  return std::string(root != nullptr ? root : ".") + "/" + relative;
}

// A fresh install: no settings file, nothing under the drive folders, the
// shipped data folder of the source tree.
class FreshInstall : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(testing::TempDir()) / ("vyn_fresh_" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "windows");
    fs::create_directories(root_ / "home");
    Set("VYN_WINDOWS_DIR", (root_ / "windows").string());
    Set("HOME", (root_ / "home").string());
    Unset("XDG_DATA_HOME");
    Unset("XDG_CONFIG_HOME");
    Unset("VYN_DRIVE_C");
    Unset("VYN_DATA_DIR");
  }
  void TearDown() override {
    for (auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
    fs::remove_all(root_);
  }
  void Set(const char* name, const std::string& value) {
    Remember(name);
    setenv(name, value.c_str(), 1);
  }
  void Unset(const char* name) {
    Remember(name);
    unsetenv(name);
  }
  void Remember(const char* name) {
    const char* old = getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  }

  fs::path root_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

float Model(double p) { return static_cast<float>((p - 64.0) / 20.0); }

TEST_F(FreshInstall, TheDefaultSettingShowsTheCircle) {
  const std::size_t objectsBefore = vyn::gdi::LiveObjectCount();
  PixelGrid grid = LoadSlabBitmap();
  ASSERT_EQ(grid.width, 128);
  ASSERT_EQ(grid.height, 128);
  const SlabMesh mesh = BuildSlabMesh(grid);
  // The circle of radius 48 about (64, 64) crosses sampled rows 16 to 112:
  // one run each, so one slab each.
  ASSERT_EQ(mesh.slabCount, 25);
  EXPECT_EQ(mesh.vertices[0].z, Model(16));
  // Row 64 is the widest: columns 16 to 112.
  const D3DVECTOR* middle = &mesh.vertices[12 * 12];
  EXPECT_EQ(middle[0].z, Model(64));
  EXPECT_EQ(middle[0].x, Model(16));
  EXPECT_EQ(middle[2].x, Model(113));
  EXPECT_EQ(middle[0].y, Model(16));
  grid.Release();
  EXPECT_EQ(vyn::gdi::LiveObjectCount(), objectsBefore) << "device contexts and the bitmap are given back";
}

TEST_F(FreshInstall, APictureThatCannotBeLoadedGetsTheBoxAndAnEmptyMesh) {
  const std::size_t objectsBefore = vyn::gdi::LiveObjectCount();
  testing::internal::CaptureStderr();
  PixelGrid grid = LoadSlabBitmapFrom(Source("tests/gdi/fixtures/bad/truncated_pixels.bmp").c_str());
  const std::string box = testing::internal::GetCapturedStderr();
  EXPECT_NE(box.find("SCRNSAVE"), std::string::npos) << box;
  EXPECT_NE(box.find("Could not load Bitmap."), std::string::npos) << box;
  EXPECT_EQ(grid.width, 0);
  EXPECT_EQ(grid.height, 0);
  EXPECT_EQ(BuildSlabMesh(grid).slabCount, 0);
  EXPECT_EQ(vyn::gdi::LiveObjectCount(), objectsBefore);
}

TEST_F(FreshInstall, EveryBadFixtureLeavesAnEmptyMeshAndARunningSaver) {
  testing::internal::CaptureStderr();
  int refused = 0;
  for (const auto& entry : fs::directory_iterator(Source("tests/gdi/fixtures/bad"))) {
    PixelGrid grid = LoadSlabBitmapFrom(entry.path().c_str());
    EXPECT_EQ(BuildSlabMesh(grid).slabCount, 0) << entry.path();
    ++refused;
  }
  const std::string boxes = testing::internal::GetCapturedStderr();
  EXPECT_GE(refused, 25);
  std::size_t count = 0;
  for (std::size_t at = boxes.find("Could not load Bitmap."); at != std::string::npos;
       at = boxes.find("Could not load Bitmap.", at + 1))
    ++count;
  EXPECT_EQ(count, static_cast<std::size_t>(refused));
}

}  // namespace
