#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

constexpr char16_t replacement = 0xFFFD;

// The code point of the UTF-8 sequence at `at` and its length; a length of 0
// when the bytes there are no well-formed sequence.
std::pair<char32_t, std::size_t> Decode(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t min = 0;
  char32_t cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, min = 0x80, cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, min = 0x800, cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, min = 0x10000, cp = lead & 0x07;
  } else {
    return {0, 0};
  }
  if (text.size() - at < length) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {0, 0};
    cp = (cp << 6) | (byte(i) & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are not UTF-8.
  if (cp < min || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return {0, 0};
  return {cp, length};
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view text, std::size_t limit) {
  std::u16string out;
  for (std::size_t at = 0; at < text.size();) {
    const auto [cp, length] = Decode(text, at);
    at += length == 0 ? 1 : length;
    const char32_t c = length == 0 ? char32_t{replacement} : cp;
    if (c < 0x10000) {
      if (out.size() + 1 > limit) break;
      out.push_back(static_cast<char16_t>(c));
    } else {
      if (out.size() + 2 > limit) break;
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

}  // namespace platform::linux_os
