#include "FrameCompare.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vyn::bench {

bool ReadFramePng(const std::string& path, FrameImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&png);
    return false;
  }
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  for (std::size_t i = 0; i < image.pixels.size(); ++i)
    image.pixels[i] = (std::uint32_t{rgb[3 * i]} << 16) | (std::uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
  return true;
}

std::optional<FrameDifference> CompareFrames(const FrameImage& ours, const FrameImage& peer, int tolerance) {
  if (ours.width != peer.width || ours.height != peer.height || ours.pixels.empty()) return std::nullopt;
  std::size_t differing = 0, litOurs = 0, litPeer = 0;
  for (std::size_t i = 0; i < ours.pixels.size(); ++i) {
    const std::uint32_t a = ours.pixels[i], b = peer.pixels[i];
    litOurs += a != 0;
    litPeer += b != 0;
    for (int shift = 0; shift < 24; shift += 8) {
      if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) {
        ++differing;
        break;
      }
    }
  }
  const double total = static_cast<double>(ours.pixels.size());
  return FrameDifference{differing / total, litOurs / total, litPeer / total};
}

}  // namespace vyn::bench
