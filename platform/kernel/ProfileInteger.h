// The number in a profile value, as GetPrivateProfileIntA reads it: leading
// blanks, an optional sign, then decimal digits; whatever follows the digits
// is ignored, and text without digits reads as 0. A number beyond the signed
// 32-bit range is held at its nearest end (2147483647 or -2147483648), so an
// absurdly large setting stays large instead of wrapping round.
#pragma once

#include <cstdint>
#include <string_view>

namespace vyn::kernel {

std::int32_t ParseProfileInteger(std::string_view text);

}  // namespace vyn::kernel
