// A profile (INI) file, read the way the Windows profile functions read one:
// "[section]" headers and "key=value" lines, names compared without case,
// blanks around names and values ignored, LF or CRLF line ends, a UTF-8
// byte-order mark skipped, lines starting with ';' ignored, and the first of
// duplicate sections or keys the one that counts. A value wrapped in a
// matching pair of double or single quotes loses them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vyn::kernel {

struct ProfileKey {
  std::string name;
  std::string value;
};

struct ProfileSection {
  std::string name;
  std::vector<ProfileKey> keys;
};

class ProfileFile {
 public:
  ProfileFile() = default;
  explicit ProfileFile(std::string_view text);

  // The first section of that name, or null.
  const ProfileSection* FindSection(std::string_view name) const;
  // The value of the first such key in the first such section, or null.
  const std::string* FindValue(std::string_view section, std::string_view key) const;

  // Names in file order, each once, spelt as at their first appearance.
  std::vector<std::string> SectionNames() const;
  std::vector<std::string> KeyNames(std::string_view section) const;

 private:
  std::vector<ProfileSection> sections_;
};

// Case-insensitive comparison of ASCII names, as the profile functions use.
bool SameProfileName(std::string_view a, std::string_view b);

// The text without the blanks around it.
std::string_view TrimBlanks(std::string_view text);

}  // namespace vyn::kernel
