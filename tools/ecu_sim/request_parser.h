#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "message.h"

namespace ecu_sim {

// One request cut from the byte stream, or a run of bytes no request starts with.
struct ParsedRequest {
  char kind = 0;  // the command letter; 0 for garbage
  Bytes bytes;
};

// Cuts the incoming stream into requests. Requests carry no length field, so the
// command letter decides how many bytes belong to it; start and finish carry the
// serial number this unit handed out, so their length follows from it.
class RequestParser {
 public:
  explicit RequestParser(std::size_t serial_length) : serial_length_(serial_length) {}

  void Append(std::span<const std::uint8_t> bytes);
  // The next complete request or garbage run from the front, if there is one.
  std::optional<ParsedRequest> Next();
  // Bytes of a request that has begun but is not complete yet.
  std::size_t pending() const { return buffer_.size(); }
  void DiscardPending() { buffer_.clear(); }

 private:
  // Length of a request starting with `letter`; 0 when no request starts so.
  std::size_t RequestLength(std::uint8_t letter) const;
  std::optional<ParsedRequest> TakeFront(char kind, std::size_t length);

  std::size_t serial_length_ = 0;
  Bytes buffer_;
};

}  // namespace ecu_sim
