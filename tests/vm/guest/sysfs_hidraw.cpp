#include "sysfs_hidraw.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace vm_guest {

namespace {

namespace fs = std::filesystem;

std::string UeventValue(const fs::path& device, const std::string& key) {
  std::ifstream uevent(device / "uevent");
  std::string line;
  while (std::getline(uevent, line)) {
    if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
  }
  return {};
}

std::vector<std::uint8_t> ReadBinary(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The nearest parent that is a USB device (it has a vendor ID) holds the strings.
std::string UsbProduct(const fs::path& device) {
  std::error_code ec;
  for (fs::path at = device.parent_path(); at.has_relative_path(); at = at.parent_path()) {
    if (!fs::exists(at / "idVendor", ec)) continue;
    std::ifstream product(at / "product");
    std::string line;
    std::getline(product, line);
    return line;
  }
  return {};
}

}  // namespace

std::vector<HidrawEntry> ListHidraw() {
  std::vector<HidrawEntry> entries;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/sys/class/hidraw", ec)) {
    const fs::path device = fs::canonical(entry.path() / "device", ec);
    if (ec) continue;
    entries.push_back({"/dev/" + entry.path().filename().string(), device.filename().string(),
                       UeventValue(device, "HID_NAME"), UsbProduct(device),
                       ReadBinary(device / "report_descriptor")});
  }
  return entries;
}

std::vector<HidrawEntry> HidrawWhere(std::string HidrawEntry::*field, const std::string& value) {
  std::vector<HidrawEntry> found;
  for (HidrawEntry& entry : ListHidraw()) {
    if (entry.*field == value) found.push_back(std::move(entry));
  }
  return found;
}

}  // namespace vm_guest
