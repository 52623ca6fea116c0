// The pure generation: run scan, row sampling, slab geometry, fit and budget.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "Grids.h"
#include "SlabMesh.h"
#include "gdi/Gdi.h"
#include "kernel/Kernel.h"

namespace {

using namespace vyn::saver;
using vyn::test::GridOf;
using vyn::test::WorkedExample;
using vyn::test::Model;

void ExpectVertex(const D3DVECTOR& v, float x, float y, float z, const char* what) {
  EXPECT_EQ(v.x, x) << what;
  EXPECT_EQ(v.y, y) << what;
  EXPECT_EQ(v.z, z) << what;
}


TEST(WorkedExample, VerticesBeforeTheFitToTheFloat) {
  const SlabMesh mesh = BuildSlabMesh(WorkedExample());
  ASSERT_EQ(mesh.slabCount, 1);
  ASSERT_EQ(mesh.vertices.size(), 12u);
  ASSERT_EQ(mesh.normals.size(), 6u);
  ASSERT_EQ(mesh.faces.size(), 10u);
  const auto& v = mesh.vertices;
  ExpectVertex(v[0], -0.2f, -0.2f, -3.2f, "v0");
  ExpectVertex(v[1], -0.2f, 0.2f, -3.2f, "v1");
  ExpectVertex(v[2], 0.2f, 0.2f, -3.2f, "v2");
  ExpectVertex(v[3], 0.2f, -0.2f, -3.2f, "v3");
  ExpectVertex(v[4], -0.1f, -0.1f, -3.1f, "v4");
  ExpectVertex(v[5], -0.1f, 0.1f, -3.1f, "v5");
  ExpectVertex(v[6], 0.1f, 0.1f, -3.1f, "v6");
  ExpectVertex(v[7], 0.1f, -0.1f, -3.1f, "v7");
  ExpectVertex(v[8], -0.1f, -0.1f, -3.3f, "v8");
  ExpectVertex(v[9], -0.1f, 0.1f, -3.3f, "v9");
  ExpectVertex(v[10], 0.1f, 0.1f, -3.3f, "v10");
  ExpectVertex(v[11], 0.1f, -0.1f, -3.3f, "v11");
}

TEST(WorkedExample, ScalesBySevenAndAHalfToTheFloat) {
  const SlabMesh mesh = BuildSlabMesh(WorkedExample());
  const D3DRMBOX box = BoundingBox(mesh);
  const float scale = static_cast<float>(FitScale(box));
  EXPECT_EQ(scale, 7.5f);
  auto scaled = [&](int k) {
    const D3DVECTOR& v = mesh.vertices[k];
    return D3DVECTOR{v.x * scale, v.y * scale, v.z * scale};
  };
  ExpectVertex(scaled(0), -1.5f, -1.5f, -24.0f, "v0 after the fit");
  ExpectVertex(scaled(4), -0.75f, -0.75f, -23.25f, "v4 after the fit");
  ExpectVertex(scaled(8), -0.75f, -0.75f, -24.75f, "v8 after the fit");
}

struct ScanCase {
  std::string row;
  std::vector<PixelRun> runs;
};

class RunScan : public testing::TestWithParam<ScanCase> {};

TEST_P(RunScan, FindsTheMaximalNonWhiteStretches) {
  const ScanCase& c = GetParam();
  EXPECT_EQ(ScanRowRuns(GridOf({c.row}), 0), c.runs) << "row \"" << c.row << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RunScan,
    testing::Values(ScanCase{"XX..X..XXX", {{0, 2}, {4, 5}, {7, 10}}},  // the ten-pixel row
                    ScanCase{"XXXXXX", {{0, 6}}},                        // non-white throughout
                    ScanCase{"......", {}},
                    ScanCase{".XX...", {{1, 3}}},
                    ScanCase{"....XX", {{4, 6}}},                        // reaches the right edge
                    ScanCase{"..n...", {{2, 3}}},                        // near-white counts
                    ScanCase{"nnnnnn", {{0, 6}}},
                    ScanCase{"X.X.X.", {{0, 1}, {2, 3}, {4, 5}}},
                    ScanCase{"X", {{0, 1}}}));

TEST(RunScan, ARowPastTheListCapacityKeepsTheFirstRuns) {
  // 2400 pixels alternating: 1200 runs of one pixel.
  std::string row;
  for (int x = 0; x < 2400; ++x) row += x % 2 == 0 ? 'X' : '.';
  const std::vector<PixelRun> runs = ScanRowRuns(GridOf({row}), 0);
  ASSERT_EQ(runs.size(), static_cast<std::size_t>(MaxRunsPerRow));
  EXPECT_EQ(runs.front(), (PixelRun{0, 1}));
  EXPECT_EQ(runs.back(), (PixelRun{1998, 1999}));
}

TEST(RowSampling, TenPixelRowGivesNineSlabsInPairOrder) {
  const SlabMesh mesh = BuildSlabMesh(GridOf({"XX..X..XXX"}));
  ASSERT_EQ(mesh.slabCount, 9);
  const PixelRun runs[] = {{0, 2}, {4, 5}, {7, 10}};
  for (int i = 0, s = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j, ++s) {
      const D3DVECTOR& min = mesh.vertices[12 * s];      // (s_i, s_j)
      const D3DVECTOR& max = mesh.vertices[12 * s + 2];  // (e_i, e_j)
      EXPECT_EQ(min.x, Model(runs[i].start)) << "slab " << s;
      EXPECT_EQ(min.y, Model(runs[j].start)) << "slab " << s;
      EXPECT_EQ(max.x, Model(runs[i].end)) << "slab " << s;
      EXPECT_EQ(max.y, Model(runs[j].end)) << "slab " << s;
    }
  }
}

