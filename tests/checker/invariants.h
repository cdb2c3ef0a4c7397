#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "world.h"

namespace checker {

// What the user can see and do, read from the window's components.
// Shown, enabled, and not covered by a panel that lies above it; the port
// settings panel, which the user closes again at will, covers nothing when
// `through_port_settings`.
bool Reachable(const TForm1& form, const ui::Control& control, bool through_port_settings = false);
// Buttons, check boxes and combo boxes the user can reach. The Open file button has its own event.
std::vector<ui::Control*> Pressable(TForm1& form);
bool OnPortSettings(const TForm1& form, const ui::Control& control);
// The power-cycle prompt: the ready panel without buttons, waiting for the unit's report.
bool PowerCycleWait(const TForm1& form);
// A refusal on screen: the offline panel with Ok alone, or the access-level panel.
bool RefusalShown(const TForm1& form);

struct Breach {
  std::string invariant;  // which one
  std::string what;       // the kind of breach, the same for the same fault
  std::string detail;     // what exactly was seen
};

// Holds the invariants after every event and at every write.
class Invariants {
 public:
  explicit Invariants(World& world);
  ~Invariants();
  Invariants(const Invariants&) = delete;
  Invariants& operator=(const Invariants&) = delete;
  void BeforeEvent();
  void AfterEvent(const Event& event);
  // The closing run did not reach the final panel.
  void NotFinished(const std::string& why);
  const std::optional<Breach>& breach() const { return breach_; }
  // The writes since the last call, as "port letters", for the event list.
  std::string TakeWrites();
  // The timers, comm_state, the panels shown and the last box.
  std::string State() const;

 private:
  void OnRequest(const std::string& place, const std::string& port, const Bytes& bytes);
  void CheckBlock(const Bytes& frame);
  void CheckFinish(const Bytes& bytes);
  void Acknowledged(const char* kind, const std::string& request);
  bool Waits() const;
  void NeverStuck(const Event& event);
  void ReplyTimer();
  void RxCount();
  void FollowSession();
  void Fail(const char* invariant, const std::string& what, const std::string& detail);
  std::string StateName() const;

  World& world_;
  TForm1& form_;
  std::optional<Breach> breach_;
  std::string writes_;
  std::size_t boxes_before_ = 0;
  int starts_before_ = 0;
  bool report_can_end_ = false;  // the power-cycle wait runs and the unit's port listens
  bool at_rest_ = true;          // nothing was started since the program ended a download or began
  bool refused_ = false;         // a refusal was shown since the user last started again
  int seen_starts_ = 0;
  int seen_downloads_ = 0;
  bool start_sent_ = false;  // a start request went out since the last block
  int run_ = -1;             // which of the session's images the current run of blocks sends
  int run_image_ = -1;
  int last_block_ = -1;
  Bytes last_block_frame_;
  Bytes last_write_;        // on any port
  std::string connection_;  // where the last version request went
  bool requested_ = false;  // a request went out during this event
};

}  // namespace checker
