#pragma once

#include <optional>
#include <string>

#include "bridge_io.h"
#include "checks.h"
#include "sysfs_hidraw.h"

namespace vm_guest {

constexpr int kReplyTimeoutMs = 3000;  // a virtual machine without acceleration is slow

// The first line of a file another process writes, once it is there.
std::string WaitFirstLine(const std::string& path, int timeout_ms);
// The one node named `name` whose device is not `except_device`, once there is one.
std::optional<HidrawEntry> WaitForNamed(const std::string& name, const std::string& except_device,
                                        int timeout_ms);
Bytes ReadWholeFile(const std::string& path);
// Why the last write or read on `io` failed.
std::string ErrorText(const BridgeIo& io);
// 1024 bytes that differ from block to block.
Bytes BlockData(unsigned tag);
// 'B', the block number, the data and the checksum.
Bytes BlockRequest(unsigned number, const Bytes& data);

// Sends `request` in one report and checks that `expected` comes back.
bool Exchange(Checks& checks, BridgeIo& io, const Bytes& request, const Bytes& expected);
// Start, `blocks` data blocks, finish; checks every answer and, at the end, that
// the unit wrote exactly the blocks sent to `received`.
void Download(Checks& checks, BridgeIo& io, const std::string& serial, unsigned blocks,
              const std::string& received);

}  // namespace vm_guest