TEST(RowSampling, SlabNumberingRunsOnAcrossRows) {
  // Row 0 has two runs (4 slabs); row 4 one run: slab 4 is its first.
  const SlabMesh mesh = BuildSlabMesh(GridOf({"XX..XX", "......", "......", "......", "..XX.."}));
  ASSERT_EQ(mesh.slabCount, 5);
  ASSERT_EQ(mesh.faces.size(), 50u);
  for (int f = 40; f < 50; ++f) {
    for (const FaceCorner& corner : mesh.faces[f]) {
      EXPECT_GE(corner.vertex, 48u);
      EXPECT_LE(corner.vertex, 59u);
      EXPECT_GE(corner.normal, 24u);
      EXPECT_LE(corner.normal, 29u);
    }
  }
  EXPECT_EQ(mesh.vertices[48].z, Model(4));
  EXPECT_EQ(mesh.vertices[48].x, Model(2));
}

TEST(RowSampling, HeightsOneToEightSampleEveryFourthRow) {
  // One non-white column: each sampled row is one run, so one slab per row.
  const int expectedRows[] = {1, 1, 1, 1, 2, 2, 2, 2};
  for (int height = 1; height <= 8; ++height) {
    std::vector<std::string> rows(static_cast<std::size_t>(height), "X");
    const SlabMesh mesh = BuildSlabMesh(GridOf(rows));
    ASSERT_EQ(mesh.slabCount, expectedRows[height - 1]) << "height " << height;
    for (int s = 0; s < mesh.slabCount; ++s) EXPECT_EQ(mesh.vertices[12 * s].z, Model(4 * s)) << "height " << height;
  }
}

TEST(RowSampling, OnlySampledRowsAreRead) {
  std::vector<std::int32_t> rowsRead;
  PixelGrid grid(3, 10, [&](std::int32_t row, std::span<COLORREF> out) {
    rowsRead.push_back(row);
    for (COLORREF& c : out) c = 0;
  });
  EXPECT_EQ(BuildSlabMesh(grid).slabCount, 3);
  EXPECT_EQ(rowsRead, (std::vector<std::int32_t>{0, 4, 8}));
}

TEST(RowSampling, AnEmptyOrBlankPictureHasNoSlabs) {
  EXPECT_EQ(BuildSlabMesh(PixelGrid()).slabCount, 0);
  // Non-white only in rows that are not sampled.
  const SlabMesh mesh = BuildSlabMesh(GridOf({"....", "XXXX", "XXXX", "XXXX", "....", "XXXX"}));
  EXPECT_EQ(mesh.slabCount, 0);
  EXPECT_TRUE(mesh.vertices.empty());
  EXPECT_TRUE(mesh.faces.empty());
}

TEST(SlabGeometry, EveryCornerStaysInItsSlabAndVerticesKeepTheirNormals) {
  const SlabMesh mesh = BuildSlabMesh(GridOf({"X.XX.XXX..X", "...........", "...........", "...........",
                                              "XX.X.......", "...........", "...........", "...........",
                                              ".XXXXXXXXX."}));
  ASSERT_EQ(mesh.slabCount, 16 + 4 + 1);
  for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
    const std::uint32_t s = static_cast<std::uint32_t>(f / 10);
    for (const FaceCorner& corner : mesh.faces[f]) {
      ASSERT_GE(corner.vertex, 12 * s);
      ASSERT_LT(corner.vertex, 12 * s + 12);
      const std::uint32_t k = corner.vertex - 12 * s;
      const std::uint32_t n = corner.normal - 6 * s;
      EXPECT_EQ(n, k < 4 ? k : k < 8 ? 4u : 5u) << "face " << f;
    }
  }
  // Normals: the four bevel directions of length sqrt 2, then +z and -z.
  for (int s = 0; s < mesh.slabCount; ++s) {
    const D3DVECTOR* n = &mesh.normals[6 * s];
    EXPECT_EQ(n[0].x, -1.0f);
    EXPECT_EQ(n[0].y, -1.0f);
    EXPECT_EQ(n[2].x, 1.0f);
    EXPECT_EQ(n[2].y, 1.0f);
    EXPECT_EQ(n[4].z, 1.0f);
    EXPECT_EQ(n[5].z, -1.0f);
  }
  // Every face is a closed quad: its four vertices are distinct.
  for (const SlabFace& face : mesh.faces)
    for (int a = 0; a < 4; ++a)
      for (int b = a + 1; b < 4; ++b) EXPECT_NE(face[a].vertex, face[b].vertex);
}

