#pragma once

#include <functional>
#include <memory>
#include <string>

#include "bridge_identity.h"
#include "link.h"
#include "unique_fd.h"

struct uhid_event;

namespace ecu_sim {

// The USB HID bridge made with uhid: requests arrive in output reports, replies
// leave in input reports.
class UhidLink : public Bridge {
 public:
  using Note = std::function<void(const std::string&)>;

  // Creates the bridge and waits for its hidraw node. Empty on failure, with
  // `error` and `failure` set.
  static std::unique_ptr<UhidLink> Open(BridgeIdentity identity, unsigned uart_baud, Note note,
                                        std::string& error, BridgeFailure& failure);
  ~UhidLink() override;

  // The hidraw node, e.g. /dev/hidraw0.
  std::string Name() const override { return node_; }
  std::string Where() const override { return sysfs_name_; }
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

  void Unplug() override;
  bool PlugIn(std::string& error) override;

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
  std::string uniq_;
  std::string sysfs_name_;
  std::string node_;
  Bytes early_;  // requests that came before the node was announced
};

}  // namespace ecu_sim
