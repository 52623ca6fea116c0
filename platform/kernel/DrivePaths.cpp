#include "kernel/DrivePaths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <string_view>

#include "kernel/UserFolders.h"

namespace vyn::kernel {
namespace {

bool Exists(const std::string& path, bool wantDirectory) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  return wantDirectory ? S_ISDIR(info.st_mode) : !S_ISDIR(info.st_mode);
}

bool SameWithoutCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The entry of `folder` that `name` names: itself when it exists as written,
// else the first entry equal to it without regard to case.
std::optional<std::string> MatchEntry(const std::string& folder, const std::string& name, bool wantDirectory) {
  if (name == "." || name == "..") return folder + "/" + name;
  if (Exists(folder + "/" + name, wantDirectory)) return folder + "/" + name;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = readdir(dir)) {
    if (SameWithoutCase(entry->d_name, name) && Exists(folder + "/" + entry->d_name, wantDirectory)) {
      found = folder + "/" + entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

std::vector<std::string> Components(std::string_view path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

std::optional<std::string> FindUnder(const std::string& root, const std::vector<std::string>& parts) {
  if (parts.empty() || !Exists(root, true)) return std::nullopt;
  std::string at = root;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::optional<std::string> next = MatchEntry(at, parts[i], i + 1 < parts.size());
    if (!next) return std::nullopt;
    at = std::move(*next);
  }
  return at;
}

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

}  // namespace

std::string DriveFolder(char letter) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  const std::string variable = std::string("VYN_DRIVE_") + upper;
  std::string folder = EnvironmentValue(variable.c_str());
  if (!folder.empty()) return folder;
  std::string dataHome = EnvironmentValue("XDG_DATA_HOME");
  if (dataHome.empty()) dataHome = HomeFolder() + "/.local/share";
  return dataHome + "/vyn/drive_" + static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
}

std::vector<std::string> DataFolders() {
  std::string explicitFolder = EnvironmentValue("VYN_DATA_DIR");
  if (!explicitFolder.empty()) return {explicitFolder};
  return {VYN_DATA_BUILD_DIR, VYN_DATA_INSTALL_DIR};
}

std::optional<std::string> ResolveWindowsPath(const std::string& path) {
  if (path.empty()) return std::nullopt;
  if (path[0] == '/') return Exists(path, false) ? std::optional<std::string>(path) : std::nullopt;
  if (path[0] == '~' && (path.size() == 1 || path[1] == '/')) {
    std::string host = HomeFolder() + path.substr(1);
    return Exists(host, false) ? std::optional<std::string>(host) : std::nullopt;
  }
  const bool drive = HasDrive(path);
  const bool rooted = path[0] == '\\';
  if (!drive && !rooted) return FindUnder(".", Components(path));

  const std::vector<std::string> parts = Components(drive ? std::string_view(path).substr(2) : path);
  if (auto found = FindUnder(DriveFolder(drive ? path[0] : 'C'), parts)) return found;
  for (const std::string& folder : DataFolders())
    if (auto found = FindUnder(folder, parts)) return found;
  return std::nullopt;
}

}  // namespace vyn::kernel
