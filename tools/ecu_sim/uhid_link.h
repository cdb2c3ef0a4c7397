#pragma once

#include <functional>
#include <memory>
#include <string>

#include "bridge_identity.h"
#include "link.h"
#include "unique_fd.h"

struct uhid_event;

namespace ecu_sim {

// The USB HID bridge in front of the unit, made with uhid: requests arrive in
// output reports, replies leave in input reports. It can be unplugged and
// plugged in again; each plug-in is a new device with a new hidraw node.
class UhidLink : public Link {
 public:
  using Note = std::function<void(const std::string&)>;
  enum class OpenFailure { kNoUhid, kOther };

  // Creates the bridge and waits for its hidraw node. Empty on failure, with
  // `error` and `failure` set.
  static std::unique_ptr<UhidLink> Open(BridgeIdentity identity, unsigned uart_baud, Note note,
                                        std::string& error, OpenFailure& failure);
  ~UhidLink() override;

  // The hidraw node, e.g. /dev/hidraw0.
  std::string Name() const override { return node_; }
  const std::string& sysfs_name() const { return sysfs_name_; }
  int fd() const override { return plugged_ ? uhid_.get() : -1; }
  ReadOutcome Read(Bytes& into) override;
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  // The bridge sets its own serial line; the program has no say in it.
  std::string LineProblem(unsigned) const override { return {}; }
  std::optional<unsigned> LineBaud() const override { return uart_baud_; }
  std::optional<std::size_t> UnreadByFarEnd() const override { return std::nullopt; }
  // The kernel queues input reports for each open hidraw file, and a file still
  // reads what was queued after its device went away.
  bool KeepsWrittenReplies() const override { return true; }
  void Pull() override;

  bool plugged() const { return plugged_; }
  void Unplug();
  // A new device with the same identity; false with `error` set on failure.
  bool PlugIn(std::string& error);

 private:
  UhidLink(BridgeIdentity identity, unsigned uart_baud, Note note, UniqueFd uhid);

  bool Create(std::string& error);
  bool WaitForNode(std::string& error);
  bool Send(const uhid_event& event);
  void HandleEvent(const uhid_event& event, std::size_t length, Bytes& into);
  void RefuseReportRequest(const uhid_event& event);

  BridgeIdentity identity_;
  unsigned uart_baud_;
  Note note_;
  UniqueFd uhid_;
  bool plugged_ = false;
  bool started_ = false;
  unsigned generation_ = 0;
  std::string uniq_;
  std::string sysfs_name_;
  std::string node_;
  Bytes early_;  // requests that came before the node was announced
};

}  // namespace ecu_sim
