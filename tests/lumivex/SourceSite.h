// Reads the rendering layer's own source to check that a report names a real
// call site: the file exists under Direct3d/ and the reported line holds a
// report of the expected kind.
#pragma once

#include <cstdlib>
#include <fstream>
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
  const std::string fileMark = "\nin file ";
  const std::string lineMark = " at line ";
  if (text.rfind(prefix, 0) != 0 || text.empty() || text.back() != '\n') return false;
  const size_t fileAt = text.find(fileMark, prefix.size());
  if (fileAt == std::string::npos) return false;
  const size_t lineAt = text.rfind(lineMark);
  if (lineAt == std::string::npos || lineAt < fileAt + fileMark.size()) return false;
  const std::string number = text.substr(lineAt + lineMark.size(),
                                         text.size() - 1 - lineAt - lineMark.size());
  if (number.empty() || number.find_first_not_of("-0123456789") != std::string::npos)
    return false;
  site.name = text.substr(prefix.size(), fileAt - prefix.size());
  site.file = text.substr(fileAt + fileMark.size(), lineAt - fileAt - fileMark.size());
  site.line = std::stoi(number);
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
