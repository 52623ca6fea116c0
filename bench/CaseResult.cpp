#include "CaseResult.h"

#include <cstdio>

namespace vyn::bench {

std::string FormatCaseResult(const CaseResult& r) {
  char line[256];
  std::snprintf(line, sizeof line, "RESULT fps=%.3f first_ms=%.3f setup_ms=%.3f peak_kib=%ld frames=%d triangles=%lld",
                r.framesPerSecond, r.firstFrameMs, r.setUpMs, r.peakKiB, r.framesTimed, r.triangles);
  return line;
}

std::optional<CaseResult> ParseCaseResult(const std::string& output) {
  std::size_t at = output.rfind("RESULT ");
  if (at == std::string::npos) return std::nullopt;
  CaseResult r;
  int fields = std::sscanf(output.c_str() + at,
                           "RESULT fps=%lf first_ms=%lf setup_ms=%lf peak_kib=%ld frames=%d triangles=%lld",
                           &r.framesPerSecond, &r.firstFrameMs, &r.setUpMs, &r.peakKiB, &r.framesTimed,
                           &r.triangles);
  if (fields != 6) return std::nullopt;
  return r;
}

}  // namespace vyn::bench
