#include "batch/printable.h"

namespace batch {

std::string Printable(std::string_view text) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b <= 0x7E) {
      out += c;
      continue;
    }
    out += "\\x";
    out += hex[b >> 4];
    out += hex[b & 0x0F];
  }
  return out;
}

std::string OneLine(std::string_view text) {
  std::string joined;
  bool in_break = false;
  for (const char c : text) {
    const bool line_break = c == '\r' || c == '\n';
    if (line_break && !in_break) joined += ' ';
    if (!line_break) joined += c;
    in_break = line_break;
  }
  return Printable(joined);
}

}  // namespace batch
