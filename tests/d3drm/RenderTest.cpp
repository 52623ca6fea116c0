#include <cmath>

#include "RenderFixture.h"

namespace vyn::d3drm::testing {
namespace {

// The rectangle of pixels that hold `rgb`, or an empty one.
struct Found {
  int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1, count = 0;
};
Found PixelsOf(const MemorySurface& s, std::uint32_t rgb) {
  Found f;
  for (int y = 0; y < s.memory.height; ++y)
    for (int x = 0; x < s.memory.width; ++x)
      if (s.Rgb(x, y) == rgb) {
        f.x0 = std::min(f.x0, x);
        f.y0 = std::min(f.y0, y);
        f.x1 = std::max(f.x1, x + 1);
        f.y1 = std::max(f.y1, y + 1);
        ++f.count;
      }
  return f;
}

int NonBlack(const MemorySurface& s) {
  int n = 0;
  for (int y = 0; y < s.memory.height; ++y)
    for (int x = 0; x < s.memory.width; ++x) n += s.Rgb(x, y) != 0;
  return n;
}

using RenderTestCase = RenderTest;

TEST_F(RenderTestCase, ViewportStartsWithTheDocumentedProjection) {
  EXPECT_EQ(viewport->GetFront(), 1.0f);
  EXPECT_EQ(viewport->GetBack(), 100.0f);
  EXPECT_EQ(viewport->GetField(), 0.5f);
  EXPECT_EQ(viewport->SetBack(5000.0f), D3DRM_OK);
  EXPECT_EQ(viewport->GetBack(), 5000.0f);
  EXPECT_EQ(viewport->SetBack(0.5f), D3DRMERR_BADVALUE);  // behind the front plane
  EXPECT_EQ(viewport->GetBack(), 5000.0f);
}

// 160 x 120, field 0.5 on the larger side: 160 pixels per unit of x/z. A
// quad 1 x 0.5 at depth 2 covers [40, 120) x [40, 80) exactly.
TEST_F(RenderTestCase, QuadOfKnownSizeCoversExactlyItsProjectedRectangle) {
  AddMesh({FacingQuad(-0.5f, -0.25f, 0.5f, 0.25f, 2.0f)}, D3DRMRENDER_UNLITFLAT, 0xFFFFFFFF);
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  const Found f = PixelsOf(*surface, 0xFFFFFF);
  EXPECT_EQ(f.x0, 40);
  EXPECT_EQ(f.x1, 120);
  EXPECT_EQ(f.y0, 40);
  EXPECT_EQ(f.y1, 80);
  EXPECT_EQ(f.count, 80 * 40);
  EXPECT_EQ(NonBlack(*surface), 80 * 40);
}

TEST_F(RenderTestCase, UpOnTheCameraIsUpOnTheScreen) {
  AddMesh({FacingQuad(0.1f, 0.1f, 0.3f, 0.3f, 2.0f)}, D3DRMRENDER_UNLITFLAT, 0xFFFFFFFF);
  RenderFrame();
  const Found f = PixelsOf(*surface, 0xFFFFFF);
  EXPECT_GE(f.x0, 80);  // +x to the right
  EXPECT_LE(f.y1, 60);  // +y to the top
}

TEST_F(RenderTestCase, BackFacesAreCulled) {
  std::vector<Corner> quad = FacingQuad(-0.5f, -0.25f, 0.5f, 0.25f, 2.0f);
  std::reverse(quad.begin(), quad.end());
  AddMesh({quad}, D3DRMRENDER_UNLITFLAT, 0xFFFFFFFF);
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  EXPECT_EQ(NonBlack(*surface), 0);
}

TEST_F(RenderTestCase, DepthOrderDoesNotDependOnSubmissionOrder) {
  const auto nearQuad = FacingQuad(-0.5f, -0.5f, 0.2f, 0.2f, 3.0f);
  const auto farQuad = FacingQuad(-0.2f, -0.2f, 0.5f, 0.5f, 4.0f);
  AddMesh({nearQuad}, D3DRMRENDER_UNLITFLAT, 0xFFFF0000);
  AddMesh({farQuad}, D3DRMRENDER_UNLITFLAT, 0xFF00FF00);
  RenderFrame();
  const std::vector<std::uint8_t> nearFirst = surface->pixels;

  object->Release();
  object = NewFrame(scene);  // the old object frame stays in the scene: move it out of sight
  IDirect3DRMFrame2* reversed = object;
  AddMesh({farQuad}, D3DRMRENDER_UNLITFLAT, 0xFF00FF00, reversed);
  AddMesh({nearQuad}, D3DRMRENDER_UNLITFLAT, 0xFFFF0000, reversed);
  // Render only the new frame's tree.
  viewport->Clear();
  viewport->Render(reversed);
  device->Update();
  EXPECT_EQ(surface->pixels, nearFirst);
  // The overlap shows the nearer quad: centre of the overlap in x/z is 0 at z = 3.
  EXPECT_EQ(surface->Rgb(80, 60), 0xFF0000u);
}

// Lit with the saver's lights: 0.1 ambient plus 0.9 times the cosine between
// the normal and the way back to the light.
TEST_F(RenderTestCase, FlatLightingIsAmbientPlusLambert) {
  const double degrees[] = {0, 25, 50, 75};
  for (double angle : degrees) {
    const double a = angle * 3.14159265358979 / 180;
    const std::vector<Corner> quad = TurnedQuad(angle);
    // A scene of its own for each angle (the camera stays at the origin).
    object->Release();
    scene->Release();
    scene = NewFrame(nullptr);
    object = NewFrame(scene);
    AddSaverLights();
    AddMesh({quad}, D3DRMRENDER_FLAT, 0xFFC86432);
    ASSERT_EQ(RenderFrame(), D3DRM_OK);
    const double light = 0.1 + 0.9 * std::cos(a);
    const std::uint32_t rgb = surface->Rgb(80, 60);
    EXPECT_NEAR(double(rgb >> 16), 200 * light, 1.0) << angle;
    EXPECT_NEAR(double((rgb >> 8) & 0xFF), 100 * light, 1.0) << angle;
    EXPECT_NEAR(double(rgb & 0xFF), 50 * light, 1.0) << angle;
  }
}

TEST_F(RenderTestCase, GouraudLightsEachVertexByItsNormal) {
  AddSaverLights();
  // Left corners face the light, right corners are turned 60 degrees away.
  const float s = std::sin(60 * 3.14159265f / 180), c = std::cos(60 * 3.14159265f / 180);
  std::vector<Corner> quad = FacingQuad(-0.5f, -0.25f, 0.5f, 0.25f, 2.0f);
  for (Corner& k : quad) {
    if (k.x > 0) {
      k.nx = s;
      k.nz = -c;
    }
  }
  AddMesh({quad}, D3DRMRENDER_GOURAUD, 0xFFFFFFFF);
  RenderFrame();
  const auto red = [&](int x) { return double(surface->Rgb(x, 60) >> 16); };
  EXPECT_NEAR(red(40), 255, 3);
  EXPECT_NEAR(red(119), 255 * (0.1 + 0.9 * c), 3);
  EXPECT_NEAR(red(80), 255 * (1 + 0.1 + 0.9 * c) / 2, 3);
  EXPECT_GT(red(60), red(100));
}

TEST_F(RenderTestCase, FlatDeviceDrawsAGouraudMeshFlat) {
  device->SetQuality(D3DRMRENDER_FLAT);
  AddSaverLights();
  std::vector<Corner> quad = FacingQuad(-0.5f, -0.25f, 0.5f, 0.25f, 2.0f);
  quad[2].nx = 1, quad[2].nz = 0;
  quad[3].nx = 1, quad[3].nz = 0;
  AddMesh({quad}, D3DRMRENDER_GOURAUD, 0xFFFFFFFF);
  RenderFrame();
  EXPECT_EQ(PixelsOf(*surface, 0xFFFFFF).count, 80 * 40);  // one colour: the face's own normal
}

TEST_F(RenderTestCase, LightFrameTransformTurnsTheLight) {
  IDirect3DRMFrame2* lightFrame = AddSaverLights();
  lightFrame->SetOrientation(scene, 1, 0, 0, 0, 1, 0);  // shines along +x now
  AddMesh({FacingQuad(-0.5f, -0.25f, 0.5f, 0.25f, 2.0f)}, D3DRMRENDER_FLAT, 0xFFC8C8C8);
  RenderFrame();
  EXPECT_EQ(surface->Rgb(80, 60), 0x141414u);  // ambient only: 200 * 0.1
}

TEST_F(RenderTestCase, WireframeDrawsTheFaceEdgesOnly) {
  AddMesh({FacingQuad(-0.5f, -0.25f, 0.5f, 0.25f, 2.0f)}, D3DRMRENDER_WIREFRAME, 0xFF00FF00);
  RenderFrame();
  EXPECT_EQ(surface->Rgb(40, 60), 0x00FF00u);   // left edge
  EXPECT_EQ(surface->Rgb(80, 40), 0x00FF00u);   // top edge
  EXPECT_EQ(surface->Rgb(80, 60), 0u);          // inside, on the diagonal of the fan
  EXPECT_EQ(surface->Rgb(60, 50), 0u);
  const Found f = PixelsOf(*surface, 0x00FF00);
  EXPECT_EQ(f.count, 2 * 81 + 2 * 39);  // the four sides, corners counted once
}

TEST_F(RenderTestCase, FrontAndBackPlanesClip) {
  viewport->SetBack(10.0f);
  AddMesh({FacingQuad(-0.5f, -0.25f, 0.5f, 0.25f, 0.5f)}, D3DRMRENDER_UNLITFLAT, 0xFFFFFFFF);  // before the front plane
  AddMesh({FacingQuad(-0.5f, -0.25f, 0.5f, 0.25f, 20.0f)}, D3DRMRENDER_UNLITFLAT, 0xFFFFFFFF);  // beyond the back plane
  RenderFrame();
  EXPECT_EQ(NonBlack(*surface), 0);
  // A quad reaching from z = 0.2 to z = 4 (a floor below the camera) is cut
  // at the front plane: only its far part shows, below the horizon.
  AddMesh({{{-1, -0.5f, 0.2f}, {-1, -0.5f, 4}, {1, -0.5f, 4}, {1, -0.5f, 0.2f}}}, D3DRMRENDER_UNLITFLAT,
          0xFFFFFFFF);
  RenderFrame();
  const Found f = PixelsOf(*surface, 0xFFFFFF);
  EXPECT_GT(f.count, 0);
  EXPECT_EQ(f.y0, 60 + 20);  // z = 4 is the far edge: y = 60 + 0.5 / 4 * 160
  EXPECT_EQ(f.y1, 120);      // reaches the bottom of the view
}

TEST_F(RenderTestCase, HugeQuadAroundTheCameraIsClippedNotOverflowed) {
  AddMesh({FacingQuad(-1e4f, -1e4f, 1e4f, 1e4f, 3.0f)}, D3DRMRENDER_UNLITFLAT, 0xFFFFFFFF);
  RenderFrame();
  EXPECT_EQ(PixelsOf(*surface, 0xFFFFFF).count, 160 * 120);
}

TEST_F(RenderTestCase, FacesWithBrokenVerticesAreSkipped) {
  const float nan = std::nanf(""), inf = INFINITY;
  AddMesh({{{-0.5f, -0.25f, 2}, {nan, 0.25f, 2}, {0.5f, 0.25f, 2}, {0.5f, -0.25f, 2}},
           {{-0.5f, -0.25f, 2}, {-0.5f, 0.25f, inf}, {0.5f, 0.25f, 2}, {0.5f, -0.25f, 2}},
           FacingQuad(0.6f, 0.3f, 0.7f, 0.35f, 2.0f)},
          D3DRMRENDER_UNLITFLAT, 0xFFFFFFFF);
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  EXPECT_EQ(surface->Rgb(80, 60), 0u);
  EXPECT_EQ(NonBlack(*surface), 8 * 4);  // only the sound quad: [128, 136) x [32, 36)
}

TEST_F(RenderTestCase, InjectedFailuresDoNothing) {
  AddMesh({FacingQuad(-0.5f, -0.25f, 0.5f, 0.25f, 2.0f)}, D3DRMRENDER_UNLITFLAT, 0xFFFFFFFF);
  const HRESULT code = D3DRMERR_BADVALUE;
  vyn::testctl::FailCall("IDirect3DRMViewport::Render", 1, code);
  EXPECT_EQ(viewport->Render(scene), code);
  EXPECT_EQ(NonBlack(*surface), 0);
  vyn::testctl::FailCall("IDirect3DRMViewport::SetBack", 1, code);
  EXPECT_EQ(viewport->SetBack(5000), code);
  EXPECT_EQ(viewport->GetBack(), 100.0f);
  vyn::testctl::FailCall("IDirect3DRMDevice::Update", 1, code);
  EXPECT_EQ(device->Update(), code);
  EXPECT_FALSE(surface->memory.damageTracked);
  vyn::testctl::FailCall("IDirect3DRMViewport::ForceUpdate", 1, code);
  EXPECT_EQ(viewport->ForceUpdate(0, 0, 10, 10), code);
  viewport->Render(scene);
  vyn::testctl::FailCall("IDirect3DRMViewport::Clear", 1, code);
  EXPECT_EQ(viewport->Clear(), code);
  EXPECT_GT(NonBlack(*surface), 0);  // not cleared
  IDirect3DRMViewport* none = nullptr;
  vyn::testctl::FailCall("IDirect3DRM2::CreateViewport", 1, code);
  EXPECT_EQ(rm->CreateViewport(device, camera, 0, 0, 10, 10, &none), code);
  EXPECT_EQ(rm->CreateViewport(device, camera, 0, 0, 161, 10, &none), D3DRMERR_BADVALUE);
  EXPECT_EQ(rm->CreateViewport(device, camera, 0, 0, 0, 10, &none), D3DRMERR_BADVALUE);
  EXPECT_EQ(none, nullptr);
}

TEST_F(RenderTestCase, DeviceKeepsItsSettings) {
  EXPECT_EQ(device->SetBufferCount(2), D3DRM_OK);
  EXPECT_EQ(device->SetShades(8), D3DRM_OK);
  EXPECT_EQ(device->SetShades(7), D3DRMERR_BADVALUE);
  EXPECT_EQ(device->SetDither(FALSE), D3DRM_OK);
  EXPECT_EQ(device->SetTextureQuality(D3DRMTEXTURE_LINEAR), D3DRM_OK);
  EXPECT_EQ(device->SetQuality(D3DRMRENDER_FLAT), D3DRM_OK);
  EXPECT_EQ(device->GetBufferCount(), 2u);
  EXPECT_EQ(device->GetShades(), 8u);
  EXPECT_EQ(device->GetDither(), FALSE);
  EXPECT_EQ(device->GetTextureQuality(), D3DRMTEXTURE_LINEAR);
  EXPECT_EQ(device->GetQuality(), D3DRMRENDER_FLAT);
  EXPECT_EQ(device->GetWidth(), 160u);
  EXPECT_EQ(device->GetHeight(), 120u);
}

TEST_F(RenderTestCase, ViewportKeepsTheCameraAliveAfterTheSceneIsGone) {
  AddMesh({FacingQuad(-0.5f, -0.25f, 0.5f, 0.25f, 2.0f)}, D3DRMRENDER_UNLITFLAT, 0xFFFFFFFF);
  camera->Release();
  camera = nullptr;
  object->Release();
  object = nullptr;
  IDirect3DRMFrame2* root = scene;
  scene = nullptr;
  EXPECT_EQ(viewport->Render(root), D3DRM_OK);
  root->Release();
  EXPECT_EQ(viewport->Clear(), D3DRM_OK);
}

}  // namespace
}  // namespace vyn::d3drm::testing

