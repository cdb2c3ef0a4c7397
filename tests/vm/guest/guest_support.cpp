#include "guest_support.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

namespace vm_guest {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollPause = std::chrono::milliseconds(20);
constexpr std::size_t kBlockSize = 1024;

}  // namespace

std::string WaitFirstLine(const std::string& path, int timeout_ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  do {
    std::ifstream file(path);
    std::string line;
    if (std::getline(file, line) && !file.eof()) return line;
    std::this_thread::sleep_for(kPollPause);
  } while (Clock::now() < deadline);
  return {};
}

std::optional<HidrawEntry> WaitForNamed(const std::string& name, const std::string& except_device,
                                        int timeout_ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  do {
    for (HidrawEntry& entry : HidrawWhere(&HidrawEntry::name, name)) {
      if (entry.device != except_device) return std::move(entry);
    }
    std::this_thread::sleep_for(kPollPause);
  } while (Clock::now() < deadline);
  return std::nullopt;
}

Bytes ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string ErrorText(const BridgeIo& io) {
  return std::strerror(io.error_number());
}

Bytes BlockData(unsigned tag) {
  Bytes data(kBlockSize);
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<std::uint8_t>(i * 31 + tag * 7 + (i >> 8));
  }
  return data;
}

Bytes BlockRequest(unsigned number, const Bytes& data) {
  Bytes request{'B', static_cast<std::uint8_t>(number % 256)};
  request.insert(request.end(), data.begin(), data.end());
  return WithChecksum(std::move(request));
}

bool Exchange(Checks& checks, BridgeIo& io, const Bytes& request, const Bytes& expected) {
  const bool written = io.Send(request);
  const Bytes reply = written ? io.Receive(expected.size(), kReplyTimeoutMs) : Bytes();
  std::string what = "request " + Hex(request) + " answered " + Hex(expected);
  what += written ? " (got " + Hex(reply) + ")" : " (not written: " + ErrorText(io) + ")";
  return checks.That(reply == expected, what);
}

void Download(Checks& checks, BridgeIo& io, const std::string& serial, unsigned blocks,
              const std::string& received) {
  if (!Exchange(checks, io, Text("U" + serial), WithChecksum(Text("UOK")))) return;
  Bytes sent;
  for (unsigned n = 0; n < blocks; ++n) {
    const Bytes data = BlockData(n);
    sent.insert(sent.end(), data.begin(), data.end());
    const std::string what = "block " + std::to_string(n);
    if (!checks.That(io.SendInPieces(BlockRequest(n, data)), what + " written in 21 reports")) {
      return;
    }
    const Bytes reply = io.Receive(4, kReplyTimeoutMs);
    if (!checks.That(reply == WithChecksum(Text("BOK")), what + " answered OK")) return;
  }
  if (!Exchange(checks, io, Text("u" + serial), WithChecksum(Text("uOK")))) return;
  checks.That(ReadWholeFile(received) == sent,
              "the unit holds the " + std::to_string(blocks) + " blocks sent, byte for byte");
}

}  // namespace vm_guest
