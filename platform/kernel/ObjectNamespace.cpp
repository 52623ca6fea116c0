#include "kernel/ObjectNamespace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vyn::kernel {
namespace {

// Windows limits object names to MAX_PATH characters.
constexpr size_t maxNameLength = 260;

// The shared /tmp fallback must be a real folder that only this user can
// enter; anything else (a symlink, another user's folder) could let someone
// else hold or fake our names.
bool PrivateTmpFolder(std::string& folder, DWORD& error) {
  folder = "/tmp/vyn-" + std::to_string(getuid());
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = ERROR_PATH_NOT_FOUND;
    return false;
  }
  struct stat status {};
  if (lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
      status.st_uid != getuid() || (status.st_mode & 077) != 0) {
    error = ERROR_ACCESS_DENIED;
    return false;
  }
  return true;
}

bool NamespaceFolder(std::string& folder, DWORD& error) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || runtime[0] == '\0') return PrivateTmpFolder(folder, error);
  folder = runtime;
  struct stat status {};
  if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    error = ERROR_PATH_NOT_FOUND;
    return false;
  }
  return true;
}

// Object names may hold any character ("Global\\x", blanks, slashes); file
// names may not, so everything outside a plain set is written as %XX.
// Letters keep their case: Windows object names are case-sensitive.
std::string EscapedName(const char* name) {
  static const char hex[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char* p = name; *p != '\0'; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '_' || c == '.';
    if (plain) {
      escaped += static_cast<char>(c);
    } else {
      escaped += '%';
      escaped += hex[c >> 4];
      escaped += hex[c & 15];
    }
  }
  return escaped;
}

}  // namespace

bool ObjectPathsFor(const char* name, ObjectPaths& paths, DWORD& error) {
  if (std::strlen(name) > maxNameLength) {
    error = ERROR_FILENAME_EXCED_RANGE;
    return false;
  }
  std::string folder;
  if (!NamespaceFolder(folder, error)) return false;
  paths.lockFile = folder + "/vyn-object-" + EscapedName(name) + ".lock";
  paths.guardFile = folder + "/vyn-objects.guard";
  return true;
}

}  // namespace vyn::kernel
