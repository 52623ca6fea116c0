#include <cmath>

#include "RmFixture.h"
#include "d3drm/Mesh.h"
#include "d3drm/MeshBuilder.h"

namespace vyn::d3drm::testing {
namespace {

class MeshBuilderTest : public RmTest {
 protected:
  void SetUp() override {
    RmTest::SetUp();
    ASSERT_EQ(rm->CreateMeshBuilder(&builder), D3DRM_OK);
  }
  void TearDown() override {
    if (mesh != nullptr) mesh->Release();
    if (builder != nullptr) builder->Release();
    RmTest::TearDown();
  }

  // One face with the given (vertex, normal) corners.
  void AddFace(std::initializer_list<std::pair<DWORD, DWORD>> corners) {
    IDirect3DRMFace* face = nullptr;
    ASSERT_EQ(builder->CreateFace(&face), D3DRM_OK);
    for (auto [v, n] : corners) ASSERT_EQ(face->AddVertexAndNormalIndexed(v, n), D3DRM_OK);
    face->Release();
  }

  const MeshGeometry& MakeMesh() {
    if (mesh != nullptr) mesh->Release();
    EXPECT_EQ(builder->CreateMesh(&mesh), D3DRM_OK);
    return static_cast<Mesh*>(mesh)->geometry();
  }

