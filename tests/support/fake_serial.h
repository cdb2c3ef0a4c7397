#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/manual_loop.h"
#include "platform/serial_port.h"

// A serial system in memory. Each port name has a line: what the program wrote
// is kept per port, and bytes fed in are queued and signalled on the manual loop
// (each port has its own made-up descriptor).
class FakeSerial : public platform::SerialSystem {
 public:
  struct Line {
    int fd = 0;
    bool open = false;
    int baud = 0;
    std::vector<int> bauds_set;                     // every set_baud, in order
    std::vector<std::vector<std::uint8_t>> writes;  // every write, in order
    std::vector<int> write_timeouts_ms;             // the time-out of each write
    std::deque<std::uint8_t> input;
    int discards = 0;
    bool gone = false;
  };

  explicit FakeSerial(core::ManualLoop& loop) : loop_(loop) {}

  core::Result<std::unique_ptr<platform::SerialDevice>> open(const std::string& name) override;
  core::Result<std::vector<std::string>> list_ports() override;

  // Adds a port that can be opened.
  void add_port(const std::string& name);
  // Queues bytes from the unit on `name` and signals the loop.
  void feed(const std::string& name, const std::vector<std::uint8_t>& bytes);
  void feed(const std::string& name, const std::string& bytes);
  // The device goes away: reads fail and the loop is signalled.
  void pull(const std::string& name);
  Line& line(const std::string& name) { return lines_.at(name); }
  const Line& line(const std::string& name) const { return lines_.at(name); }
  // How many writes were made so far, on every port: the index of the next.
  int write_count() const { return write_index_; }
  bool has_line(const std::string& name) const { return lines_.count(name) != 0; }
  // Every write on every port, in order, with the port's name.
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> all_writes;
  // Called at each write, before it returns: a test can look at the program's
  // state at the moment a request goes out.
  std::function<void(const std::string& port, const std::vector<std::uint8_t>& bytes)> on_write;

  std::vector<std::string> ports_listed;  // what list_ports answers
  bool list_fails = false;
  std::set<std::string> refuse_open;  // names whose open fails although present
  int short_write_at = -1;            // the write with this index (0-based) writes one byte less
  int fail_write_at = -1;             // the write with this index writes nothing and fails
  int failing_reads = 0;              // so many next reads fail, losing what was waiting
  std::vector<std::string> open_log;  // every open attempt, in order
  // Operations ("open", "set baud rate", "write") that fail on every port with
  // this code and text, as the system would report them.
  std::map<std::string, std::pair<int, std::string>> failing;

 private:
  core::ManualLoop& loop_;
  std::map<std::string, Line> lines_;
  int next_fd_ = 1000;
  int write_index_ = 0;
  std::optional<core::Error> failure(const std::string& operation, const std::string& name) const;
  friend class FakeSerialDevice;
};
