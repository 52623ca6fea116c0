// A small stack of bevelled slabs like the saver's solid (12 vertices, 6
// normals, 10 four-cornered faces per slab), for image tests and renders.
#pragma once

#include "d3drm/D3DRM.h"

namespace vyn::d3drm::testing {

// One slab: x from run [si, ei), y from run [sj, ej), at row r, in pixels
// of a 128-pixel picture (centre 64, 20 pixels a unit, bevel 2).
void AddSlab(IDirect3DRMMeshBuilder* builder, int slab, float si, float ei, float sj, float ej, float r);

// The slabs of a picture of `runs` runs per row over `rows` sampled rows,
// every ordered pair of runs of a row: a solid in the saver's style.
// Returns the number of slabs.
int AddSolid(IDirect3DRMMeshBuilder* builder, int runsPerRow, int rows, float runWidth, float gap);

}  // namespace vyn::d3drm::testing
