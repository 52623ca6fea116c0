#include "display/offscreen/PngFile.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace vyn::display {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports errors by longjmp; everything that needs destroying on that
// path is created before setjmp and owned outside it.
bool writeRows(std::FILE* file, int width, int height,
               const std::function<void(int, std::uint32_t*)>& rowColors,
               std::vector<std::uint32_t>& colors, std::vector<png_byte>& row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    rowColors(y, colors.data());
    for (int x = 0; x < width; ++x) {
      row[3 * x + 0] = static_cast<png_byte>(colors[x] >> 16);
      row[3 * x + 1] = static_cast<png_byte>(colors[x] >> 8);
      row[3 * x + 2] = static_cast<png_byte>(colors[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WriteRgbPng(const std::string& path, int width, int height,
                 const std::function<void(int y, std::uint32_t* out)>& rowColors) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    std::fprintf(stderr, "vyn: cannot write the screen picture \"%s\"\n", path.c_str());
    return false;
  }
  std::vector<std::uint32_t> colors(static_cast<std::size_t>(width));
  std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
  bool written = writeRows(file.get(), width, height, rowColors, colors, row);
  if (std::fclose(file.release()) != 0) written = false;
  if (!written) std::fprintf(stderr, "vyn: writing the screen picture \"%s\" failed\n", path.c_str());
  return written;
}

}  // namespace vyn::display
