// LoadImageA for bitmaps from files: the file is found through the drive
// mapping, read whole (within the size limit), decoded to a 32-bit top-down
// DIB section and entered in the handle table.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gdi/Gdi.h"
#include "gdi/GdiObjects.h"
#include "gdi/bmp/BmpDecoder.h"
#include "gdi/bmp/BmpLimits.h"
#include "kernel/DrivePaths.h"
#include "kernel/Kernel.h"
#include "testctl/TestControls.h"

namespace {

// The whole content of a regular file no larger than the limit. Opening does
// not wait (a FIFO named by mistake must not hang the saver), and a file that
// is not regular is refused.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::vector<std::uint8_t>> content;
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= vyn::gdi::bmp::MaxFileBytes) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);  // a file that shrank while read is decoded as it was read
    content = std::move(bytes);
  }
  close(fd);
  return content;
}

}  // namespace

namespace vyn::gdi {

// The decoding step of LoadImageA, on bytes already in memory: a bitmap
// handle, or null when they are no bitmap this loader reads.
HGDIOBJ CreateBitmapFromBmp(std::span<const std::uint8_t> bytes) {
  std::optional<bmp::DecodedBmp> decoded = bmp::DecodeBmp(bytes);
  if (!decoded) return nullptr;
  return AddObject(std::make_unique<Bitmap>(decoded->width, decoded->height, std::move(decoded->pixels)));
}

}  // namespace vyn::gdi

// Only bitmaps from files, at their own size (width and height 0): icons,
// cursors and resources of the module are not supported here, nor stretching.
HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int width, int height, UINT flags) {
  if (vyn::testctl::Enter("LoadImageA") != S_OK) return nullptr;
  if (type != IMAGE_BITMAP || (flags & LR_LOADFROMFILE) == 0 || name == nullptr || width != 0 || height != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::optional<std::string> path = vyn::kernel::ResolveWindowsPath(name);
  if (!path) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(*path);
  if (!bytes) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  HGDIOBJ bitmap = vyn::gdi::CreateBitmapFromBmp(*bytes);
  if (bitmap == nullptr) SetLastError(ERROR_INVALID_PARAMETER);
  return bitmap;
}
