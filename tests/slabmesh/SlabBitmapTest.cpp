// The picture loaded through GDI: the default circle on a fresh install, a
// file that cannot be loaded, and the device contexts given back.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "Grids.h"
#include "SlabBitmap.h"
#include "SlabMesh.h"
#include "gdi/GdiObjects.h"
#include "support/ScopedEnvironment.h"

namespace {

using namespace vyn::saver;
using vyn::test::Model;
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
    env_.Set("VYN_WINDOWS_DIR", (root_ / "windows").string());
    env_.Set("HOME", (root_ / "home").string());
    env_.Clear("XDG_DATA_HOME");
    env_.Clear("XDG_CONFIG_HOME");
    env_.Clear("VYN_DRIVE_C");
    env_.Clear("VYN_DATA_DIR");
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
  vyn::test::ScopedEnvironment env_;
};

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
