// The yardstick of bench/wine_serial_bench.sh: the least a Windows program
// can do to download over a COM port, with one synchronous handle and no
// event loop. It starts a download with the simulated unit's serial number,
// writes each block of zeros and reads its 4-byte reply at once, and stops.
// Reads wait 1 ms between bytes and 1000 ms in all, as the program's do.
//
//   zek-bench-sync-client.exe PORT BAUD BLOCKS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::uint8_t Checksum(const std::vector<std::uint8_t>& bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum);
}

bool WriteAll(HANDLE port, const std::vector<std::uint8_t>& bytes) {
  DWORD written = 0;
  return ::WriteFile(port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// A read ends 1 ms after the last byte: under load a reply can come in two
// reads, so it is read until whole or until a read comes back empty.
bool ReadReply(HANDLE port, std::size_t length, char letter) {
  std::vector<std::uint8_t> reply(length);
  std::size_t have = 0;
  while (have < length) {
    DWORD got = 0;
    if (!::ReadFile(port, reply.data() + have, static_cast<DWORD>(length - have), &got, nullptr) ||
        got == 0) {
      break;
    }
    have += got;
  }
  if (have != length || reply[0] != static_cast<std::uint8_t>(letter)) {
    std::fprintf(stderr, "no %c reply (%zu bytes)\n", letter, have);
    return false;
  }
  return true;
}

HANDLE OpenPort(const std::string& name, DWORD baud) {
  const std::string path = "\\\\.\\" + name;
  HANDLE port = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (port == INVALID_HANDLE_VALUE) return port;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  ::GetCommState(port, &dcb);
  dcb.BaudRate = baud;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fOutX = dcb.fInX = FALSE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  COMMTIMEOUTS timeouts{1, 0, 1000, 100, 1000};
  if (!::SetCommState(port, &dcb) || !::SetCommTimeouts(port, &timeouts)) {
    ::CloseHandle(port);
    return INVALID_HANDLE_VALUE;
  }
  ::PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
  return port;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zek-bench-sync-client PORT BAUD BLOCKS\n");
    return 2;
  }
  HANDLE port = OpenPort(argv[1], static_cast<DWORD>(std::atol(argv[2])));
  if (port == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  const std::string start = "U123456";
  if (!WriteAll(port, std::vector<std::uint8_t>(start.begin(), start.end())) ||
      !ReadReply(port, 4, 'U')) {
    return 1;
  }
  const int blocks = std::atoi(argv[3]);
  for (int block = 0; block < blocks; ++block) {
    std::vector<std::uint8_t> frame(1026, 0);
    frame[0] = 'B';
    frame[1] = static_cast<std::uint8_t>(block);
    frame.push_back(Checksum(frame));
    if (!WriteAll(port, frame) || !ReadReply(port, 4, 'B')) return 1;
  }
  ::CloseHandle(port);
  return 0;
}
