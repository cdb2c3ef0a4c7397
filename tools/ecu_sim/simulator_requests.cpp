// One request: judging the line, the unit's answer, the faults, and what follows.
#include <cstdio>

#include "simulator.h"

namespace ecu_sim {

namespace {

constexpr auto kDrainLimit = std::chrono::milliseconds(2000);
// The kernel holds a written input report for the program even once the device
// is gone; the pause only lets the reply leave our queue first.
constexpr auto kUnplugSettle = std::chrono::milliseconds(10);
constexpr std::size_t kGarbageShown = 8;

std::string HexBytes(const Bytes& bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size() && i < kGarbageShown; ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%s0x%02X", i == 0 ? "" : " ", bytes[i]);
    text += hex;
  }
  if (bytes.size() > kGarbageShown) text += " ...";
  return text;
}

std::string ReceivedPath(const std::string& pattern, unsigned download) {
  std::string path = pattern;
  const std::size_t at = path.find("%n");
  if (at != std::string::npos) path.replace(at, 2, std::to_string(download));
  return path;
}

}  // namespace

std::string Simulator::LineProblemNow() const {
  return link_->LineProblem(options_.NeededBaud());
}

void Simulator::HandleRequest(const ParsedRequest& request, TimePoint now) {
  if (request.kind == 0) {
    log_.Request(now, 0, request.bytes.size(),
                 "not answered: no request starts so: " + HexBytes(request.bytes));
    return;
  }
  if (pending_exit_ && pending_exit_->pull) {
    // The cable is on its way out: nothing reaches the unit any more.
    log_.Request(now, request.kind, request.bytes.size(), "not answered: cable being pulled");
    return;
  }
  if (unplug_due_) {
    log_.Request(now, request.kind, request.bytes.size(), "not answered: bridge being unplugged");
    return;
  }
  const std::string problem = LineProblemNow();
  if (!problem.empty()) {
    log_.Warning(now, std::string("request ") + request.kind + " not answered: " + problem);
    log_.Request(now, request.kind, request.bytes.size(), "not answered: " + problem);
    return;
  }
  if (power_on_at_) {
    log_.Request(now, request.kind, request.bytes.size(), "not answered: unit is off");
    return;
  }
  const unsigned k = ++request_counts_[static_cast<std::uint8_t>(request.kind)];
  ReplyFaults faults = options_.faults.For(request.kind, k);
  const UnitReply reply = unit_.Handle(request, faults.status);
  if (!reply.bytes.empty() && !faults.drop && stray_pending_) {
    faults.stray_before = true;
    stray_pending_ = false;
  }
  const std::string fault_note = SendReply(reply.bytes, faults, now);
  log_.Request(now, request.kind, request.bytes.size(),
               (reply.bytes.empty() ? "no answer: " : "") + reply.note + fault_note);
  AfterReply(request.kind, reply, faults, now);
}

std::string Simulator::SendReply(const Bytes& reply, const ReplyFaults& faults, TimePoint now) {
  if (reply.empty()) return {};
  if (faults.drop) return " [dropped]";
  std::string note;
  Bytes out = reply;
  if (faults.corrupt) {
    out.back() ^= 0xFF;
    note += " [checksum inverted]";
  }
  if (faults.stray_before) {
    Enqueue(Bytes{'x'}, now);
    note += " [stray x before]";
  }
  const TimePoint at = now + std::chrono::milliseconds(faults.delay_ms);
  if (faults.delay_ms > 0) note += " [" + std::to_string(faults.delay_ms) + " ms late]";
  if (faults.split_after && *faults.split_after < out.size()) {
    const auto cut = static_cast<std::ptrdiff_t>(*faults.split_after);
    Enqueue(Bytes(out.begin(), out.begin() + cut), at);
    Enqueue(Bytes(out.begin() + cut, out.end()),
            at + std::chrono::milliseconds(faults.split_delay_ms));
    note += " [split after " + std::to_string(cut) + "]";
  } else {
    Enqueue(out, at);
  }
  return note;
}

void Simulator::AfterReply(char kind, const UnitReply& reply, const ReplyFaults& faults,
                           TimePoint now) {
  image_unsaved_ = image_unsaved_ || reply.image_changed;
  const TimePoint drained_by =
      now + kDrainLimit + std::chrono::milliseconds(faults.delay_ms + faults.split_delay_ms);
  if (reply.download_finished) {
    SaveReceived(now);
    if (options_.exit_after_finish) {
      pending_exit_ = PendingExit{kExitDone, false, drained_by};
    }
    if (options_.power_cycle_after_ms) {
      PowerOff(now, std::chrono::milliseconds(*options_.power_cycle_after_ms), "");
    }
  }
  if (kind == '}' && reply.bytes == Bytes{'F'} && !faults.drop &&
      options_.power_cycle_after_switch_ms) {
    PowerOff(now, std::chrono::milliseconds(*options_.power_cycle_after_switch_ms), " after F");
  }
  if (kind != 'B' || !reply.image_changed || faults.drop) return;
  ++blocks_acknowledged_;
  if (blocks_acknowledged_ == options_.pull_after_blocks && !pending_exit_) {
    pending_exit_ = PendingExit{kExitPulled, true, drained_by};
  }
  if (blocks_acknowledged_ == options_.unplug_after_blocks) {
    unplug_due_ = now + kUnplugSettle;
  }
}

void Simulator::PowerOff(TimePoint now, Duration off_for, const std::string& why) {
  power_on_at_ = now + off_for;
  power_off_for_ = off_for;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(off_for).count();
  log_.Event(now, "power off for " + std::to_string(ms) + " ms" + why);
}

void Simulator::PowerOnIfDue(TimePoint now) {
  if (!power_on_at_ || now < *power_on_at_) return;
  power_on_at_.reset();
  unit_.Reset();
  const std::string problem = LineProblemNow();
  if (!problem.empty()) log_.Warning(now, "reporting after the power cycle although " + problem);
  const auto& reports = options_.power_on_reports;
  const std::size_t n = power_on_reports_++;
  const std::string status = n < reports.size() ? reports[n] : "OK";
  Enqueue(TextReply('r', status), now);
  log_.Event(now, "power on: sent r " + status);
  // The unit still waits for its download: the technician, seeing the prompt
  // stay, switches it off and on again.
  if (status != "OK") PowerOff(now, power_off_for_, " again");
}

void Simulator::Enqueue(const Bytes& bytes, TimePoint not_before) {
  outgoing_.Push(bytes, not_before, PerByte());
}

void Simulator::SaveReceived(TimePoint now) {
  if (options_.received_file.empty()) return;
  const std::string path =
      ReceivedPath(options_.received_file, std::max(1u, unit_.download_number()));
  std::string error;
  if (WriteFileAtomically(path, unit_.image().data(), error)) {
    log_.Event(now, "wrote " + std::to_string(unit_.image().block_count()) + " blocks to " + path);
  } else {
    log_.Warning(now, "cannot write received blocks: " + error);
  }
  image_unsaved_ = false;
  image_ever_saved_ = true;
}

}  // namespace ecu_sim