TEST(SlabGeometry, FourPixelRunsMakeDoublePyramidsAndNarrowerOnesCrossOver) {
  const SlabMesh four = BuildSlabMesh(GridOf({"XXXX"}));
  for (int k = 4; k < 12; ++k) {
    EXPECT_EQ(four.vertices[k].x, Model(2)) << k;
    EXPECT_EQ(four.vertices[k].y, Model(2)) << k;
  }
  const SlabMesh three = BuildSlabMesh(GridOf({"XXX."}));
  // s + D = 2 lies past e - D = 1: the cap corners swap sides, uncorrected.
  EXPECT_EQ(three.vertices[4].x, Model(2));
  EXPECT_EQ(three.vertices[6].x, Model(1));
  EXPECT_GT(three.vertices[4].x, three.vertices[6].x);
}

TEST(FitScale, TakesTheLargerOfTheXAndYExtents) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    D3DRMBOX box;
    double expected;
  };
  const Case cases[] = {
      {{{-1, -0.5f, -9}, {1, 0.5f, 9}}, 1.5},    // dx larger; z ignored
      {{{0, 0, 0}, {0.5f, 6, 0}}, 0.5},           // dy larger
      {{{nan, 0, 0}, {1, 2, 0}}, 1.5},            // unordered: dy
      {{{0, 0, 0}, {0, 0, 0}}, 1.0},              // an empty builder: nothing to scale
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(FitScale(c.box), c.expected);
  // Differences come from the float box values in double arithmetic.
  const D3DRMBOX box{{-0.2f, -0.2f, 0}, {0.2f, 0.2f, 0}};
  EXPECT_EQ(FitScale(box), 3.0 / (static_cast<double>(0.2f) - static_cast<double>(-0.2f)));
}

class SlabBudgetTest : public testing::Test {
 protected:
  void SetUp() override {
    vyn::kernel::SetDebugSink([this](const char* text) { lines_.push_back(text); });
  }
  void TearDown() override { vyn::kernel::SetDebugSink({}); }
  std::vector<std::string> lines_;
};

TEST_F(SlabBudgetTest, PastTheBudgetTheRestIsDroppedWithOneLine) {
  // Three runs a row in two sampled rows: 18 slabs, of which 7 are kept.
  const PixelGrid grid = GridOf({"X.X.X", ".....", ".....", ".....", "X.X.X"});
  const SlabMesh mesh = BuildSlabMesh(grid, 7);
  EXPECT_EQ(mesh.slabCount, 7);
  EXPECT_EQ(mesh.vertices.size(), 7u * 12);
  EXPECT_EQ(mesh.faces.size(), 70u);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_NE(lines_[0].find("kept 7 slabs"), std::string::npos) << lines_[0];
  lines_.clear();
  EXPECT_EQ(BuildSlabMesh(grid, 18).slabCount, 18);
  EXPECT_TRUE(lines_.empty()) << "a picture that fits exactly is whole";
}

// A 1024 x 1024 picture with 64 runs in every row.
PixelGrid Stripes1024(int runsPerRow) {
  const int period = 1024 / runsPerRow;
  return PixelGrid(1024, 1024, [period](std::int32_t, std::span<COLORREF> out) {
    for (std::size_t x = 0; x < out.size(); ++x) out[x] = static_cast<int>(x) % period < period / 2 ? 0 : 0xFFFFFF;
  });
}

TEST_F(SlabBudgetTest, AMegapixelPictureWithSixtyFourRunsARowIsWhole) {
  std::uint32_t last = 0;
  const std::uint32_t count = ForEachSlab(Stripes1024(64), [&](const Slab&, std::uint32_t s) { last = s; });
  EXPECT_EQ(count, 256u * 64 * 64);
  EXPECT_EQ(last, count - 1);
  EXPECT_TRUE(lines_.empty());
}

TEST_F(SlabBudgetTest, AFinerPictureStopsAtTheBudget) {
  const std::uint32_t count = ForEachSlab(Stripes1024(128), [](const Slab&, std::uint32_t) {});
  EXPECT_EQ(count, SlabBudget);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_NE(lines_[0].find("kept " + std::to_string(SlabBudget) + " slabs"), std::string::npos);
}

TEST(PixelGrid, ReadsOutsideThePictureAreInvalid) {
  const PixelGrid grid = GridOf({"X.", ".X"});
  EXPECT_EQ(grid.ColorAt(0, 0), 0u);
  EXPECT_EQ(grid.ColorAt(1, 0), 0xFFFFFFu);
  EXPECT_EQ(grid.ColorAt(1, 1), 0u);
  for (auto [x, y] : {std::pair{2, 0}, {-1, 0}, {0, 2}, {0, -1}}) EXPECT_EQ(grid.ColorAt(x, y), CLR_INVALID);
  // Nonsense sizes give an empty grid.
  EXPECT_EQ(PixelGrid(-5, 3, nullptr).width, 0);
  EXPECT_EQ(PixelGrid(5, -3, nullptr).height, 0);
}

}  // namespace
