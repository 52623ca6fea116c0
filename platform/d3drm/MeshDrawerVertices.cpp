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
  // Everything the loop reads besides the mesh, in locals: the stores into
  // the draw list could otherwise alias them and force a reload per vertex.
  __m128 matrix[12];
  for (int k = 0; k < 12; ++k) matrix[k] = _mm_set1_ps(m_[k]);
  constexpr std::size_t HeldLights = 4;
  __m128 lightDx[HeldLights], lightDy[HeldLights], lightDz[HeldLights], lightR[HeldLights], lightG[HeldLights],
      lightB[HeldLights], lightMono[HeldLights];
  const bool lightsHeld = lights <= HeldLights;
  for (std::size_t l = 0; l < lights && l < HeldLights; ++l) {
    lightDx[l] = _mm_set1_ps(lights_.dx[l]);
    lightDy[l] = _mm_set1_ps(lights_.dy[l]);
    lightDz[l] = _mm_set1_ps(lights_.dz[l]);
    lightR[l] = _mm_set1_ps(lights_.colors[l].r);
    lightG[l] = _mm_set1_ps(lights_.colors[l].g);
    lightB[l] = _mm_set1_ps(lights_.colors[l].b);
    lightMono[l] = _mm_set1_ps(lights_.mono[l]);
  }
  const __m128 ambientR = _mm_set1_ps(lights_.ambient.r), ambientG = _mm_set1_ps(lights_.ambient.g),
               ambientB = _mm_set1_ps(lights_.ambient.b), ambientMono = _mm_set1_ps(lights_.ambientMono);
  const __m128 materialR = _mm_set1_ps(float(material_[0])), materialG = _mm_set1_ps(float(material_[1])),
               materialB = _mm_set1_ps(float(material_[2]));
  const __m128 centreX = _mm_set1_ps(p.cx), centreY = _mm_set1_ps(p.cy), depthScale = _mm_set1_ps(zScale_);
  const float* meshX = mesh.x.data();
  const float* meshY = mesh.y.data();
  const float* meshZ = mesh.z.data();
  const float* meshNx = mesh.nx.data();
  const float* meshNy = mesh.ny.data();
  const float* meshNz = mesh.nz.data();
  std::uint8_t* outcode = outcode_.data();
  // More lights than the loop holds: the scalar loop below does them all.
  for (; lightsHeld && i + 4 <= end; i += 4) {
    const __m128 x = _mm_loadu_ps(meshX + i), y = _mm_loadu_ps(meshY + i), z = _mm_loadu_ps(meshZ + i);
    const auto row = [&](int k) {
      return _mm_add_ps(_mm_add_ps(_mm_add_ps(_mm_mul_ps(x, matrix[k]), _mm_mul_ps(y, matrix[3 + k])),
                                   _mm_mul_ps(z, matrix[6 + k])),
                        matrix[9 + k]);
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
    const __m128i inside = _mm_cmpeq_epi32(code, _mm_setzero_si128());
    const __m128i codeBytes = _mm_packus_epi16(_mm_packs_epi32(code, code), code);
    const int packed = _mm_cvtsi128_si32(codeBytes);
    std::memcpy(outcode + i, &packed, 4);

    // Projection (only lanes inside are kept).
    const __m128 inverse = _mm_div_ps(_mm_set1_ps(1.0f), vz);
    const __m128 px = _mm_add_ps(centreX, _mm_mul_ps(_mm_mul_ps(scale, vx), inverse));
    const __m128 py = _mm_sub_ps(centreY, _mm_mul_ps(_mm_mul_ps(scale, vy), inverse));
    const __m128 depth = _mm_min_ps(
        _mm_max_ps(_mm_mul_ps(depthScale, _mm_sub_ps(_mm_set1_ps(1.0f), _mm_mul_ps(front, inverse))),
                   _mm_setzero_ps()),
        _mm_set1_ps(MaxDepth));
    const __m128i ix = RoundToInt(_mm_mul_ps(px, _mm_set1_ps(float(raster::SubpixelScale))));
    const __m128i iy = RoundToInt(_mm_mul_ps(py, _mm_set1_ps(float(raster::SubpixelScale))));
    const __m128i iz = ToUnsigned(depth);

    __m128i color = _mm_setzero_si128();
    if (shaded) {
      const __m128 nx = _mm_loadu_ps(meshNx + i), ny = _mm_loadu_ps(meshNy + i), nz = _mm_loadu_ps(meshNz + i);
      const auto facing = [&](std::size_t l) {
        const __m128 dot = _mm_add_ps(_mm_add_ps(_mm_mul_ps(nx, lightDx[l]), _mm_mul_ps(ny, lightDy[l])),
                                      _mm_mul_ps(nz, lightDz[l]));
        const __m128 f = _mm_xor_ps(dot, sign);
        return std::pair{f, _mm_cmpgt_ps(f, _mm_setzero_ps())};
      };
      if (ramp) {
        __m128 sum = ambientMono;
        for (std::size_t l = 0; l < lights; ++l) {
          const auto [f, lit] = facing(l);
          sum = _mm_add_ps(sum, _mm_and_ps(lit, _mm_mul_ps(f, lightMono[l])));
        }
        sum = _mm_min_ps(_mm_max_ps(sum, _mm_setzero_ps()), _mm_set1_ps(1.0f));
        color = Byte(_mm_mul_ps(sum, _mm_set1_ps(255.0f)));
      } else {
        __m128 r = ambientR, g = ambientG, b = ambientB;
        for (std::size_t l = 0; l < lights; ++l) {
          const auto [f, lit] = facing(l);
          r = _mm_add_ps(r, _mm_and_ps(lit, _mm_mul_ps(f, lightR[l])));
          g = _mm_add_ps(g, _mm_and_ps(lit, _mm_mul_ps(f, lightG[l])));
          b = _mm_add_ps(b, _mm_and_ps(lit, _mm_mul_ps(f, lightB[l])));
        }
        const __m128i cr = Byte(_mm_mul_ps(materialR, r));
        const __m128i cg = Byte(_mm_mul_ps(materialG, g));
        const __m128i cb = Byte(_mm_mul_ps(materialB, b));
        color = _mm_or_si128(cr, _mm_or_si128(_mm_slli_epi32(cg, 8), _mm_slli_epi32(cb, 16)));
      }
    }

    // Four vertices of x, y, z, colour: transposed into four ScreenVertex.
    // A vertex outside is all zero.
    __m128 c0 = _mm_castsi128_ps(_mm_and_si128(ix, inside)), c1 = _mm_castsi128_ps(_mm_and_si128(iy, inside)),
           c2 = _mm_castsi128_ps(_mm_and_si128(iz, inside)), c3 = _mm_castsi128_ps(_mm_and_si128(color, inside));
    _MM_TRANSPOSE4_PS(c0, c1, c2, c3);
    static_assert(sizeof(raster::ScreenVertex) == 16);
    float* to = reinterpret_cast<float*>(out + i);
    _mm_storeu_ps(to, c0);
    _mm_storeu_ps(to + 4, c1);
    _mm_storeu_ps(to + 8, c2);
    _mm_storeu_ps(to + 12, c3);
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
