#include "batch/json_events.h"

#include <cstdio>

namespace batch {

namespace {

// The length of the valid UTF-8 sequence at the start of `s`, or 0 when there is none.
std::size_t Utf8Length(std::string_view s) {
  const auto b = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const auto tail = [&](std::size_t i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
  const unsigned char lead = b(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return tail(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!tail(1) || !tail(2)) return 0;
    // Neither an overlong form nor a surrogate.
    if ((lead == 0xE0 && b(1) < 0xA0) || (lead == 0xED && b(1) > 0x9F)) return 0;
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!tail(1) || !tail(2) || !tail(3)) return 0;
    if ((lead == 0xF0 && b(1) < 0x90) || (lead == 0xF4 && b(1) > 0x8F)) return 0;
    return 4;
  }
  return 0;
}

std::string Escaped(unsigned char b) {
  switch (b) {
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default:
      break;
  }
  char text[8];
  std::snprintf(text, sizeof text, "\\u%04x", b);
  return text;
}

std::string List(const std::vector<std::string>& items) {
  std::string list = "[";
  for (const std::string& item : items) list += (list.size() > 1 ? "," : "") + JsonString(item);
  return list + "]";
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t n = Utf8Length(text.substr(i));
    const bool plain = n > 1 || (n == 1 && b >= 0x20 && b != 0x7F && b != '"' && b != '\\');
    if (plain) {
      json.append(text.substr(i, n));
      i += n;
    } else {
      json += Escaped(b);
      ++i;
    }
  }
  return json + '"';
}

void JsonEvents::Panel(std::string_view name, const std::vector<std::string>& lines,
                       const std::vector<std::string>& buttons) {
  out_ << R"({"event":"panel","name":)" << JsonString(name) << R"(,"lines":)" << List(lines)
       << R"(,"buttons":)" << List(buttons) << "}\n"
       << std::flush;
}

void JsonEvents::Box(std::string_view kind, std::string_view text, std::string_view answer) {
  out_ << R"({"event":"box","kind":)" << JsonString(kind) << R"(,"text":)" << JsonString(text)
       << R"(,"answer":)" << JsonString(answer) << "}\n"
       << std::flush;
}

void JsonEvents::Press(std::string_view button) {
  out_ << R"({"event":"press","button":)" << JsonString(button) << "}\n" << std::flush;
}

void JsonEvents::File(std::string_view name, std::string_view version) {
  out_ << R"({"event":"file","name":)" << JsonString(name) << R"(,"version":)"
       << JsonString(version) << "}\n"
       << std::flush;
}

void JsonEvents::Unit(std::string_view version, std::string_view serial) {
  out_ << R"({"event":"unit","version":)" << JsonString(version) << R"(,"serial":)"
       << JsonString(serial) << "}\n"
       << std::flush;
}

void JsonEvents::Progress(int block, int blocks, std::optional<double> rate,
                          std::optional<std::int64_t> seconds_left) {
  out_ << R"({"event":"progress","block":)" << block << R"(,"blocks":)" << blocks << R"(,"rate":)"
       << (rate ? Number(*rate) : "null") << R"(,"seconds_left":)"
       << (seconds_left ? std::to_string(*seconds_left) : "null") << "}\n"
       << std::flush;
}

void JsonEvents::End(int exit_status, std::string_view reason) {
  out_ << R"({"event":"end","exit_status":)" << exit_status << R"(,"reason":)" << JsonString(reason)
       << "}\n"
       << std::flush;
}

}  // namespace batch
