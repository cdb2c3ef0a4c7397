#include <cctype>

#include "platform/windows/internal.h"

namespace platform::windows_os {

std::optional<std::string> ComDevicePath(std::string_view name) {
  if (name.size() < 4 || name.size() > 8) return std::nullopt;
  for (std::size_t i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return std::nullopt;
  }
  const std::string_view number = name.substr(3);
  if (number[0] == '0') return std::nullopt;
  for (char c : number) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  }
  return "\\\\.\\COM" + std::string(number);
}

COMMTIMEOUTS PortTimeouts() {
  COMMTIMEOUTS t{};
  t.ReadIntervalTimeout = 1;
  t.ReadTotalTimeoutMultiplier = 0;
  t.ReadTotalTimeoutConstant = read_wait_ms;
  t.WriteTotalTimeoutMultiplier = 100;
  t.WriteTotalTimeoutConstant = 1000;
  return t;
}

namespace {

void MakeRaw8N1(DCB& dcb) {
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fTXContinueOnXoff = TRUE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.fAbortOnError = FALSE;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  // Unused without XON/XOFF, but the driver refuses equal characters.
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
}

}  // namespace

core::Status SetComLine(HANDLE port, DWORD baud, const std::string& name) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!::GetCommState(port, &dcb)) return WinError("set baud rate", name);
  MakeRaw8N1(dcb);
  dcb.BaudRate = baud;
  if (!::SetCommState(port, &dcb)) return WinError("set baud rate", name);
  DCB now{};
  now.DCBlength = sizeof now;
  if (!::GetCommState(port, &now)) return WinError("set baud rate", name);
  if (now.BaudRate != baud) {
    return core::Error{"set baud rate", name, ERROR_INVALID_PARAMETER,
                       "the port does not take " + std::to_string(baud) + " baud (it runs at " +
                           std::to_string(now.BaudRate) + ")"};
  }
  return core::Ok{};
}

}  // namespace platform::windows_os
