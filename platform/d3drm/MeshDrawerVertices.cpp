// The vertex pass of the geometry stage: four vertices at a time with SSE2
// (the x86-64 baseline), the rest one at a time. Both ways do the same float
// operations in the same order, so a vertex comes out the same either way.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "d3drm/MeshDrawer.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyn::d3drm {

namespace {

#if defined(__SSE2__)

// Round half away from zero, then truncate: what the scalar projection does.
inline __m128i RoundToInt(__m128 v) {
  // v >= 0 (and -0) adds +0.5, v < 0 adds -0.5.
  const __m128 negative = _mm_cmplt_ps(v, _mm_setzero_ps());
  const __m128 offset =
      _mm_or_ps(_mm_and_ps(negative, _mm_set1_ps(-0.5f)), _mm_andnot_ps(negative, _mm_set1_ps(0.5f)));
  return _mm_cvttps_epi32(_mm_add_ps(v, offset));
}

// Float in [0, 2^32) to unsigned, truncating.
inline __m128i ToUnsigned(__m128 v) {
  const __m128 two31 = _mm_set1_ps(2147483648.0f);
  const __m128 big = _mm_cmpge_ps(v, two31);
  const __m128i low = _mm_cvttps_epi32(_mm_sub_ps(v, _mm_and_ps(big, two31)));
  return _mm_xor_si128(low, _mm_slli_epi32(_mm_castps_si128(big), 31));
}

// ToByte and ScaleChannel: !(v > 0) is 0, v >= 255 is 255, else v + 0.5 truncated.
inline __m128i Byte(__m128 v) {
  const __m128 clamped = _mm_min_ps(_mm_max_ps(v, _mm_setzero_ps()), _mm_set1_ps(255.0f));
  const __m128 rounded = _mm_add_ps(clamped, _mm_set1_ps(0.5f));
  // 255 + 0.5 truncates to 255; a lane that was not > 0 is 0 already.
  return _mm_cvttps_epi32(rounded);
}

#endif

}  // namespace

