#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>

#include "platform/common/hid_report_descriptor.h"
#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

namespace fs = std::filesystem;

// sysfs attributes are at most a page; a report descriptor at most 4096 bytes.
constexpr std::size_t max_attribute_bytes = 8192;

std::optional<std::string> ReadAttribute(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(max_attribute_bytes, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) return std::nullopt;
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

std::string UeventValue(std::string_view uevent, std::string_view key) {
  while (!uevent.empty()) {
    const std::size_t end = std::min(uevent.find('\n'), uevent.size());
    const std::string_view line = uevent.substr(0, end);
    if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=') {
      return std::string(line.substr(key.size() + 1));
    }
    uevent.remove_prefix(std::min(end + 1, uevent.size()));
  }
  return {};
}

std::optional<std::uint32_t> Hex(std::string_view text) {
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// HID_ID is bus:vendor:product in hexadecimal ("0003:00001209:00007A45").
bool ReadIds(std::string_view hid_id, HidDeviceInfo& info) {
  const std::size_t first = hid_id.find(':');
  if (first == hid_id.npos) return false;
  const std::size_t second = hid_id.find(':', first + 1);
  if (second == hid_id.npos) return false;
  const auto vendor = Hex(hid_id.substr(first + 1, second - first - 1));
  const auto product = Hex(hid_id.substr(second + 1));
  if (!vendor || !product) return false;
  info.vendor_id = static_cast<std::uint16_t>(*vendor);
  info.product_id = static_cast<std::uint16_t>(*product);
  return true;
}

bool ReadLayout(const std::string& folder, HidDeviceInfo& info) {
  const auto descriptor = ReadAttribute(folder + "/report_descriptor");
  if (!descriptor || descriptor->empty()) return false;
  auto layout = ParseReportDescriptor(
      {reinterpret_cast<const std::uint8_t*>(descriptor->data()), descriptor->size()});
  if (!layout) return false;
  info.lengths = layout->lengths();
  info.numbered_reports = layout->numbered;
  info.output_reports.emplace();
  for (const auto& [key, bits] : layout->bits) {
    if (key.first != HidReportKind::output) continue;
    (*info.output_reports)[key.second] = static_cast<std::size_t>((bits + 7) / 8) + 1;
  }
  return true;
}

}  // namespace

int ReadWriteAccess(const std::string& path) {
  return ::faccessat(AT_FDCWD, path.c_str(), R_OK | W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

std::string HidDeviceFolder(const std::string& sysfs, const std::string& node) {
  std::error_code ec;
  const fs::path folder = fs::canonical(fs::path(sysfs) / "class/hidraw" / node / "device", ec);
  return ec ? std::string() : folder.string();
}

std::optional<std::string> UsbProductAbove(const std::string& folder, const std::string& sysfs) {
  std::error_code ec;
  const std::string root = fs::weakly_canonical(sysfs, ec).string() + "/";
  for (fs::path at = fs::path(folder).parent_path(); at.string().starts_with(root);
       at = at.parent_path()) {
    if (!Exists(at / "idVendor") || !Exists(at / "bDeviceClass")) continue;
    std::string product = ReadAttribute((at / "product").string()).value_or("");
    if (product.ends_with('\n')) product.pop_back();
    return product;
  }
  return std::nullopt;
}

std::optional<HidDeviceInfo> DescribeHidraw(const std::string& sysfs, const std::string& dev,
                                            const std::string& node) {
  HidDeviceInfo info;
  info.id = HidDeviceFolder(sysfs, node);
  if (info.id.empty()) return std::nullopt;
  const auto uevent = ReadAttribute(info.id + "/uevent");
  if (!uevent || !ReadIds(UeventValue(*uevent, "HID_ID"), info)) return std::nullopt;
  // A device whose layout cannot be read is listed all the same, so that a
  // bridge like that is named with what is wrong with it.
  if (!ReadLayout(info.id, info)) info.lengths = {};
  // Without a USB parent (uhid, Bluetooth) the device's name is its product;
  // with one, HID_NAME is the manufacturer and the product joined.
  const auto usb_product = UsbProductAbove(info.id, sysfs);
  info.product = Utf16FromUtf8(usb_product ? *usb_product : UeventValue(*uevent, "HID_NAME"),
                               max_hid_product_length);
  info.path = dev + "/" + node;
  const int access = ReadWriteAccess(info.path);
  if (access == 0) {
    info.access = HidAccess::read_write;
  } else if (access == EACCES || access == EPERM || access == EROFS) {
    info.access = HidAccess::none;
  } else {
    return std::nullopt;
  }
  return info;
}

std::vector<HidDeviceInfo> ListHidraw(const std::string& sysfs, const std::string& dev,
                                      const SettlingNodes& settling) {
  std::vector<std::string> nodes;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(fs::path(sysfs) / "class/hidraw", ec)) {
    std::string node = entry.path().filename().string();
    if (settling.count(node) == 0) nodes.push_back(std::move(node));
  }
  // hidraw2 before hidraw10.
  std::sort(nodes.begin(), nodes.end(), [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  std::vector<HidDeviceInfo> found;
  for (const std::string& node : nodes) {
    if (auto info = DescribeHidraw(sysfs, dev, node)) found.push_back(std::move(*info));
  }
  return found;
}

}  // namespace platform::linux_os
