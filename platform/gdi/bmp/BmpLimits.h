// The largest pictures the loader takes. A file past these is refused like a
// broken one, so a hostile or absurd header can never make the loader ask
// for more memory than the saver can afford.
#pragma once

#include <cstdint>

namespace vyn::gdi::bmp {

// Pixels a side, either way.
inline constexpr std::int64_t MaxSide = 32768;
// Pixels in all: 64 Mi pixels, 256 MiB as 32-bit pixels.
inline constexpr std::int64_t MaxPixels = std::int64_t{1} << 26;
// Bytes of the file; larger files are refused before anything is read.
inline constexpr std::int64_t MaxFileBytes = std::int64_t{512} << 20;

}  // namespace vyn::gdi::bmp
