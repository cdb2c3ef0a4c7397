#include "played_unit.h"

#include "test_image.h"

PlayedUnit::Bytes PlayedUnit::Sealed(Bytes body) {
  body.push_back(SumOf(body));
  return body;
}

PlayedUnit::Bytes PlayedUnit::Sealed(const std::string& body) {
  return Sealed(Bytes(body.begin(), body.end()));
}

PlayedUnit::Bytes PlayedUnit::StatusReply(int length, unsigned engine_raw, unsigned battery_raw) {
  Bytes r(static_cast<std::size_t>(length) - 1, 0);
  r[0] = 'd';
  r[1] = static_cast<std::uint8_t>(engine_raw >> 8);
  r[2] = static_cast<std::uint8_t>(engine_raw & 0xFF);
  r[13] = static_cast<std::uint8_t>(battery_raw >> 8);
  r[14] = static_cast<std::uint8_t>(battery_raw & 0xFF);
  return Sealed(std::move(r));
}

bool PlayedUnit::Fast(const std::string& version_or_family) {
  return !version_or_family.empty() && (version_or_family[0] == '6' || version_or_family[0] == '8');
}

PlayedUnit::Bytes PlayedUnit::Answer(const Bytes& request) {
  if (request.empty()) return {};
  switch (request[0]) {
    case 'V':
      return Sealed("V" + version);
    case 'S':
      return Sealed("S" + serial);
    case 'W':
      return Sealed("WOK");
    case 'a':
      return Sealed(Bytes{'a', static_cast<std::uint8_t>(access_level >> 8),
                          static_cast<std::uint8_t>(access_level & 0xFF)});
    case 'd':
      return StatusReply(Fast(version) ? 72 : 56, engine_raw, battery_raw);
    case 'U':
      return Sealed("U" + start_status);
    case 'B':
      if (request.size() > 3)
        received.insert(received.end(), request.begin() + 2, request.end() - 1);
      return Sealed("BOK");
    case 'u':
      return Sealed("u" + finish_status);
    case '}':
      return Sealed("}OK");
    case 'r':
      return Report();
    default:
      return {};
  }
}

void PlayedUnit::AnswerWritten(FakeSerial& serial_system) {
  const auto& writes = serial_system.line(port).writes;
  while (answered_ < writes.size()) {
    // A copy: feeding the reply may make the program write again.
    const auto request = writes[answered_++];
    if (silent) continue;
    const auto reply = Answer(request);
    if (!reply.empty()) serial_system.feed(port, reply);
  }
}
