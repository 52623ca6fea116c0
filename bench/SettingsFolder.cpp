#include "SettingsFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vyn::bench {

SettingsFolder::~SettingsFolder() {
  if (folder_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

bool SettingsFolder::create(const std::string& picturePath, int shade, int speed) {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) base = "/tmp";
  std::string pattern = (base / "vyn_bench.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return false;
  folder_ = pattern;

  std::ofstream ini(std::filesystem::path(folder_) / "vyn.ini");
  ini << "[SS_SECTION]\nSPEED=" << speed << "\nSHADE=" << shade << "\n[SETTING]\nFILENAME="
      << std::filesystem::absolute(picturePath, error).string() << "\n";
  if (!ini) return false;
  return setenv("VYN_WINDOWS_DIR", folder_.c_str(), 1) == 0;
}

}  // namespace vyn::bench
