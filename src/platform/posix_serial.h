#pragma once

#include <memory>
#include <string>

#include "platform/serial_port.h"

namespace platform {

// The terminal devices of a Linux system whose tty class lives at `sysfs_tty`
// (normally /sys/class/tty). Extra port names come from the environment
// variable ZEKFLASH_PORTS.
std::unique_ptr<SerialSystem> MakePosixSerial(std::string sysfs_tty);

}  // namespace platform
