// The environment and home folder that the settings folder and the drive
// folders are derived from.
#pragma once

#include <string>

namespace vyn::kernel {

// The variable's value, or an empty string when it is unset.
std::string EnvironmentValue(const char* name);

// $HOME, else the password database's home of this user, else "/".
std::string HomeFolder();

}  // namespace vyn::kernel
