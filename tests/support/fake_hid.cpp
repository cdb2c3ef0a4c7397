#include "fake_hid.h"

#include <algorithm>
#include <cerrno>
#include <span>
#include <stdexcept>

namespace {

template <class T>
bool Holds(const std::vector<T*>& all, const T* one) {
  return std::find(all.begin(), all.end(), one) != all.end();
}

// What the systems' write_report puts on the wire, or their refusal: worked
// out here on its own, so that a fault in the systems' padding cannot agree
// with itself.
core::Result<std::vector<std::uint8_t>> Padded(std::span<const std::uint8_t> report,
                                               const platform::HidDeviceInfo& info) {
  const std::size_t length = info.lengths.output;
  const auto refused = [&](int code) {
    return core::Error{"write report", info.path, code, "a report the device cannot take"};
  };
  if (report.empty() || length == 0) return refused(EINVAL);
  if (report.size() > length) return refused(EMSGSIZE);
  if ((report[0] != 0) != info.numbered_reports) return refused(EINVAL);
  std::vector<std::uint8_t> bytes(report.begin(), report.end());
  bytes.resize(length, 0);
  return bytes;
}

}  // namespace

class FakeHidDevice : public platform::HidDevice {
 public:
  FakeHidDevice(FakeHid& hid, platform::HidDeviceInfo info) : hid_(&hid), info_(std::move(info)) {
    hid_->handles_.push_back(this);
  }
  ~FakeHidDevice() override {
    if (hid_) std::erase(hid_->handles_, this);
  }
  // The system went first; the device can only fail from now on.
  void orphan() { hid_ = nullptr, reading_ = false; }

  const platform::HidDeviceInfo& info() const override { return info_; }

  void write_report(std::span<const std::uint8_t> report, platform::HidWriteDone done) override {
    const auto written = take(report);
    if (hid_ && hid_->holding_writes) {
      hid_->held_.push_back({life_, [done = std::move(done), written](const core::Status* fate) {
                               done(fate != nullptr ? *fate : written);
                             }});
      return;
    }
    done(written);
  }

  core::Status take(std::span<const std::uint8_t> report) {
    if (!hid_ || !hid_->device(info_.id).plugged) {
      return core::Error{"write report", info_.path, 19, "No such device"};
    }
    if (auto e = hid_->failure("write", info_.path)) return *e;
    if (static_cast<int>(hid_->all_writes.size()) == hid_->fail_write_at) {
      hid_->fail_write_at = -1;
      return core::Error{"write report", info_.path, 5, "Input/output error"};
    }
    auto bytes = Padded(report, info_);
    if (!bytes) return bytes.error();
    hid_->device(info_.id).writes.push_back(*bytes);
    hid_->all_writes.emplace_back(info_.id, *bytes);
    if (hid_->on_write) hid_->on_write(info_.id, *bytes);
    return core::Ok{};
  }

  core::Status start_reading(platform::HidReportHandler on_report,
                             platform::HidReadErrorHandler on_error) override {
    on_report_ = std::move(on_report);
    on_error_ = std::move(on_error);
    if (!hid_) return core::Error{"start reader", info_.path, 19, "No such device"};
    reading_ = true;
    if (!hid_->device(info_.id).plugged) {
      // A real reader finds the device gone at its first read.
      hid_->loop_.schedule(0, [this, alive = std::weak_ptr<int>(life_)] {
        if (!alive.expired()) fail(5, "Input/output error");
      });
    }
    return core::Ok{};
  }
  void stop_reading() override { reading_ = false; }
  bool reading() const override { return reading_; }

  bool deliver(const std::vector<std::uint8_t>& report) {
    if (!reading_) return false;
    auto handler = on_report_;  // the handler may stop or destroy this reader
    hid_->loop_.invoke_and_wait([&] { handler(report); });
    return true;
  }
  void fail(int code, const std::string& text, bool ends = true) {
    if (!reading_) return;
    reading_ = !ends;
    auto handler = on_error_;
    hid_->loop_.invoke_and_wait([&] {
      handler(core::Error{"read report", info_.path, code, text});
    });
  }

 private:
  FakeHid* hid_;
  platform::HidDeviceInfo info_;
  platform::HidReportHandler on_report_;
  platform::HidReadErrorHandler on_error_;
  bool reading_ = false;
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

class FakeHidWatch : public platform::HidChangeWatch {
 public:
  FakeHidWatch(FakeHid& hid, std::function<void()> on_change)
      : hid_(&hid), on_change_(std::move(on_change)) {
    hid_->watches_.push_back(this);
  }
  ~FakeHidWatch() override {
    if (hid_) std::erase(hid_->watches_, this);
  }
  void orphan() { hid_ = nullptr; }
  void tell() { on_change_(); }

