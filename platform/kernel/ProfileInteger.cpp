#include "kernel/ProfileInteger.h"

#include <limits>

#include "kernel/ProfileFile.h"

namespace vyn::kernel {

std::int32_t ParseProfileInteger(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Accumulated as a magnitude that stops growing once past the range, so
  // any number of digits is safe.
  constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    if (magnitude <= limit) magnitude = magnitude * 10 + (c - '0');
  }
  if (negative) return static_cast<std::int32_t>(magnitude >= limit ? -limit : -magnitude);
  return static_cast<std::int32_t>(magnitude >= limit ? limit - 1 : magnitude);
}

}  // namespace vyn::kernel
