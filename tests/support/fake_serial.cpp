#include "fake_serial.h"

#include <algorithm>

class FakeSerialDevice : public platform::SerialDevice {
 public:
  FakeSerialDevice(FakeSerial& sys, std::string name) : sys_(sys), name_(std::move(name)) {}
  ~FakeSerialDevice() override { line().open = false; }

  core::Status set_baud(int baud) override {
    if (auto e = sys_.failure("set baud rate", name_)) return *e;
    line().baud = baud;
    line().bauds_set.push_back(baud);
    return core::Ok{};
  }
  core::Status write_all(std::span<const std::uint8_t> bytes, int timeout_ms) override {
    line().write_timeouts_ms.push_back(timeout_ms);
    if (auto e = sys_.failure("write", name_)) return *e;
    if (line().gone) return core::Error{"write", name_, 5, "Input/output error"};
    if (sys_.write_index_ == sys_.fail_write_at) {
      sys_.fail_write_at = -1;
      return core::Error{"write", name_, 5, "Input/output error"};
    }
    std::vector<std::uint8_t> w(bytes.begin(), bytes.end());
    const bool short_write = sys_.write_index_++ == sys_.short_write_at;
    if (short_write && !w.empty()) w.pop_back();
    line().writes.push_back(w);
    sys_.all_writes.emplace_back(name_, w);
    if (sys_.on_write) sys_.on_write(name_, w);
    if (short_write) return core::Error{"write", name_, 0, "short write"};
    return core::Ok{};
  }
  core::Result<std::size_t> bytes_waiting() override {
    if (line().gone && line().input.empty()) {
      return core::Error{"read", name_, 5, "Input/output error"};
    }
    return line().input.size();
  }
  core::Result<std::size_t> read(std::span<std::uint8_t> into) override {
    if (line().gone && line().input.empty()) {
      return core::Error{"read", name_, 5, "Input/output error"};
    }
    if (sys_.failing_reads > 0) {
      --sys_.failing_reads;
      line().input.clear();
      return core::Error{"read", name_, 5, "Input/output error"};
    }
    const std::size_t n = std::min(into.size(), line().input.size());
    for (std::size_t i = 0; i < n; ++i) {
      into[i] = line().input.front();
      line().input.pop_front();
    }
    return n;
  }
  core::Status discard() override {
    line().input.clear();
    ++line().discards;
    return core::Ok{};
  }
  core::Waitable readable_handle() const override { return sys_.lines_.at(name_).fd; }

 private:
  FakeSerial::Line& line() { return sys_.lines_.at(name_); }
  FakeSerial& sys_;
  std::string name_;
};

core::Result<std::unique_ptr<platform::SerialDevice>> FakeSerial::open(const std::string& name) {
  open_log.push_back(name);
  auto it = lines_.find(name);
  if (it == lines_.end() || refuse_open.count(name) != 0) {
    return core::Error{"open", name, 2, "No such file or directory"};
  }
  if (it->second.open) return core::Error{"open", name, 16, "Device or resource busy"};
  if (auto e = failure("open", name)) return *e;
  it->second.open = true;
  it->second.gone = false;
  it->second.baud = 115200;
  it->second.input.clear();
  return std::unique_ptr<platform::SerialDevice>(new FakeSerialDevice(*this, name));
}

core::Result<std::vector<std::string>> FakeSerial::list_ports() {
  if (list_fails) return core::Error{"list ports", "", 13, "Permission denied"};
  return ports_listed;
}

std::optional<core::Error> FakeSerial::failure(const std::string& operation,
                                               const std::string& name) const {
  const auto it = failing.find(operation);
  if (it == failing.end()) return std::nullopt;
  return core::Error{operation, name, it->second.first, it->second.second};
}

void FakeSerial::add_port(const std::string& name) {
  if (lines_.count(name) != 0) return;
  lines_[name].fd = next_fd_++;
}

void FakeSerial::feed(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  Line& l = lines_.at(name);
  l.input.insert(l.input.end(), bytes.begin(), bytes.end());
  loop_.signal(l.fd);
}

void FakeSerial::feed(const std::string& name, const std::string& bytes) {
  feed(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

void FakeSerial::pull(const std::string& name) {
  Line& l = lines_.at(name);
  l.gone = true;
  loop_.signal(l.fd);
}
