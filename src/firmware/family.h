#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Family codes (the first two characters of a version text or of an image name
// in a script) choose the link to the unit and the port it is set up on.
namespace firmware {

enum class PortKind { none = 0, rs232 = 1, rs232_over_usb = 2 };

// The link a download runs over.
enum class Link { none = 0, serial = 1, hid = 2 };

struct Family {
  int rule = 6;                    // 1 … 6, the first rule of the table that applied
  bool supported = false;          // rules 1 to 5
  Link link_kind = Link::none;     // none when not supported
  PortKind port = PortKind::none;  // port configuration for the serial rules
  bool fast_baud = false;          // 921600 baud and the long status reply
};

// Whether a code names a fast family: its first character is "6" or "8". Its
// units talk at 921600 baud, send the long status reply, and an image for them
// carries a finish wait.
bool FastFamily(std::string_view code);

// A kind of file the open dialog offers: its description and its name patterns.
struct FileFilter {
  std::string description;
  std::string pattern;
};

// The family of a code's first two characters; a code shorter than two
// characters is not supported. An unsupported family has no link, port or fast rate.
// For a firmware image: fast for every supported fast family.
Family FamilyOfImage(std::string_view version);
// For an image named in a script: the family of its file's own name (a folder in
// front of it does not count), fast as for an image.
Family FamilyOfScriptImage(std::string_view image_name);

// A download script when, upper-cased, the third character from the end is "F"
// and the last is "1"; every other name is a firmware image.
bool IsScriptPath(std::string_view path);

// The unit-kind title for the second-to-last character of `path`, upper-cased, if it names one.
std::optional<std::string> UnitKindTitle(std::string_view path);

// The file-open dialog's filters, in order; the first is selected.
const std::vector<FileFilter>& OpenDialogFilters();

// The name part of a path: after the last "\" or "/", or the whole path.
std::string NamePart(std::string_view path);

}  // namespace firmware
