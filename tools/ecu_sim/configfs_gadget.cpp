#include "configfs_gadget.h"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace ecu_sim {

namespace {

namespace fs = std::filesystem;

const fs::path kGadgets = "/sys/kernel/config/usb_gadget";
const fs::path kControllers = "/sys/class/udc";
const fs::path kFunction = "functions/hid.bridge";
const fs::path kConfig = "configs/c.1";
constexpr std::size_t kReportLength = 65;

std::string FirstController() {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(kControllers, ec)) {
    return entry.path().filename().string();
  }
  return {};
}

std::string Hex16(std::uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04x", value);
  return text;
}

}  // namespace

std::unique_ptr<ConfigfsGadget> ConfigfsGadget::Make(const BridgeIdentity& identity,
                                                     const std::string& serial,
                                                     std::span<const std::uint8_t> descriptor,
                                                     std::string& error, BridgeFailure& failure) {
  failure = BridgeFailure::kUnsupported;
  if (!fs::is_directory(kGadgets)) {
    error = kGadgets.string() + " is missing: mount configfs and load libcomposite and usb_f_hid";
    return nullptr;
  }
  if (FirstController().empty()) {
    error = "no USB device controller in " + kControllers.string() + " (load dummy_hcd)";
    return nullptr;
  }
  failure = BridgeFailure::kOther;
  std::unique_ptr<ConfigfsGadget> gadget(new ConfigfsGadget(kGadgets / serial));
  if (!gadget->MakeDir("", error) || !gadget->Build(identity, serial, descriptor, error)) {
    return nullptr;
  }
  return gadget;
}

bool ConfigfsGadget::Build(const BridgeIdentity& identity, const std::string& serial,
                           std::span<const std::uint8_t> descriptor, std::string& error) {
  std::error_code ec;
  const bool built =
      Set("idVendor", Hex16(identity.vendor), error) &&
      Set("idProduct", Hex16(identity.product), error) && MakeDir("strings/0x409", error) &&
      Set("strings/0x409/manufacturer", "ZEK", error) &&
      Set("strings/0x409/product", identity.name, error) &&
      Set("strings/0x409/serialnumber", serial, error) && MakeDir(kFunction, error) &&
      Set(kFunction / "protocol", "0", error) && Set(kFunction / "subclass", "0", error) &&
      Set(kFunction / "report_length", std::to_string(kReportLength), error) &&
      Set(kFunction / "report_desc", descriptor, error) && MakeDir(kConfig, error);
  if (!built) return false;
  fs::create_directory_symlink(root_ / kFunction, root_ / kConfig / "hid.bridge", ec);
  if (ec) {
    error = "cannot put the HID function into the configuration: " + ec.message();
    return false;
  }
  made_.push_back(kConfig / "hid.bridge");
  return true;
}

ConfigfsGadget::~ConfigfsGadget() {
  Unbind();
  std::error_code ec;
  for (auto it = made_.rbegin(); it != made_.rend(); ++it) fs::remove(root_ / *it, ec);
}

bool ConfigfsGadget::MakeDir(const fs::path& relative, std::string& error) {
  std::error_code ec;
  fs::create_directory(root_ / relative, ec);
  if (ec) {
    error = "cannot make " + (root_ / relative).string() + ": " + ec.message();
    return false;
  }
  made_.push_back(relative);
  return true;
}

bool ConfigfsGadget::Set(const fs::path& relative, std::span<const std::uint8_t> bytes,
                         std::string& error) {
  std::ofstream file(root_ / relative, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) error = "cannot write " + (root_ / relative).string();
  return static_cast<bool>(file);
}

bool ConfigfsGadget::Set(const fs::path& relative, const std::string& text, std::string& error) {
  const std::string line = text + "\n";
  return Set(relative, std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()),
             error);
}

bool ConfigfsGadget::Bind(std::string& error) {
  const std::string controller = FirstController();
  if (controller.empty()) {
    error = "no USB device controller";
    return false;
  }
  return Set("UDC", controller, error);
}

void ConfigfsGadget::Unbind() {
  std::ofstream(root_ / "UDC") << "\n";
}

std::string ConfigfsGadget::HidgNode() const {
  std::ifstream dev(root_ / kFunction / "dev");
  std::string numbers;
  if (!(dev >> numbers)) return {};
  std::error_code ec;
  const fs::path device = fs::canonical(fs::path("/sys/dev/char") / numbers, ec);
  if (ec) return {};
  return "/dev/" + device.filename().string();
}

}  // namespace ecu_sim
