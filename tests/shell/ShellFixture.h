// What the saver-shell tests share: a namespace, a Windows directory and a
// PATH of the test's own, and a "vynlg" stand-in that records that it ran.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace vyn::test {

// Records its working directory, then waits for a "go" file (at most about
// ten seconds) before it writes "finished".
inline constexpr const char* settingsProgramStandIn = R"(#!/bin/sh
exec 2>/dev/null
out="$RECORD_DIR"
pwd > "$out/cwd.tmp"; echo "$0" > "$out/program.tmp"
mv "$out/program.tmp" "$out/program"; mv "$out/cwd.tmp" "$out/cwd"
i=0
while [ ! -e "$out/go" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done
echo done > "$out/finished"
)";

class ShellFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    environment.Set("XDG_RUNTIME_DIR", runtime.path());
    environment.Set("VYN_WINDOWS_DIR", windows.path());
    environment.Set("PATH", bin.path() + ":/usr/bin:/bin");
    environment.Set("RECORD_DIR", record.path());
  }
  void TearDown() override { record.Write("go", ""); }

  static void InstallStandIn(const TempFolder& folder) {
    folder.Write("vynlg", settingsProgramStandIn);
    chmod((folder / "vynlg").c_str(), 0755);
  }

  // The working directory the stand-in recorded, or "" when it did not run
  // within `patience`.
  std::string StandInFolder(std::chrono::milliseconds patience = std::chrono::seconds(10)) const {
    return ReadRecord("cwd", patience);
  }
  std::string StandInProgram() const { return ReadRecord("program", std::chrono::seconds(10)); }
  bool StandInFinished() const { return std::filesystem::exists(record / "finished"); }

  TempFolder runtime, windows, bin, record;
  ScopedEnvironment environment;

 private:
  std::string ReadRecord(const char* name, std::chrono::milliseconds patience) const {
    auto deadline = std::chrono::steady_clock::now() + patience;
    while (!std::filesystem::exists(record / name) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(record / name);
    std::string line;
    std::getline(in, line);
    return line;
  }
};

// Long enough for a started stand-in to have written its record, which it
// does right after it starts.
inline constexpr std::chrono::milliseconds notStartedPatience{300};

}  // namespace vyn::test
