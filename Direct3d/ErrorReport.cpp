// Diagnostics on the debugger output: one text per OutputDebugStringA call,
// and the two-line reports that name a failing DirectX code and its call site.
#include <cstdio>

#include "Lumivex.h"
#include "kernel/Kernel.h"

namespace vyn::lumivex {

namespace {

const char* const unknownErrorName = "Unknown Error";

const char* NameIn(const ErrorName* table, int count, HRESULT code) {
  for (int i = 0; i < count; ++i)
    if (table[i].code == code) return table[i].name;
  return unknownErrorName;
}

// Name and report go through fixed local buffers; snprintf truncates a text
// that would not fit (only an absurdly long file name could), so nothing
// overruns.
void Report(const char* format, const char* foundName, const char* file, int line) {
  char name[256];
  std::snprintf(name, sizeof name, "%s", foundName);
  char report[1024];
  std::snprintf(report, sizeof report, format, name, file != nullptr ? file : "", line);
  DebugPrint(report);
}

}  // namespace

const char* DirectDrawErrorName(HRESULT code) {
  return NameIn(directDrawErrorNames, directDrawErrorNameCount, code);
}

const char* RetainedModeErrorName(HRESULT code) {
  return NameIn(retainedModeErrorNames, retainedModeErrorNameCount, code);
}

void DebugPrint(const char* text) {
  char* buffer = renderContext.messageBuffer;
  const int room = static_cast<int>(sizeof renderContext.messageBuffer);
  // At most room - 2 characters of text, so the newline always survives.
  std::snprintf(buffer, room, "%.*s\n", room - 2, text != nullptr ? text : "");
  OutputDebugStringA(buffer);
}

void ReportDDError(HRESULT code, const char* file, int line) {
  Report("DirectDraw Error %s\nin file %s at line %d", DirectDrawErrorName(code), file, line);
}

void ReportD3DRMError(HRESULT code, const char* file, int line) {
  Report("Direct3D-RM Error : %s\nin file %s at line %d", RetainedModeErrorName(code), file, line);
}

}  // namespace vyn::lumivex
