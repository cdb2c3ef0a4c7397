#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fake_serial.h"

// A unit at the far end of the fake serial system, answering each request
// written on its port as a healthy unit would unless told otherwise.
struct PlayedUnit {
  std::string port = "COM1";
  std::string version = "3M0100002";
  std::string serial = "123456";
  unsigned access_level = 2;
  unsigned engine_raw = 0;
  unsigned battery_raw = 56;
  std::string start_status = "OK";
  std::string finish_status = "OK";
  std::string restart_status = "OK";  // also what it reports after a power cycle
  bool silent = false;
  // After a power cycle the unit reports back by itself: when nothing else is
  // due, the technician takes this long to switch it off and on.
  int power_cycle_ms = 2000;
  int delay_ms = 5;                    // how long an answer takes, where the driver moves the clock
  std::vector<std::uint8_t> received;  // the data of every block, in order

  // The reply to `request`, or nothing.
  std::vector<std::uint8_t> Answer(const std::vector<std::uint8_t>& request);
  // Answers at once, in order, every request written on its port since the last call,
  // keeping the data of the blocks.
  void AnswerWritten(FakeSerial& serial_system);

 private:
  std::size_t answered_ = 0;
};
