#include "PngFile.h"

#include <png.h>

#include "display/offscreen/PngFile.h"

namespace vyn::d3drm::testing {

bool WritePng(const std::string& path, const RgbImage& image) {
  return display::WriteRgbPng(path, image.width, image.height, [&](int y, std::uint32_t* out) {
    const std::uint8_t* row = image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3;
    for (int x = 0; x < image.width; ++x) {
      out[x] = (std::uint32_t{row[3 * x]} << 16) | (std::uint32_t{row[3 * x + 1]} << 8) | row[3 * x + 2];
    }
  });
}

bool ReadPng(const std::string& path, RgbImage& image) {
  png_image reader{};
  reader.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&reader, path.c_str())) return false;
  reader.format = PNG_FORMAT_RGB;
  image.width = static_cast<int>(reader.width);
  image.height = static_cast<int>(reader.height);
  image.rgb.assign(PNG_IMAGE_SIZE(reader), 0);
  const bool ok = png_image_finish_read(&reader, nullptr, image.rgb.data(), 0, nullptr) != 0;
  png_image_free(&reader);
  return ok;
}

}  // namespace vyn::d3drm::testing
