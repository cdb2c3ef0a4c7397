#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fake_serial.h"

// A unit at the far end of the fake serial system, answering each request
// written on its port as a healthy unit would unless told otherwise. The unit
// tests and the window checker both play it. It builds its replies by itself
// and sums them with the tests' own sum, never with the program's code: a wrong
// sum in the program must not pass because the unit made the same mistake.
struct PlayedUnit {
  using Bytes = std::vector<std::uint8_t>;

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
  int delay_ms = 5;  // how long an answer takes, where the driver moves the clock
  Bytes received;    // the data of every block, in order

  // The bytes given, then their sum: a message as the unit sends it.
  static Bytes Sealed(Bytes body);
  static Bytes Sealed(const std::string& body);
  // A status reply of `length` bytes with the given engine and battery raw values.
  static Bytes StatusReply(int length, unsigned engine_raw, unsigned battery_raw);
  // Units of the families beginning with 6 or 8 talk at 921600 baud and send
  // the long status reply.
  static bool Fast(const std::string& version_or_family);

  // The reply to `request`, or nothing.
  Bytes Answer(const Bytes& request);
  // What it reports by itself after a power cycle.
  Bytes Report() const { return Sealed("r" + restart_status); }
  // Answers at once, in order, every request written on its port since the last call,
  // keeping the data of the blocks.
  void AnswerWritten(FakeSerial& serial_system);

 private:
  std::size_t answered_ = 0;
};
