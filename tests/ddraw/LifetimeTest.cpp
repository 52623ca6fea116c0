#include "DirectDrawFixture.h"
#include "d3d/D3D.h"

namespace vyn::ddraw::test {
namespace {

class LifetimeTest : public DirectDrawFixture {
 protected:
  static std::size_t bytesInUse() { return SurfaceBytesInUse(); }
};

TEST_F(LifetimeTest, LastReleaseFreesTheSurfaceMemory) {
  UseScreen(64, 48, 32);
  const std::size_t before = bytesInUse();
  IDirectDrawSurface* back = CreateBackBuffer(100, 50);
  ASSERT_GE(bytesInUse(), before + 100 * 50 * 4);
  EXPECT_EQ(back->AddRef(), 2u);
  EXPECT_EQ(back->Release(), 1u);
  EXPECT_GE(bytesInUse(), before + 100 * 50 * 4) << "still referenced";
  EXPECT_EQ(back->Release(), 0u);
  EXPECT_EQ(bytesInUse(), before);
}

TEST_F(LifetimeTest, AnAttachedZBufferLivesWhileAttached) {
  UseScreen(64, 48, 32);
  const std::size_t before = bytesInUse();
  IDirectDrawSurface* back = CreateBackBuffer(100, 50);
  IDirectDrawSurface* zBuffer = CreateZBuffer(100, 50);
  const std::size_t withBoth = bytesInUse();
  ASSERT_GE(withBoth, before + 100 * 50 * (4 + 2));
  ASSERT_EQ(back->AddAttachedSurface(zBuffer), DD_OK);
  EXPECT_EQ(AttachedZBuffer(back), zBuffer);

  // The caller's reference goes; the back buffer's keeps the Z-buffer.
  EXPECT_EQ(zBuffer->Release(), 1u);
  SurfaceMemory* depth = MemoryOf(AttachedZBuffer(back));
  ASSERT_NE(depth, nullptr);
  depth->pixels[depth->pitch * 49] = 1;  // ASan: still ours
  EXPECT_EQ(bytesInUse(), withBoth);

  EXPECT_EQ(back->Release(), 0u);
  EXPECT_EQ(bytesInUse(), before) << "both freed together";
}

TEST_F(LifetimeTest, OnlyAMatchingZBufferAttachesAndOnlyOnce) {
  UseScreen(64, 48, 32);
  IDirectDrawSurface* back = Own(CreateBackBuffer(8, 8));
  IDirectDrawSurface* zBuffer = Own(CreateZBuffer(8, 8));
  IDirectDrawSurface* otherSize = Own(CreateZBuffer(8, 9));
  IDirectDrawSurface* plain = Own(CreateBackBuffer(8, 8));
  IDirectDrawSurface* primary = Own(CreatePrimary());
  EXPECT_EQ(back->AddAttachedSurface(nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(back->AddAttachedSurface(otherSize), DDERR_CANNOTATTACHSURFACE);
  EXPECT_EQ(back->AddAttachedSurface(plain), DDERR_CANNOTATTACHSURFACE);
  EXPECT_EQ(primary->AddAttachedSurface(zBuffer), DDERR_CANNOTATTACHSURFACE);
  EXPECT_EQ(zBuffer->AddAttachedSurface(zBuffer), DDERR_CANNOTATTACHSURFACE);
  EXPECT_EQ(AttachedZBuffer(back), nullptr);
  EXPECT_EQ(back->AddAttachedSurface(zBuffer), DD_OK);
  EXPECT_EQ(back->AddAttachedSurface(zBuffer), DDERR_SURFACEALREADYATTACHED);
}

TEST_F(LifetimeTest, QueryInterfaceAddsAReferenceToTheSameObject) {
  UseScreen(64, 48, 32);
  IDirectDrawSurface* back = CreateBackBuffer(4, 4);
  void* same = nullptr;
  ASSERT_EQ(back->QueryInterface(IID_IDirectDrawSurface, &same), S_OK);
  EXPECT_EQ(same, back);
  void* unknown = nullptr;
  ASSERT_EQ(back->QueryInterface(IID_IUnknown, &unknown), S_OK);
  EXPECT_EQ(back->Release(), 2u);
  EXPECT_EQ(back->Release(), 1u);
  void* none = back;
  EXPECT_EQ(back->QueryInterface(IID_IDirectDrawClipper, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(back->Release(), 0u);
}

TEST_F(LifetimeTest, Direct3DInterfaceKeepsTheDirectDrawObjectAndAnswersForIt) {
  UseScreen(64, 48, 32);
  IDirect3D2* direct3D = nullptr;
  ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&direct3D)), S_OK);
  ASSERT_NE(direct3D, nullptr);
  IDirect3D2* again = nullptr;
  ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&again)), S_OK);
  EXPECT_EQ(again, direct3D);
  EXPECT_EQ(again->Release(), 1u);

  IDirectDraw* back = nullptr;
  ASSERT_EQ(direct3D->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&back)), S_OK);
  EXPECT_EQ(back, directDraw);
  back->Release();

  // The caller gives up the DirectDraw object first; the Direct3D interface
  // still works and still reaches it.
  directDraw->Release();
  directDraw = nullptr;
  int devices = 0;
  ASSERT_EQ(direct3D->EnumDevices(
                [](GUID*, LPSTR, LPSTR, LPD3DDEVICEDESC, LPD3DDEVICEDESC, LPVOID count) -> HRESULT {
                  ++*static_cast<int*>(count);
                  return D3DENUMRET_OK;
                },
                &devices),
            D3D_OK);
  EXPECT_EQ(devices, 3);
  ASSERT_EQ(direct3D->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&back)), S_OK);
  EXPECT_EQ(back->Release(), 1u);
  EXPECT_EQ(direct3D->Release(), 0u);
}

TEST_F(LifetimeTest, ASurfaceKeepsItsClipperAndPalette) {
  UseScreen(64, 48, 8);
  IDirectDrawSurface* back = Own(CreateBackBuffer(4, 4));
  PALETTEENTRY entries[256] = {};
  entries[200] = {1, 2, 3, 0};
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_INITIALIZE, entries, &palette, nullptr), DD_OK);
  ASSERT_EQ(back->SetPalette(palette), DD_OK);
  EXPECT_EQ(palette->Release(), 1u);
  const PALETTEENTRY* kept = MemoryOf(back)->palette;
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept[200].peBlue, 3);  // ASan: the palette is still alive
  ASSERT_EQ(back->SetPalette(nullptr), DD_OK);
  EXPECT_EQ(MemoryOf(back)->palette, nullptr);
}

TEST_F(LifetimeTest, ReleasesAreRecordedWithTheirObjectsInOrder) {
  UseScreen(64, 48, 32);
  IDirectDrawSurface* primary = CreatePrimary();
  IDirectDrawSurface* back = CreateBackBuffer(4, 4);
  IDirectDrawSurface* zBuffer = CreateZBuffer(4, 4);
  ASSERT_EQ(back->AddAttachedSurface(zBuffer), DD_OK);
  testctl::StartRecording();
  zBuffer->Release();
  back->Release();  // also lets go of the Z-buffer, which is no caller's Release
  primary->Release();
  testctl::StopRecording();
  const auto calls = testctl::CallsOf("Release");
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].object, static_cast<IUnknown*>(zBuffer));
  EXPECT_EQ(calls[1].object, static_cast<IUnknown*>(back));
  EXPECT_EQ(calls[2].object, static_cast<IUnknown*>(primary));
}

}  // namespace
}  // namespace vyn::ddraw::test
