// ShellExecuteA "open": which program it finds, where it starts it, and that
// it neither waits for it nor stays its parent.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "kernel/Kernel.h"
#include "kernel/Shell.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace {

using namespace std::chrono_literals;

// The settings-program stand-in records where and with what it ran, then
// waits for a "go" file (at most about ten seconds) before writing
// "finished": a caller that waited for it would see "finished" at once.
constexpr const char* recorder = R"(#!/bin/sh
exec 2>/dev/null
out="$RECORD_DIR"
pwd > "$out/cwd.tmp"; echo "$PPID" > "$out/ppid.tmp"; echo "$#:$*" > "$out/args.tmp"
mv "$out/cwd.tmp" "$out/cwd"; mv "$out/ppid.tmp" "$out/ppid"; mv "$out/args.tmp" "$out/args"
i=0
while [ ! -e "$out/go" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done
echo done > "$out/finished"
)";

std::string ReadWhenThere(const std::string& path) {
  for (int i = 0; i < 1000 && !std::filesystem::exists(path); ++i) std::this_thread::sleep_for(10ms);
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

class ShellExecuteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    environment.Set("PATH", bin.path() + ":/usr/bin:/bin");
    environment.Set("VYN_WINDOWS_DIR", windows / "config/vyn");
    environment.Set("RECORD_DIR", record.path());
  }
  void TearDown() override { record.Write("go", ""); }

  void InstallProgram(const std::string& name, const std::string& script, mode_t mode = 0755) {
    bin.Write(name, script);
    chmod((bin / name).c_str(), mode);
  }

  static std::intptr_t Open(const char* file, const char* parameters, const char* directory,
                            const char* verb = "open") {
    return reinterpret_cast<std::intptr_t>(ShellExecuteA(nullptr, verb, file, parameters, directory, SW_SHOW));
  }

  vyn::test::TempFolder bin, windows, record;
  vyn::test::ScopedEnvironment environment;
};

TEST_F(ShellExecuteTest, StartsTheProgramFromPathInTheWindowsDirectoryWithoutWaiting) {
  InstallProgram("vynlg", recorder);
  EXPECT_GT(Open("vynlg.exe", nullptr, "c:\\windows"), 32);
  EXPECT_FALSE(std::filesystem::exists(record / "finished")) << "ShellExecuteA waited for the program";

  EXPECT_EQ(ReadWhenThere(record / "cwd"), windows / "config/vyn") << "the Windows directory is made when missing";
  EXPECT_NE(ReadWhenThere(record / "ppid"), std::to_string(getpid())) << "the program must not stay our child";
  EXPECT_EQ(ReadWhenThere(record / "args"), "0:");
  record.Write("go", "");
  EXPECT_EQ(ReadWhenThere(record / "finished"), "done");
}

TEST_F(ShellExecuteTest, MapsTheWindowsDirectoryInAnySpelling) {
  InstallProgram("vynlg", recorder);
  EXPECT_GT(Open("VYNLG.EXE", "one \"two words\"", "C:\\WINDOWS\\", nullptr), 32);
  EXPECT_EQ(ReadWhenThere(record / "cwd"), windows / "config/vyn");
  EXPECT_EQ(ReadWhenThere(record / "args"), "2:one two words");
}

TEST_F(ShellExecuteTest, WithoutADirectoryTheProgramStartsInOurs) {
  InstallProgram("vynlg", recorder);
  EXPECT_GT(Open("vynlg", nullptr, nullptr), 32);
  EXPECT_EQ(ReadWhenThere(record / "cwd"), std::filesystem::current_path().string());
}

TEST_F(ShellExecuteTest, AMissingProgramFailsWithoutEffect) {
  EXPECT_EQ(Open("vynlg.exe", nullptr, "c:\\windows"), SE_ERR_FNF);
  EXPECT_FALSE(std::filesystem::exists(windows / "config")) << "nothing may change when nothing starts";

  InstallProgram("vynlg", recorder, 0644);  // present but not executable
  EXPECT_EQ(Open("vynlg.exe", nullptr, "c:\\windows"), SE_ERR_FNF);
  EXPECT_EQ(Open(nullptr, nullptr, nullptr), SE_ERR_FNF);
  EXPECT_EQ(Open("", nullptr, nullptr), SE_ERR_FNF);
}

TEST_F(ShellExecuteTest, OtherVerbsAndMissingDirectoriesStartNothing) {
  InstallProgram("vynlg", recorder);
  EXPECT_EQ(Open("vynlg.exe", nullptr, "c:\\windows", "print"), SE_ERR_NOASSOC);
  EXPECT_EQ(Open("vynlg.exe", nullptr, (windows / "missing").c_str()), SE_ERR_PNF);
  std::this_thread::sleep_for(200ms);
  EXPECT_FALSE(std::filesystem::exists(record / "cwd"));
}

}  // namespace
