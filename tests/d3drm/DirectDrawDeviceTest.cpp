// The device on real surfaces of this platform: a system-memory back buffer
// with an attached 16-bit Z-buffer, and a software Direct3D device on it.
#include <cstring>
#include <memory>

#include "RmFixture.h"
#include "d3d/D3D.h"
#include "ddraw/DDraw.h"
#include "ddraw/SurfaceMemory.h"
#include "display/offscreen/OffscreenDisplay.h"

namespace vyn::d3drm::testing {
namespace {

class DirectDrawDeviceTest : public RmTest {
 protected:
  void SetUp() override {
    display::SetActiveDisplay(std::make_unique<display::OffscreenDisplay>(320, 240, 32));
    RmTest::SetUp();
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    back = MakeSurface(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT,
                       DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY | DDSCAPS_3DDEVICE, 0);
    zbuffer = MakeSurface(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_ZBUFFERBITDEPTH,
                          DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY, 16);
    ASSERT_NE(back, nullptr);
    ASSERT_NE(zbuffer, nullptr);
    ASSERT_EQ(back->AddAttachedSurface(zbuffer), DD_OK);
    ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&direct3d)), S_OK);
    ASSERT_EQ(direct3d->CreateDevice(IID_IDirect3DMMXDevice, back, &d3dDevice), DD_OK);
  }
  void TearDown() override {
    for (IUnknown* object : std::initializer_list<IUnknown*>{rmDevice, d3dDevice, zbuffer, direct3d, back, directDraw}) {
      if (object != nullptr) object->Release();
    }
    RmTest::TearDown();
    display::SetActiveDisplay(nullptr);
  }

  IDirectDrawSurface* MakeSurface(DWORD flags, DWORD caps, DWORD zDepth) {
    DDSURFACEDESC desc{};
    desc.dwSize = DDSURFACEDESC_SIZE_WIN32;
    desc.dwFlags = flags;
    desc.dwWidth = 160;
    desc.dwHeight = 120;
    desc.ddsCaps.dwCaps = caps;
    desc.dwZBufferBitDepth = zDepth;
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(directDraw->CreateSurface(&desc, &surface, nullptr), DD_OK);
    return surface;
  }

  IDirectDraw* directDraw = nullptr;
  IDirectDrawSurface* back = nullptr;
  IDirectDrawSurface* zbuffer = nullptr;
  IDirect3D2* direct3d = nullptr;
  IDirect3DDevice2* d3dDevice = nullptr;
  IDirect3DRMDevice2* rmDevice = nullptr;
};

TEST_F(DirectDrawDeviceTest, DrawsIntoTheBackBufferWithItsZBuffer) {
  ASSERT_EQ(rm->CreateDeviceFromD3D(direct3d, d3dDevice, &rmDevice), D3DRM_OK);
  EXPECT_EQ(rmDevice->GetWidth(), 160u);
  EXPECT_EQ(rmDevice->GetHeight(), 120u);
  IDirect3DRMFrame2* scene = NewFrame(nullptr);
  IDirect3DRMFrame2* camera = NewFrame(scene);
  IDirect3DRMViewport* viewport = nullptr;
  ASSERT_EQ(rm->CreateViewport(rmDevice, camera, 0, 0, 160, 120, &viewport), D3DRM_OK);

  IDirect3DRMMeshBuilder2* builder = nullptr;
  rm->CreateMeshBuilder(&builder);
  for (auto [x, y] : {std::pair{-0.5f, -0.25f}, {-0.5f, 0.25f}, {0.5f, 0.25f}, {0.5f, -0.25f}}) builder->AddVertex(x, y, 2);
  builder->AddNormal(0, 0, -1);
  IDirect3DRMFace* face = nullptr;
  builder->CreateFace(&face);
  for (DWORD v = 0; v < 4; ++v) face->AddVertexAndNormalIndexed(v, 0);
  face->Release();
  builder->SetQuality(D3DRMRENDER_UNLITFLAT);
  builder->SetColor(0xFF00FF00);
  IDirect3DRMMesh* mesh = nullptr;
  builder->CreateMesh(&mesh);
  scene->AddVisual(mesh);
  mesh->Release();
  builder->Release();

  ASSERT_EQ(viewport->Clear(), D3DRM_OK);
  ASSERT_EQ(viewport->Render(scene), D3DRM_OK);
  ASSERT_EQ(rmDevice->Update(), D3DRM_OK);
  const ddraw::SurfaceMemory* color = ddraw::MemoryOf(back);
  const ddraw::SurfaceMemory* depth = ddraw::MemoryOf(zbuffer);
  ASSERT_NE(color, nullptr);
  ASSERT_NE(depth, nullptr);
  const auto pixel = [&](int x, int y) {
    std::uint32_t v;
    std::memcpy(&v, color->pixels + static_cast<std::size_t>(y) * color->pitch + x * 4, 4);
    return v & 0xFFFFFF;
  };
  const auto z = [&](int x, int y) {
    std::uint16_t v;
    std::memcpy(&v, depth->pixels + static_cast<std::size_t>(y) * depth->pitch + x * 2, 2);
    return v;
  };
  EXPECT_EQ(pixel(40, 40), 0x00FF00u);
  EXPECT_EQ(pixel(119, 79), 0x00FF00u);
  EXPECT_EQ(pixel(39, 40), 0u);
  EXPECT_EQ(pixel(120, 79), 0u);
  EXPECT_LT(z(80, 60), 0xFFFF);  // depth went to the attached Z-buffer
  EXPECT_EQ(z(10, 10), 0xFFFF);
  // The first frame is presented whole.
  EXPECT_TRUE(color->damageTracked);
  EXPECT_EQ(color->damage.right, 160);
  EXPECT_EQ(color->damage.bottom, 120);

  viewport->Release();
  camera->Release();
  scene->Release();
}

TEST_F(DirectDrawDeviceTest, ForeignOrMissingDevicesAreRefused) {
  EXPECT_EQ(rm->CreateDeviceFromD3D(direct3d, nullptr, &rmDevice), D3DRMERR_BADOBJECT);
  EXPECT_EQ(rmDevice, nullptr);
  EXPECT_EQ(rm->CreateDeviceFromD3D(direct3d, d3dDevice, nullptr), D3DRMERR_BADVALUE);
  vyn::testctl::FailCall("IDirect3DRM2::CreateDeviceFromD3D", 1, D3DRMERR_BADDEVICE);
  EXPECT_EQ(rm->CreateDeviceFromD3D(direct3d, d3dDevice, &rmDevice), D3DRMERR_BADDEVICE);
  EXPECT_EQ(rmDevice, nullptr);
}

}  // namespace
}  // namespace vyn::d3drm::testing
