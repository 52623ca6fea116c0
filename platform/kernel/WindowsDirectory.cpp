// The folder that plays the part of the Windows directory: where profile
// files named without a folder are looked for, and where the settings program
// is started.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "kernel/Kernel.h"

namespace vyn::kernel {
namespace {

std::string NonEmptyEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string HomeDirectory() {
  std::string home = NonEmptyEnvironment("HOME");
  if (!home.empty()) return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
    return entry->pw_dir;
  return "/";
}

}  // namespace

std::string WindowsDirectory() {
  std::string explicitDirectory = NonEmptyEnvironment("VYN_WINDOWS_DIR");
  if (!explicitDirectory.empty()) return explicitDirectory;
  std::string configHome = NonEmptyEnvironment("XDG_CONFIG_HOME");
  if (configHome.empty()) configHome = HomeDirectory() + "/.config";
  return configHome + "/vyn";
}

}  // namespace vyn::kernel
