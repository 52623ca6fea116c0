// Reads the rendering layer's own source to check that a report names a real
// call site: the file exists under Direct3d/ and the reported line holds a
// report of the expected kind.
#pragma once

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>

namespace vyn::lumivex::test {

struct ReportedSite {
  std::string name;  // the code's name as printed
  std::string file;
  int line = 0;
};

// Splits "<prefix><name>\nin file <file> at line <n>\n"; false when the text
// has another form.
inline bool ParseReport(const std::string& text, const std::string& prefix, ReportedSite& site) {
  const std::regex form(prefix + "(.+)\nin file (.+) at line (-?[0-9]+)\n");
  std::smatch match;
  if (!std::regex_match(text, match, form)) return false;
  site.name = match[1];
  site.file = match[2];
  site.line = std::stoi(match[3]);
  return true;
}

// Line `line` (from 1) of Direct3d/<file> in the source tree, or "" when the
// file or line does not exist.
inline std::string SourceLine(const std::string& file, int line) {
  const char* root = std::getenv("VYN_SOURCE_DIR");
  std::ifstream in(std::string(root != nullptr ? root : VYN_LUMIVEX_SOURCE_DIR) + "/Direct3d/" + file);
  std::string text;
  for (int i = 1; std::getline(in, text); ++i)
    if (i == line) return text;
  return "";
}

}  // namespace vyn::lumivex::test
