// The hand-off to the mesh builder: the exact calls, indices and the fit.
#include <gtest/gtest.h>

#include "Grids.h"
#include "RecordingBuilder.h"
#include "SlabBitmap.h"
#include "SlabMesh.h"

namespace {

using namespace vyn::saver;
using vyn::test::BuilderCall;
using vyn::test::GridOf;
using vyn::test::WorkedExample;
using vyn::test::RecordingBuilder;


// The calls one slab s must make, from the mesh built for the same picture.
std::vector<BuilderCall> ExpectedSlabCalls(const SlabMesh& mesh, std::uint32_t s) {
  std::vector<BuilderCall> calls;
  for (int k = 0; k < 12; ++k) {
    const D3DVECTOR& v = mesh.vertices[12 * s + k];
    calls.push_back({"AddVertex", v.x, v.y, v.z});
  }
  const float normals[6][3] = {{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  for (const auto& n : normals) calls.push_back({"AddNormal", n[0], n[1], n[2]});
  for (int f = 0; f < 10; ++f) {
    calls.push_back({"CreateFace"});
    for (const FaceCorner& c : mesh.faces[10 * s + f]) calls.push_back({"Corner", 0, 0, 0, c.vertex, c.normal});
    calls.push_back({"FaceRelease"});
  }
  return calls;
}

TEST(SubmitSlabMesh, WorkedExampleMakesTheExactCallsAndScalesBySevenAndAHalf) {
  RecordingBuilder builder;
  SubmitSlabMesh(&builder, BuildSlabMesh(WorkedExample()));
  const auto& log = builder.log;
  ASSERT_EQ(log.size(), 12u + 6 + 10 * 6 + 2);
  EXPECT_EQ(log[0], (BuilderCall{"AddVertex", -0.2f, -0.2f, -3.2f}));
  EXPECT_EQ(log[11], (BuilderCall{"AddVertex", 0.1f, -0.1f, -3.3f}));
  EXPECT_EQ(log[12], (BuilderCall{"AddNormal", -1, -1, 0}));
  // Face 0: (0,0) (4,4) (5,4) (1,1).
  EXPECT_EQ(log[18].what, "CreateFace");
  EXPECT_EQ(log[19], (BuilderCall{"Corner", 0, 0, 0, 0, 0}));
  EXPECT_EQ(log[20], (BuilderCall{"Corner", 0, 0, 0, 4, 4}));
  EXPECT_EQ(log[21], (BuilderCall{"Corner", 0, 0, 0, 5, 4}));
  EXPECT_EQ(log[22], (BuilderCall{"Corner", 0, 0, 0, 1, 1}));
  EXPECT_EQ(log[23].what, "FaceRelease");
  // Face 9, the cap at r - D: (8,5) (9,5) (10,5) (11,5).
  EXPECT_EQ(log[73], (BuilderCall{"Corner", 0, 0, 0, 8, 5}));
  EXPECT_EQ(log[76], (BuilderCall{"Corner", 0, 0, 0, 11, 5}));
  EXPECT_EQ(log[78].what, "GetBox");
  EXPECT_EQ(log[79], (BuilderCall{"Scale", 7.5f, 7.5f, 7.5f}));
}

TEST(SubmitSlabMesh, IndicesOfLaterSlabsAreOffsetByTheirNumber) {
  const PixelGrid grid = GridOf({"XX..XX", "......", "......", "......", "..XX.."});
  const SlabMesh mesh = BuildSlabMesh(grid);
  RecordingBuilder builder;
  SubmitSlabMesh(&builder, mesh);
  std::vector<BuilderCall> expected;
  for (std::uint32_t s = 0; s < 5; ++s) {
    const auto slab = ExpectedSlabCalls(mesh, s);
    expected.insert(expected.end(), slab.begin(), slab.end());
  }
  ASSERT_GE(builder.log.size(), expected.size());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), builder.log.begin()));
  // Slab 4's first face starts at vertex 48 with normal 24.
  const std::size_t slabCalls = 12 + 6 + 60;
  EXPECT_EQ(builder.log[4 * slabCalls + 19], (BuilderCall{"Corner", 0, 0, 0, 48, 24}));
  EXPECT_EQ(builder.log.back().what, "Scale");
}

TEST(SubmitSlabMesh, StreamingFromTheGridMakesTheSameCallsAsTheWholeMesh) {
  const std::vector<std::string> picture = {"X.XX.XXX..X", "...........", "...........", "...........",
                                            "XX.X......."};
  RecordingBuilder whole, streamed;
  SubmitSlabMesh(&whole, BuildSlabMesh(GridOf(picture)));
  PixelGrid grid = GridOf(picture);
  SubmitSlabMesh(&streamed, grid);
  EXPECT_EQ(whole.log.size(), (16u + 4) * 78 + 2);
  EXPECT_TRUE(whole.log == streamed.log);
  EXPECT_EQ(grid.width, 0) << "the grid is released after the last row";
}

TEST(SubmitSlabMesh, AnEmptyMeshStillFitsHarmlessly) {
  RecordingBuilder builder;
  SubmitSlabMesh(&builder, SlabMesh{});
  ASSERT_EQ(builder.log.size(), 2u);
  EXPECT_EQ(builder.log[0].what, "GetBox");
  EXPECT_EQ(builder.log[1], (BuilderCall{"Scale", 1, 1, 1}));
}

}  // namespace
