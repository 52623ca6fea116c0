// The folder that plays the part of the Windows directory: where profile
// files named without a folder are looked for, and where the settings program
// is started.
#include "kernel/Kernel.h"
#include "kernel/UserFolders.h"

namespace vyn::kernel {

std::string WindowsDirectory() {
  std::string explicitDirectory = EnvironmentValue("VYN_WINDOWS_DIR");
  if (!explicitDirectory.empty()) return explicitDirectory;
  std::string configHome = EnvironmentValue("XDG_CONFIG_HOME");
  if (configHome.empty()) configHome = HomeFolder() + "/.config";
  return configHome + "/vyn";
}

}  // namespace vyn::kernel
