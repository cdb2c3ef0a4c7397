#pragma once

#include <string>
#include <vector>

#include "form_fixture.h"

// A window talking to a unit on COM1 over the serial link, on virtual time.
struct Conversation : FormFixture {
  Conversation() {
    serial.add_port("COM1");
    form->link_kind = firmware::Link::serial;
    EXPECT_TRUE(form->EnsurePortOpen());
  }
  // Bytes from the unit, as one arrival.
  void Feed(const std::vector<std::uint8_t>& bytes) { serial.feed("COM1", bytes); }
  void Feed(const std::string& bytes) { serial.feed("COM1", bytes); }
  // Whether the dispatcher reported a link error: link timers stopped, error handling armed.
  bool LinkErrorReported() const {
    return form->next_action == NextAction::handle_comm_error && form->Timer4.enabled() &&
           !form->Timer2.enabled();
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> t;
    for (const auto& b : dialogs.boxes) t.push_back(b.text);
    return t;
  }
};
