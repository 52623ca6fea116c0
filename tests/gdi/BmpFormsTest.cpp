// The BMP loader: every supported form reads back as the same picture, and
// every kind of broken file is refused.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Pictures.h"
#include "gdi/Gdi.h"
#include "gdi/GdiObjects.h"
#include "gdi/bmp/BmpBitFields.h"
#include "gdi/bmp/BmpDecoder.h"
#include "kernel/Kernel.h"

namespace {

using vyn::test::FixturePath;
using vyn::test::PictureColor;
using vyn::test::PictureHeight;
using vyn::test::PictureWidth;

// Loads a bitmap file and reads it back through a memory DC, as the saver does.
struct LoadedPicture {
  HANDLE bitmap = nullptr;
  BITMAP info{};
  std::vector<COLORREF> pixels;  // row 0 first
  COLORREF pastRight = 0, pastBottom = 0, beforeLeft = 0;
};

LoadedPicture ReadThroughGdi(const std::string& path) {
  LoadedPicture out;
  out.bitmap = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  if (out.bitmap == nullptr) return out;
  GetObjectA(out.bitmap, sizeof out.info, &out.info);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(memory, out.bitmap);
  for (int y = 0; y < out.info.bmHeight; ++y)
    for (int x = 0; x < out.info.bmWidth; ++x) out.pixels.push_back(GetPixel(memory, x, y));
  out.pastRight = GetPixel(memory, out.info.bmWidth, 0);
  out.pastBottom = GetPixel(memory, 0, out.info.bmHeight);
  out.beforeLeft = GetPixel(memory, -1, 0);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  DeleteObject(out.bitmap);
  return out;
}

struct Form {
  const char* name;
  int levels;  // palette entries the picture uses
};

class SupportedForm : public testing::TestWithParam<Form> {};

TEST_P(SupportedForm, ReadsBackTheSamePixels) {
  const Form form = GetParam();
  LoadedPicture picture = ReadThroughGdi(FixturePath("good", form.name));
  ASSERT_NE(picture.bitmap, nullptr) << form.name;
  EXPECT_EQ(picture.info.bmWidth, PictureWidth);
  EXPECT_EQ(picture.info.bmHeight, PictureHeight);  // positive for top-down files too
  ASSERT_EQ(picture.pixels.size(), static_cast<std::size_t>(PictureWidth * PictureHeight));
  for (int y = 0; y < PictureHeight; ++y)
    for (int x = 0; x < PictureWidth; ++x)
      ASSERT_EQ(picture.pixels[y * PictureWidth + x], PictureColor(x, y, form.levels))
          << form.name << " at (" << x << ", " << y << ")";
  EXPECT_EQ(picture.pastRight, CLR_INVALID);
  EXPECT_EQ(picture.pastBottom, CLR_INVALID);
  EXPECT_EQ(picture.beforeLeft, CLR_INVALID);
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, SupportedForm,
    testing::Values(Form{"core1", 2}, Form{"core4", 16}, Form{"core8", 16}, Form{"core24", 16},
                    Form{"info1", 2}, Form{"info4", 16}, Form{"info4_short_table", 8}, Form{"info8", 16},
                    Form{"info8_short_table", 16}, Form{"info8_top_down", 16}, Form{"info16_555", 8},
                    Form{"info16_565_bitfields", 8}, Form{"info24", 16}, Form{"info24_top_down", 16},
                    Form{"info32", 16}, Form{"info32_bitfields", 16}, Form{"info52_bitfields", 8},
                    Form{"rle8", 16}, Form{"rle4", 16}, Form{"v4_565", 8}, Form{"v4_24", 16},
                    Form{"v5_8", 16}, Form{"v5_32_top_down", 16}),
    [](const testing::TestParamInfo<Form>& info) { return std::string(info.param.name); });

std::vector<std::string> BadFixtures() {
  std::vector<std::string> names;
  const std::string folder = vyn::test::SourcePath("tests/gdi/fixtures/bad");
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir))
      if (std::string(entry->d_name).ends_with(".bmp")) names.push_back(folder + "/" + entry->d_name);
    closedir(dir);
  }
  return names;
}

