#include "SwitchScan.h"

namespace vyn::saver {

SwitchRequest ScanSwitches(const char* tail) {
  SwitchRequest request;
  const char* cursor = tail;
  while (*cursor != '\0') {
    if (*cursor != '-' && *cursor != '/') {
      ++cursor;
      continue;
    }
    ++cursor;
    // Any other character, the terminator included, is left for the next
    // round to look at.
    switch (*cursor) {
      case 'C':
      case 'c':
        request.configure = true;
        ++cursor;
        break;
      case 'S':
      case 's':
        request.run = true;
        ++cursor;
        break;
      default:
        break;
    }
  }
  return request;
}

}  // namespace vyn::saver
