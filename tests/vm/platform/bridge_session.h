#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bytes.h"
#include "platform/hid_device.h"
#include "platform/poll_loop.h"

namespace vm_platform {

using vm_guest::Bytes;
using vm_guest::Hex;
using vm_guest::Text;
using vm_guest::WithChecksum;

// The program's view of the bridge through platform/: requests go out as
// output report 2 ([2, n, bytes]), reply bytes come from the reader's input
// reports ([ID, n, bytes]) on the loop's thread.
class BridgeSession {
 public:
  BridgeSession(platform::PollLoop& loop, std::unique_ptr<platform::HidDevice> device);
  ~BridgeSession();

  platform::HidDevice& device() { return *device_; }
  core::Status send(const Bytes& request);
  // Runs the loop until `count` reply bytes came, a read error came, or
  // `timeout_ms` passed; returns the bytes.
  Bytes receive(std::size_t count, int timeout_ms);
  // Runs the loop until the reader has handed over a read error.
  bool wait_read_error(int timeout_ms);

  const std::vector<core::Error>& read_errors() const { return errors_; }
  bool handlers_on_loop_thread() const { return on_loop_thread_; }

 private:
  platform::PollLoop& loop_;
  std::unique_ptr<platform::HidDevice> device_;
  Bytes received_;
  std::vector<core::Error> errors_;
  bool on_loop_thread_ = true;
};

// Runs the loop until `done` holds or `timeout_ms` passed.
template <class F>
bool RunUntil(platform::PollLoop& loop, F done, int timeout_ms) {
  const std::int64_t give_up = loop.now() + timeout_ms;
  while (!done()) {
    if (loop.now() >= give_up) return false;
    loop.run_once(50);
  }
  return true;
}

std::string Utf8(const std::u16string& text);

}  // namespace vm_platform
