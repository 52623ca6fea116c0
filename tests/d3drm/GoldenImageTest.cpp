// Small renders of the saver's solid compared with stored images. A failing
// comparison writes the actual image and a difference image as PNG under
// $VYN_BINARY_DIR/test-output; VYN_UPDATE_GOLDEN=1 stores new references and
// VYN_WRITE_RENDERS=<dir> writes every render there for a person to look at.
#include <cstdlib>
#include <filesystem>

#include "RenderFixture.h"

namespace vyn::d3drm::testing {
namespace {

struct GoldenCase {
  const char* name;
  int bits;
  D3DCOLORMODEL model;
  D3DRMRENDERQUALITY deviceQuality;
  DWORD shades;
  D3DRMRENDERQUALITY meshQuality;
};

class GoldenImageTest : public RenderTest, public ::testing::WithParamInterface<GoldenCase> {
 protected:
  void SetUp() override {
    const GoldenCase& c = GetParam();
    SetUpScene(160, 120, c.bits, c.model);
  }
};

std::string SourceDir() {
  const char* dir = std::getenv("VYN_SOURCE_DIR");
  return dir != nullptr ? dir : ".";
}
std::string OutputDir() {
  const char* dir = std::getenv("VYN_BINARY_DIR");
  const std::string out = std::string(dir != nullptr ? dir : ".") + "/test-output";
  std::filesystem::create_directories(out);
  return out;
}

// Pixels whose largest channel difference exceeds `tolerance`; fills `diff`.
int CountDifferences(const RgbImage& a, const RgbImage& b, int tolerance, RgbImage& diff) {
  diff = a;
  int count = 0;
  for (std::size_t i = 0; i + 2 < a.rgb.size(); i += 3) {
    int worst = 0;
    for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(int(a.rgb[i + c]) - int(b.rgb[i + c])));
    const bool bad = worst > tolerance;
    count += bad;
    diff.rgb[i] = static_cast<std::uint8_t>(bad ? 255 : 0);
    diff.rgb[i + 1] = static_cast<std::uint8_t>(std::min(255, worst * 8));
    diff.rgb[i + 2] = static_cast<std::uint8_t>(a.rgb[i + 1] / 4);
  }
  return count;
}

TEST_P(GoldenImageTest, MatchesTheStoredImage) {
  const GoldenCase& c = GetParam();
  device->SetQuality(c.deviceQuality);
  device->SetShades(c.shades);
  viewport->SetBack(5000.0f);
  AddSaverLights();
  AddSaverSolid(c.meshQuality, 0xFFFFB030, 3, 5, 3.0f, 0.0f, 7.0f);
  for (int i = 0; i < 12; ++i) scene->Move(1.0f);  // turned, so that the bevels catch the light
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  MaybeWrite(c.name);

  const RgbImage actual = surface->Image();
  const std::string golden = SourceDir() + "/tests/d3drm/golden/" + c.name + ".png";
  if (std::getenv("VYN_UPDATE_GOLDEN") != nullptr) {
    ASSERT_TRUE(WritePng(golden, actual));
    return;
  }
  RgbImage expected;
  ASSERT_TRUE(ReadPng(golden, expected)) << "no reference image " << golden;
  ASSERT_EQ(expected.width, actual.width);
  ASSERT_EQ(expected.height, actual.height);
  RgbImage diff;
  const int differences = CountDifferences(actual, expected, 12, diff);
  const int allowed = actual.width * actual.height / 400;  // 0.25 %: edge pixels may move
  if (differences > allowed) {
    const std::string out = OutputDir() + "/" + c.name;
    WritePng(out + "-actual.png", actual);
    WritePng(out + "-diff.png", diff);
    FAIL() << differences << " pixels differ from " << golden << "; see " << out << "-actual.png and -diff.png";
  }
  // The image is not empty: the solid is there.
  int lit = 0;
  for (std::uint8_t v : actual.rgb) lit += v != 0;
  EXPECT_GT(lit, 1000);
}

INSTANTIATE_TEST_SUITE_P(
    Renders, GoldenImageTest,
    ::testing::Values(GoldenCase{"shaded", 32, D3DCOLOR_RGB, D3DRMRENDER_GOURAUD, 32, D3DRMRENDER_GOURAUD},
                      GoldenCase{"wireframe", 32, D3DCOLOR_RGB, D3DRMRENDER_GOURAUD, 32, D3DRMRENDER_WIREFRAME},
                      GoldenCase{"ramp16", 16, D3DCOLOR_MONO, D3DRMRENDER_GOURAUD, 32, D3DRMRENDER_GOURAUD},
                      GoldenCase{"ramp8", 8, D3DCOLOR_MONO, D3DRMRENDER_FLAT, 8, D3DRMRENDER_GOURAUD}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vyn::d3drm::testing
