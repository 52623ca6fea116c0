#include "Settings.h"

#include "kernel/Kernel.h"

namespace vyn::saver {

SaverSettings saverSettings;

namespace {

constexpr const char* settingsFile = "vyn.ini";

// The profile call hands back a UINT; the ranges below are signed, so the
// value is taken back as the signed 32-bit number the file held.
int ReadSetting(const char* section, const char* key, int defaultValue) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, settingsFile));
}

// A colour channel from 0 to 255 as a share from 0.0 to 1.0.
double ColorShare(int channel) {
  if (channel > 255) channel = 255;
  if (channel < 0) channel = 0;
  return channel / 255.0;
}

}  // namespace

void LoadSaverSettings() {
  int speed = ReadSetting("SS_SECTION", "SPEED", 5);
  if (speed > 10) speed = 10;
  if (speed < 1) speed = 1;
  saverSettings.speedDegrees = static_cast<double>(speed);

  int shade = ReadSetting("SS_SECTION", "SHADE", 0);
  if (shade > 1 || shade < 0) shade = 0;
  saverSettings.shade = shade;

  int red = ReadSetting("SETTING", "ColorR", 255);
  int green = ReadSetting("SETTING", "ColorG", 255);
  int blue = ReadSetting("SETTING", "ColorB", 255);
  saverSettings.colorRed = ColorShare(red);
  saverSettings.colorGreen = ColorShare(green);
  saverSettings.colorBlue = ColorShare(blue);
}

void ReadBitmapPath(char (&path)[bitmapPathSize]) {
  GetPrivateProfileStringA("SETTING", "FILENAME", defaultBitmapPath, path, bitmapPathSize, settingsFile);
}

}  // namespace vyn::saver
