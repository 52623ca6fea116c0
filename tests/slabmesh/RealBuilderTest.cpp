// The hand-off into the platform's own retained-mode mesh builder.
#include <gtest/gtest.h>

#include "Grids.h"
#include "SlabBitmap.h"
#include "d3drm/D3DRM.h"

namespace {

using namespace vyn::saver;

LPDIRECT3DRMMESHBUILDER2 NewBuilder(LPDIRECT3DRM2& rm) {
  LPDIRECT3DRM first = nullptr;
  if (Direct3DRMCreate(&first) != D3DRM_OK || first == nullptr) return nullptr;
  first->QueryInterface(IID_IDirect3DRM2, reinterpret_cast<void**>(&rm));
  first->Release();
  LPDIRECT3DRMMESHBUILDER2 builder = nullptr;
  if (rm != nullptr) rm->CreateMeshBuilder(&builder);
  return builder;
}

TEST(RealBuilder, TheWorkedExampleEndsScaledToThreeUnits) {
  LPDIRECT3DRM2 rm = nullptr;
  LPDIRECT3DRMMESHBUILDER2 builder = NewBuilder(rm);
  ASSERT_NE(builder, nullptr);
  PixelGrid grid = vyn::test::WorkedExample();
  SubmitSlabMesh(builder, grid);
  EXPECT_EQ(builder->GetVertexCount(), 12);
  EXPECT_EQ(builder->GetFaceCount(), 10);
  D3DRMBOX box{};
  ASSERT_EQ(builder->GetBox(&box), D3DRM_OK);
  EXPECT_FLOAT_EQ(box.min.x, -1.5f);
  EXPECT_FLOAT_EQ(box.max.x, 1.5f);
  EXPECT_FLOAT_EQ(box.min.y, -1.5f);
  EXPECT_FLOAT_EQ(box.max.y, 1.5f);
  EXPECT_FLOAT_EQ(box.min.z, -24.75f);
  EXPECT_FLOAT_EQ(box.max.z, -23.25f);
  builder->Release();
  rm->Release();
}

TEST(RealBuilder, TwoRowsOfSlabsFitTheirLargerExtent) {
  LPDIRECT3DRM2 rm = nullptr;
  LPDIRECT3DRMMESHBUILDER2 builder = NewBuilder(rm);
  ASSERT_NE(builder, nullptr);
  PixelGrid grid = vyn::test::GridOf({"XX..XXXXXX", "..........", "..........", "..........", "...XX....."});
  SubmitSlabMesh(builder, grid);
  EXPECT_EQ(builder->GetVertexCount(), 5 * 12);
  EXPECT_EQ(builder->GetFaceCount(), 5 * 10);
  D3DRMBOX box{};
  builder->GetBox(&box);
  EXPECT_NEAR(static_cast<double>(box.max.x) - box.min.x, 3.0, 1e-5);
  EXPECT_NEAR(static_cast<double>(box.max.y) - box.min.y, 3.0, 1e-5);
  builder->Release();
  rm->Release();
}

}  // namespace
