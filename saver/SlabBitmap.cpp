#include "SlabBitmap.h"

#include <memory>

#include "SaverWindow.h"
#include "Settings.h"
#include "gdi/Gdi.h"
#include "kernel/Kernel.h"
#include "user/User.h"

namespace vyn::saver {
namespace {

// The device contexts and the bitmap of a loaded picture, held while its rows
// are read and given back in reverse order when the grid lets go of them.
struct PixelAccess {
  HANDLE bitmap = nullptr;
  HDC windowDc = nullptr;
  HDC memoryDc = nullptr;
  HGDIOBJ previous = nullptr;

  PixelAccess() = default;
  PixelAccess(const PixelAccess&) = delete;
  PixelAccess& operator=(const PixelAccess&) = delete;
  ~PixelAccess() {
    if (memoryDc != nullptr) {
      SelectObject(memoryDc, previous);
      DeleteDC(memoryDc);
    }
    if (windowDc != nullptr) ReleaseDC(saverWindow, windowDc);
    // Nothing reads the picture after the scan: its memory goes now, not at exit.
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
};

void SubmitGeometry(LPDIRECT3DRMMESHBUILDER2 builder, const D3DVECTOR* vertices, const D3DVECTOR* normals,
                    const SlabFace* faces) {
  for (int k = 0; k < SlabVertexCount; ++k) builder->AddVertex(vertices[k].x, vertices[k].y, vertices[k].z);
  for (int n = 0; n < SlabNormalCount; ++n) builder->AddNormal(normals[n].x, normals[n].y, normals[n].z);
  for (int f = 0; f < SlabFaceCount; ++f) {
    LPDIRECT3DRMFACE face = nullptr;
    builder->CreateFace(&face);
    if (face == nullptr) continue;  // no face to fill; the rest still goes in
    for (const FaceCorner& corner : faces[f]) face->AddVertexAndNormalIndexed(corner.vertex, corner.normal);
    face->Release();
  }
}

}  // namespace

PixelGrid LoadSlabBitmapFrom(const char* path) {
  HANDLE bitmap = LoadImageA(GetModuleHandleA(nullptr), path, IMAGE_BITMAP, 0, 0,
                             LR_CREATEDIBSECTION | LR_LOADFROMFILE);
  if (bitmap == nullptr) {
    MessageBoxA(saverWindow, "Could not load Bitmap.", "SCRNSAVE", MB_ICONERROR);
    return PixelGrid();
  }
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);

  auto access = std::make_shared<PixelAccess>();
  access->bitmap = bitmap;
  access->windowDc = GetDC(saverWindow);
  access->memoryDc = CreateCompatibleDC(access->windowDc);
  access->previous = SelectObject(access->memoryDc, bitmap);
  return PixelGrid(info.bmWidth, info.bmHeight, [access](std::int32_t row, std::span<COLORREF> out) {
    for (std::size_t x = 0; x < out.size(); ++x)
      out[x] = GetPixel(access->memoryDc, static_cast<int>(x), row);
  });
}

PixelGrid LoadSlabBitmap() {
  char path[256] = {};
  ReadBitmapPath(path);
  return LoadSlabBitmapFrom(path);
}

void SubmitSlab(LPDIRECT3DRMMESHBUILDER2 builder, const Slab& slab, std::uint32_t s) {
  std::array<SlabFace, SlabFaceCount> faces;
  for (int f = 0; f < SlabFaceCount; ++f) faces[f] = AbsoluteFace(SlabFaces[f], s);
  SubmitGeometry(builder, slab.vertices.data(), slab.normals.data(), faces.data());
}

void FitBuilder(LPDIRECT3DRMMESHBUILDER2 builder) {
  D3DRMBOX box{{0, 0, 0}, {0, 0, 0}};
  builder->GetBox(&box);
  const auto scale = static_cast<D3DVALUE>(FitScale(box));
  builder->Scale(scale, scale, scale);
}

void SubmitSlabMesh(LPDIRECT3DRMMESHBUILDER2 builder, const SlabMesh& mesh) {
  const auto slabs = static_cast<std::size_t>(mesh.slabCount > 0 ? mesh.slabCount : 0);
  for (std::size_t s = 0; s < slabs; ++s)
    SubmitGeometry(builder, &mesh.vertices[SlabVertexCount * s], &mesh.normals[SlabNormalCount * s],
                   &mesh.faces[SlabFaceCount * s]);
  FitBuilder(builder);
}

void SubmitSlabMesh(LPDIRECT3DRMMESHBUILDER2 builder, PixelGrid& grid) {
  ForEachSlab(grid, [builder](const Slab& slab, std::uint32_t s) { SubmitSlab(builder, slab, s); });
  grid.Release();
  FitBuilder(builder);
}

void BuildSlabsInto(LPDIRECT3DRMMESHBUILDER2 builder) {
  PixelGrid grid = LoadSlabBitmap();
  SubmitSlabMesh(builder, grid);
}

}  // namespace vyn::saver
