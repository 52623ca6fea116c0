#include "display/x11/ScreenImage.h"

#include <X11/Xutil.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "display/x11/ErrorTrap.h"

namespace vyn::display::x11 {

ScreenImage::ScreenImage(::Display* connection, int screen, int width, int height,
                         const PixelFormat& format, bool trySharedMemory)
    : connection_(connection), bytesPerPixel_(format.bytesPerPixel()) {
  if (!trySharedMemory || !attachShared(screen, width, height)) createPlain(screen, width, height);
}

bool ScreenImage::attachShared(int screen, int width, int height) {
  // Shared memory holds pixels in the server's byte order; ours are
  // little-endian, so it serves only a little-endian server.
  if (!XShmQueryExtension(connection_) || ImageByteOrder(connection_) != LSBFirst) return false;
  Visual* visual = DefaultVisual(connection_, screen);
  int depth = DefaultDepth(connection_, screen);
  XImage* image = XShmCreateImage(connection_, visual, depth, ZPixmap, nullptr, &segment_, width, height);
  if (image == nullptr) return false;
  segment_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * height,
                          IPC_CREAT | 0600);
  if (segment_.shmid < 0) {
    XDestroyImage(image);
    return false;
  }
  segment_.shmaddr = image->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
  segment_.readOnly = False;
  bool attached = false;
  if (segment_.shmaddr != reinterpret_cast<char*>(-1)) {
    ErrorTrap trap(connection_);
    attached = XShmAttach(connection_, &segment_) && !trap.failed();
  }
  // Marked for removal now: it goes away with the last process detached,
  // however this one ends.
  shmctl(segment_.shmid, IPC_RMID, nullptr);
  if (!attached) {
    if (segment_.shmaddr != reinterpret_cast<char*>(-1)) shmdt(segment_.shmaddr);
    image->data = nullptr;
    XDestroyImage(image);
    return false;
  }
  image_ = image;
  shared_ = true;
  completionEvent_ = XShmGetEventBase(connection_) + ShmCompletion;
  std::memset(image_->data, 0, static_cast<std::size_t>(image_->bytes_per_line) * height);
  return true;
}

void ScreenImage::createPlain(int screen, int width, int height) {
  Visual* visual = DefaultVisual(connection_, screen);
  int depth = DefaultDepth(connection_, screen);
  int pitch = width * bytesPerPixel_;
  char* data = static_cast<char*>(std::calloc(static_cast<std::size_t>(pitch) * height, 1));
  if (data == nullptr) return;
  image_ = XCreateImage(connection_, visual, depth, ZPixmap, 0, data, width, height, 32, pitch);
  if (image_ == nullptr) {
    std::free(data);
    return;
  }
  image_->byte_order = LSBFirst;  // Xlib converts for a server that differs
}

ScreenImage::~ScreenImage() {
  if (image_ == nullptr) return;
  if (shared_) {
    waitUntilRead();
    XShmDetach(connection_, &segment_);
    XSync(connection_, False);
    shmdt(segment_.shmaddr);
    image_->data = nullptr;
  }
  XDestroyImage(image_);  // frees a plain image's pixels too
}

std::uint8_t* ScreenImage::row(int y) {
  return reinterpret_cast<std::uint8_t*>(image_->data) + static_cast<std::size_t>(y) * pitch();
}

void ScreenImage::write(const RECT& rect, const std::uint8_t* pixels, int sourcePitch) {
  waitUntilRead();
  std::size_t bytes = static_cast<std::size_t>(rect.right - rect.left) * bytesPerPixel_;
  for (int y = rect.top; y < rect.bottom; ++y) {
    const std::uint8_t* from = pixels + static_cast<std::ptrdiff_t>(y - rect.top) * sourcePitch;
    std::memcpy(row(y) + static_cast<std::size_t>(rect.left) * bytesPerPixel_, from, bytes);
  }
}

void ScreenImage::put(Window window, GC gc, const RECT& source, int x, int y) {
  unsigned width = static_cast<unsigned>(source.right - source.left);
  unsigned height = static_cast<unsigned>(source.bottom - source.top);
  if (width == 0 || height == 0) return;
  if (shared_) {
    XShmPutImage(connection_, window, gc, image_, source.left, source.top, x, y, width, height, True);
    readPending_ = true;
  } else {
    XPutImage(connection_, window, gc, image_, source.left, source.top, x, y, width, height);
  }
  XFlush(connection_);
}

namespace {

struct CompletionMatch {
  int type;
};

Bool IsCompletion(::Display*, XEvent* event, XPointer match) {
  return event->type == reinterpret_cast<CompletionMatch*>(match)->type;
}

}  // namespace

void ScreenImage::waitUntilRead() {
  if (!readPending_) return;
  readPending_ = false;
  CompletionMatch match{completionEvent_};
  XEvent event;
  // Bounded: a server that never answers (gone) must not hang the saver.
  for (int attempt = 0; attempt < 100; ++attempt) {
    // XCheckIfEvent flushes and reads what the server has sent.
    if (XCheckIfEvent(connection_, &event, IsCompletion, reinterpret_cast<XPointer>(&match))) return;
    pollfd descriptor{ConnectionNumber(connection_), POLLIN, 0};
    if (poll(&descriptor, 1, 10) < 0 && errno != EINTR) return;
  }
}

}  // namespace vyn::display::x11
