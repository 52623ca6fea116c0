#include "PngFile.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace vyn::d3drm::testing {

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

bool WritePng(const std::string& path, const RgbImage& image) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
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
