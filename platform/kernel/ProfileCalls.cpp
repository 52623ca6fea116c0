// GetPrivateProfileIntA and GetPrivateProfileStringA, read-only. The file is
// read afresh on every call, so a change made by the settings program shows
// at the next read. A file that cannot be read, or is not a regular file,
// acts as a missing one: every read gives its default.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "kernel/Kernel.h"
#include "kernel/ProfileFile.h"
#include "kernel/ProfileInteger.h"

namespace vyn::kernel {
namespace {

// Settings files are small; a larger file is read only this far, so a huge
// or endless one cannot exhaust memory.
constexpr size_t maxProfileBytes = 1 << 20;

// A name without a folder is looked for in the Windows directory.
std::string ProfilePath(const char* fileName) {
  std::string name = fileName;
  if (name.find('/') != std::string::npos) return name;
  return WindowsDirectory() + "/" + name;
}

// Opened without blocking and checked to be a regular file first, so that a
// FIFO or device under the settings name cannot hang the reader.
std::string ReadProfileText(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  std::string text;
  struct stat status {};
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    char chunk[4096];
    while (text.size() < maxProfileBytes) {
      ssize_t got = read(fd, chunk, sizeof chunk);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      text.append(chunk, static_cast<size_t>(got));
    }
    if (text.size() > maxProfileBytes) text.resize(maxProfileBytes);
  }
  close(fd);
  return text;
}

ProfileFile LoadProfile(const char* fileName) {
  if (fileName == nullptr || fileName[0] == '\0') return ProfileFile();
  return ProfileFile(ReadProfileText(ProfilePath(fileName)));
}

// One string, cut to the buffer's size less one and always terminated.
DWORD CopyString(std::string_view text, LPSTR buffer, DWORD size) {
  size_t length = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<DWORD>(length);
}

// A list of names, each ending in NUL and the list in one more. When the
// buffer is too small the last name that fits is cut and followed by two
// NULs, and the result is the size less two.
DWORD CopyNameList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
  std::string all;
  for (const std::string& name : names) {
    all += name;
    all += '\0';
  }
  if (all.size() + 1 <= size) {
    std::memcpy(buffer, all.data(), all.size());
    buffer[all.size()] = '\0';
    return static_cast<DWORD>(all.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, all.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

}  // namespace
}  // namespace vyn::kernel

// An entry that is present but empty gives the default, as a missing one does.
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  using namespace vyn::kernel;
  if (section == nullptr || key == nullptr) return static_cast<UINT>(defaultValue);
  ProfileFile profile = LoadProfile(fileName);
  const std::string* value = profile.FindValue(section, key);
  if (value == nullptr || value->empty()) return static_cast<UINT>(defaultValue);
  return static_cast<UINT>(ParseProfileInteger(*value));
}

// A null section lists the section names, a null key the section's key
// names. The default loses its trailing blanks; a null default is empty.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                               DWORD size, LPCSTR fileName) {
  using namespace vyn::kernel;
  if (buffer == nullptr || size == 0) return 0;
  ProfileFile profile = LoadProfile(fileName);
  if (section == nullptr) return CopyNameList(profile.SectionNames(), buffer, size);
  if (key == nullptr) return CopyNameList(profile.KeyNames(section), buffer, size);
  if (const std::string* value = profile.FindValue(section, key))
    return CopyString(*value, buffer, size);
  std::string_view fallback = defaultValue != nullptr ? defaultValue : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return CopyString(fallback, buffer, size);
}
