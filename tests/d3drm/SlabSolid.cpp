#include "SlabSolid.h"

namespace vyn::d3drm::testing {

namespace {
float T(double p) { return static_cast<float>((p - 64.0) / 20.0); }
}  // namespace

void AddSlab(IDirect3DRMMeshBuilder* b, int slab, float si, float ei, float sj, float ej, float r) {
  const double D = 2.0;
  const double xs[12] = {si, si, ei, ei, si + D, si + D, ei - D, ei - D, si + D, si + D, ei - D, ei - D};
  const double ys[12] = {sj, ej, ej, sj, sj + D, ej - D, ej - D, sj + D, sj + D, ej - D, ej - D, sj + D};
  for (int k = 0; k < 12; ++k) {
    const double z = k < 4 ? r : k < 8 ? r + D : r - D;
    b->AddVertex(T(xs[k]), T(ys[k]), T(z));
  }
  const float normals[6][3] = {{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  for (const auto& n : normals) b->AddNormal(n[0], n[1], n[2]);
  const int faces[10][4][2] = {
      {{0, 0}, {4, 4}, {5, 4}, {1, 1}},   {{1, 1}, {5, 4}, {6, 4}, {2, 2}},  {{2, 2}, {6, 4}, {7, 4}, {3, 3}},
      {{3, 3}, {7, 4}, {4, 4}, {0, 0}},   {{0, 0}, {1, 1}, {9, 5}, {8, 5}},  {{1, 1}, {2, 2}, {10, 5}, {9, 5}},
      {{2, 2}, {3, 3}, {11, 5}, {10, 5}}, {{3, 3}, {0, 0}, {8, 5}, {11, 5}}, {{4, 4}, {7, 4}, {6, 4}, {5, 4}},
      {{8, 5}, {9, 5}, {10, 5}, {11, 5}}};
  for (const auto& face : faces) {
    IDirect3DRMFace* f = nullptr;
    b->CreateFace(&f);
    for (const auto& c : face) f->AddVertexAndNormalIndexed(12 * slab + c[0], 6 * slab + c[1]);
    f->Release();
  }
}

int AddSolid(IDirect3DRMMeshBuilder* builder, int runsPerRow, int rows, float runWidth, float gap) {
  // Centred on the picture's centre column and row, 64.
  const float start = 64.0f - (runsPerRow * (runWidth + gap) - gap) / 2;
  int slab = 0;
  for (int row = 0; row < rows; ++row) {
    const float r = static_cast<float>(64 - 2 * rows + row * 4);
    for (int i = 0; i < runsPerRow; ++i)
      for (int j = 0; j < runsPerRow; ++j) {
        const float si = start + i * (runWidth + gap), sj = start + j * (runWidth + gap);
        AddSlab(builder, slab++, si, si + runWidth, sj, sj + runWidth, r);
      }
  }
  return slab;
}

}  // namespace vyn::d3drm::testing
