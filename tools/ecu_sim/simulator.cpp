// The main loop: waiting, reading, time on the line, writing, ending.
#include "simulator.h"

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>

namespace ecu_sim {

namespace {

// How long before a due byte the wait stops sleeping.
constexpr Duration kSpinBefore = std::chrono::microseconds(150);

constexpr int kLongestWaitMs = 1000;
constexpr int kMaxReadsPerTurn = 16;
constexpr auto kHangUpPause = std::chrono::milliseconds(100);
constexpr auto kSettleTime = std::chrono::milliseconds(10);
constexpr auto kUnseenSettleTime = std::chrono::milliseconds(300);

}  // namespace

Simulator::Simulator(SimOptions options)
    : options_(std::move(options)),
      unit_(options_.unit),
      parser_(options_.unit.serial.size()),
      stray_pending_(options_.stray_first) {
  log_.set_echo(options_.verbose);
}

Simulator::~Simulator() = default;

std::optional<StartFailure> Simulator::Start() {
  if (!signals_.valid()) return StartFailure{kExitFailure, "cannot watch signals"};
  if (!log_.Open(options_.log_file)) {
    return StartFailure{kExitFailure, "cannot write " + options_.log_file};
  }
  if (auto failure = OpenLink()) return failure;
  // The file first: whoever reads our first line may look for the file next.
  std::string error;
  if (!WriteLinkFile(error)) return StartFailure{kExitFailure, error};
  std::fputs((link_->Name() + "\n").c_str(), stdout);
  std::fflush(stdout);
  return std::nullopt;
}

int Simulator::Run() {
  while (!exit_status_) {
    WaitForWork(Clock::now());
    const TimePoint now = Clock::now();
    ReadLine(now);
    HandleArrived(now);
    ForgetStaleRequest(now);
    PowerOnIfDue(now);
    FlushReplies(now);
    UnplugIfDue(now);
    PlugInIfDue(now);
    CheckExit(now);
  }
  if (image_unsaved_ || !image_ever_saved_) SaveReceived(Clock::now());
  return *exit_status_;
}

Duration Simulator::PollTimeout(TimePoint now) const {
  TimePoint wake = now + std::chrono::milliseconds(kLongestWaitMs);
  const auto earliest = [&wake](std::optional<TimePoint> t) {
    if (t) wake = std::min(wake, *t);
  };
  earliest(incoming_.NextDue());
  if (!write_blocked_) earliest(outgoing_.NextDue());
  earliest(hang_up_until_);
  earliest(power_on_at_);
  // Waiting for the last reply to be fetched before the unplug: look again soon.
  if (unplug_due_) earliest(std::max(*unplug_due_, now + std::chrono::milliseconds(1)));
  earliest(replug_at_);
  if (parser_.pending() > 0 && options_.gap_timeout_ms > 0) {
    earliest(last_byte_at_ + std::chrono::milliseconds(options_.gap_timeout_ms));
  }
  if (pending_exit_) earliest(now + std::chrono::milliseconds(10));
  if (wake <= now) return Duration::zero();
  return wake - now;
}

void Simulator::WaitForWork(TimePoint now) {
  std::array<pollfd, 2> fds{};
  fds[0] = {signals_.fd(), POLLIN, 0};
  fds[1] = {-1, 0, 0};
  if (hang_up_until_ && now >= *hang_up_until_) hang_up_until_.reset();
  if (link_->is_open() && !hang_up_until_) {
    fds[1] = {link_->fd(), static_cast<short>(POLLIN | (write_blocked_ ? POLLOUT : 0)), 0};
  }
  // To the microsecond: at 921600 baud a reply lasts 43 us. A sleeping wait
  // wakes tens of microseconds late on a busy machine, so the last stretch
  // before a byte is due is watched without sleeping.
  const Duration wait = PollTimeout(now);
  if (wait > kSpinBefore) {
    const auto sleep = std::chrono::ceil<std::chrono::microseconds>(wait - kSpinBefore);
    const timespec ts{static_cast<time_t>(sleep.count() / 1000000),
                      static_cast<long>(sleep.count() % 1000000) * 1000};
    ::ppoll(fds.data(), fds.size(), &ts, nullptr);
  } else {
    const TimePoint until = now + wait;
    const timespec zero{0, 0};
    while (::ppoll(fds.data(), fds.size(), &zero, nullptr) == 0 && Clock::now() < until) {
    }
  }
  if ((fds[0].revents & POLLIN) != 0) TakeSignal(Clock::now());
  if ((fds[1].revents & POLLOUT) != 0) write_blocked_ = false;
}

void Simulator::TakeSignal(TimePoint now) {
  const int signal = signals_.Take();
  if (signal == 0) return;
  if (signal == SIGUSR1) {
    if (bridge_ != nullptr && !unplug_due_ && !replug_at_) unplug_due_ = now;
    return;
  }
  log_.Event(now, "signal: exiting");
  exit_status_ = kExitDone;
}

void Simulator::ReadLine(TimePoint now) {
  if (!link_->is_open() || hang_up_until_) return;
  Bytes bytes;
  Link::ReadOutcome outcome = Link::ReadOutcome::kData;
  // Bounded, so that a far end that never stops writing cannot starve the rest of the loop.
  for (int i = 0; i < kMaxReadsPerTurn && outcome == Link::ReadOutcome::kData; ++i) {
    outcome = link_->Read(bytes);
  }
  if (!bytes.empty()) incoming_.Push(bytes, now, PerByte());
  if (outcome == Link::ReadOutcome::kHangUp) {
    // Nobody has the far end open; wait for the next open without spinning.
    log_.Event(now, "far end closed");
    hang_up_until_ = now + kHangUpPause;
  }
}

void Simulator::HandleArrived(TimePoint now) {
  const std::size_t due = incoming_.DueCount(now);
  if (due > 0) {
    parser_.Append(incoming_.Front(due));
    incoming_.Consume(due);
    last_byte_at_ = now;
  }
  while (auto request = parser_.Next()) HandleRequest(*request, now);
}

void Simulator::ForgetStaleRequest(TimePoint now) {
  if (parser_.pending() == 0 || options_.gap_timeout_ms == 0 || !incoming_.empty()) return;
  if (now - last_byte_at_ < std::chrono::milliseconds(options_.gap_timeout_ms)) return;
  log_.Warning(
      now, "incomplete request forgotten after " + std::to_string(parser_.pending()) + " bytes");
  parser_.DiscardPending();
}

void Simulator::FlushReplies(TimePoint now) {
  const std::size_t due = outgoing_.DueCount(now);
  if (due > 0 && link_->is_open()) {
    const std::size_t written = link_->Write(outgoing_.Front(due));
    outgoing_.Consume(written);
    write_blocked_ = written < due;
  }
  if (!outgoing_.empty()) {
    outgoing_empty_since_.reset();
  } else if (!outgoing_empty_since_) {
    outgoing_empty_since_ = now;
  }
}

// Closing our end discards what the far end has not read yet, so the last reply
// must have been read first. Written bytes reach the far end's queue only a moment
// later (later still on a busy machine): an empty queue counts once the bytes were
// seen in it, or once they have had ample time to get there.
bool Simulator::ReadByProgram(TimePoint now) {
  const std::size_t unread = link_->UnreadByFarEnd().value_or(0);
  if (unread > 0) pending_exit_->seen_unread = true;
  if (unread > 0 || !outgoing_empty_since_) return false;
  const auto quiet = now - *outgoing_empty_since_;
  const bool delivered = pending_exit_->seen_unread || link_->KeepsWrittenReplies();
  return quiet >= (delivered ? kSettleTime : kUnseenSettleTime);
}

void Simulator::CheckExit(TimePoint now) {
  if (!pending_exit_ || exit_status_) return;
  if (!ReadByProgram(now) && now < pending_exit_->deadline) return;
  if (pending_exit_->pull) {
    link_->Pull();
    log_.Event(now, "cable pulled");
  }
  exit_status_ = pending_exit_->status;
}

Duration Simulator::PerByte() const {
  if (!options_.pace) return Duration::zero();
  const auto baud = link_->LineBaud();
  return baud ? ByteTime(*baud) : Duration::zero();
}

}  // namespace ecu_sim