TEST(BadBitmap, EveryBrokenFileIsRefusedWithoutAHandle) {
  const std::vector<std::string> files = BadFixtures();
  ASSERT_GE(files.size(), 25u) << "the bad fixtures are missing: run scripts/make_pictures.py";
  const std::size_t objectsBefore = vyn::gdi::LiveObjectCount();
  for (const std::string& file : files) {
    SetLastError(0);
    EXPECT_EQ(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION),
              nullptr)
        << file;
    EXPECT_NE(GetLastError(), 0u) << file;
  }
  EXPECT_EQ(vyn::gdi::LiveObjectCount(), objectsBefore);
}

// Every cut of a good file either decodes or is refused, and reads nothing
// past the cut (the sanitizer build checks that). A cut that loses more than
// the last row's padding is always refused.
TEST(BadBitmap, EveryTruncationOfAGoodFileIsRefused) {
  for (const char* name : {"info24", "info1", "core8", "rle8", "rle4", "v5_8", "info16_565_bitfields"}) {
    const std::vector<std::uint8_t> whole = vyn::test::ReadBytes(FixturePath("good", name));
    ASSERT_FALSE(whole.empty()) << name;
    ASSERT_TRUE(vyn::gdi::bmp::DecodeBmp(whole).has_value()) << name;
    for (std::size_t length = 0; length + 4 < whole.size(); ++length)
      EXPECT_FALSE(vyn::gdi::bmp::DecodeBmp(std::span(whole.data(), length)).has_value())
          << name << " cut to " << length << " bytes";
  }
}

TEST(BadBitmap, MissingFilesDirectoriesAndWrongRequestsGiveNoHandle) {
  const UINT flags = LR_LOADFROMFILE | LR_CREATEDIBSECTION;
  const std::string good = FixturePath("good", "info24");
  EXPECT_EQ(LoadImageA(nullptr, "/nonexistent/picture.bmp", IMAGE_BITMAP, 0, 0, flags), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(LoadImageA(nullptr, "", IMAGE_BITMAP, 0, 0, flags), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, vyn::test::SourcePath("tests/gdi").c_str(), IMAGE_BITMAP, 0, 0, flags), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, good.c_str(), 1 /* IMAGE_ICON */, 0, 0, flags), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, good.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, flags), nullptr);
}

