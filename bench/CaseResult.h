// The figures of one case on one renderer, and the one-line form in which a
// child process hands them to the parent.
#pragma once

#include <optional>
#include <string>

namespace vyn::bench {

struct CaseResult {
  double framesPerSecond = 0.0;
  double firstFrameMs = 0.0;   // from the spawn of the process to the first presented frame
  double setUpMs = 0.0;        // from the start of the case in the process to the first presented frame
  long peakKiB = -1;           // VmHWM after the last frame
  int framesTimed = 0;
  long long triangles = 0;     // triangles of the mesh (two per four-cornered face)
};

// "RESULT fps=... first_ms=... setup_ms=... peak_kib=... frames=... triangles=..."
std::string FormatCaseResult(const CaseResult& result);
// The result from a child's output, found on the line that starts with RESULT.
std::optional<CaseResult> ParseCaseResult(const std::string& output);

}  // namespace vyn::bench