  IDirect3DRMMeshBuilder2* builder = nullptr;
  IDirect3DRMMesh* mesh = nullptr;
};

TEST_F(MeshBuilderTest, VerticesAndNormalsAreNumberedInOrderFromZero) {
  EXPECT_EQ(builder->AddVertex(1, 2, 3), 0);
  EXPECT_EQ(builder->AddVertex(4, 5, 6), 1);
  EXPECT_EQ(builder->AddNormal(0, 0, 1), 0);
  EXPECT_EQ(builder->AddVertex(7, 8, 9), 2);
  EXPECT_EQ(builder->AddNormal(0, 1, 0), 1);
  EXPECT_EQ(builder->GetVertexCount(), 3);
  AddFace({{0, 0}, {1, 0}, {2, 1}});
  EXPECT_EQ(builder->GetFaceCount(), 1);
}

TEST_F(MeshBuilderTest, BoxCoversEveryVertexAndFollowsTheScale) {
  D3DRMBOX box;
  ASSERT_EQ(builder->GetBox(&box), D3DRM_OK);  // empty: a box of zeros
  EXPECT_EQ(box.min.x, 0);
  EXPECT_EQ(box.max.z, 0);
  builder->AddVertex(-0.2f, 0.4f, -3.2f);
  builder->AddVertex(0.2f, -0.4f, -3.3f);
  builder->AddVertex(0.1f, 0.0f, -3.1f);
  ASSERT_EQ(builder->GetBox(&box), D3DRM_OK);
  EXPECT_FLOAT_EQ(box.min.x, -0.2f);
  EXPECT_FLOAT_EQ(box.min.y, -0.4f);
  EXPECT_FLOAT_EQ(box.min.z, -3.3f);
  EXPECT_FLOAT_EQ(box.max.x, 0.2f);
  EXPECT_FLOAT_EQ(box.max.y, 0.4f);
  EXPECT_FLOAT_EQ(box.max.z, -3.1f);
  // Scaling is about the origin, not the box's centre.
  ASSERT_EQ(builder->Scale(7.5f, 7.5f, 7.5f), D3DRM_OK);
  builder->GetBox(&box);
  EXPECT_FLOAT_EQ(box.min.x, -0.2f * 7.5f);
  EXPECT_FLOAT_EQ(box.min.z, -3.3f * 7.5f);
  EXPECT_FLOAT_EQ(box.max.z, -3.1f * 7.5f);
  EXPECT_EQ(builder->GetBox(nullptr), D3DRMERR_BADVALUE);
}

TEST_F(MeshBuilderTest, CornersMustNameExistingVerticesAndNormals) {
  builder->AddVertex(0, 0, 0);
  builder->AddNormal(0, 0, 1);
  IDirect3DRMFace* face = nullptr;
  ASSERT_EQ(builder->CreateFace(&face), D3DRM_OK);
  EXPECT_EQ(face->AddVertexAndNormalIndexed(1, 0), D3DRMERR_BADVALUE);
  EXPECT_EQ(face->AddVertexAndNormalIndexed(0, 1), D3DRMERR_BADVALUE);
  EXPECT_EQ(face->AddVertexAndNormalIndexed(0, 0), D3DRM_OK);
  EXPECT_EQ(face->GetVertexCount(), 1);
  face->Release();
}

TEST_F(MeshBuilderTest, MeshSharesAVertexOnlyWhereTheNormalIsTheSame) {
  // A unit square split into two faces; vertex 1 and 2 are shared. Vertex 2
  // meets a different normal in the second face.
  for (auto [x, y] : {std::pair{0, 0}, {0, 1}, {1, 1}, {1, 0}, {2, 1}, {2, 0}}) builder->AddVertex(x, y, 0);
  builder->AddNormal(0, 0, -2);  // not unit: the mesh normalises
  builder->AddNormal(0, 1, -1);
  AddFace({{0, 0}, {1, 0}, {2, 0}, {3, 0}});
  AddFace({{3, 0}, {2, 1}, {4, 1}, {5, 1}});
  builder->SetColor(0xFF102030);
  builder->SetQuality(D3DRMRENDER_WIREFRAME);
  const MeshGeometry& g = MakeMesh();
  EXPECT_EQ(g.VertexCount(), 4u + 3u);  // 0 1 2 3, then 2', 4, 5
  EXPECT_EQ(g.cornersPerFace, 4u);
  ASSERT_EQ(g.corners.size(), 8u);
  EXPECT_EQ(g.corners[4], g.corners[3]);  // vertex 3 with normal 0 again
  EXPECT_NE(g.corners[5], g.corners[2]);  // vertex 2 with another normal
  EXPECT_FLOAT_EQ(g.nz[0], -1.0f);
  EXPECT_NEAR(g.ny[g.corners[5]], std::sqrt(0.5f), 1e-6);
  // Corners run clockwise as seen from -z: the face's normal points at -z.
  EXPECT_FLOAT_EQ(g.faceNz[0], -1.0f);
  EXPECT_EQ(g.color, 0xFF102030u);
  EXPECT_EQ(g.quality, D3DRMRENDER_WIREFRAME);
}

TEST_F(MeshBuilderTest, FacesFilledOutOfOrderKeepTheirOwnCorners) {
  for (int i = 0; i < 6; ++i) builder->AddVertex(float(i), float(i * i), 0);
  builder->AddNormal(0, 0, -1);
  IDirect3DRMFace* a = nullptr;
  IDirect3DRMFace* b = nullptr;
  builder->CreateFace(&a);
  builder->CreateFace(&b);
  a->AddVertexAndNormalIndexed(0, 0);
  b->AddVertexAndNormalIndexed(3, 0);
  a->AddVertexAndNormalIndexed(1, 0);
  b->AddVertexAndNormalIndexed(4, 0);
  b->AddVertexAndNormalIndexed(5, 0);
  a->AddVertexAndNormalIndexed(2, 0);
  a->AddVertexAndNormalIndexed(3, 0);  // a has 4 corners, b 3
  EXPECT_EQ(a->GetVertexCount(), 4);
  EXPECT_EQ(b->GetVertexCount(), 3);
  a->Release();
  b->Release();
  const MeshGeometry& g = MakeMesh();
  EXPECT_EQ(g.cornersPerFace, 0u);  // mixed sizes: explicit face starts
  ASSERT_EQ(g.FaceCount(), 2u);
  ASSERT_EQ(g.FaceEnd(0) - g.FaceBegin(0), 4u);
  ASSERT_EQ(g.FaceEnd(1) - g.FaceBegin(1), 3u);
  const float expectA[] = {0, 1, 2, 3}, expectB[] = {3, 4, 5};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(g.x[g.corners[g.FaceBegin(0) + i]], expectA[i]);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(g.x[g.corners[g.FaceBegin(1) + i]], expectB[i]);
}

TEST_F(MeshBuilderTest, FacesWithoutAreaAreLeftOutOfTheMesh) {
  builder->AddVertex(0, 0, 0);
  builder->AddVertex(1, 0, 0);
  builder->AddNormal(0, 0, 1);
  AddFace({{0, 0}, {1, 0}});
  AddFace({});
  const MeshGeometry& g = MakeMesh();
  EXPECT_EQ(g.FaceCount(), 0u);
  EXPECT_EQ(g.VertexCount(), 0u);
  EXPECT_EQ(builder->GetFaceCount(), 2);
}

TEST_F(MeshBuilderTest, AFaceKeptAfterTheBuilderIsReleasedStaysUsable) {
  builder->AddVertex(0, 0, 0);
  builder->AddNormal(0, 0, 1);
  IDirect3DRMFace* face = nullptr;
  builder->CreateFace(&face);
  builder->Release();
  builder = nullptr;
  EXPECT_EQ(face->AddVertexAndNormalIndexed(0, 0), D3DRM_OK);
  EXPECT_EQ(face->GetVertexCount(), 1);
  face->Release();
}

TEST_F(MeshBuilderTest, NonUniformScaleTiltsTheNormals) {
  builder->AddVertex(0, 0, 0);
  builder->AddVertex(0, 1, 1);
  builder->AddVertex(1, 0, 0);
  builder->AddNormal(0, -1, 1);  // normal of the plane y = z (scaled below)
  AddFace({{0, 0}, {1, 0}, {2, 0}});
  builder->Scale(1, 2, 1);  // the plane becomes y = 2z: normal (0, -1, 2)
  const MeshGeometry& g = MakeMesh();
  const float length = std::sqrt(5.0f);
  EXPECT_NEAR(g.ny[0], -1 / length, 1e-6);
  EXPECT_NEAR(g.nz[0], 2 / length, 1e-6);
}

}  // namespace
}  // namespace vyn::d3drm::testing
