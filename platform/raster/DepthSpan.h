// One row of a depth-tested triangle on a 32-bit target, four pixels at a
// time in 32-bit lanes (SSE2, which every x86-64 processor has; elsewhere one
// pixel at a time). The caller checks first that depth and colour stay inside
// 32 bits over the row; each lane then holds exactly the value the general
// 64-bit loop computes for its pixel, so the image is the same.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster/DrawList.h"
#include "raster/PixelPacking.h"

namespace vyn::raster {

// 16.16 values at the row's first pixel and their steps to the next pixel,
// wrapping in 32 bits. Depth must lie in [0, 2^32) and the colour channels
// in the signed 32-bit range at every pixel of the row.
struct SpanLanes {
  std::uint32_t z, r, g, b;
  std::uint32_t dz, dr, dg, db;
};

namespace span_detail {

// The 8-bit channel of a 16.16 lane, clamped to 0..255.
inline std::uint32_t ClampChannel(std::uint32_t fixed) {
  const std::int32_t value = static_cast<std::int32_t>(fixed) >> 16;
  return static_cast<std::uint32_t>(std::min(std::max(value, 0), 255));
}

template <Shading S>
inline std::uint32_t PixelOf(const SpanLanes& l, const PixelPacking& p, const std::uint32_t* table,
                             std::uint32_t flat) {
  if constexpr (S == Shading::Flat) {
    return flat;
  } else if constexpr (S == Shading::GouraudShade) {
    return table[ClampChannel(l.r)];
  } else {
    return ((ClampChannel(l.r) >> p.redDrop) << p.redShift) | ((ClampChannel(l.g) >> p.greenDrop) << p.greenShift) |
           ((ClampChannel(l.b) >> p.blueDrop) << p.blueShift);
  }
}

// One pixel; steps the lanes on to the next.
template <Shading S>
inline void FillOne(std::uint8_t* color, std::uint16_t* depth, SpanLanes& l, const PixelPacking& p,
                    const std::uint32_t* table, std::uint32_t flat, std::uint32_t bias) {
  const std::uint32_t value = l.z >> 16;
  if (value + bias <= *depth) {
    *depth = static_cast<std::uint16_t>(value);
    const std::uint32_t pixel = PixelOf<S>(l, p, table, flat);
    std::memcpy(color, &pixel, 4);
  }
  l.z += l.dz;
  l.r += l.dr;
  l.g += l.dg;
  l.b += l.db;
}

#if defined(__SSE2__)

inline __m128i Ramp(std::uint32_t start, std::uint32_t step) {
  return _mm_setr_epi32(static_cast<int>(start), static_cast<int>(start + step), static_cast<int>(start + 2 * step),
                        static_cast<int>(start + 3 * step));
}

// The 8-bit channels of four 16.16 lanes, clamped to 0..255.
inline __m128i ClampChannels(__m128i fixed) {
  const __m128i value = _mm_srai_epi32(fixed, 16);
  const __m128i positive = _mm_andnot_si128(_mm_srai_epi32(value, 31), value);
  const __m128i top = _mm_set1_epi32(255);
  const __m128i over = _mm_cmpgt_epi32(positive, top);
  return _mm_or_si128(_mm_andnot_si128(over, positive), _mm_and_si128(over, top));
}

inline __m128i PackChannel(__m128i fixed, int drop, int shift) {
  return _mm_sll_epi32(_mm_srl_epi32(ClampChannels(fixed), _mm_cvtsi32_si128(drop)), _mm_cvtsi32_si128(shift));
}

// Four 0x00RRGGBB pixels: the saturating packs clamp to 0..255 on the way.
inline __m128i PackBytes888(__m128i r, __m128i g, __m128i b) {
  const __m128i bg16 = _mm_packs_epi32(_mm_srai_epi32(b, 16), _mm_srai_epi32(g, 16));
  const __m128i r16 = _mm_packs_epi32(_mm_srai_epi32(r, 16), _mm_setzero_si128());
  const __m128i bytes = _mm_packus_epi16(bg16, r16);                       // b0..b3 g0..g3 r0..r3 0000
  const __m128i bg = _mm_unpacklo_epi8(bytes, _mm_srli_si128(bytes, 4));  // b0 g0 b1 g1 ...
  const __m128i r0 = _mm_unpacklo_epi8(_mm_srli_si128(bytes, 8), _mm_setzero_si128());  // r0 0 r1 0 ...
  return _mm_unpacklo_epi16(bg, r0);
}

inline bool IsBytes888(const PixelPacking& p) {
  return p.redShift == 16 && p.greenShift == 8 && p.blueShift == 0 && p.redDrop == 0 && p.greenDrop == 0 &&
         p.blueDrop == 0;
}

template <Shading S>
inline __m128i Pixels4(__m128i r, __m128i g, __m128i b, bool bytes888, const PixelPacking& p,
                       const std::uint32_t* table, std::uint32_t flat) {
  if constexpr (S == Shading::Flat) {
    return _mm_set1_epi32(static_cast<int>(flat));
  } else if constexpr (S == Shading::GouraudShade) {
    alignas(16) std::uint32_t index[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(index), ClampChannels(r));
    return _mm_setr_epi32(static_cast<int>(table[index[0]]), static_cast<int>(table[index[1]]),
                          static_cast<int>(table[index[2]]), static_cast<int>(table[index[3]]));
  } else {
    if (bytes888) return PackBytes888(r, g, b);
    return _mm_or_si128(_mm_or_si128(PackChannel(r, p.redDrop, p.redShift), PackChannel(g, p.greenDrop, p.greenShift)),
                        PackChannel(b, p.blueDrop, p.blueShift));
  }
}

// The depth test of four pixels: all ones in the lanes that fail it, and the
// lanes' depths (0..0xFFFF) in `value` and the stored ones in `stored`.
inline __m128i DepthFail4(const std::uint16_t* depth, __m128i zLanes, __m128i bias, __m128i& value,
                          __m128i& stored) {
  value = _mm_srli_epi32(zLanes, 16);
  stored = _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(depth)), _mm_setzero_si128());
  // Both sides are at most 0x10000, so the signed 32-bit compare is exact.
  return _mm_cmpgt_epi32(_mm_add_epi32(value, bias), stored);
}

