// The saver's settings: spin speed, drawing style and colour from "vyn.ini"
// in the Windows directory, clamped to their ranges, and the bitmap path.
#pragma once

namespace vyn::saver {

struct SaverSettings {
  double speedDegrees = 5.0;  // degrees turned per frame tick, 1 to 10
  int shade = 0;              // 1: wireframe; 0: Gouraud-shaded solid
  double colorRed = 1.0;      // colour shares, 0.0 to 1.0 in steps of 1/255
  double colorGreen = 1.0;
  double colorBlue = 1.0;
  double colorAlpha = 1.0;    // always 1.0
};

// The process's one settings record. LoadSaverSettings fills it.
extern SaverSettings saverSettings;

inline constexpr int bitmapPathSize = 256;
inline constexpr const char* defaultBitmapPath = "C:\\vynFile\\circle.BMP";

// Reads "SPEED" and "SHADE" from [SS_SECTION] and "ColorR", "ColorG" and
// "ColorB" from [SETTING], clamps them and fills saverSettings. Missing
// entries take their defaults; nothing here fails.
void LoadSaverSettings();

// Fills the caller's 256-character buffer with "FILENAME" from [SETTING], or
// the default path when the key is missing; cut to 255 characters and
// NUL-terminated. An entry that is present but empty gives an empty path.
void ReadBitmapPath(char (&path)[bitmapPathSize]);

}  // namespace vyn::saver
