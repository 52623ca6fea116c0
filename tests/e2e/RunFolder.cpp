#include "RunFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vyn::e2e {

RunFolder::RunFolder() {
  char pattern[] = "/tmp/vyn-e2e-XXXXXX";
  if (mkdtemp(pattern) != nullptr) root_ = pattern;
  for (const char* folder : {"runtime", "windows", "drive_c", "home", "work"})
    std::filesystem::create_directories(root_ + "/" + folder);
  chmod((root_ + "/runtime").c_str(), 0700);
}

RunFolder::~RunFolder() {
  std::error_code ignored;
  if (std::getenv("VYN_KEEP_TEST_FILES") == nullptr) std::filesystem::remove_all(root_, ignored);
}

void RunFolder::writeSettings(const std::string& text) const { std::ofstream(root_ + "/windows/vyn.ini") << text; }

Environment RunFolder::environment() const {
  const char* path = std::getenv("PATH");
  return {
      {"PATH", path != nullptr ? path : "/usr/bin:/bin"},
      {"HOME", root_ + "/home"},
      {"XDG_RUNTIME_DIR", root_ + "/runtime"},
      {"XDG_CONFIG_HOME", root_ + "/home/.config"},
      {"XDG_DATA_HOME", root_ + "/home/.local/share"},
      {"VYN_WINDOWS_DIR", root_ + "/windows"},
      {"VYN_DRIVE_C", root_ + "/drive_c"},
      {"VYN_DEBUG", "1"},
  };
}

std::unique_ptr<ChildProcess> RunFolder::startVyn(const Environment& environment, const std::string& label,
                                                  const std::vector<std::string>& arguments) const {
  std::vector<std::string> command{VynProgram()};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return std::make_unique<ChildProcess>(command, environment, root_ + "/work", root_, label);
}

std::string BuildFolder() {
  const char* folder = std::getenv("VYN_BINARY_DIR");
  return folder != nullptr && *folder != '\0' ? folder : VYN_BUILD_DIR;
}

std::string VynProgram() { return BuildFolder() + "/vyn"; }

std::vector<std::string> LinesStartingWith(const std::string& text, const std::vector<std::string>& prefixes) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) {
    for (const std::string& prefix : prefixes) {
      if (line.rfind(prefix, 0) == 0) {
        lines.push_back(line);
        break;
      }
    }
  }
  return lines;
}

}  // namespace vyn::e2e