inline bool AllFail(__m128i fail) { return _mm_movemask_epi8(fail) == 0xFFFF; }

// Four pixels at `color` and `depth` where `fail` says which lanes keep
// their old values: depth write and colour write as blends.
inline void Blend4(std::uint8_t* color, std::uint16_t* depth, __m128i fail, __m128i value, __m128i stored,
                   __m128i pixel) {
  const __m128i kept = _mm_or_si128(_mm_and_si128(fail, stored), _mm_andnot_si128(fail, value));
  // Back to 16 bits: the signed saturating pack is exact once the values are moved down by 0x8000.
  const __m128i packed = _mm_xor_si128(
      _mm_packs_epi32(_mm_sub_epi32(kept, _mm_set1_epi32(0x8000)), _mm_setzero_si128()), _mm_set1_epi16(-0x8000));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(depth), packed);
  __m128i* at = reinterpret_cast<__m128i*>(color);
  const __m128i old = _mm_loadu_si128(at);
  _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(fail, old), _mm_andnot_si128(fail, pixel)));
}

#endif

}  // namespace span_detail

// Fills `count` pixels from `color` (4 bytes each) and `depth`, the row's
// first pixel, where the depth test passes: less or equal with `bias` 0,
// less with `bias` 1. Groups of four that all fail cost only the test, which
// is most of a stack of surfaces drawn front to back. `table` holds the
// 256 shade pixels of GouraudShade, `flat` the pixel of Flat.
// Inlined into its one caller, the lanes stay in registers.
template <Shading S>
[[gnu::always_inline]] inline void FillDepthSpan32(std::uint8_t* color, std::uint16_t* depth, int count, SpanLanes l,
                                                   const PixelPacking& packing, const std::uint32_t* table,
                                                   std::uint32_t flat, std::uint32_t bias) {
  using namespace span_detail;
  int i = 0;
#if defined(__SSE2__)
  if (count >= 4) {
    const bool bytes888 = IsBytes888(packing);
    __m128i z = Ramp(l.z, l.dz), r = Ramp(l.r, l.dr), g = Ramp(l.g, l.dg), b = Ramp(l.b, l.db);
    const __m128i dz = _mm_set1_epi32(static_cast<int>(4 * l.dz)), dr = _mm_set1_epi32(static_cast<int>(4 * l.dr)),
                  dg = _mm_set1_epi32(static_cast<int>(4 * l.dg)), db = _mm_set1_epi32(static_cast<int>(4 * l.db));
    const __m128i biasLanes = _mm_set1_epi32(static_cast<int>(bias));
    for (; i + 4 <= count; i += 4) {
      __m128i value, stored;
      const __m128i fail = DepthFail4(depth + i, z, biasLanes, value, stored);
      if (!AllFail(fail)) {
        Blend4(color + 4 * i, depth + i, fail, value, stored, Pixels4<S>(r, g, b, bytes888, packing, table, flat));
      }
      z = _mm_add_epi32(z, dz);
      r = _mm_add_epi32(r, dr);
      g = _mm_add_epi32(g, dg);
      b = _mm_add_epi32(b, db);
    }
    if (i < count) {
      // The last one to three pixels: the four ending at the span's end,
      // worked out afresh. The pixels already drawn among them come out the
      // same again (their depth now equals the stored one: "less or equal"
      // draws the same pixel, "less" leaves it), so the row needs no
      // one-pixel loop and its unpredictable trip count.
      const auto back = static_cast<std::uint32_t>(count - 4);
      const __m128i zt = Ramp(l.z + l.dz * back, l.dz), rt = Ramp(l.r + l.dr * back, l.dr),
                    gt = Ramp(l.g + l.dg * back, l.dg), bt = Ramp(l.b + l.db * back, l.db);
      __m128i value, stored;
      const int last = count - 4;
      const __m128i fail = DepthFail4(depth + last, zt, biasLanes, value, stored);
      if (!AllFail(fail)) {
        Blend4(color + 4 * last, depth + last, fail, value, stored,
               Pixels4<S>(rt, gt, bt, bytes888, packing, table, flat));
      }
    }
    return;
  }
#endif
  for (; i < count; ++i) FillOne<S>(color + 4 * i, depth + i, l, packing, table, flat, bias);
}

}  // namespace vyn::raster