 private:
  FakeHid* hid_;
  std::function<void()> on_change_;
};

FakeHid::~FakeHid() {
  for (FakeHidDevice* handle : handles_) handle->orphan();
  for (FakeHidWatch* watch : watches_) watch->orphan();
}

core::Result<std::vector<platform::HidDeviceInfo>> FakeHid::list() {
  if (auto e = failure("list", "")) return *e;
  std::vector<platform::HidDeviceInfo> listed;
  for (const std::string& id : order_) {
    if (devices_.at(id).plugged) listed.push_back(devices_.at(id).info);
  }
  return listed;
}

core::Result<std::unique_ptr<platform::HidDevice>> FakeHid::open(
    const platform::HidDeviceInfo& device) {
  if (auto e = failure("open", device.path)) return *e;
  const auto it = devices_.find(device.id);
  if (it == devices_.end() || !it->second.plugged) {
    return core::Error{"open", device.path, 2, "No such file or directory"};
  }
  if (it->second.info.access != platform::HidAccess::read_write) {
    return core::Error{"open", device.path, 13, "Permission denied"};
  }
  ++it->second.opens;
  return std::unique_ptr<platform::HidDevice>(new FakeHidDevice(*this, it->second.info));
}

core::Result<std::unique_ptr<platform::HidChangeWatch>> FakeHid::watch_changes(
    std::function<void()> on_change) {
  if (auto e = failure("watch", "")) return *e;
  return std::unique_ptr<platform::HidChangeWatch>(new FakeHidWatch(*this, std::move(on_change)));
}

platform::HidDeviceInfo FakeHid::Bridge(const std::string& id, std::u16string product) {
  platform::HidDeviceInfo info;
  info.id = id;
  info.path = "/dev/hidraw-" + id;
  info.product = std::move(product);
  info.vendor_id = 0x1209;
  info.product_id = 0x7A45;
  info.lengths = {65, 65, 0};
  info.output_reports = std::map<std::uint8_t, std::size_t>{{2, 65}};
  info.numbered_reports = true;
  info.access = platform::HidAccess::read_write;
  return info;
}

void FakeHid::plug(platform::HidDeviceInfo info, bool tell) {
  if (devices_.count(info.id) != 0) throw std::logic_error("FakeHid: id plugged before");
  order_.push_back(info.id);
  const std::string id = info.id;
  devices_[id].info = std::move(info);
  if (tell) notify();
}

void FakeHid::unplug(const std::string& id, bool tell) {
  device(id).plugged = false;
  fail_reads(id, 5, "Input/output error");
  if (tell) notify();
}

void FakeHid::set_access(const std::string& id, platform::HidAccess access) {
  device(id).info.access = access;
}

int FakeHid::inject(const std::string& id, const std::vector<std::uint8_t>& report) {
  int taken = 0;
  const auto handles = handles_;
  for (FakeHidDevice* handle : handles) {
    if (!Holds(handles_, handle) || handle->info().id != id) continue;
    if (handle->deliver(report)) ++taken;
  }
  return taken;
}

void FakeHid::fail_reads(const std::string& id, int code, const std::string& text, bool ends) {
  const auto handles = handles_;
  for (FakeHidDevice* handle : handles) {
    if (Holds(handles_, handle) && handle->info().id == id) handle->fail(code, text, ends);
  }
}

int FakeHid::release_writes(const core::Status* fate) {
  int released = 0;
  while (!held_.empty()) {
    auto write = std::move(held_.front());
    held_.erase(held_.begin());
    if (write.device.expired()) continue;  // destroyed with its device: never told
    write.tell(fate);
    ++released;
  }
  return released;
}

int FakeHid::readers(const std::string& id) const {
  return static_cast<int>(std::count_if(handles_.begin(), handles_.end(), [&](auto* handle) {
    return handle->info().id == id && handle->reading();
  }));
}

std::optional<core::Error> FakeHid::failure(const std::string& operation,
                                            const std::string& name) const {
  const auto it = failing.find(operation);
  if (it == failing.end()) return std::nullopt;
  return core::Error{operation, name, it->second.first, it->second.second};
}

void FakeHid::notify() {
  const auto watches = watches_;
  for (FakeHidWatch* watch : watches) {
    if (Holds(watches_, watch)) watch->tell();
  }
}