TEST(BadBitmap, AFifoIsRefusedWithoutWaitingForAWriter) {
  const std::string fifo = testing::TempDir() + "vyn_picture_fifo.bmp";
  unlink(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(LoadImageA(nullptr, fifo.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  unlink(fifo.c_str());
}

// ---- run-length details, on hand-made files ---------------------------------

// A BI_RLE8 or BI_RLE4 file with a 4-entry table: white, black, red, blue.
std::vector<std::uint8_t> RleFile(int bits, int width, int height, const std::vector<std::uint8_t>& runs) {
  auto u16 = [](std::vector<std::uint8_t>& v, unsigned x) { v.push_back(x & 0xFF), v.push_back((x >> 8) & 0xFF); };
  auto u32 = [&](std::vector<std::uint8_t>& v, unsigned x) { u16(v, x & 0xFFFF), u16(v, x >> 16); };
  std::vector<std::uint8_t> f = {'B', 'M'};
  const unsigned offset = 14 + 40 + 16;
  u32(f, offset + static_cast<unsigned>(runs.size()));
  u32(f, 0);
  u32(f, offset);
  u32(f, 40), u32(f, width), u32(f, height), u16(f, 1), u16(f, bits), u32(f, bits == 8 ? 1 : 2);
  u32(f, static_cast<unsigned>(runs.size())), u32(f, 0), u32(f, 0), u32(f, 4), u32(f, 0);
  // RGBQUADs read as little-endian 0x00RRGGBB.
  for (unsigned quad : {0xFFFFFFu, 0x000000u, 0xFF0000u, 0x0000FFu}) u32(f, quad);
  f.insert(f.end(), runs.begin(), runs.end());
  return f;
}

constexpr COLORREF W = 0xFFFFFF, K = 0x000000, R = 0x0000FF, B = 0xFF0000;

std::vector<COLORREF> Decode(const std::vector<std::uint8_t>& file) {
  HGDIOBJ bitmap = vyn::gdi::CreateBitmapFromBmp(file);
  if (bitmap == nullptr) return {};
  std::vector<COLORREF> colors;
  const vyn::gdi::Bitmap* b = vyn::gdi::FindBitmap(bitmap);
  for (int y = 0; y < b->height; ++y)
    for (int x = 0; x < b->width; ++x) colors.push_back(b->ColorAt(x, y));
  DeleteObject(bitmap);
  return colors;
}

struct RleCase {
  const char* what;
  int bits, width, height;
  std::vector<std::uint8_t> runs;
  std::vector<COLORREF> expected;  // row 0 (top) first; empty: refused
};

class RunLength : public testing::TestWithParam<RleCase> {};

TEST_P(RunLength, Decodes) {
  const RleCase& c = GetParam();
  EXPECT_EQ(Decode(RleFile(c.bits, c.width, c.height, c.runs)), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunLength,
    testing::Values(
        // Two black at the bottom-left, a delta of (3, 1), then one red; skipped pixels are entry 0.
        RleCase{"delta leaves index 0", 8, 8, 3, {2, 1, 0, 2, 3, 1, 1, 2, 0, 1},
                {W, W, W, W, W, W, W, W, W, W, W, W, W, R, W, W, K, K, W, W, W, W, W, W}},
        RleCase{"a run past the right edge is clipped", 8, 4, 2, {10, 1, 0, 0, 1, 3, 0, 1},
                {B, W, W, W, K, K, K, K}},
        RleCase{"odd absolute run of nibbles", 4, 5, 1, {0, 5, 0x12, 0x31, 0x20, 0, 0, 1}, {K, R, B, K, R}},
        RleCase{"encoded nibble run alternates", 4, 4, 1, {4, 0x13, 0, 1}, {K, B, K, B}},
        RleCase{"no end marker after the last row", 8, 2, 1, {2, 2, 0, 0}, {R, R}},
        RleCase{"a delta below the picture ends it", 8, 2, 2, {2, 1, 0, 2, 0, 9}, {W, W, K, K}},
        RleCase{"data ends mid-picture", 8, 2, 2, {2, 1, 0, 0}, {}},
        RleCase{"absolute run cut short", 8, 4, 1, {0, 4, 1, 2}, {}},
        RleCase{"delta cut short", 8, 4, 1, {0, 2, 1}, {}}),
    [](const testing::TestParamInfo<RleCase>& info) { return "Case" + std::to_string(info.index); });

// ---- pixels of fewer than 8 bits a channel ----------------------------------

TEST(BitFields, NarrowChannelsScaleToFullRangeAndWideOnesKeepTheirTop) {
  struct Case {
    std::uint32_t mask, pixel, expected;
  };
  const Case cases[] = {
      {0x7C00, 0x7C00, 255}, {0x7C00, 16u << 10, 132}, {0x7C00, 1u << 10, 8}, {0x7C00, 0, 0},
      {0x07E0, 0x07E0, 255}, {0x07E0, 32u << 5, 130}, {0x0001, 1, 255},
      {0x3FF00000, 0x3FF00000, 255}, {0x3FF00000, 0x20000000, 128}, {0xFF000000, 0xAB000000, 0xAB},
  };
  for (const Case& c : cases) {
    vyn::gdi::bmp::BmpLayout layout;
    layout.bitCount = c.mask > 0xFFFF ? 32 : 16;
    layout.compression = vyn::gdi::bmp::BI_BITFIELDS;
    layout.masks[0] = c.mask;
    auto fields = vyn::gdi::bmp::ReadBitFields(layout);
    ASSERT_TRUE(fields.has_value()) << std::hex << c.mask;
    EXPECT_EQ(fields->red.Expand(c.pixel), c.expected) << std::hex << c.mask << " " << c.pixel;
    EXPECT_EQ(fields->green.Expand(c.pixel), 0u);  // an empty mask reads as 0
  }
}

TEST(BitFields, WhiteStaysWhiteAtEveryDepth) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> pixel;  // one stored pixel of a 1 x 1 file
    int bits;
  };
  for (const auto& [name, stored, bits] : {Case{"555", {0xFF, 0x7F}, 16}, Case{"32", {0xFF, 0xFF, 0xFF, 0x00}, 32},
                                            Case{"24", {0xFF, 0xFF, 0xFF}, 24}}) {
    std::vector<std::uint8_t> f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                                   static_cast<std::uint8_t>(bits), 0};
    f.resize(54, 0);
    f.insert(f.end(), stored.begin(), stored.end());
    f.resize(58, 0);
    EXPECT_EQ(Decode(f), std::vector<COLORREF>{0xFFFFFF}) << name;
  }
}

}  // namespace
