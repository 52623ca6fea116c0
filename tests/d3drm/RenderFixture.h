// A scene over a memory render target: device, root, camera at the origin
// looking along +z, a viewport over the whole target, and helpers that make
// meshes, render frames and read pixels back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "PngFile.h"
#include "RmFixture.h"
#include "d3drm/Device.h"

namespace vyn::d3drm::testing {

struct MemorySurface {
  MemorySurface(int w, int h, int bits) : pixels(static_cast<std::size_t>(w) * h * (bits / 8)) {
    memory.pixels = pixels.data();
    memory.pitch = w * (bits / 8);
    memory.width = w;
    memory.height = h;
    memory.format = display::FormatForDepth(bits);
    if (bits == 16) memory.format = {16, 0xF800, 0x07E0, 0x001F};
    if (bits == 24 || bits == 32) memory.format = {bits, 0xFF0000, 0x00FF00, 0x0000FF};
    if (bits == 8) {
      // A 6x6x6 colour cube, then greys.
      for (int i = 0; i < 256; ++i) {
        if (i < 216) {
          palette[i] = {static_cast<BYTE>(i / 36 * 51), static_cast<BYTE>(i / 6 % 6 * 51), static_cast<BYTE>(i % 6 * 51), 0};
        } else {
          const BYTE g = static_cast<BYTE>((i - 216) * 6);
          palette[i] = {g, g, g, 0};
        }
      }
      memory.format = {8, 0, 0, 0};
      memory.palette = palette.data();
    }
  }
  // The colour at (x, y) as 0xRRGGBB.
  std::uint32_t Rgb(int x, int y) const;
  RgbImage Image() const;

  std::vector<std::uint8_t> pixels;
  std::array<PALETTEENTRY, 256> palette{};
  ddraw::SurfaceMemory memory;
};

struct Corner {
  float x, y, z;
  float nx = 0, ny = 0, nz = -1;
};

class RenderTest : public RmTest {
 protected:
  void SetUp() override { SetUpScene(160, 120, 32, D3DCOLOR_RGB); }
  void TearDown() override;

  void SetUpScene(int width, int height, int bits, D3DCOLORMODEL model);

  // A mesh of one face per entry, added to `frame` (the object frame when null).
  void AddMesh(const std::vector<std::vector<Corner>>& faces, D3DRMRENDERQUALITY quality, D3DCOLOR color,
               IDirect3DRMFrame* frame = nullptr);
  // The saver's two lights: ambient 0.1 on the root, directional 0.9 on a
  // child frame of its own (returned, so that tests can turn it).
  IDirect3DRMFrame2* AddSaverLights();
  HRESULT RenderFrame();
  // The saver's solid: slabs fitted to an extent of 3, 15 units ahead of the
  // camera, spinning about a diagonal by `spinDegrees` a tick, drifting.
  void AddSaverSolid(D3DRMRENDERQUALITY quality, D3DCOLOR color, int runsPerRow, int rows, float spinDegrees,
                     float drift, float distance = 15.0f);

  // Writes the image to $VYN_WRITE_RENDERS/<name>.png when that is set.
  void MaybeWrite(const std::string& name) const;

  std::unique_ptr<MemorySurface> surface;
  Device* device = nullptr;
  IDirect3DRMFrame2* scene = nullptr;
  IDirect3DRMFrame2* camera = nullptr;
  IDirect3DRMFrame2* object = nullptr;
  IDirect3DRMViewport* viewport = nullptr;
};

// A quad facing the camera (corners clockwise as seen from the origin),
// spanning [x0, x1] x [y0, y1] at depth z.
std::vector<Corner> FacingQuad(float x0, float y0, float x1, float y1, float z);

// A 0.6 x 0.6 quad at depth 5 turned about y by `degrees`: its normal is
// (sin a, 0, -cos a).
std::vector<Corner> TurnedQuad(double degrees);

}  // namespace vyn::d3drm::testing
