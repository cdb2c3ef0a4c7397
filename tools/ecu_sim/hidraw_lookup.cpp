#include "hidraw_lookup.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace ecu_sim {

namespace {

namespace fs = std::filesystem;

bool HasUniq(const fs::path& device, const std::string& uniq) {
  std::ifstream uevent(device / "uevent");
  std::string line;
  while (std::getline(uevent, line)) {
    if (line == "HID_UNIQ=" + uniq) return true;
  }
  return false;
}

std::string HidrawNodeOf(const fs::path& device) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(device / "hidraw", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("hidraw")) return "/dev/" + name;
  }
  return {};
}

std::string FirstLine(const fs::path& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  return line;
}

// The nearest parent that is a USB device: the one with the strings.
bool OnUsbSerial(const fs::path& hid_device, const std::string& serial) {
  for (fs::path at = hid_device.parent_path(); at.has_relative_path(); at = at.parent_path()) {
    std::error_code ec;
    if (fs::exists(at / "idVendor", ec)) return FirstLine(at / "serial") == serial;
  }
  return false;
}

}  // namespace

std::optional<HidrawNode> FindHidrawOnUsbSerial(const std::string& serial) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/sys/class/hidraw", ec)) {
    const fs::path device = fs::canonical(entry.path() / "device", ec);
    if (ec || !OnUsbSerial(device, serial)) continue;
    return HidrawNode{device.filename().string(), "/dev/" + entry.path().filename().string()};
  }
  return std::nullopt;
}

std::optional<HidrawNode> FindHidDeviceByUniq(const std::string& uniq) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/sys/bus/hid/devices", ec)) {
    if (!HasUniq(entry.path(), uniq)) continue;
    return HidrawNode{entry.path().filename().string(), HidrawNodeOf(entry.path())};
  }
  return std::nullopt;
}

}  // namespace ecu_sim
