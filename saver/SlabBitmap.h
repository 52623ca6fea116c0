// The slab mesh's way in and out: the picture loaded through GDI for pixel
// reads, and the slabs handed to the retained-mode mesh builder.
#pragma once

#include "SlabMesh.h"
#include "d3drm/D3DRM.h"

namespace vyn::saver {

// Loads the picture named by the settings ("FILENAME") and opens it for pixel
// reads through a memory device context of the saver window. A picture that
// cannot be loaded gets the "Could not load Bitmap." box and a 0 x 0 grid.
// The grid's Release (or its end) closes the device contexts and frees the
// bitmap.
PixelGrid LoadSlabBitmap();
// The same for a given path (tests, and LoadSlabBitmap itself).
PixelGrid LoadSlabBitmapFrom(const char* path);

// Feeds one slab, number s, to the builder: its 12 vertices, its 6 normals and
// its 10 faces with absolute indices. The indices assume that the builder was
// empty when slab 0 went in and numbers vertices and normals in order.
void SubmitSlab(LPDIRECT3DRMMESHBUILDER2 builder, const Slab& slab, std::uint32_t s);

// Reads the builder's box and scales it about the origin by FitScale.
void FitBuilder(LPDIRECT3DRMMESHBUILDER2 builder);

// Hands a whole mesh to an empty builder, slab by slab, then fits it.
void SubmitSlabMesh(LPDIRECT3DRMMESHBUILDER2 builder, const SlabMesh& mesh);

// Streams the slabs of the grid into an empty builder as they are generated,
// so no second copy of the geometry exists, releases the grid after the last
// row and fits the builder.
void SubmitSlabMesh(LPDIRECT3DRMMESHBUILDER2 builder, PixelGrid& grid);

// The whole job of the scene set-up: load, stream, release, fit.
void BuildSlabsInto(LPDIRECT3DRMMESHBUILDER2 builder);

}  // namespace vyn::saver
