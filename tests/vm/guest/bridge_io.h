#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "bytes.h"

namespace vm_guest {

// The program's side of the bridge, on its hidraw node: requests go out in
// output report 2 as [2, n, n bytes, zeros] (65 bytes written); replies come
// back in input reports as [ID, n, n bytes, ...].
class BridgeIo {
 public:
  explicit BridgeIo(const std::string& node);
  ~BridgeIo();
  BridgeIo(const BridgeIo&) = delete;
  BridgeIo& operator=(const BridgeIo&) = delete;

  bool ok() const { return fd_ >= 0; }
  // One output report; false with `error_number` set when it was not written.
  bool Send(std::span<const std::uint8_t> payload);
  // A data block request as the program sends it: 20 pieces of 50 bytes and one
  // of 27, 10 ms apart. False at the first piece not written.
  bool SendInPieces(const Bytes& request);
  // Reply bytes from input reports until `count` came or `timeout_ms` passed.
  Bytes Receive(std::size_t count, int timeout_ms);
  // True when the device goes away within `timeout_ms` (the node reports a hang-up).
  bool SeesUnplug(int timeout_ms);

  int error_number() const { return error_number_; }
  unsigned reports_received() const { return reports_received_; }
  // A report that broke the layout, e.g. a count byte beyond the report; empty if none.
  const std::string& layout_problem() const { return layout_problem_; }

 private:
  void TakeReport(const std::uint8_t* report, std::size_t size, Bytes& into);

  int fd_ = -1;
  int error_number_ = 0;
  unsigned reports_received_ = 0;
  std::string layout_problem_;
};

}  // namespace vm_guest
