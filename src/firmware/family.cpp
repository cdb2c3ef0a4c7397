#include "firmware/family.h"

#include "texts/texts.h"

namespace firmware {

namespace {

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

Family Serial(int rule, PortKind port) {
  return Family{.rule = rule, .supported = true, .link_kind = Link::serial, .port = port};
}

// The table's rules in order; the first that applies wins, so "5E" is rule 4.
Family Classify(std::string_view code) {
  if (code.size() < 2) return Family{};
  const char first = code[0];
  const char second = code[1];
  if (first == '3' && second == 'M') return Serial(1, PortKind::rs232);
  if (second == 'D' || second == 'F' || second == 'I') return Serial(2, PortKind::rs232);
  if ((first == '4' || FastFamily(code)) && second == 'M') {
    return Serial(3, PortKind::rs232_over_usb);
  }
  if (second == 'E') return Serial(4, PortKind::rs232_over_usb);
  if (first == '5' && second == 'M') {
    return Family{.rule = 5, .supported = true, .link_kind = Link::hid, .port = PortKind::none};
  }
  return Family{};
}

}  // namespace

bool FastFamily(std::string_view code) {
  return !code.empty() && (code.front() == '6' || code.front() == '8');
}

Family FamilyOfImage(std::string_view version) {
  Family family = Classify(version);
  family.fast_baud = family.supported && FastFamily(version);
  return family;
}

// A fast unit talks at 921600 whichever file reaches it: a "6D" or "8F" unit
// spoken to at 115200 never answers.
Family FamilyOfScriptImage(std::string_view image_name) {
  return FamilyOfImage(NamePart(image_name));
}

bool IsScriptPath(std::string_view path) {
  if (path.size() < 3) return false;
  return Upper(path[path.size() - 3]) == 'F' && Upper(path.back()) == '1';
}

std::optional<std::string> UnitKindTitle(std::string_view path) {
  if (path.size() < 2) return std::nullopt;
  const char kind = Upper(path[path.size() - 2]);
  for (const auto& [letter, title] : texts::unit_kind_titles) {
    if (letter == kind) return std::string(title);
  }
  return std::nullopt;
}

const std::vector<FileFilter>& OpenDialogFilters() {
  static const std::vector<FileFilter> filters = [] {
    std::vector<FileFilter> all;
    for (const auto& [name, patterns] : texts::open_file_filters) all.push_back({name, patterns});
    return all;
  }();
  return filters;
}

std::string NamePart(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace firmware
