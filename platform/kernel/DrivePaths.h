// Windows paths on the host: where a path like "C:\vynFile\circle.BMP" that
// a settings file names is found.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vyn::kernel {

// The host folder that stands for drive `letter` (A to Z, either case):
// $VYN_DRIVE_<LETTER> when set, else ${XDG_DATA_HOME:-$HOME/.local/share}/vyn/drive_<letter>.
std::string DriveFolder(char letter);

// The data folders that ship with vyn, in the order they are searched:
// $VYN_DATA_DIR alone when set, else the source tree's data folder and the
// installed one.
std::vector<std::string> DataFolders();

// The existing host file that `path` names, or nothing.
// - "X:\dir\file" (or with forward slashes, or "\dir\file" on the current
//   drive C): looked up under DriveFolder(X), each component matched without
//   regard to case as Windows does; when it is not there, the same relative
//   path is looked up in each data folder.
// - "/dir/file" and "~/dir/file" are host paths and used as they stand.
// - Any other relative path is looked up from the current directory, with
//   backslashes as separators and components matched without case.
std::optional<std::string> ResolveWindowsPath(const std::string& path);

}  // namespace vyn::kernel
