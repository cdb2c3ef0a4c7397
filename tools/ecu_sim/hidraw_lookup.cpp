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

}  // namespace

std::optional<HidrawNode> FindHidDeviceByUniq(const std::string& uniq) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/sys/bus/hid/devices", ec)) {
    if (!HasUniq(entry.path(), uniq)) continue;
    return HidrawNode{entry.path().filename().string(), HidrawNodeOf(entry.path())};
  }
  return std::nullopt;
}

}  // namespace ecu_sim
