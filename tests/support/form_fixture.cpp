#include "form_fixture.h"

#include <random>

#include "download/protocol.h"

FormFixture::FormFixture(std::vector<std::string> args) {
  form = std::make_unique<TForm1>(
      Environment{loop, dialogs, serial, std::move(args), (folder / "zekflash").string()});
  form->FormShow();
}

std::vector<std::uint8_t> FormFixture::Reply(const std::string& body) {
  std::vector<std::uint8_t> r(body.begin(), body.end());
  r.push_back(protocol::Checksum(r));
  return r;
}

std::vector<std::uint8_t> FormFixture::StatusReply(int length, unsigned engine_raw,
                                                   unsigned battery_raw) {
  std::vector<std::uint8_t> r(static_cast<std::size_t>(length) - 1, 0);
  r[0] = 'd';
  r[1] = static_cast<std::uint8_t>(engine_raw >> 8);
  r[2] = static_cast<std::uint8_t>(engine_raw & 0xFF);
  r[13] = static_cast<std::uint8_t>(battery_raw >> 8);
  r[14] = static_cast<std::uint8_t>(battery_raw & 0xFF);
  r.push_back(protocol::Checksum(r));
  return r;
}

std::string FormFixture::WriteImage(const std::string& name, const std::string& version, int blocks,
                                    const std::string& finish_wait) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(blocks) * 1024);
  std::mt19937 gen(static_cast<unsigned>(blocks) * 7919u + version.size());
  for (auto& b : bytes) b = static_cast<std::uint8_t>(gen());
  std::copy(version.begin(), version.end(), bytes.begin());
  std::copy(finish_wait.begin(), finish_wait.end(), bytes.begin() + 9);
  const std::uint8_t sum = protocol::Checksum(bytes);
  bytes.push_back(0xEE);  // the first byte of the checksum record takes no part
  bytes.push_back(sum);
  return WriteFile(name, bytes);
}

std::string FormFixture::WriteFile(const std::string& name,
                                   const std::vector<std::uint8_t>& bytes) {
  return dir.write(name, bytes);
}

std::vector<std::vector<std::uint8_t>>& FormFixture::Writes(const std::string& port) {
  return serial.line(port).writes;
}

std::string FormFixture::Letters(const std::string& port) {
  std::string s;
  for (const auto& w : serial.line(port).writes) s += w.empty() ? '?' : static_cast<char>(w[0]);
  return s;
}
