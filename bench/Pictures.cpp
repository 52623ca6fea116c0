#include "Pictures.h"

#include <filesystem>
#include <vector>

namespace vyn::bench {

namespace {

namespace fs = std::filesystem;

bool IsNamedPicture(const std::string& picture) {
  return picture == "circle" || picture == "ring" || picture == "stripes";
}

std::string Lowered(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The file in `dir` called <picture>.bmp in any case, or an empty path.
fs::path FindIn(const fs::path& dir, const std::string& picture) {
  std::error_code error;
  if (!fs::is_directory(dir, error)) return {};
  const std::string wanted = picture + ".bmp";
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, error))
    if (Lowered(entry.path().filename().string()) == wanted) return entry.path();
  return {};
}

}  // namespace

std::string PicturePath(const ScenarioOptions& options, const std::string& picture) {
  if (!IsNamedPicture(picture)) return picture;
  std::vector<fs::path> dirs;
  if (!options.picturesDir.empty()) dirs.emplace_back(options.picturesDir);
  dirs.emplace_back(fs::path(VYN_BENCH_SOURCE_DIR) / "data" / "vynFile");
  dirs.emplace_back(fs::path(VYN_BENCH_SOURCE_DIR) / "data" / "bench");
  for (const fs::path& dir : dirs) {
    fs::path found = FindIn(dir, picture);
    if (!found.empty()) return found.string();
  }
  return (dirs.front() / (picture + ".BMP")).string();
}

}  // namespace vyn::bench
