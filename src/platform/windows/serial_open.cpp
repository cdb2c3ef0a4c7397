#include "platform/windows/internal.h"

namespace platform::windows_os {

namespace {

constexpr DWORD input_queue = 1024;
constexpr DWORD output_queue = 2048;

core::Error OpenError(const std::string& name, DWORD code) {
  // Windows answers a port held by another program with "access denied".
  if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION) {
    return core::Error{"open", name, static_cast<int>(code),
                       "the port is in use by another program"};
  }
  return WinError("open", name, code);
}

}  // namespace

core::Result<UniqueHandle> OpenComPort(const std::string& name) {
  const std::optional<std::string> path = ComDevicePath(name);
  if (!path) return core::Error{"open", name, ERROR_FILE_NOT_FOUND, "not a serial port name"};
  UniqueHandle port(::CreateFileA(path->c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
  if (!port.valid()) return OpenError(name, ::GetLastError());
  if (!::SetupComm(port.get(), input_queue, output_queue)) return WinError("configure", name);
  core::Status line = SetComLine(port.get(), CBR_115200, name);
  if (!line) return line.error();
  COMMTIMEOUTS timeouts = PortTimeouts();
  if (!::SetCommTimeouts(port.get(), &timeouts)) return WinError("configure", name);
  if (!::PurgeComm(port.get(), PURGE_RXCLEAR | PURGE_TXCLEAR)) return WinError("configure", name);
  return port;
}

}  // namespace platform::windows_os
