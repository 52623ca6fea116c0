// Device contexts, selection, deletion and the device questions.
#include <gtest/gtest.h>

#include <memory>

#include "Pictures.h"
#include "display/Display.h"
#include "display/offscreen/OffscreenDisplay.h"
#include "gdi/Gdi.h"
#include "gdi/GdiObjects.h"
#include "gdi/StockObjects.h"

namespace {

HANDLE LoadFixture(const char* name) {
  return LoadImageA(nullptr, vyn::test::FixturePath("good", name).c_str(), IMAGE_BITMAP, 0, 0,
                    LR_LOADFROMFILE | LR_CREATEDIBSECTION);
}

TEST(MemoryDc, SelectingABitmapReturnsTheDefaultOneWhichPutsItBack) {
  const std::size_t before = vyn::gdi::LiveObjectCount();
  HANDLE bitmap = LoadFixture("info24");
  ASSERT_NE(bitmap, nullptr);
  HDC memory = CreateCompatibleDC(nullptr);
  ASSERT_NE(memory, nullptr);
  EXPECT_EQ(GetPixel(memory, 0, 0), 0u);  // the 1 x 1 black default bitmap
  EXPECT_EQ(GetPixel(memory, 1, 0), CLR_INVALID);

  HGDIOBJ previous = SelectObject(memory, bitmap);
  ASSERT_NE(previous, nullptr);
  EXPECT_EQ(GetPixel(memory, 3, 2), vyn::test::PictureColor(3, 2, 16));
  EXPECT_FALSE(DeleteObject(bitmap)) << "a selected bitmap must not be deleted";

  EXPECT_EQ(SelectObject(memory, previous), bitmap);
  EXPECT_EQ(GetPixel(memory, 3, 2), 0xFFFFFFFFu);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_EQ(vyn::gdi::LiveObjectCount(), before);
}

TEST(MemoryDc, ABitmapGoesIntoOneDcAtATimeAndOnlyIntoMemoryDcs) {
  HANDLE bitmap = LoadFixture("info1");
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  HDC screen = GetDC(nullptr);
  ASSERT_NE(SelectObject(first, bitmap), nullptr);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);
  EXPECT_EQ(SelectObject(screen, bitmap), nullptr);
  // Deleting the DC lets go of its bitmap.
  EXPECT_TRUE(DeleteDC(first));
  EXPECT_NE(SelectObject(second, bitmap), nullptr);
  EXPECT_TRUE(DeleteDC(second));
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST(MemoryDc, StaleAndForeignHandlesAreRefused) {
  HANDLE bitmap = LoadFixture("info1");
  HDC memory = CreateCompatibleDC(nullptr);
  SelectObject(memory, bitmap);
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_EQ(GetPixel(memory, 0, 0), CLR_INVALID);
  EXPECT_FALSE(DeleteDC(memory));
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteObject(bitmap));
  BITMAP info{};
  EXPECT_EQ(GetObjectA(bitmap, sizeof info, &info), 0);
  // A new object in the freed slot does not answer to the old handle.
  HDC reused = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetPixel(memory, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetDeviceCaps(memory, PLANES), 0);
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(bitmap), GetStockObject(BLACK_BRUSH)), nullptr);
  EXPECT_EQ(GetPixel(reinterpret_cast<HDC>(0x1234), 0, 0), CLR_INVALID);
  DeleteDC(reused);
}

TEST(BitmapRecord, GetObjectFillsTheRecordOnlyWhenThereIsRoom) {
  HANDLE bitmap = LoadFixture("v5_32_top_down");
  EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
  BITMAP info{};
  info.bmWidth = -7;
  EXPECT_EQ(GetObjectA(bitmap, sizeof info - 1, &info), 0);
  EXPECT_EQ(info.bmWidth, -7);
  ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(info.bmType, 0);
  EXPECT_EQ(info.bmWidth, 13);
  EXPECT_EQ(info.bmHeight, 7);
  EXPECT_EQ(info.bmPlanes, 1);
  EXPECT_EQ(info.bmBitsPixel, 32);
  EXPECT_EQ(info.bmWidthBytes, 13 * 4);
  EXPECT_NE(info.bmBits, nullptr);
  DeleteObject(bitmap);
}

TEST(WindowDc, ReleaseNeedsTheWindowItWasTakenFor) {
  HWND window = reinterpret_cast<HWND>(0x40);
  HDC dc = GetDC(window);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  EXPECT_FALSE(DeleteDC(dc)) << "window DCs are released, not deleted";
  EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
  EXPECT_EQ(ReleaseDC(window, dc), 1);
  EXPECT_EQ(ReleaseDC(window, dc), 0);
}

TEST(StockObjects, BrushesSelectAndSurviveDeletion) {
  HGDIOBJ black = GetStockObject(BLACK_BRUSH);
  ASSERT_NE(black, nullptr);
  EXPECT_EQ(GetStockObject(99), nullptr);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(SelectObject(screen, black), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(screen, GetStockObject(NULL_BRUSH)), black);
  EXPECT_TRUE(DeleteObject(black));
  COLORREF color = 1;
  EXPECT_TRUE(vyn::gdi::StockBrushColor(static_cast<HBRUSH>(black), &color));
  EXPECT_EQ(color, 0u);
  ReleaseDC(nullptr, screen);
}

class DeviceCaps : public testing::Test {
 protected:
  void TearDown() override { vyn::display::SetActiveDisplay(nullptr); }
};

TEST_F(DeviceCaps, ComeFromTheActiveDisplay) {
  vyn::display::SetActiveDisplay(std::make_unique<vyn::display::OffscreenDisplay>(320, 200, 16));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  for (HDC dc : {screen, memory}) {
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 16);
    EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 320);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 200);
  }
  PALETTEENTRY entries[4];
  EXPECT_EQ(GetSystemPaletteEntries(screen, 0, 4, entries), 0u) << "no palette at 16 bits";
  EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 0);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

TEST_F(DeviceCaps, AnEightBitDisplayHasASystemPalette) {
  auto display = std::make_unique<vyn::display::OffscreenDisplay>(64, 64, 8);
  PALETTEENTRY expected[256];
  ASSERT_TRUE(display->systemPalette(expected));
  vyn::display::SetActiveDisplay(std::move(display));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 8);
  EXPECT_EQ(GetSystemPaletteEntries(screen, 0, 0, nullptr), 256u);
  PALETTEENTRY entries[8] = {};
  EXPECT_EQ(GetSystemPaletteEntries(screen, 250, 8, entries), 6u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(entries[i].peRed, expected[250 + i].peRed);
    EXPECT_EQ(entries[i].peBlue, expected[250 + i].peBlue);
  }
  EXPECT_EQ(GetSystemPaletteEntries(screen, 256, 1, entries), 0u);
  ReleaseDC(nullptr, screen);
}

}  // namespace
