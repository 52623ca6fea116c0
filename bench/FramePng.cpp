#include "FramePng.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace vyn::bench {

bool WriteFramePng(const FrameImage& image, const std::string& path) {
  if (image.width <= 0 || image.height <= 0) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(image.width) * 3);
  for (int y = 0; y < image.height; ++y) {
    const std::uint32_t* source = &image.pixels[static_cast<std::size_t>(y) * image.width];
    for (int x = 0; x < image.width; ++x) {
      row[3 * x + 0] = static_cast<png_byte>(source[x] >> 16);
      row[3 * x + 1] = static_cast<png_byte>(source[x] >> 8);
      row[3 * x + 2] = static_cast<png_byte>(source[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

}  // namespace vyn::bench
