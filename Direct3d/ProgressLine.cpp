#include "ProgressLine.h"

#include <cstdarg>
#include <cstdio>

#include "kernel/Kernel.h"

namespace vyn::lumivex {

void WriteProgressLine(const char* format, ...) {
  char line[200];
  va_list arguments;
  va_start(arguments, format);
  const int wanted = std::vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  if (wanted < 0) return;
  if (wanted >= static_cast<int>(sizeof line)) line[sizeof line - 2] = '\n';
  OutputDebugStringA(line);
}

}  // namespace vyn::lumivex
