// The saver's settings: defaults, clamping, the colour shares and the bitmap
// path, read from a real vyn.ini in a Windows directory of the test's own.
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "Settings.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace {

using vyn::saver::LoadSaverSettings;
using vyn::saver::ReadBitmapPath;
using vyn::saver::saverSettings;

// Before anything is read, the record already carries alpha 1.0.
TEST(SettingsRecordTest, AlphaIsOneFromTheStart) { EXPECT_EQ(saverSettings.colorAlpha, 1.0); }

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    environment.Set("VYN_WINDOWS_DIR", windows.path());
    // A record full of values no file gives, so a field left unwritten shows.
    saverSettings = {-1.0, -1, -1.0, -1.0, -1.0, 1.0};
  }
  void WriteIni(const std::string& text) { windows.Write("vyn.ini", text); }

  std::string BitmapPath() {
    char path[vyn::saver::bitmapPathSize];
    std::memset(path, '#', sizeof path);
    ReadBitmapPath(path);
    EXPECT_NE(std::memchr(path, '\0', sizeof path), nullptr) << "the path must be terminated";
    return path;
  }

  vyn::test::TempFolder windows;
  vyn::test::ScopedEnvironment environment;
};

TEST_F(SettingsTest, WithoutAFileEverySettingTakesItsDefault) {
  LoadSaverSettings();
  EXPECT_EQ(saverSettings.speedDegrees, 5.0);
  EXPECT_EQ(saverSettings.shade, 0);
  EXPECT_EQ(saverSettings.colorRed, 1.0);
  EXPECT_EQ(saverSettings.colorGreen, 1.0);
  EXPECT_EQ(saverSettings.colorBlue, 1.0);
  EXPECT_EQ(saverSettings.colorAlpha, 1.0);
  EXPECT_EQ(BitmapPath(), "C:\\vynFile\\circle.BMP");
}

TEST_F(SettingsTest, AFileWithOtherSectionsOnlyStillGivesDefaults) {
  WriteIni("[OTHER]\nSPEED=9\nColorR=0\n");
  LoadSaverSettings();
  EXPECT_EQ(saverSettings.speedDegrees, 5.0);
  EXPECT_EQ(saverSettings.colorRed, 1.0);
}

struct Clamp {
  const char* line;  // a key=value line of its section
  const char* section;
  double speed;
  int shade;
  double red, green, blue;
};

class ClampingTest : public SettingsTest, public ::testing::WithParamInterface<Clamp> {};

TEST_P(ClampingTest, OutOfRangeValuesAreClamped) {
  const Clamp& c = GetParam();
  WriteIni(std::string("[") + c.section + "]\n" + c.line + "\n");
  LoadSaverSettings();
  EXPECT_EQ(saverSettings.speedDegrees, c.speed) << c.line;
  EXPECT_EQ(saverSettings.shade, c.shade) << c.line;
  EXPECT_EQ(saverSettings.colorRed, c.red) << c.line;
  EXPECT_EQ(saverSettings.colorGreen, c.green) << c.line;
  EXPECT_EQ(saverSettings.colorBlue, c.blue) << c.line;
  EXPECT_EQ(saverSettings.colorAlpha, 1.0);
}

constexpr double full = 1.0;