void MeshDrawer::VertexRange(const Job& job, std::size_t begin, std::size_t end, raster::ScreenVertex* out) {
  const MeshGeometry& mesh = *job.mesh;
  std::size_t i = begin;
#if defined(__SSE2__)
  const Projection& p = job.projection;
  const bool shaded = job.shading != raster::Shading::Flat;
  const bool ramp = job.style.ramp;
  const std::size_t lights = lights_.dx.size();
  const __m128 sign = _mm_set1_ps(-0.0f);
  const __m128 infinity = _mm_set1_ps(INFINITY);
  const __m128 guardBand = _mm_set1_ps(GuardBand);
  const __m128 front = _mm_set1_ps(p.front), back = _mm_set1_ps(p.back), scale = _mm_set1_ps(p.scale);
  for (; i + 4 <= end; i += 4) {
    const __m128 x = _mm_loadu_ps(&mesh.x[i]), y = _mm_loadu_ps(&mesh.y[i]), z = _mm_loadu_ps(&mesh.z[i]);
    const auto row = [&](int k) {
      return _mm_add_ps(_mm_add_ps(_mm_add_ps(_mm_mul_ps(x, _mm_set1_ps(m_[k])), _mm_mul_ps(y, _mm_set1_ps(m_[3 + k]))),
                                   _mm_mul_ps(z, _mm_set1_ps(m_[6 + k]))),
                        _mm_set1_ps(m_[9 + k]));
    };
    const __m128 vx = row(0), vy = row(1), vz = row(2);

    // Outcodes, as Outcode() gives them.
    const __m128 guard = _mm_mul_ps(guardBand, vz);
    const __m128 sx = _mm_mul_ps(scale, vx), sy = _mm_mul_ps(scale, vy);
    const __m128 finite = _mm_and_ps(_mm_and_ps(_mm_cmplt_ps(_mm_andnot_ps(sign, sx), infinity),
                                                _mm_cmplt_ps(_mm_andnot_ps(sign, sy), infinity)),
                                     _mm_cmplt_ps(_mm_andnot_ps(sign, guard), infinity));
    const __m128 minusGuard = _mm_xor_ps(guard, sign);
    const auto plane = [](__m128 outside, int bit) {
      return _mm_and_si128(_mm_castps_si128(outside), _mm_set1_epi32(bit));
    };
    __m128i code = _mm_or_si128(
        _mm_or_si128(_mm_or_si128(plane(_mm_cmplt_ps(vz, front), OutFront), plane(_mm_cmpgt_ps(vz, back), OutBack)),
                     _mm_or_si128(plane(_mm_cmplt_ps(sx, minusGuard), OutLeft), plane(_mm_cmpgt_ps(sx, guard), OutRight))),
        _mm_or_si128(plane(_mm_cmpgt_ps(sy, guard), OutTop), plane(_mm_cmplt_ps(sy, minusGuard), OutBottom)));
    // A lane that is not finite is OutInvalid | OutFront and nothing else.
    const __m128i isFinite = _mm_castps_si128(finite);
    code = _mm_or_si128(_mm_and_si128(isFinite, code),
                        _mm_andnot_si128(isFinite, _mm_set1_epi32(OutInvalid | OutFront)));
    const int inside = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(code, _mm_setzero_si128())));
    const __m128i codeBytes = _mm_packus_epi16(_mm_packs_epi32(code, code), code);
    const int packed = _mm_cvtsi128_si32(codeBytes);
    std::memcpy(&outcode_[i], &packed, 4);

    // Projection (only lanes inside are kept).
    const __m128 inverse = _mm_div_ps(_mm_set1_ps(1.0f), vz);
    const __m128 px = _mm_add_ps(_mm_set1_ps(p.cx), _mm_mul_ps(_mm_mul_ps(scale, vx), inverse));
    const __m128 py = _mm_sub_ps(_mm_set1_ps(p.cy), _mm_mul_ps(_mm_mul_ps(scale, vy), inverse));
    const __m128 depth = _mm_min_ps(
        _mm_max_ps(_mm_mul_ps(_mm_set1_ps(zScale_), _mm_sub_ps(_mm_set1_ps(1.0f), _mm_mul_ps(front, inverse))),
                   _mm_setzero_ps()),
        _mm_set1_ps(MaxDepth));
    const __m128i ix = RoundToInt(_mm_mul_ps(px, _mm_set1_ps(float(raster::SubpixelScale))));
    const __m128i iy = RoundToInt(_mm_mul_ps(py, _mm_set1_ps(float(raster::SubpixelScale))));
    const __m128i iz = ToUnsigned(depth);

    __m128i color = _mm_setzero_si128();
    if (shaded) {
      const __m128 nx = _mm_loadu_ps(&mesh.nx[i]), ny = _mm_loadu_ps(&mesh.ny[i]), nz = _mm_loadu_ps(&mesh.nz[i]);
      const auto facing = [&](std::size_t l) {
        const __m128 dot = _mm_add_ps(_mm_add_ps(_mm_mul_ps(nx, _mm_set1_ps(lights_.dx[l])),
                                                 _mm_mul_ps(ny, _mm_set1_ps(lights_.dy[l]))),
                                      _mm_mul_ps(nz, _mm_set1_ps(lights_.dz[l])));
        const __m128 f = _mm_xor_ps(dot, sign);
        return std::pair{f, _mm_cmpgt_ps(f, _mm_setzero_ps())};
      };
      if (ramp) {
        __m128 sum = _mm_set1_ps(lights_.ambientMono);
        for (std::size_t l = 0; l < lights; ++l) {
          const auto [f, lit] = facing(l);
          sum = _mm_add_ps(sum, _mm_and_ps(lit, _mm_mul_ps(f, _mm_set1_ps(lights_.mono[l]))));
        }
        sum = _mm_min_ps(_mm_max_ps(sum, _mm_setzero_ps()), _mm_set1_ps(1.0f));
        color = Byte(_mm_mul_ps(sum, _mm_set1_ps(255.0f)));
      } else {
        __m128 r = _mm_set1_ps(lights_.ambient.r), g = _mm_set1_ps(lights_.ambient.g),
               b = _mm_set1_ps(lights_.ambient.b);
        for (std::size_t l = 0; l < lights; ++l) {
          const auto [f, lit] = facing(l);
          r = _mm_add_ps(r, _mm_and_ps(lit, _mm_mul_ps(f, _mm_set1_ps(lights_.colors[l].r))));
          g = _mm_add_ps(g, _mm_and_ps(lit, _mm_mul_ps(f, _mm_set1_ps(lights_.colors[l].g))));
          b = _mm_add_ps(b, _mm_and_ps(lit, _mm_mul_ps(f, _mm_set1_ps(lights_.colors[l].b))));
        }
        const __m128i cr = Byte(_mm_mul_ps(_mm_set1_ps(float(material_[0])), r));
        const __m128i cg = Byte(_mm_mul_ps(_mm_set1_ps(float(material_[1])), g));
        const __m128i cb = Byte(_mm_mul_ps(_mm_set1_ps(float(material_[2])), b));
        color = _mm_or_si128(cr, _mm_or_si128(_mm_slli_epi32(cg, 8), _mm_slli_epi32(cb, 16)));
      }
    }

    // Four vertices of x, y, z, colour: transposed into four ScreenVertex.
    __m128 c0 = _mm_castsi128_ps(ix), c1 = _mm_castsi128_ps(iy), c2 = _mm_castsi128_ps(iz),
           c3 = _mm_castsi128_ps(color);
    _MM_TRANSPOSE4_PS(c0, c1, c2, c3);
    static_assert(sizeof(raster::ScreenVertex) == 16);
    const __m128 lanes[4] = {c0, c1, c2, c3};
    for (int lane = 0; lane < 4; ++lane) {
      const __m128 v = ((inside >> lane) & 1) ? lanes[lane] : _mm_setzero_ps();
      _mm_storeu_ps(reinterpret_cast<float*>(&out[i + lane]), v);
    }
  }
#endif
  for (; i < end; ++i) {
    const std::uint32_t index = static_cast<std::uint32_t>(i);
    ClipVertex v = CameraVertex(mesh, index, raster::Shading::Flat, false);
    const std::uint8_t code = OutcodeOf(v, job.projection);
    outcode_[i] = code;
    if (code != 0) {
      // Never used as it stands: the faces of this vertex go through the clipper.
      out[i] = raster::ScreenVertex{};
      continue;
    }
    if (job.shading != raster::Shading::Flat) Shade(mesh, i, job.style.ramp, v.r, v.g, v.b);
    out[i] = Project(v, job.projection);
  }
}

}  // namespace vyn::d3drm
