#pragma once

#include <functional>
#include <memory>
#include <string>

#include "bridge_identity.h"
#include "configfs_gadget.h"
#include "link.h"
#include "unique_fd.h"

namespace ecu_sim {

// The USB HID bridge as a real USB device: a configfs gadget on a USB device
// controller, served through its /dev/hidgN. The program meets it on the host
// side of the controller, with a USB parent that names its product.
class GadgetLink : public Bridge {
 public:
  using Note = std::function<void(const std::string&)>;

  // Makes and plugs in the gadget and waits for its hidraw node. Empty on
  // failure, with `error` and `failure` set.
  static std::unique_ptr<GadgetLink> Open(const BridgeIdentity& identity, unsigned uart_baud,
                                          Note note, std::string& error, BridgeFailure& failure);

  std::string Name() const override { return node_; }
  std::string Where() const override { return sysfs_name_; }
  int fd() const override { return plugged_ ? hidg_.get() : -1; }
  ReadOutcome Read(Bytes& into) override;
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  std::string LineProblem(unsigned) const override { return {}; }
  std::optional<unsigned> LineBaud() const override { return uart_baud_; }
  // A report the host has not fetched yet counts as one byte: enough to wait for.
  std::optional<std::size_t> UnreadByFarEnd() const override;
  // A report waits in the controller until the host fetches it; an unplug loses it.
  bool KeepsWrittenReplies() const override { return false; }
  void Pull() override;
  void Unplug() override;
  bool PlugIn(std::string& error) override;

 private:
  GadgetLink(std::unique_ptr<ConfigfsGadget> gadget, std::string serial, unsigned uart_baud,
             Note note);
  bool WaitForNodes(std::string& error);

  std::unique_ptr<ConfigfsGadget> gadget_;
  std::string serial_;
  unsigned uart_baud_;
  Note note_;
  UniqueFd hidg_;
  bool plugged_ = false;
  std::string sysfs_name_;
  std::string node_;
};

}  // namespace ecu_sim
