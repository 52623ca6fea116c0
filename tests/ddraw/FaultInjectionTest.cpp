// Every platform operation that the rendering layer calls can be made to
// fail, on its first or a later call, before it changes anything; and every
// call is recorded with the object it acted on.
#include <functional>

#include "DirectDrawFixture.h"
#include "d3d/D3D.h"

namespace vyn::ddraw::test {
namespace {

// The objects of a complete windowed set-up on an 8-bit screen, so that the
// palette calls succeed too.
struct Rig {
  IDirectDraw* directDraw = nullptr;
  IDirect3D2* direct3D = nullptr;
  IDirectDrawSurface* primary = nullptr;
  IDirectDrawSurface* back = nullptr;
  IDirectDrawSurface* zBuffer = nullptr;
  IDirectDrawClipper* clipper = nullptr;
  IDirectDrawPalette* palette = nullptr;
  HWND window = nullptr;
};

// A call of the operation; `object` receives the object it acts on (null for
// DirectDrawCreate). `made` goes in as the value of the call's out pointer and
// comes back as the value the call left there.
struct Operation {
  const char* name;
  std::function<HRESULT(Rig&, const void*& object, IUnknown*& made)> call;
};

constexpr HRESULT Injected = static_cast<HRESULT>(0x8876FFFFu);  // a code no operation returns itself

HRESULT noEnumeration(GUID*, LPSTR, LPSTR, LPD3DDEVICEDESC, LPD3DDEVICEDESC, LPVOID) { return D3DENUMRET_OK; }

DDSURFACEDESC backBufferDescription() {
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE_WIN32;
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  description.dwWidth = 16;
  description.dwHeight = 16;
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY;
  return description;
}

const Operation operations[] = {
    {"DirectDrawCreate",
     [](Rig&, const void*& object, IUnknown*& made) {
       object = nullptr;
       auto* created = reinterpret_cast<IDirectDraw*>(made);
       HRESULT hr = DirectDrawCreate(nullptr, &created, nullptr);
       made = created;
       return hr;
     }},
    {"IDirectDraw::SetCooperativeLevel",
     [](Rig& rig, const void*& object, IUnknown*&) {
       object = rig.directDraw;
       return rig.directDraw->SetCooperativeLevel(rig.window, DDSCL_NORMAL);
     }},
    {"IDirectDraw::CreateSurface",
     [](Rig& rig, const void*& object, IUnknown*& made) {
       object = rig.directDraw;
       DDSURFACEDESC description = backBufferDescription();
       auto* surface = reinterpret_cast<IDirectDrawSurface*>(made);
       HRESULT hr = rig.directDraw->CreateSurface(&description, &surface, nullptr);
       made = surface;
       return hr;
     }},
    {"IDirectDraw::CreateClipper",
     [](Rig& rig, const void*& object, IUnknown*& made) {
       object = rig.directDraw;
       auto* clipper = reinterpret_cast<IDirectDrawClipper*>(made);
       HRESULT hr = rig.directDraw->CreateClipper(0, &clipper, nullptr);
       made = clipper;
       return hr;
     }},
    {"IDirectDraw::CreatePalette",
     [](Rig& rig, const void*& object, IUnknown*& made) {
       object = rig.directDraw;
       PALETTEENTRY entries[256] = {};
       auto* palette = reinterpret_cast<IDirectDrawPalette*>(made);
       HRESULT hr = rig.directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_INITIALIZE, entries, &palette, nullptr);
       made = palette;
       return hr;
     }},
    {"IDirectDraw::QueryInterface",
     [](Rig& rig, const void*& object, IUnknown*& made) {
       object = rig.directDraw;
       auto* direct3D = reinterpret_cast<IDirect3D2*>(made);
       HRESULT hr = rig.directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&direct3D));
       made = direct3D;
       return hr;
     }},
    {"IDirectDrawClipper::SetHWnd",
     [](Rig& rig, const void*& object, IUnknown*&) {
       object = rig.clipper;
       return rig.clipper->SetHWnd(0, rig.window);
     }},
    {"IDirectDrawSurface::SetClipper",
     [](Rig& rig, const void*& object, IUnknown*&) {
       object = rig.primary;
       return rig.primary->SetClipper(rig.clipper);
     }},
    {"IDirectDrawSurface::SetPalette",
     [](Rig& rig, const void*& object, IUnknown*&) {
       object = rig.back;
       return rig.back->SetPalette(rig.palette);
     }},
    {"IDirectDrawSurface::GetSurfaceDesc",
     [](Rig& rig, const void*& object, IUnknown*&) {
       object = rig.back;
       DDSURFACEDESC description{};
       description.dwSize = DDSURFACEDESC_SIZE_WIN32;
       return rig.back->GetSurfaceDesc(&description);
     }},
    {"IDirectDrawSurface::AddAttachedSurface",
     [](Rig& rig, const void*& object, IUnknown*&) {
       object = rig.back;
       return rig.back->AddAttachedSurface(rig.zBuffer);
     }},
    {"IDirectDrawSurface::Blt",
     [](Rig& rig, const void*& object, IUnknown*&) {
       object = rig.primary;
       RECT destination{0, 0, 16, 16}, source{0, 0, 16, 16};
       return rig.primary->Blt(&destination, rig.back, &source, DDBLT_WAIT, nullptr);
     }},
    {"IDirectDrawSurface::IsLost",
     [](Rig& rig, const void*& object, IUnknown*&) {
       object = rig.zBuffer;
       return rig.zBuffer->IsLost();
     }},
    {"IDirectDrawSurface::Restore",
     [](Rig& rig, const void*& object, IUnknown*&) {
       object = rig.primary;
       return rig.primary->Restore();
     }},
    {"IDirect3D2::EnumDevices",
     [](Rig& rig, const void*& object, IUnknown*&) {
       object = rig.direct3D;
       return rig.direct3D->EnumDevices(noEnumeration, nullptr);
     }},
    {"IDirect3D2::CreateDevice",
     [](Rig& rig, const void*& object, IUnknown*& made) {
       object = rig.direct3D;
       auto* device = reinterpret_cast<IDirect3DDevice2*>(made);
       HRESULT hr = rig.direct3D->CreateDevice(IID_IDirect3DMMXDevice, rig.back, &device);
       made = device;
       return hr;
     }},
};

