// Windows paths from the settings file mapped onto the host.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "Pictures.h"
#include "gdi/Gdi.h"
#include "kernel/DrivePaths.h"
#include "support/ScopedEnvironment.h"

namespace {

namespace fs = std::filesystem;
using vyn::kernel::ResolveWindowsPath;

class DrivePaths : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(testing::TempDir()) / ("vyn_drives_" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "c" / "VynFile");
    fs::create_directories(root_ / "d" / "pics");
    fs::create_directories(root_ / "data" / "vynFile");
    fs::create_directories(root_ / "empty");
    Touch(root_ / "c" / "VynFile" / "Circle.bmp");
    Touch(root_ / "d" / "pics" / "logo.BMP");
    Touch(root_ / "data" / "vynFile" / "shipped.BMP");
    env_.Set("VYN_DRIVE_C", (root_ / "c").string());
    env_.Set("VYN_DRIVE_D", (root_ / "d").string());
    env_.Set("VYN_DATA_DIR", (root_ / "data").string());
  }
  void TearDown() override { fs::remove_all(root_); }
  static void Touch(const fs::path& path) { std::ofstream(path) << "x"; }
  std::string At(const char* relative) const { return (root_ / relative).string(); }

  fs::path root_;
  vyn::test::ScopedEnvironment env_;
};

TEST_F(DrivePaths, DriveLettersMapToTheirFoldersWithoutRegardToCase) {
  struct Case {
    const char* windowsPath;
    const char* expected;  // relative to the test root; null: not found
  };
  const Case cases[] = {
      {"C:\\vynFile\\circle.BMP", "c/VynFile/Circle.bmp"},
      {"c:\\VYNFILE\\CIRCLE.BMP", "c/VynFile/Circle.bmp"},
      {"C:/vynfile/circle.bmp", "c/VynFile/Circle.bmp"},
      {"C:\\\\vynFile\\\\circle.BMP", "c/VynFile/Circle.bmp"},
      {"\\vynFile\\circle.bmp", "c/VynFile/Circle.bmp"},
      {"D:\\Pics\\Logo.bmp", "d/pics/logo.BMP"},
      {"C:\\vynFile\\shipped.bmp", "data/vynFile/shipped.BMP"},  // not on C: the shipped data folder
      {"D:\\vynFile\\shipped.bmp", "data/vynFile/shipped.BMP"},
      {"C:\\vynFile", nullptr},                                   // a folder is no file
      {"C:\\vynFile\\circle.BMP\\more", nullptr},
      {"C:\\nothing\\here.bmp", nullptr},
      {"E:\\vynFile\\Circle.bmp", nullptr},  // drive E maps to its own (missing) folder
      {"", nullptr},
  };
  for (const Case& c : cases) {
    std::optional<std::string> found = ResolveWindowsPath(c.windowsPath);
    if (c.expected == nullptr) {
      EXPECT_FALSE(found.has_value()) << c.windowsPath << " -> " << found.value_or("");
    } else {
      ASSERT_TRUE(found.has_value()) << c.windowsPath;
      EXPECT_TRUE(fs::equivalent(*found, At(c.expected))) << c.windowsPath << " -> " << *found;
    }
  }
}

TEST_F(DrivePaths, HostPathsAreUsedAsTheyStand) {
  env_.Set("HOME", At("d"));
  EXPECT_EQ(ResolveWindowsPath(At("d/pics/logo.BMP")), At("d/pics/logo.BMP"));
  EXPECT_FALSE(ResolveWindowsPath(At("d/pics/LOGO.bmp")).has_value()) << "host paths keep their case";
  ASSERT_TRUE(ResolveWindowsPath("~/pics/logo.BMP").has_value());
  EXPECT_TRUE(fs::equivalent(*ResolveWindowsPath("~/pics/logo.BMP"), At("d/pics/logo.BMP")));
}

TEST_F(DrivePaths, WithoutOverridesDriveCLivesUnderTheDataHome) {
  env_.Clear("VYN_DRIVE_C");
  env_.Set("XDG_DATA_HOME", At("empty"));
  EXPECT_EQ(vyn::kernel::DriveFolder('c'), At("empty") + "/vyn/drive_c");
  env_.Clear("XDG_DATA_HOME");
  env_.Set("HOME", At("empty"));
  EXPECT_EQ(vyn::kernel::DriveFolder('C'), At("empty") + "/.local/share/vyn/drive_c");
  EXPECT_EQ(vyn::kernel::DriveFolder('d'), At("d"));
}

TEST_F(DrivePaths, TheShippedDefaultIsFoundWhenNothingIsOnDriveC) {
  env_.Set("VYN_DRIVE_C", At("empty"));
  env_.Clear("VYN_DATA_DIR");
  std::optional<std::string> found = ResolveWindowsPath("C:\\vynFile\\circle.BMP");
  ASSERT_TRUE(found.has_value());
  EXPECT_TRUE(fs::equivalent(*found, vyn::test::SourcePath("data/vynFile/circle.BMP")));
  HANDLE bitmap = LoadImageA(nullptr, "C:\\vynFile\\circle.BMP", IMAGE_BITMAP, 0, 0,
                             LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 128);
  EXPECT_EQ(info.bmHeight, 128);
  DeleteObject(bitmap);
}

}  // namespace