INSTANTIATE_TEST_SUITE_P(
    Cases, ClampingTest,
    ::testing::Values(Clamp{"SPEED=0", "SS_SECTION", 1.0, 0, full, full, full},
                      Clamp{"SPEED=1", "SS_SECTION", 1.0, 0, full, full, full},
                      Clamp{"SPEED=7", "SS_SECTION", 7.0, 0, full, full, full},
                      Clamp{"SPEED=10", "SS_SECTION", 10.0, 0, full, full, full},
                      Clamp{"SPEED=11", "SS_SECTION", 10.0, 0, full, full, full},
                      Clamp{"SPEED=-5", "SS_SECTION", 1.0, 0, full, full, full},
                      Clamp{"SPEED=4294967295", "SS_SECTION", 10.0, 0, full, full, full},
                      Clamp{"SPEED=-2147483648", "SS_SECTION", 1.0, 0, full, full, full},
                      Clamp{"SHADE=1", "SS_SECTION", 5.0, 1, full, full, full},
                      Clamp{"SHADE=2", "SS_SECTION", 5.0, 0, full, full, full},
                      Clamp{"SHADE=-1", "SS_SECTION", 5.0, 0, full, full, full},
                      Clamp{"ColorR=0", "SETTING", 5.0, 0, 0.0, full, full},
                      Clamp{"ColorR=51", "SETTING", 5.0, 0, 0.2, full, full},
                      Clamp{"ColorG=300", "SETTING", 5.0, 0, full, 1.0, full},
                      Clamp{"ColorB=-20", "SETTING", 5.0, 0, full, full, 0.0},
                      Clamp{"ColorB=255", "SETTING", 5.0, 0, full, full, 1.0}));

// A share times 255.0, truncated, gives back exactly the number in the file.
TEST_F(SettingsTest, EveryChannelValueSurvivesTheRoundTrip) {
  for (int n = 0; n <= 255; ++n) {
    WriteIni("[SETTING]\nColorR=" + std::to_string(n) + "\nColorG=" + std::to_string(255 - n) + "\n");
    LoadSaverSettings();
    EXPECT_EQ(static_cast<int>(saverSettings.colorRed * 255.0), n);
    EXPECT_EQ(static_cast<int>(saverSettings.colorGreen * 255.0), 255 - n);
  }
}

TEST_F(SettingsTest, AnEmptyFilenameGivesAnEmptyPath) {
  WriteIni("[SETTING]\nFILENAME=\n");
  EXPECT_EQ(BitmapPath(), "");
}

TEST_F(SettingsTest, ALongFilenameIsCutTo255Characters) {
  std::string longName;
  for (int i = 0; i < 300; ++i) longName += static_cast<char>('a' + i % 26);
  WriteIni("[SETTING]\nFILENAME=" + longName + "\n");
  EXPECT_EQ(BitmapPath(), longName.substr(0, 255));
}

// CRLF line ends, quotes, comments, odd spacing and case, a byte-order mark
// and a duplicate key, as a hand-edited file from Windows might have them.
TEST_F(SettingsTest, AHandEditedWindowsFileIsReadAsWindowsWould) {
  WriteIni(
      "\xEF\xBB\xBF; vyn settings\r\n"
      "[ ss_section ]\r\n"
      "   speed   =   8   ; fast\r\n"
      ";SHADE=0\r\n"
      "Shade=1\r\n"
      "SPEED=2\r\n"
      "\r\n"
      "[Setting]\r\n"
      "colorr = '0'\r\n"
      "COLORG=\t\"102\"\r\n"
      "ColorB=  51  \r\n"
      "FileName = \"C:\\My Pictures\\logo.bmp\"  \r\n");
  LoadSaverSettings();
  EXPECT_EQ(saverSettings.speedDegrees, 8.0);
  EXPECT_EQ(saverSettings.shade, 1);
  EXPECT_EQ(saverSettings.colorRed, 0.0);
  EXPECT_EQ(saverSettings.colorGreen, 0.4);
  EXPECT_EQ(saverSettings.colorBlue, 0.2);
  EXPECT_EQ(BitmapPath(), "C:\\My Pictures\\logo.bmp");
}

TEST_F(SettingsTest, AChangedFileShowsAtTheNextRead) {
  WriteIni("[SS_SECTION]\nSPEED=3\n");
  LoadSaverSettings();
  EXPECT_EQ(saverSettings.speedDegrees, 3.0);
  WriteIni("[SS_SECTION]\nSPEED=9\n");
  LoadSaverSettings();
  EXPECT_EQ(saverSettings.speedDegrees, 9.0);
}

}  // namespace
