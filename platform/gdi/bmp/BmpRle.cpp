#include "gdi/bmp/BmpRle.h"

namespace vyn::gdi::bmp {
namespace {

// Where the next decoded pixel goes; rows count up from the bottom.
class RleCursor {
 public:
  RleCursor(std::int32_t width, std::int32_t height, std::span<const std::uint32_t> palette,
            std::vector<std::uint32_t>& pixels)
      : width_(width), height_(height), palette_(palette), pixels_(pixels) {}

  void Put(std::uint8_t index) {
    if (x_ < width_ && y_ < height_)
      pixels_[static_cast<std::size_t>(height_ - 1 - y_) * width_ + static_cast<std::size_t>(x_)] = palette_[index];
    ++x_;
  }
  void NextLine() {
    x_ = 0;
    ++y_;
  }
  void Move(int dx, int dy) {
    x_ += dx;
    y_ += dy;
  }
  bool Done() const { return y_ >= height_; }

 private:
  std::int64_t x_ = 0;
  std::int64_t y_ = 0;
  std::int32_t width_;
  std::int32_t height_;
  std::span<const std::uint32_t> palette_;
  std::vector<std::uint32_t>& pixels_;
};

// Pixel i of a run: RLE8 takes whole bytes; RLE4 alternates the high and the
// low nibble.
std::uint8_t Pixel(std::uint8_t byte, int i, int bits) {
  if (bits == 8) return byte;
  return (i % 2 == 0) ? static_cast<std::uint8_t>(byte >> 4) : static_cast<std::uint8_t>(byte & 0x0F);
}

}  // namespace

bool DecodeRle(std::span<const std::uint8_t> data, int bits, std::int32_t width, std::int32_t height,
               std::span<const std::uint32_t> palette, std::vector<std::uint32_t>& pixels) {
  pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), palette[0]);
  RleCursor cursor(width, height, palette, pixels);
  std::size_t at = 0;
  // Every pass consumes at least two bytes, so the loop ends with the data.
  while (!cursor.Done()) {
    if (data.size() - at < 2) return false;
    const int count = data[at];
    const std::uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      // Clipped runs still count their pixels, so a long run cannot stall.
      for (int i = 0; i < count; ++i) cursor.Put(Pixel(value, i, bits));
      continue;
    }
    switch (value) {
      case 0: cursor.NextLine(); break;
      case 1: return true;
      case 2:
        if (data.size() - at < 2) return false;
        cursor.Move(data[at], data[at + 1]);
        at += 2;
        break;
      default: {
        // Absolute run of `value` pixels, padded to a 16-bit boundary.
        const std::size_t bytes = bits == 8 ? value : (value + 1u) / 2;
        const std::size_t padded = (bytes + 1) & ~std::size_t{1};
        if (data.size() - at < bytes) return false;
        for (int i = 0; i < value; ++i) cursor.Put(Pixel(data[at + (bits == 8 ? i : i / 2)], i, bits));
        at += padded <= data.size() - at ? padded : data.size() - at;
      }
    }
  }
  return true;
}

}  // namespace vyn::gdi::bmp
