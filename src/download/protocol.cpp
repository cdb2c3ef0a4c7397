#include "download/protocol.h"

#include <algorithm>

#include "core/checksum.h"

namespace download {

namespace {

// The program's own access code, kept as four separate constants so that it
// never stands as one value in the program.
constexpr std::uint8_t access_code_0 = 0x5A;
constexpr std::uint8_t access_code_1 = 0x45;
constexpr std::uint8_t access_code_2 = 0x4B;
constexpr std::uint8_t access_code_3 = 0x21;

Bytes WithText(CommState request, const std::string& text) {
  Bytes b(1 + text.size());
  b[0] = StateLetter(request);
  std::copy(text.begin(), text.end(), b.begin() + 1);
  return b;
}

}  // namespace

Bytes VersionRequest() {
  return {StateLetter(CommState::version)};
}
Bytes SerialRequest() {
  return {StateLetter(CommState::serial_number)};
}
Bytes PrepareRequest() {
  return {StateLetter(CommState::prepare)};
}
Bytes StatusRequest() {
  return {StateLetter(CommState::status)};
}
Bytes SwitchRequest() {
  return {StateLetter(CommState::switch_request), StateLetter(CommState::switch_request)};
}
Bytes RestartRequest() {
  return {StateLetter(CommState::restart), StateLetter(CommState::restart)};
}

Bytes AccessRequest() {
  Bytes b{StateLetter(CommState::access), access_code_0, access_code_1, access_code_2,
          access_code_3};
  b.push_back(core::Checksum(b));
  return b;
}

Bytes StartRequest(const std::string& serial_number) {
  return WithText(CommState::start, serial_number);
}
Bytes FinishRequest(const std::string& serial_number) {
  return WithText(CommState::finish, serial_number);
}

Bytes BlockFrame(std::int32_t block_nr, std::span<const std::uint8_t, block_data_size> data) {
  Bytes b(block_frame_size);
  b[0] = StateLetter(CommState::block);
  b[1] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(block_nr) & 0xFF);
  std::copy(data.begin(), data.end(), b.begin() + 2);
  b[block_frame_size - 1] = core::Checksum(std::span(b).first(block_frame_size - 1));
  return b;
}

int MinimumReplyLength(CommState comm_state, bool fast_baud) {
  switch (comm_state) {
    case CommState::probe:
    case CommState::version:
      return 11;
    case CommState::serial_number:
      return 8;
    case CommState::prepare:
    case CommState::access:
    case CommState::start:
    case CommState::block:
    case CommState::finish:
    case CommState::switch_request:
    case CommState::restart:
      return 4;
    case CommState::status:
    case CommState::status_after_switch:
      return fast_baud ? fast_status_reply_length : status_reply_length;
    default:
      return 0;
  }
}

bool ChecksumHolds(std::span<const std::uint8_t> reply) {
  if (reply.empty()) return false;
  return core::Checksum(reply.first(reply.size() - 1)) == reply.back();
}

std::string PayloadText(std::span<const std::uint8_t> reply) {
  if (reply.size() < 2) return {};
  return std::string(reply.begin() + 1, reply.end() - 1);
}

std::string Status(std::span<const std::uint8_t> reply) {
  if (reply.size() < 3) return {};
  return std::string{static_cast<char>(reply[1]), static_cast<char>(reply[2])};
}

unsigned Word(std::span<const std::uint8_t> reply, std::size_t first_byte_number) {
  // Byte numbers count from 1, the reply code.
  const std::size_t i = first_byte_number - 1;
  if (first_byte_number == 0 || i + 1 >= reply.size()) return 0;
  return static_cast<unsigned>(reply[i]) * 256u + reply[i + 1];
}

long EngineSpeed(std::span<const std::uint8_t> status_reply) {
  return static_cast<long>(Word(status_reply, 2)) * 10;
}

unsigned BatteryRaw(std::span<const std::uint8_t> status_reply) {
  return Word(status_reply, 14);
}

bool BatteryHighEnough(unsigned battery_raw) {
  // raw × 0.25 + 8.0 > 11.0  ⇔  raw > 12, kept in whole numbers.
  return battery_raw > 12;
}

}  // namespace download
