#include "played_unit.h"

#include "form_fixture.h"

std::vector<std::uint8_t> PlayedUnit::Answer(const std::vector<std::uint8_t>& request) {
  if (request.empty()) return {};
  switch (request[0]) {
    case 'V':
      return FormFixture::Reply("V" + version);
    case 'S':
      return FormFixture::Reply("S" + serial);
    case 'a':
      return FormFixture::Reply(std::string("a") + static_cast<char>(access_level >> 8) +
                                static_cast<char>(access_level & 0xFF));
    case 'd': {
      const bool fast = !version.empty() && (version[0] == '6' || version[0] == '8');
      return FormFixture::StatusReply(fast ? 72 : 56, engine_raw, battery_raw);
    }
    case 'U':
      return FormFixture::Reply("U" + start_status);
    case 'B':
      received.insert(received.end(), request.begin() + 2, request.end() - 1);
      return FormFixture::Reply("BOK");
    case 'u':
      return FormFixture::Reply("u" + finish_status);
    case '}':
      return FormFixture::Reply("}OK");
    case 'r':
      return FormFixture::Reply("r" + restart_status);
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
