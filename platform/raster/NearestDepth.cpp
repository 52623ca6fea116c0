#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster/RenderTarget.h"

namespace vyn::raster {

std::uint16_t NearestDepth(const RenderTarget& target, const PixelRect& rect) {
  std::uint16_t nearest = FarDepth;
  for (int y = rect.y0; y < rect.y1; ++y) {
    const auto* row = reinterpret_cast<const std::uint16_t*>(reinterpret_cast<const std::uint8_t*>(target.depth) +
                                                             static_cast<std::ptrdiff_t>(y) * target.depthPitch);
    int x = rect.x0;
#if defined(__SSE2__)
    // Eight depths a load; the signed 16-bit minimum sees them moved down by 0x8000.
    const __m128i flip = _mm_set1_epi16(-0x8000);
    __m128i low = _mm_set1_epi16(0x7FFF);
    for (; x + 8 <= rect.x1; x += 8) {
      low = _mm_min_epi16(low, _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)), flip));
    }
    low = _mm_min_epi16(low, _mm_srli_si128(low, 8));
    low = _mm_min_epi16(low, _mm_srli_si128(low, 4));
    low = _mm_min_epi16(low, _mm_srli_si128(low, 2));
    nearest = std::min(nearest, static_cast<std::uint16_t>((_mm_cvtsi128_si32(low) ^ 0x8000) & 0xFFFF));
#endif
    for (; x < rect.x1; ++x) nearest = std::min(nearest, row[x]);
  }
  return nearest;
}

}  // namespace vyn::raster
