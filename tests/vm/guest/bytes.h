#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Bytes as the virtual machine's checks build and print them, for the guest's
// own checks and for those of platform/: the checksum is computed here, apart
// from the program's, so that a wrong one cannot agree with itself.
namespace vm_guest {

using Bytes = std::vector<std::uint8_t>;

// The message with its checksum (sum modulo 256) appended.
inline Bytes WithChecksum(Bytes message) {
  std::uint8_t sum = 0;
  for (std::uint8_t b : message) sum = static_cast<std::uint8_t>(sum + b);
  message.push_back(sum);
  return message;
}

inline Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

inline std::string Hex(const Bytes& bytes) {
  std::string text;
  for (std::uint8_t b : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X ", b);
    text += hex;
  }
  return text.empty() ? "(nothing)" : text.substr(0, text.size() - 1);
}

}  // namespace vm_guest