class FaultInjectionTest : public DirectDrawFixture, public ::testing::WithParamInterface<Operation> {
 protected:
  void SetUp() override {
    UseScreen(32, 32, 8);
    rig.directDraw = directDraw;
    rig.window = CreateTestWindow(0, 0, 16, 16);
    ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&rig.direct3D)), S_OK);
    Own(rig.direct3D);
    rig.primary = Own(CreatePrimary());
    rig.back = Own(CreateBackBuffer(16, 16));
    rig.zBuffer = Own(CreateZBuffer(16, 16));
    ASSERT_EQ(directDraw->CreateClipper(0, &rig.clipper, nullptr), DD_OK);
    Own(rig.clipper);
    PALETTEENTRY entries[256] = {};
    ASSERT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT, entries, &rig.palette, nullptr), DD_OK);
    Own(rig.palette);
  }

  // Runs the operation once; returns its result and releases what it made.
  HRESULT Run(const Operation& operation, const void*& object) {
    IUnknown* made = nullptr;
    const HRESULT hr = operation.call(rig, object, made);
    if (made != nullptr) made->Release();
    return hr;
  }

  Rig rig;
};

TEST_P(FaultInjectionTest, FirstCallFailsWithTheArmedCodeAndIsRecorded) {
  const Operation& operation = GetParam();
  testctl::FailCall(operation.name, 1, Injected);
  testctl::StartRecording();
  const void* object = nullptr;
  IUnknown* made = reinterpret_cast<IUnknown*>(&rig);  // must stay as it is
  EXPECT_EQ(operation.call(rig, object, made), Injected);
  EXPECT_EQ(made, reinterpret_cast<IUnknown*>(&rig)) << "an injected failure hands out nothing";
  const auto calls = testctl::CallsOf(operation.name);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].object, object);
  testctl::StopRecording();
  // The failure was for one call only.
  EXPECT_EQ(Run(operation, object), DD_OK);
}

TEST_P(FaultInjectionTest, ALaterCallFailsForAsManyCallsAsAsked) {
  const Operation& operation = GetParam();
  testctl::FailCall(operation.name, 2, Injected, 2);
  const void* object = nullptr;
  EXPECT_EQ(Run(operation, object), DD_OK);
  EXPECT_EQ(Run(operation, object), Injected);
  EXPECT_EQ(Run(operation, object), Injected);
  EXPECT_NE(Run(operation, object), Injected);
}

INSTANTIATE_TEST_SUITE_P(RenderingLayerCalls, FaultInjectionTest, ::testing::ValuesIn(operations),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (c == ':') c = '_';
                           return name;
                         });

class InjectedStateTest : public FaultInjectionTest {};

TEST_F(InjectedStateTest, AFailedSetClipperLeavesTheBlitUnclipped) {
  ASSERT_EQ(rig.clipper->SetHWnd(0, rig.window), DD_OK);
  testctl::FailCall("IDirectDrawSurface::SetClipper", 1, DDERR_GENERIC);
  EXPECT_EQ(rig.primary->SetClipper(rig.clipper), DDERR_GENERIC);
  // Without the clipper a rectangle off the screen is refused, not clipped.
  RECT destination{24, 24, 40, 40};
  EXPECT_EQ(rig.primary->Blt(&destination, rig.back, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
}

TEST_F(InjectedStateTest, AFailedAttachmentAttachesNothing) {
  testctl::FailCall("IDirectDrawSurface::AddAttachedSurface", 1, DDERR_CANNOTATTACHSURFACE);
  EXPECT_EQ(rig.back->AddAttachedSurface(rig.zBuffer), DDERR_CANNOTATTACHSURFACE);
  EXPECT_EQ(AttachedZBuffer(rig.back), nullptr);
}

TEST_F(InjectedStateTest, AFailedBltCopiesNothing) {
  Number(rig.back);
  testctl::FailCall("IDirectDrawSurface::Blt", 1, DDERR_SURFACEBUSY);
  RECT destination{0, 0, 16, 16};
  EXPECT_EQ(rig.primary->Blt(&destination, rig.back, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(screen->presentCount(), 0);
}

TEST_F(InjectedStateTest, TheRecordShowsCallsInOrderWithTheirObjects) {
  testctl::StartRecording();
  rig.primary->IsLost();
  rig.zBuffer->IsLost();
  RECT destination{0, 0, 16, 16};
  rig.primary->Blt(&destination, rig.back, nullptr, DDBLT_WAIT, nullptr);
  testctl::StopRecording();
  const auto calls = testctl::Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].operation, "IDirectDrawSurface::IsLost");
  EXPECT_EQ(calls[0].object, rig.primary);
  EXPECT_EQ(calls[1].object, rig.zBuffer);
  EXPECT_EQ(calls[2].operation, "IDirectDrawSurface::Blt");
  EXPECT_EQ(calls[2].object, rig.primary);
}

}  // namespace
}  // namespace vyn::ddraw::test
