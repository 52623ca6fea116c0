// DirectDraw over a display whose screen memory is not ours (as with X11):
// every blit to the primary ends in one Display::present of the clipped
// rectangle, and a mode change is seen as a lost primary.
#include <map>

#include "DirectDrawFixture.h"

namespace vyn::ddraw::test {
namespace {

class RecordingDisplay final : public display::Display {
 public:
  struct Present {
    RECT rect;
    std::vector<std::uint32_t> pixels;  // the rectangle's pixels, row by row
  };

  const char* name() const override { return "recording"; }
  int width() const override { return width_; }
  int height() const override { return height_; }
  display::PixelFormat format() const override { return display::FormatForDepth(32); }
  bool systemPalette(PALETTEENTRY (&)[256]) const override { return false; }
  display::NativeWindow createWindow(const display::WindowOptions& options) override {
    windows_[next_] = options.screenRect;
    return next_++;
  }
  void showWindow(display::NativeWindow, bool) override {}
  void destroyWindow(display::NativeWindow window) override { windows_.erase(window); }
  RECT windowRect(display::NativeWindow window) const override {
    auto it = windows_.find(window);
    return it == windows_.end() ? RECT{} : it->second;
  }
  void setPointerVisible(bool) override {}
  void present(const RECT& rect, const std::uint8_t* pixels, int pitch) override {
    Present call{rect, {}};
    for (LONG y = rect.top; y < rect.bottom; ++y)
      for (LONG x = rect.left; x < rect.right; ++x) {
        std::uint32_t value;
        std::memcpy(&value, pixels + (y - rect.top) * pitch + (x - rect.left) * 4, 4);
        call.pixels.push_back(value);
      }
    presents.push_back(call);
  }
  bool nextEvent(display::InputEvent&) override { return false; }
  std::uint32_t lossGeneration() const override { return generation_; }

  void changeMode(int width, int height) {
    width_ = width;
    height_ = height;
    ++generation_;
  }

  std::vector<Present> presents;

 private:
  int width_ = 40;
  int height_ = 30;
  std::uint32_t generation_ = 7;
  std::map<display::NativeWindow, RECT> windows_;
  display::NativeWindow next_ = 1;
};

class ForeignDisplayTest : public DirectDrawFixture {
 protected:
  void SetUp() override {
    testctl::ResetPlatform();
    auto owned = std::make_unique<RecordingDisplay>();
    recording = owned.get();
    display::SetActiveDisplay(std::move(owned));
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
  }
  void TearDown() override {
    DirectDrawFixture::TearDown();
    display::SetActiveDisplay(nullptr);
  }
  RecordingDisplay* recording = nullptr;
};

TEST_F(ForeignDisplayTest, ABlitToThePrimaryIsOnePresentOfTheClippedRectangle) {
  HWND window = CreateTestWindow(30, 20, 16, 16);  // hangs over the right and bottom edges
  IDirectDrawSurface* primary = Own(CreatePrimary());
  IDirectDrawSurface* back = Own(CreateBackBuffer(16, 16));
  ClipTo(primary, window);
  Number(back);
  RECT destination{30, 20, 46, 36};
  ASSERT_EQ(primary->Blt(&destination, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  ASSERT_EQ(recording->presents.size(), 1u);
  const RecordingDisplay::Present& call = recording->presents[0];
  EXPECT_EQ(call.rect.left, 30);
  EXPECT_EQ(call.rect.top, 20);
  EXPECT_EQ(call.rect.right, 40);
  EXPECT_EQ(call.rect.bottom, 30);
  ASSERT_EQ(call.pixels.size(), 100u);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(call.pixels[y * 10 + x], NumberAt(x, y)) << x << "," << y;
}

TEST_F(ForeignDisplayTest, AModeChangeLosesThePrimaryAndRestoreTakesTheNewSize) {
  IDirectDrawSurface* primary = Own(CreatePrimary());
  recording->changeMode(64, 48);
  EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
  ASSERT_EQ(primary->Restore(), DD_OK);
  EXPECT_EQ(primary->IsLost(), DD_OK);
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE_WIN32;
  ASSERT_EQ(primary->GetSurfaceDesc(&description), DD_OK);
  EXPECT_EQ(description.dwWidth, 64u);
  EXPECT_EQ(description.dwHeight, 48u);
}

}  // namespace
}  // namespace vyn::ddraw::test
