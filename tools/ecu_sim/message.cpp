#include "message.h"

namespace ecu_sim {

std::uint8_t Checksum(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum & 0xFFu);
}

Bytes ChecksummedReply(char code, std::span<const std::uint8_t> payload) {
  Bytes reply;
  reply.reserve(payload.size() + 2);
  reply.push_back(static_cast<std::uint8_t>(code));
  reply.insert(reply.end(), payload.begin(), payload.end());
  reply.push_back(Checksum(reply));
  return reply;
}

Bytes TextReply(char code, std::string_view text) {
  Bytes payload(text.begin(), text.end());
  return ChecksummedReply(code, payload);
}

Bytes ValueReply(char code, std::uint16_t value) {
  const Bytes payload{static_cast<std::uint8_t>(value >> 8),
                      static_cast<std::uint8_t>(value & 0xFF)};
  return ChecksummedReply(code, payload);
}

bool HasValidChecksum(std::span<const std::uint8_t> message) {
  if (message.empty()) return false;
  return Checksum(message.first(message.size() - 1)) == message.back();
}

}  // namespace ecu_sim
