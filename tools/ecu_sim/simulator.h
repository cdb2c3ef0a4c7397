#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "clock.h"
#include "fault_plan.h"
#include "link.h"
#include "options.h"
#include "request_log.h"
#include "request_parser.h"
#include "signal_watch.h"
#include "timed_byte_queue.h"
#include "unit.h"

namespace ecu_sim {

enum ExitStatus {
  kExitDone = 0,
  kExitFailure = 1,
  kExitUsage = 2,
  kExitNoBridgeSupport = 2,  // like a bad command line: --hid cannot work on this kernel
  kExitPulled = 3,
};

struct StartFailure {
  int status = kExitFailure;
  std::string message;
};

// The unit on its pseudo-terminal or behind its USB HID bridge: reads requests,
// answers them with the faults asked for, and keeps time on the line.
class Simulator {
 public:
  explicit Simulator(SimOptions options);
  ~Simulator();

  // Opens the link and announces it on the first line of standard output.
  std::optional<StartFailure> Start();
  // Runs until a signal, the finish (with --exit-after-finish) or the pulled cable.
  int Run();

 private:
  struct PendingExit {
    int status = kExitDone;
    bool pull = false;
    TimePoint deadline;
    bool seen_unread = false;  // our last bytes were seen waiting at the far end
  };

  std::optional<StartFailure> OpenLink();
  bool WriteLinkFile(std::string& error) const;
  void UnplugIfDue(TimePoint now);
  // A signal: SIGUSR1 replugs the bridge, the others end the unit.
  void TakeSignal(TimePoint now);
  void PlugInIfDue(TimePoint now);

  void WaitForWork(TimePoint now);
  Duration PollTimeout(TimePoint now) const;
  void ReadLine(TimePoint now);
  void HandleArrived(TimePoint now);
  void ForgetStaleRequest(TimePoint now);
  void FlushReplies(TimePoint now);
  bool ReadByProgram(TimePoint now);
  void CheckExit(TimePoint now);

  void HandleRequest(const ParsedRequest& request, TimePoint now);
  std::string LineProblemNow() const;
  std::string SendReply(const Bytes& reply, const ReplyFaults& faults, TimePoint now);
  void AfterReply(char kind, const UnitReply& reply, const ReplyFaults& faults, TimePoint now);
  void PowerOff(TimePoint now, Duration off_for, const std::string& why);
  void PowerOnIfDue(TimePoint now);
  void Enqueue(const Bytes& bytes, TimePoint not_before);
  Duration PerByte() const;
  void SaveReceived(TimePoint now);

  SimOptions options_;
  TimePoint start_ = Clock::now();
  RequestLog log_{start_};
  std::unique_ptr<Link> link_;
  Bridge* bridge_ = nullptr;  // link_ when it is the USB HID bridge
  SignalWatch signals_;
  Unit unit_;
  RequestParser parser_;
  TimedByteQueue incoming_;
  TimedByteQueue outgoing_;
  std::array<unsigned, 256> request_counts_{};
  bool stray_pending_ = false;
  bool write_blocked_ = false;
  bool image_unsaved_ = false;
  bool image_ever_saved_ = false;
  unsigned blocks_acknowledged_ = 0;
  TimePoint last_byte_at_{};
  std::optional<TimePoint> outgoing_empty_since_;
  std::optional<TimePoint> hang_up_until_;
  std::optional<TimePoint> power_on_at_;
  Duration power_off_for_{};          // how long the last power cycle kept the unit off
  std::size_t power_on_reports_ = 0;  // reports sent after power cycles so far
  std::optional<TimePoint> unplug_due_;
  std::optional<TimePoint> replug_at_;
  std::optional<PendingExit> pending_exit_;
  std::optional<int> exit_status_;
};

}  // namespace ecu_sim
