#pragma once

#include <memory>

#include "platform/serial_port.h"

namespace platform {

// The operating system's serial devices.
std::unique_ptr<SerialSystem> MakeSystemSerial();

}  // namespace platform
