#pragma once

#include <string>

#include "core/result.h"

// Line settings of an open terminal descriptor; `name` is the port's name for
// the errors.
namespace platform::posix {

// Raw 8N1 at 115200: no parity, no flow control of any kind, no character
// translation, reads that never wait (with O_NONBLOCK).
core::Status ConfigureRawLine(int fd, const std::string& name);

// Any positive rate: the standard ones by their constants, others by termios2.
core::Status SetLineBaud(int fd, int baud, const std::string& name);

// Drops DTR and RTS. Pseudo-terminals have no modem lines; that is no error.
core::Status ClearModemLines(int fd, const std::string& name);

}  // namespace platform::posix
