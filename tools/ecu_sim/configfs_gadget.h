#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "bridge_identity.h"
#include "link.h"

namespace ecu_sim {

// A USB HID gadget made through configfs: one configuration with one HID
// function. Bound to a USB device controller (dummy_hcd in a virtual machine)
// it appears on the host side as a real USB HID device.
class ConfigfsGadget {
 public:
  // Empty with `error` and `failure` set when the gadget cannot be made.
  static std::unique_ptr<ConfigfsGadget> Make(const BridgeIdentity& identity,
                                              const std::string& serial,
                                              std::span<const std::uint8_t> descriptor,
                                              std::string& error, BridgeFailure& failure);
  ~ConfigfsGadget();
  ConfigfsGadget(const ConfigfsGadget&) = delete;
  ConfigfsGadget& operator=(const ConfigfsGadget&) = delete;

  // Plugs the gadget into the first USB device controller.
  bool Bind(std::string& error);
  void Unbind();
  // The gadget side's character device, e.g. /dev/hidg0; empty while unbound.
  std::string HidgNode() const;

 private:
  explicit ConfigfsGadget(std::filesystem::path root) : root_(std::move(root)) {}
  bool MakeDir(const std::filesystem::path& relative, std::string& error);
  bool Set(const std::filesystem::path& relative, std::span<const std::uint8_t> bytes,
           std::string& error);
  bool Set(const std::filesystem::path& relative, const std::string& text, std::string& error);
  bool Build(const BridgeIdentity& identity, const std::string& serial,
             std::span<const std::uint8_t> descriptor, std::string& error);

  std::filesystem::path root_;
  std::vector<std::filesystem::path> made_;  // removed in reverse order
};

}  // namespace ecu_sim
