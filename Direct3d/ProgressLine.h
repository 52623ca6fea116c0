// Progress lines that carry values ("KVR:Viewport width:%d height:%d\n").
#pragma once

namespace vyn::lumivex {

// Formats one line into a 200-character buffer and writes it to the debugger
// output. A line too long for the buffer (a very long device name) is cut
// short but still ends with its newline.
[[gnu::format(printf, 1, 2)]] void WriteProgressLine(const char* format, ...);

}  // namespace vyn::lumivex
