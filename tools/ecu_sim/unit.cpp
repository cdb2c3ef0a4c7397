#include "unit.h"

#include <algorithm>

namespace ecu_sim {

namespace {

constexpr std::size_t kShortStatusReply = 56;
constexpr std::size_t kLongStatusReply = 72;
// Where the engine speed and the battery voltage sit in the status reply (byte 1 is the code).
constexpr std::size_t kEngineOffset = 1;
constexpr std::size_t kBatteryOffset = 13;
// A wrong access code earns a level no program accepts.
constexpr std::uint16_t kDeniedAccessLevel = 0xFFFF;

UnitReply Answer(Bytes bytes, std::string note) {
  UnitReply reply;
  reply.bytes = std::move(bytes);
  reply.note = std::move(note);
  return reply;
}

void PutBigEndian(Bytes& bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value >> 8);
  bytes[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

std::size_t Unit::status_reply_length() const {
  return IsFastFamily(config_.version) ? kLongStatusReply : kShortStatusReply;
}

UnitReply Unit::Handle(const ParsedRequest& request, const std::optional<std::string>& status) {
  const auto with = [&status](const std::string& own) { return status.value_or(own); };
  switch (request.kind) {
    case 'V':
      return Answer(TextReply('V', config_.version), "version " + config_.version);
    case 'S':
      return Answer(TextReply('S', config_.serial), "serial " + config_.serial);
    case 'W':
      return Answer(TextReply('W', with(config_.prepare_status)), with(config_.prepare_status));
    case 'a':
      return Access(request.bytes);
    case 'd':
      return Status();
    case 'U':
      return Start(request.bytes, status);
    case 'B':
      return Block(request.bytes, status);
    case 'u':
      return Finish(request.bytes, status);
    case '}':
      return Switch(status);
    case 'r':
      return Restart(status);
    default:
      return Answer({}, "not a request");
  }
}

void Unit::Reset() {
  downloading_ = false;
  next_block_ = 0;
  busy_left_ = 0;
}

UnitReply Unit::Status() const {
  // Bytes the program does not read carry a pattern rather than zeros, so that
  // reading the wrong offset shows up as a running engine or a wrong voltage.
  const std::size_t length = status_reply_length();
  Bytes reply(length);
  reply[0] = 'd';
  for (std::size_t i = 1; i + 1 < length; ++i) reply[i] = static_cast<std::uint8_t>(0x30 + i);
  PutBigEndian(reply, kEngineOffset, config_.engine_raw);
  PutBigEndian(reply, kBatteryOffset, config_.battery_raw);
  reply[length - 1] = Checksum(std::span(reply).first(length - 1));
  return Answer(std::move(reply), "status " + std::to_string(length) + " bytes");
}

UnitReply Unit::Access(const Bytes& request) const {
  if (!HasValidChecksum(request)) return Answer({}, "bad checksum, not answered");
  const bool code_ok =
      !config_.access_code ||
      std::equal(config_.access_code->begin(), config_.access_code->end(), request.begin() + 1);
  const std::uint16_t level = code_ok ? config_.access_level : kDeniedAccessLevel;
  return Answer(ValueReply('a', level),
                (code_ok ? "level " : "wrong code, level ") + std::to_string(level));
}

UnitReply Unit::Switch(const std::optional<std::string>& status) const {
  switch (config_.switch_answer) {
    case SwitchAnswer::kBrace:
      return Answer(TextReply('}', status.value_or("OK")), "switch confirmed");
    case SwitchAnswer::kF:
      return Answer(Bytes{'F'}, "F");
    case SwitchAnswer::kNone:
      break;
  }
  return Answer({}, "switch not answered");
}

UnitReply Unit::Restart(const std::optional<std::string>& status) {
  Reset();
  const std::string answer = status.value_or(config_.restart_status);
  return Answer(TextReply('r', answer), "restart " + answer);
}

}  // namespace ecu_sim
