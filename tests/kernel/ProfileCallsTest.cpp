// GetPrivateProfileIntA and GetPrivateProfileStringA on real files in the
// Windows directory, and where that directory is.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

#include "kernel/Kernel.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace {

class ProfileCallsTest : public ::testing::Test {
 protected:
  void SetUp() override { environment.Set("VYN_WINDOWS_DIR", windows.path()); }

  void WriteIni(const std::string& text) { windows.Write("vyn.ini", text); }

  std::string ReadString(const char* section, const char* key, const char* fallback, DWORD size = 256,
                         DWORD* result = nullptr) {
    std::vector<char> buffer(size + 8, '#');
    DWORD copied = GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, "vyn.ini");
    if (result) *result = copied;
    EXPECT_EQ(buffer[size], '#') << "wrote past the buffer";
    return std::string(buffer.data(), copied);
  }

  int ReadInt(const char* section, const char* key, int fallback) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, "vyn.ini"));
  }

  vyn::test::TempFolder windows;
  vyn::test::ScopedEnvironment environment;
};

TEST_F(ProfileCallsTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(ReadInt("SS_SECTION", "SPEED", 5), 5);
  EXPECT_EQ(ReadString("SETTING", "FILENAME", "C:\\x.bmp"), "C:\\x.bmp");
  WriteIni("[SS_SECTION]\nSHADE=1\n");
  EXPECT_EQ(ReadInt("SS_SECTION", "SPEED", 5), 5);
  EXPECT_EQ(ReadInt("SETTING", "SHADE", 7), 7);
  EXPECT_EQ(ReadInt("ss_section", "shade", 7), 1);
}

TEST_F(ProfileCallsTest, IntegersAreSignedThirtyTwoBitPatterns) {
  WriteIni("[S]\nneg=-20\nbig=99999999999\ntext=  12 degrees\nempty=\nwords=fast\n");
  EXPECT_EQ(GetPrivateProfileIntA("S", "neg", 0, "vyn.ini"), static_cast<UINT>(-20));
  EXPECT_EQ(ReadInt("S", "big", 0), 2147483647);
  EXPECT_EQ(ReadInt("S", "text", 0), 12);
  EXPECT_EQ(ReadInt("S", "empty", 9), 9) << "an empty value gives the default";
  EXPECT_EQ(ReadInt("S", "words", 9), 0) << "a value without digits reads as 0";
  EXPECT_EQ(GetPrivateProfileIntA("S", "missing", -3, "vyn.ini"), static_cast<UINT>(-3));
}

TEST_F(ProfileCallsTest, StringsAreCutToTheBufferAndAlwaysTerminated) {
  WriteIni("[S]\nk=abcdefghij\nempty=\n");
  DWORD result = 0;
  EXPECT_EQ(ReadString("S", "k", "", 5, &result), "abcd");
  EXPECT_EQ(result, 4u);
  EXPECT_EQ(ReadString("S", "k", "", 11, &result), "abcdefghij");
  EXPECT_EQ(ReadString("S", "k", "", 1, &result), "");
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(ReadString("S", "empty", "default"), "") << "present but empty is not missing";
  EXPECT_EQ(ReadString("S", "none", "defaultvalue", 8), "default");

  char untouched = '#';
  EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", &untouched, 0, "vyn.ini"), 0u);
  EXPECT_EQ(untouched, '#');
}

TEST_F(ProfileCallsTest, TheDefaultLosesTrailingBlanksAndNullMeansEmpty) {
  EXPECT_EQ(ReadString("S", "k", "path   "), "path");
  EXPECT_EQ(ReadString("S", "k", "  lead"), "  lead");
  EXPECT_EQ(ReadString("S", "k", nullptr), "");
}

TEST_F(ProfileCallsTest, NullSectionOrKeyListsNamesEndedByTwoNuls) {
  WriteIni("[One]\na=1\nbb=2\n[Two]\n");
  DWORD result = 0;
  EXPECT_EQ(ReadString(nullptr, nullptr, "x", 64, &result), std::string("One\0Two\0", 8));
  EXPECT_EQ(ReadString("one", nullptr, "x", 64, &result), std::string("a\0bb\0", 5));
  // Too small: the last name that fits is cut and followed by two NULs.
  std::vector<char> buffer(8, '#');
  EXPECT_EQ(GetPrivateProfileStringA("one", nullptr, "", buffer.data(), 5, "vyn.ini"), 3u);
  EXPECT_EQ(std::string(buffer.data(), 5), std::string("a\0b\0\0", 5));
  EXPECT_EQ(buffer[5], '#');
}

// Anything that is not a readable regular file acts as a missing file, and
// must neither block nor fail.
TEST_F(ProfileCallsTest, UnreadableSettingsFileActsAsMissing) {
  mkdir((windows / "vyn.ini").c_str(), 0700);
  EXPECT_EQ(ReadInt("S", "k", 4), 4);
  rmdir((windows / "vyn.ini").c_str());

  ASSERT_EQ(mkfifo((windows / "vyn.ini").c_str(), 0600), 0);
  EXPECT_EQ(ReadString("S", "k", "fifo"), "fifo");
  unlink((windows / "vyn.ini").c_str());

  ASSERT_EQ(symlink("/nonexistent/vyn.ini", (windows / "vyn.ini").c_str()), 0);
  EXPECT_EQ(ReadInt("S", "k", 4), 4);
  unlink((windows / "vyn.ini").c_str());

  if (geteuid() != 0) {  // root reads through any permission bits
    WriteIni("[S]\nk=1\n");
    chmod((windows / "vyn.ini").c_str(), 0);
    EXPECT_EQ(ReadInt("S", "k", 4), 4);
  }
}

TEST_F(ProfileCallsTest, ANameWithAFolderIsReadFromThere) {
  vyn::test::TempFolder elsewhere;
  std::string path = elsewhere.Write("other.ini", "[S]\nk=3\n");
  EXPECT_EQ(GetPrivateProfileIntA("S", "k", 0, path.c_str()), 3u);
  EXPECT_EQ(GetPrivateProfileIntA("S", "k", 0, "other.ini"), 0u);
  EXPECT_EQ(GetPrivateProfileIntA("S", "k", 8, nullptr), 8u);
}

TEST_F(ProfileCallsTest, AHugeFileIsReadOnlyAsFarAsTheCap) {
  std::string text = "[S]\nfirst=1\n" + std::string(3 << 20, 'x') + "\nlast=2\n";
  WriteIni(text);
  EXPECT_EQ(ReadInt("S", "first", 0), 1);
  EXPECT_EQ(ReadInt("S", "last", 0), 0);
}

TEST(WindowsDirectoryTest, ComesFromTheEnvironment) {
  vyn::test::ScopedEnvironment environment;
  environment.Set("VYN_WINDOWS_DIR", "/explicit");
  environment.Set("XDG_CONFIG_HOME", "/config");
  environment.Set("HOME", "/home/someone");
  EXPECT_EQ(vyn::kernel::WindowsDirectory(), "/explicit");
  environment.Clear("VYN_WINDOWS_DIR");
  EXPECT_EQ(vyn::kernel::WindowsDirectory(), "/config/vyn");
  environment.Set("XDG_CONFIG_HOME", "");
  EXPECT_EQ(vyn::kernel::WindowsDirectory(), "/home/someone/.config/vyn");
  environment.Clear("XDG_CONFIG_HOME");
  EXPECT_EQ(vyn::kernel::WindowsDirectory(), "/home/someone/.config/vyn");
}

}  // namespace
