#include "RenderFixture.h"

#include <cmath>
#include <cstdlib>

#include "SlabSolid.h"
#include "d3drm/MeshBuilder.h"

namespace vyn::d3drm::testing {

std::uint32_t MemorySurface::Rgb(int x, int y) const {
  const int bytes = memory.format.bitsPerPixel / 8;
  const std::uint8_t* p = pixels.data() + static_cast<std::size_t>(y) * memory.pitch + x * bytes;
  switch (bytes) {
    case 1: {
      const PALETTEENTRY& e = palette[*p];
      return (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
    }
    case 2: {
      const unsigned v = p[0] | (p[1] << 8);
      const unsigned r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
      return ((r * 255 / 31) << 16) | ((g * 255 / 63) << 8) | (b * 255 / 31);
    }
    default:
      return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
  }
}

RgbImage MemorySurface::Image() const {
  RgbImage image;
  image.width = memory.width;
  image.height = memory.height;
  image.rgb.reserve(static_cast<std::size_t>(image.width) * image.height * 3);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t c = Rgb(x, y);
      image.rgb.push_back(static_cast<std::uint8_t>(c >> 16));
      image.rgb.push_back(static_cast<std::uint8_t>(c >> 8));
      image.rgb.push_back(static_cast<std::uint8_t>(c));
    }
  return image;
}

void RenderTest::SetUpScene(int width, int height, int bits, D3DCOLORMODEL model) {
  RmTest::SetUp();
  surface = std::make_unique<MemorySurface>(width, height, bits);
  device = new Device(&surface->memory, nullptr, model);
  device->SetQuality(D3DRMRENDER_GOURAUD);
  scene = NewFrame(nullptr);
  camera = NewFrame(scene);
  object = NewFrame(scene);
  ASSERT_EQ(rm->CreateViewport(device, camera, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height),
                               &viewport),
            D3DRM_OK);
}

void RenderTest::TearDown() {
  if (viewport != nullptr) viewport->Release();
  if (object != nullptr) object->Release();
  if (camera != nullptr) camera->Release();
  if (scene != nullptr) scene->Release();
  if (device != nullptr) device->Release();
  RmTest::TearDown();
}

void RenderTest::AddMesh(const std::vector<std::vector<Corner>>& faces, D3DRMRENDERQUALITY quality,
                         D3DCOLOR color, IDirect3DRMFrame* frame) {
  IDirect3DRMMeshBuilder2* builder = nullptr;
  ASSERT_EQ(rm->CreateMeshBuilder(&builder), D3DRM_OK);
  DWORD next = 0;
  for (const auto& face : faces) {
    IDirect3DRMFace* f = nullptr;
    builder->CreateFace(&f);
    for (const Corner& c : face) {
      builder->AddVertex(c.x, c.y, c.z);
      builder->AddNormal(c.nx, c.ny, c.nz);
      f->AddVertexAndNormalIndexed(next, next);
      ++next;
    }
    f->Release();
  }
  builder->SetQuality(quality);
  builder->SetColor(color);
  IDirect3DRMMesh* mesh = nullptr;
  ASSERT_EQ(builder->CreateMesh(&mesh), D3DRM_OK);
  ASSERT_EQ((frame != nullptr ? frame : object)->AddVisual(mesh), D3DRM_OK);
  mesh->Release();
  builder->Release();
}

IDirect3DRMFrame2* RenderTest::AddSaverLights() {
  IDirect3DRMLight* ambient = nullptr;
  rm->CreateLightRGB(D3DRMLIGHT_AMBIENT, 0.1f, 0.1f, 0.1f, &ambient);
  scene->AddLight(ambient);
  ambient->Release();
  IDirect3DRMFrame2* lightFrame = NewFrame(scene);
  IDirect3DRMLight* directional = nullptr;
  rm->CreateLightRGB(D3DRMLIGHT_DIRECTIONAL, 0.9f, 0.9f, 0.9f, &directional);
  lightFrame->AddLight(directional);
  directional->Release();
  lightFrame->Release();  // the scene keeps it
  return lightFrame;
}

HRESULT RenderTest::RenderFrame() {
  if (HRESULT hr = viewport->Clear(); hr != D3DRM_OK) return hr;
  if (HRESULT hr = viewport->Render(scene); hr != D3DRM_OK) return hr;
  return device->Update();
}

void RenderTest::AddSaverSolid(D3DRMRENDERQUALITY quality, D3DCOLOR color, int runsPerRow, int rows,
                               float spinDegrees, float drift, float distance) {
  IDirect3DRMMeshBuilder2* builder = nullptr;
  ASSERT_EQ(rm->CreateMeshBuilder(&builder), D3DRM_OK);
  AddSolid(builder, runsPerRow, rows, 14.0f, 6.0f);
  D3DRMBOX box;
  builder->GetBox(&box);
  const double dx = double(box.max.x) - box.min.x, dy = double(box.max.y) - box.min.y;
  const float scale = static_cast<float>(3.0 / (dx >= dy ? dx : dy));
  builder->Scale(scale, scale, scale);
  builder->SetQuality(quality);
  builder->SetColor(color);
  IDirect3DRMMesh* mesh = nullptr;
  ASSERT_EQ(builder->CreateMesh(&mesh), D3DRM_OK);
  object->AddVisual(mesh);
  mesh->Release();
  builder->Release();
  object->SetPosition(scene, 0, 0, distance);
  object->SetOrientation(scene, 0, 0, 1, 0, 1, 0);
  object->SetRotation(scene, 1, 1, 1, static_cast<float>(spinDegrees * 3.14159265359 / 180));
  object->SetVelocity(scene, 0.1f * drift, 0.08f * drift, 0.2f * drift, FALSE);
}

void RenderTest::MaybeWrite(const std::string& name) const {
  if (const char* dir = std::getenv("VYN_WRITE_RENDERS")) WritePng(std::string(dir) + "/" + name + ".png", surface->Image());
}

std::vector<Corner> FacingQuad(float x0, float y0, float x1, float y1, float z) {
  return {{x0, y0, z}, {x0, y1, z}, {x1, y1, z}, {x1, y0, z}};
}

std::vector<Corner> TurnedQuad(double degrees) {
  const double a = degrees * 3.14159265358979 / 180;
  std::vector<Corner> quad;
  for (auto [u, v] : {std::pair{-1, -1}, {-1, 1}, {1, 1}, {1, -1}}) {
    const double x = 0.3 * u, y = 0.3 * v;
    quad.push_back({static_cast<float>(x * std::cos(a)), static_cast<float>(y), static_cast<float>(5 + x * std::sin(a))});
  }
  return quad;
}

}  // namespace vyn::d3drm::testing
