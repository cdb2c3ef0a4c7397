#include "json_value.h"

#include <cstdlib>

namespace {

class Reader {
 public:
  explicit Reader(std::string_view s) : s_(s) {}

  std::optional<JsonValue> Document(std::string* error) {
    auto value = Value();
    Blanks();
    if (value && at_ != s_.size()) Fail("text after the value");
    if (!failed_.empty()) {
      if (error != nullptr) *error = failed_ + " at " + std::to_string(at_);
      return std::nullopt;
    }
    return value;
  }

 private:
  std::optional<JsonValue> Fail(const std::string& why) {
    if (failed_.empty()) failed_ = why;
    return std::nullopt;
  }
  void Blanks() {
    while (at_ < s_.size() &&
           (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r')) {
      ++at_;
    }
  }
  bool Take(char c) {
    Blanks();
    if (at_ < s_.size() && s_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  bool Word(std::string_view w) {
    if (s_.substr(at_, w.size()) != w) return false;
    at_ += w.size();
    return true;
  }

  std::optional<JsonValue> Value() {
    if (++depth_ > 64) return Fail("too deep");
    Blanks();
    if (at_ >= s_.size()) return Fail("no value");
    std::optional<JsonValue> v;
    const char c = s_[at_];
    if (c == '{') {
      v = Object();
    } else if (c == '[') {
      v = Array();
    } else if (c == '"') {
      auto s = String();
      if (s) v = JsonValue{std::move(*s)};
    } else if (Word("null")) {
      v = JsonValue{nullptr};
    } else if (Word("true")) {
      v = JsonValue{true};
    } else if (Word("false")) {
      v = JsonValue{false};
    } else {
      v = Number();
    }
    --depth_;
    return v;
  }

  std::optional<JsonValue> Object() {
    ++at_;
    auto object = std::make_shared<JsonObject>();
    if (Take('}')) return JsonValue{object};
    do {
      Blanks();
      auto key = String();
      if (!key) return Fail("no member name");
      if (!Take(':')) return Fail("no ':'");
      auto value = Value();
      if (!value) return std::nullopt;
      if (!object->emplace(*key, *value).second) return Fail("member twice: " + *key);
    } while (Take(','));
    if (!Take('}')) return Fail("no '}'");
    return JsonValue{object};
  }

  std::optional<JsonValue> Array() {
    ++at_;
    auto array = std::make_shared<JsonArray>();
    if (Take(']')) return JsonValue{array};
    do {
      auto value = Value();
      if (!value) return std::nullopt;
      array->push_back(*value);
    } while (Take(','));
    if (!Take(']')) return Fail("no ']'");
    return JsonValue{array};
  }

  std::optional<JsonValue> Number() {
    const std::size_t from = at_;
    const auto digits = [this] {
      const std::size_t start = at_;
      while (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '9') ++at_;
      return at_ - start;
    };
    if (at_ < s_.size() && s_[at_] == '-') ++at_;
    if (at_ < s_.size() && s_[at_] == '0') {
      ++at_;
    } else if (digits() == 0) {
      return Fail("not a value");
    }
    if (at_ < s_.size() && s_[at_] == '.') {
      ++at_;
      if (digits() == 0) return Fail("no digits after '.'");
    }
    if (at_ < s_.size() && (s_[at_] == 'e' || s_[at_] == 'E')) {
      ++at_;
      if (at_ < s_.size() && (s_[at_] == '+' || s_[at_] == '-')) ++at_;
      if (digits() == 0) return Fail("no exponent digits");
    }
    return JsonValue{std::strtod(std::string(s_.substr(from, at_ - from)).c_str(), nullptr)};
  }

  static void Utf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  std::optional<unsigned> Hex4() {
    if (at_ + 4 > s_.size()) return std::nullopt;
    unsigned code = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = s_[at_++];
      code <<= 4;
      if (c >= '0' && c <= '9') {
        code |= static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        code |= static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        code |= static_cast<unsigned>(c - 'A' + 10);
      } else {
        return std::nullopt;
      }
    }
    return code;
  }

  // The length of a valid UTF-8 sequence of two bytes or more at `at_`, or 0.
  std::size_t Sequence() const {
    const auto b = [this](std::size_t i) {
      return at_ + i < s_.size() ? static_cast<unsigned char>(s_[at_ + i]) : 0u;
    };
    const auto tail = [&](std::size_t i) { return (b(i) & 0xC0) == 0x80; };
    const unsigned lead = b(0);
    if (lead >= 0xC2 && lead <= 0xDF) return tail(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
      const bool bad = (lead == 0xE0 && b(1) < 0xA0) || (lead == 0xED && b(1) > 0x9F);
      return tail(1) && tail(2) && !bad ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
      const bool bad = (lead == 0xF0 && b(1) < 0x90) || (lead == 0xF4 && b(1) > 0x8F);
      return tail(1) && tail(2) && tail(3) && !bad ? 4 : 0;
    }
    return 0;
  }

  std::optional<std::string> String() {
    if (at_ >= s_.size() || s_[at_] != '"') {
      Fail("no string");
      return std::nullopt;
    }
    ++at_;
    std::string out;
    while (at_ < s_.size() && s_[at_] != '"') {
      const auto c = static_cast<unsigned char>(s_[at_]);
      if (c < 0x20) {
        Fail("control character in a string");
        return std::nullopt;
      }
      if (c >= 0x80) {
        const std::size_t n = Sequence();
        if (n == 0) {
          Fail("not UTF-8");
          return std::nullopt;
        }
        out.append(s_.substr(at_, n));
        at_ += n;
        continue;
      }
      ++at_;
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (at_ >= s_.size()) break;
      const char e = s_[at_++];
      static constexpr std::string_view simple = "\"\\/bfnrt";
      static constexpr std::string_view meant = "\"\\/\b\f\n\r\t";
      if (const auto i = simple.find(e); i != std::string_view::npos) {
        out += meant[i];
      } else if (e == 'u') {
        const auto code = Hex4();
        if (!code || (*code >= 0xD800 && *code <= 0xDFFF)) {
          Fail("bad \\u escape");
          return std::nullopt;
        }
        Utf8(out, *code);
      } else {
        Fail("unknown escape");
        return std::nullopt;
      }
    }
    if (at_ >= s_.size()) {
      Fail("unterminated string");
      return std::nullopt;
    }
    ++at_;
    return out;
  }

  std::string_view s_;
  std::size_t at_ = 0;
  int depth_ = 0;
  std::string failed_;
};

}  // namespace

std::optional<JsonValue> ParseJson(std::string_view text, std::string* error) {
  return Reader(text).Document(error);
}
