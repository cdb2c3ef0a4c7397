#include "request_parser.h"

namespace ecu_sim {

namespace {

constexpr std::size_t kBlockRequestLength = 1027;
constexpr std::size_t kAccessRequestLength = 6;

bool IsDoubledLetter(std::uint8_t letter) {
  return letter == '}' || letter == 'r';
}

}  // namespace

void RequestParser::Append(std::span<const std::uint8_t> bytes) {
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::size_t RequestParser::RequestLength(std::uint8_t letter) const {
  switch (letter) {
    case 'V':
    case 'S':
    case 'W':
    case 'd':
      return 1;
    case 'a':
      return kAccessRequestLength;
    case 'U':
    case 'u':
      return 1 + serial_length_;
    case 'B':
      return kBlockRequestLength;
    case '}':
    case 'r':
      return 2;
    default:
      return 0;
  }
}

std::optional<ParsedRequest> RequestParser::TakeFront(char kind, std::size_t length) {
  ParsedRequest request{kind, Bytes(buffer_.begin(), buffer_.begin() + length)};
  buffer_.erase(buffer_.begin(), buffer_.begin() + length);
  return request;
}

std::optional<ParsedRequest> RequestParser::Next() {
  if (buffer_.empty()) return std::nullopt;
  const std::uint8_t letter = buffer_.front();
  const std::size_t length = RequestLength(letter);
  if (length == 0) {
    std::size_t run = 1;
    while (run < buffer_.size() && RequestLength(buffer_[run]) == 0) ++run;
    return TakeFront(0, run);
  }
  // "}}" and "rr" are the letter twice; a single one followed by anything else is noise.
  if (IsDoubledLetter(letter) && buffer_.size() >= 2 && buffer_[1] != letter) {
    return TakeFront(0, 1);
  }
  if (buffer_.size() < length) return std::nullopt;
  return TakeFront(static_cast<char>(letter), length);
}

}  // namespace ecu_sim