namespace vyn::d3drm::testing {
namespace {

class RampRenderTest : public RenderTest {
 protected:
  void SetUp() override { SetUpScene(160, 120, 32, D3DCOLOR_MONO); }
};

// Ramp lights in shades of the material colour: the intensity 0.1 + 0.9 cos
// is rounded to one of the device's shade levels.
TEST_F(RampRenderTest, FlatIntensityIsQuantisedToTheShadeCount) {
  struct Case {
    DWORD shades;
    double degrees;
    double level;  // the expected fraction of the material colour
  };
  const Case cases[] = {{8, 0, 1.0}, {8, 50, 5.0 / 7}, {32, 50, 21.0 / 31}, {8, 80, 2.0 / 7}};
  for (const Case& c : cases) {
    const std::vector<Corner> quad = TurnedQuad(c.degrees);
    object->Release();
    scene->Release();
    scene = NewFrame(nullptr);
    object = NewFrame(scene);
    AddSaverLights();
    AddMesh({quad}, D3DRMRENDER_FLAT, 0xFFC86432);
    ASSERT_EQ(device->SetShades(c.shades), D3DRM_OK);
    ASSERT_EQ(RenderFrame(), D3DRM_OK);
    const std::uint32_t rgb = surface->Rgb(80, 60);
    EXPECT_NEAR(double(rgb >> 16), 200 * c.level, 0.6) << c.shades << " shades, " << c.degrees;
    EXPECT_NEAR(double((rgb >> 8) & 0xFF), 100 * c.level, 0.6) << c.shades << " shades, " << c.degrees;
  }
}

}  // namespace
}  // namespace vyn::d3drm::testing
