#include <cstring>

#include "RenderFixture.h"

namespace vyn::d3drm::testing {
namespace {

class DamageTest : public RenderTest {
 protected:
  // The same camera's view drawn from scratch: a new device over fresh memory.
  std::vector<std::uint8_t> FullRender() {
    MemorySurface fresh(160, 120, 32);
    std::fill(fresh.pixels.begin(), fresh.pixels.end(), 0xCD);  // garbage the first clear must remove
    Device* reference = new Device(&fresh.memory, nullptr, D3DCOLOR_RGB);
    reference->SetQuality(D3DRMRENDER_GOURAUD);
    IDirect3DRMViewport* view = nullptr;
    EXPECT_EQ(rm->CreateViewport(reference, camera, 0, 0, 160, 120, &view), D3DRM_OK);
    view->Clear();
    view->Render(scene);
    reference->Update();
    view->Release();
    reference->Release();
    return fresh.pixels;
  }

  static bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
};

TEST_F(DamageTest, IncrementalFramesEqualFullRedrawsAndDamageCoversEveryChange) {
  AddSaverLights();
  AddSaverSolid(D3DRMRENDER_GOURAUD, 0xFFFFC040, 3, 4, 7.0f, 3.0f);
  std::fill(surface->pixels.begin(), surface->pixels.end(), 0xCD);
  std::vector<std::uint8_t> previous;
  for (int frame = 0; frame < 25; ++frame) {
    ASSERT_EQ(scene->Move(1.0f), D3DRM_OK);
    ASSERT_EQ(RenderFrame(), D3DRM_OK);
    ASSERT_EQ(surface->pixels, FullRender()) << "frame " << frame;
    const RECT damage = surface->memory.damage;
    ASSERT_TRUE(surface->memory.damageTracked);
    if (frame == 0) {
      EXPECT_EQ(damage.left, 0);
      EXPECT_EQ(damage.top, 0);
      EXPECT_EQ(damage.right, 160);
      EXPECT_EQ(damage.bottom, 120);
    } else {
      EXPECT_LT((damage.right - damage.left) * (damage.bottom - damage.top), 160 * 120 / 2) << frame;
      for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
          const std::size_t i = (static_cast<std::size_t>(y) * 160 + x) * 4;
          const bool changed = std::memcmp(&previous[i], &surface->pixels[i], 4) != 0;
          ASSERT_TRUE(!changed || Inside(damage, x, y)) << "frame " << frame << " pixel " << x << "," << y;
        }
    }
    previous = surface->pixels;
    surface->memory.damage = RECT{};  // what a blit does once it has copied
  }
}

TEST_F(DamageTest, ClearTouchesOnlyWhatWasDrawnUnlessForced) {
  AddSaverLights();
  AddSaverSolid(D3DRMRENDER_GOURAUD, 0xFFFFFFFF, 2, 2, 5.0f, 0.0f);
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  surface->memory.damage = RECT{};
  // Something outside the solid's region that no clear needs to touch.
  surface->pixels[0] = 0x55;
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  EXPECT_EQ(surface->pixels[0], 0x55);
  EXPECT_FALSE(Inside(surface->memory.damage, 0, 0));
  surface->memory.damage = RECT{};

  // A forced rectangle is cleared and refreshed in full by the next frame.
  ASSERT_EQ(viewport->ForceUpdate(0, 0, 4, 3), D3DRM_OK);
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  EXPECT_EQ(surface->pixels[0], 0);
  EXPECT_TRUE(Inside(surface->memory.damage, 0, 0));
  EXPECT_TRUE(Inside(surface->memory.damage, 3, 2));
  EXPECT_EQ(viewport->ForceUpdate(5, 0, 4, 3), D3DRMERR_BADVALUE);
}

TEST_F(DamageTest, UntrackedSurfaceIsMarkedWhole) {
  AddMesh({FacingQuad(-0.1f, -0.1f, 0.1f, 0.1f, 2.0f)}, D3DRMRENDER_UNLITFLAT, 0xFFFFFFFF);
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  surface->memory.damageTracked = false;  // somebody else wrote into the buffer
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  EXPECT_EQ(surface->memory.damage.right, 160);
  EXPECT_EQ(surface->memory.damage.bottom, 120);
}

// The geometry stage cuts big meshes into chunks of vertices and of faces
// that threads share, and the tiles are shared too: the image must not
// depend on how many threads there are.
struct ThreadCase {
  const char* name;
  D3DRMRENDERQUALITY quality;
  int runsPerRow, rows;
  float distance;
};

class ThreadCountTest : public RenderTest, public ::testing::WithParamInterface<ThreadCase> {};

TEST_P(ThreadCountTest, OutputIsTheSameWithOneThreadAndWithSeveral) {
  const ThreadCase& c = GetParam();
  AddSaverLights();
  AddSaverSolid(c.quality, 0xFF40C0FF, c.runsPerRow, c.rows, 11.0f, 1.0f, c.distance);
  for (int i = 0; i < 5; ++i) scene->Move(1.0f);
  device->SetRenderThreads(1);
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  const auto single = surface->pixels;
  int lit = 0;
  for (std::size_t i = 0; i < single.size(); i += 4) lit += single[i] != 0 || single[i + 1] != 0;
  EXPECT_GT(lit, 500) << "the solid is on the screen";
  device->SetRenderThreads(4);
  ASSERT_EQ(viewport->ForceUpdate(0, 0, 160, 120), D3DRM_OK);
  ASSERT_EQ(RenderFrame(), D3DRM_OK);
  EXPECT_EQ(surface->pixels, single);
}

INSTANTIATE_TEST_SUITE_P(
    Solids, ThreadCountTest,
    ::testing::Values(ThreadCase{"small", D3DRMRENDER_GOURAUD, 8, 6, 15.0f},
                      // 1,792 slabs: several chunks of vertices and of faces.
                      ThreadCase{"manyChunks", D3DRMRENDER_GOURAUD, 16, 7, 15.0f},
                      ThreadCase{"manyChunksWireframe", D3DRMRENDER_WIREFRAME, 16, 7, 15.0f},
                      ThreadCase{"manyChunksFlat", D3DRMRENDER_FLAT, 16, 7, 15.0f},
                      // 4,608 slabs: enough triangles that the tiles are binned in parts.
                      ThreadCase{"manyBinParts", D3DRMRENDER_GOURAUD, 24, 8, 15.0f},
                      // Close enough that faces of many chunks cross the front plane.
                      ThreadCase{"manyChunksClipped", D3DRMRENDER_GOURAUD, 16, 7, 2.0f}),
    [](const ::testing::TestParamInfo<ThreadCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vyn::d3drm::testing
