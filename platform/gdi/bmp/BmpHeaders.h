// The file header and the three families of info header that Windows reads:
// BITMAPCOREHEADER (12 bytes), BITMAPINFOHEADER (40) with its 52- and 56-byte
// extensions, BITMAPV4HEADER (108) and BITMAPV5HEADER (124).
#pragma once

#include <cstdint>
#include <optional>

#include "gdi/bmp/ByteReader.h"

namespace vyn::gdi::bmp {

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_RLE8 = 1;
inline constexpr std::uint32_t BI_RLE4 = 2;
inline constexpr std::uint32_t BI_BITFIELDS = 3;
inline constexpr std::uint32_t BI_JPEG = 4;
inline constexpr std::uint32_t BI_PNG = 5;

inline constexpr std::size_t FileHeaderSize = 14;

struct BmpLayout {
  std::int32_t width = 0;
  std::int32_t height = 0;  // always positive; see topDown
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = BI_RGB;
  bool core = false;                 // colour table of 3-byte entries
  std::size_t paletteOffset = 0;     // where the colour table starts
  std::size_t paletteEntries = 0;    // entries present in the file
  std::size_t dataOffset = 0;        // where the pixels start
  std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue, for BI_BITFIELDS
};

// Reads and checks the headers: a layout that the pixel decoders can trust
// (sizes within the limits, a depth that fits the compression, data and
// colour table inside the file), or nothing.
std::optional<BmpLayout> ReadLayout(const ByteReader& file);

}  // namespace vyn::gdi::bmp
