#include <algorithm>
#include <map>

#include "platform/windows/hid_api.h"
#include "platform/windows/internal.h"

namespace platform::windows_os {

namespace {

class DeviceInfoList {
 public:
  explicit DeviceInfoList(HDEVINFO set) : set_(set) {}
  ~DeviceInfoList() {
    if (set_ != INVALID_HANDLE_VALUE) ::SetupDiDestroyDeviceInfoList(set_);
  }
  DeviceInfoList(const DeviceInfoList&) = delete;
  DeviceInfoList& operator=(const DeviceInfoList&) = delete;
  HDEVINFO get() const { return set_; }

 private:
  HDEVINFO set_;
};

HANDLE OpenShared(const std::string& path, DWORD access) {
  return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

std::u16string ProductOf(HANDLE device) {
  wchar_t text[max_hid_product_length + 2] = {};
  if (!::HidD_GetProductString(device, text, sizeof text - sizeof(wchar_t))) return {};
  std::u16string product;
  for (std::size_t i = 0; i < max_hid_product_length && text[i] != 0; ++i) {
    product.push_back(static_cast<char16_t>(text[i]));
  }
  return product;
}

template <class Caps, class Get>
bool AnyReportId(HIDP_REPORT_TYPE type, USHORT count, PHIDP_PREPARSED_DATA data, Get get) {
  if (count == 0) return false;
  std::vector<Caps> caps(count);
  if (get(type, caps.data(), &count, data) != HIDP_STATUS_SUCCESS) return false;
  caps.resize(count);
  return std::any_of(caps.begin(), caps.end(), [](const Caps& c) { return c.ReportID != 0; });
}

// A device numbers its reports when any of its controls sits in a report with
// an ID other than 0.
bool NumbersReports(PHIDP_PREPARSED_DATA data, const HIDP_CAPS& caps) {
  const std::pair<HIDP_REPORT_TYPE, std::pair<USHORT, USHORT>> kinds[] = {
      {HidP_Input, {caps.NumberInputButtonCaps, caps.NumberInputValueCaps}},
      {HidP_Output, {caps.NumberOutputButtonCaps, caps.NumberOutputValueCaps}},
      {HidP_Feature, {caps.NumberFeatureButtonCaps, caps.NumberFeatureValueCaps}}};
  for (const auto& [type, counts] : kinds) {
    if (AnyReportId<HIDP_BUTTON_CAPS>(type, counts.first, data, HidP_GetButtonCaps)) return true;
    if (AnyReportId<HIDP_VALUE_CAPS>(type, counts.second, data, HidP_GetValueCaps)) return true;
  }
  return false;
}

// The IDs of the output reports: those of their controls.
std::map<std::uint8_t, std::size_t> OutputReports(PHIDP_PREPARSED_DATA data,
                                                  const HIDP_CAPS& caps) {
  std::map<std::uint8_t, std::size_t> reports;
  const auto add = [&](UCHAR id) { reports[id] = caps.OutputReportByteLength; };
  if (USHORT count = caps.NumberOutputButtonCaps; count > 0) {
    std::vector<HIDP_BUTTON_CAPS> all(count);
    if (HidP_GetButtonCaps(HidP_Output, all.data(), &count, data) == HIDP_STATUS_SUCCESS) {
      for (USHORT i = 0; i < count; ++i) add(all[i].ReportID);
    }
  }
  if (USHORT count = caps.NumberOutputValueCaps; count > 0) {
    std::vector<HIDP_VALUE_CAPS> all(count);
    if (HidP_GetValueCaps(HidP_Output, all.data(), &count, data) == HIDP_STATUS_SUCCESS) {
      for (USHORT i = 0; i < count; ++i) add(all[i].ReportID);
    }
  }
  return reports;
}

// Windows' report lengths already have the [ID][data] shape: the ID byte is
// counted, 0 on a device without IDs.
bool ReadCaps(HANDLE device, HidDeviceInfo& info) {
  PHIDP_PREPARSED_DATA data = nullptr;
  if (!::HidD_GetPreparsedData(device, &data)) return false;
  HIDP_CAPS caps{};
  const bool ok = ::HidP_GetCaps(data, &caps) == HIDP_STATUS_SUCCESS;
  if (ok) {
    info.lengths = {caps.InputReportByteLength, caps.OutputReportByteLength,
                    caps.FeatureReportByteLength};
    info.numbered_reports = NumbersReports(data, caps);
    info.output_reports = OutputReports(data, caps);
  }
  ::HidD_FreePreparsedData(data);
  return ok;
}

}  // namespace

std::vector<std::string> HidInterfacePaths() {
  GUID hid{};
  ::HidD_GetHidGuid(&hid);
  const DeviceInfoList set(
      ::SetupDiGetClassDevsA(&hid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  std::vector<std::string> paths;
  if (set.get() == INVALID_HANDLE_VALUE) return paths;
  SP_DEVICE_INTERFACE_DATA item{};
  item.cbSize = sizeof item;
  for (DWORD i = 0; ::SetupDiEnumDeviceInterfaces(set.get(), nullptr, &hid, i, &item); ++i) {
    DWORD size = 0;
    ::SetupDiGetDeviceInterfaceDetailA(set.get(), &item, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
    std::vector<std::uint8_t> buffer(size);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!::SetupDiGetDeviceInterfaceDetailA(set.get(), &item, detail, size, nullptr, nullptr)) {
      continue;
    }
    paths.emplace_back(detail->DevicePath);
  }
  return paths;
}

bool IsWineVirtualHid(const std::u16string& product) {
  return product == u"Wine HID mouse" || product == u"Wine HID keyboard";
}

std::optional<HidDeviceInfo> DescribeHid(const std::string& path) {
  HidDeviceInfo info;
  info.id = path;
  info.path = path;
  info.access = HidAccess::read_write;
  UniqueHandle device(OpenShared(path, GENERIC_READ | GENERIC_WRITE));
  if (!device.valid()) {
    // Held by another program for itself, as the system holds keyboards and
    // mice: for identification only.
    device.reset(OpenShared(path, 0));
    info.access = HidAccess::in_use;
  }
  if (!device.valid()) return std::nullopt;
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof attributes;
  if (!::HidD_GetAttributes(device.get(), &attributes)) return std::nullopt;
  info.vendor_id = attributes.VendorID;
  info.product_id = attributes.ProductID;
  info.product = ProductOf(device.get());
  if (!ReadCaps(device.get(), info)) info.lengths = {};
  return info;
}

std::vector<HidDeviceInfo> ListHidInterfaces() {
  std::vector<HidDeviceInfo> found;
  for (const std::string& path : HidInterfacePaths()) {
    std::optional<HidDeviceInfo> info = DescribeHid(path);
    if (info && !IsWineVirtualHid(info->product)) found.push_back(std::move(*info));
  }
  std::sort(found.begin(), found.end(),
            [](const HidDeviceInfo& a, const HidDeviceInfo& b) { return a.path < b.path; });
  return found;
}

}  // namespace platform::windows_os
