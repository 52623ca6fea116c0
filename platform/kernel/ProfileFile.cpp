#include "kernel/ProfileFile.h"

namespace vyn::kernel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view WithoutByteOrderMark(std::string_view text) {
  constexpr std::string_view mark = "\xEF\xBB\xBF";
  return text.starts_with(mark) ? text.substr(mark.size()) : text;
}

std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// "[name]" (the closing bracket may be missing; anything after it is ignored).
std::string SectionName(std::string_view line) {
  std::string_view inside = line.substr(1);
  size_t close = inside.find(']');
  if (close != std::string_view::npos) inside = inside.substr(0, close);
  return std::string(TrimBlanks(inside));
}

template <typename Item>
bool Listed(const std::vector<std::string>& names, const Item& item) {
  for (const std::string& name : names)
    if (SameProfileName(name, item.name)) return true;
  return false;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameProfileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// Lines before the first header belong to no section and are ignored, as are
// lines without '=' and keys with an empty name.
ProfileFile::ProfileFile(std::string_view text) {
  text = WithoutByteOrderMark(text);
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = TrimBlanks(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      sections_.push_back({SectionName(line), {}});
      continue;
    }
    size_t equals = line.find('=');
    if (sections_.empty() || equals == std::string_view::npos) continue;
    std::string_view name = TrimBlanks(line.substr(0, equals));
    if (name.empty()) continue;
    std::string_view value = WithoutQuotes(TrimBlanks(line.substr(equals + 1)));
    sections_.back().keys.push_back({std::string(name), std::string(value)});
  }
}

const ProfileSection* ProfileFile::FindSection(std::string_view name) const {
  name = TrimBlanks(name);
  for (const ProfileSection& section : sections_)
    if (SameProfileName(section.name, name)) return &section;
  return nullptr;
}

const std::string* ProfileFile::FindValue(std::string_view section, std::string_view key) const {
  const ProfileSection* found = FindSection(section);
  if (found == nullptr) return nullptr;
  key = TrimBlanks(key);
  for (const ProfileKey& entry : found->keys)
    if (SameProfileName(entry.name, key)) return &entry.value;
  return nullptr;
}

std::vector<std::string> ProfileFile::SectionNames() const {
  std::vector<std::string> names;
  for (const ProfileSection& section : sections_)
    if (!Listed(names, section)) names.push_back(section.name);
  return names;
}

std::vector<std::string> ProfileFile::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  if (const ProfileSection* found = FindSection(section))
    for (const ProfileKey& entry : found->keys)
      if (!Listed(names, entry)) names.push_back(entry.name);
  return names;
}

}  // namespace vyn::kernel
