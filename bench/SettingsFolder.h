// A throw-away Windows directory holding the vyn.ini of one case, so the
// saver reads its picture, style and speed the way it always does.
#pragma once

#include <string>

namespace vyn::bench {

class SettingsFolder {
 public:
  SettingsFolder() = default;
  SettingsFolder(const SettingsFolder&) = delete;
  SettingsFolder& operator=(const SettingsFolder&) = delete;
  ~SettingsFolder();

  // Writes vyn.ini with FILENAME, SHADE and SPEED into a new temporary folder
  // and points VYN_WINDOWS_DIR at it. False when the folder cannot be made.
  bool create(const std::string& picturePath, int shade, int speed);

 private:
  std::string folder_;
};

}  // namespace vyn::bench
