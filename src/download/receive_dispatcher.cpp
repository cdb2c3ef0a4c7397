// Judges what the unit sent against the request last sent, and moves the download on.
#include <algorithm>
#include <array>
#include <limits>

#include "app/main_window.h"
#include "download/protocol.h"
#include "texts/texts.h"

using download::CommState;

namespace {

constexpr std::uint8_t restart_report_code = StateLetter(CommState::restart);

// The code of every reply a request can get.
bool KnownReplyCode(std::uint8_t code) {
  constexpr std::array requests{CommState::access,         CommState::block,   CommState::status,
                                CommState::serial_number,  CommState::finish,  CommState::start,
                                CommState::switch_request, CommState::restart, CommState::version,
                                CommState::prepare};
  return code == download::refusal_reply_code ||
         std::any_of(requests.begin(), requests.end(),
                     [code](CommState state) { return StateLetter(state) == code; });
}

// The reply code a state waits for; 0 for the states that wait for none.
std::uint8_t ExpectedReply(CommState state) {
  switch (state) {
    case CommState::probe:
      return StateLetter(CommState::version);
    case CommState::status_after_switch:
      return StateLetter(CommState::status);
    case CommState::idle:
    case CommState::script_step:
      return 0;
    default:
      return StateLetter(state);
  }
}

}  // namespace

void TForm1::ReportLinkError() {
  StopLinkTimers();
  next_action = NextAction::handle_comm_error;
  Timer4.set_enabled(true);
}

bool TForm1::ReadSerialInput(std::int32_t count) {
  if (count <= 0) return true;
  std::array<std::uint8_t, 4096> chunk{};
  std::int32_t left = count;
  while (left > 0) {
    const auto want = static_cast<std::size_t>(std::min<std::int32_t>(left, chunk.size()));
    auto got = ComPort1.read(std::span(chunk.data(), want));
    if (!got) return false;
    if (*got == 0) break;
    AppendRx(std::span<const std::uint8_t>(chunk.data(), *got));
    left -= static_cast<std::int32_t>(*got);
  }
  return true;
}

// `rx_count` stops at its largest value: a unit that streams for ever must not
// wrap it round to a count that looks like a short reply.
void TForm1::AppendRx(std::span<const std::uint8_t> bytes) {
  const bool report_awaited = PowerCycleWaitRuns();
  for (std::uint8_t b : bytes) {
    // Noise of the power going off and on: nothing before an 'r' can start the report.
    if (report_awaited && rx_buffer.empty() && b != restart_report_code) continue;
    if (rx_count < std::numeric_limits<std::int32_t>::max()) ++rx_count;
    if (rx_buffer.size() < rx_buffer_capacity) rx_buffer.push_back(b);
  }
}

// Keeps the unit's report after a power cycle and drops whatever else came: the
// noise of the power going off and on is no reply, so neither a link error nor a
// reason to ask for a restart that the step never asked for. True once the
// whole report is held, and only it.
bool TForm1::KeepOnlyPowerCycleReport() {
  // Before Timer4 starts the wait the unit cannot have been switched yet: what
  // comes answered the step before.
  if (Timer4.enabled()) {
    ClearRx();
    return false;
  }
  constexpr std::size_t length = 4;
  for (;;) {
    const auto start = std::find(rx_buffer.begin(), rx_buffer.end(), restart_report_code);
    rx_buffer.erase(rx_buffer.begin(), start);
    if (rx_buffer.size() < length) break;
    const std::span<const std::uint8_t> report(rx_buffer.data(), length);
    if (download::ChecksumHolds(report)) {
      rx_buffer.resize(length);
      rx_count = static_cast<std::int32_t>(length);
      return true;
    }
    rx_buffer.erase(rx_buffer.begin());
  }
  rx_count = static_cast<std::int32_t>(rx_buffer.size());
  return false;
}

void TForm1::ReceiveDispatcher(std::int32_t count) {
  if (link_kind == firmware::Link::serial && !ReadSerialInput(count)) {
    // Like stray bytes, a failed read answers nothing unless a request's reply
    // is awaited: behind a refusal, or while the unit is switched off and on,
    // it would re-send a request nobody waits for.
    if (!Timer2.enabled()) return ClearRx();
    ReportLinkError();
    dialogs.message_box(ui::BoxKind::error, texts::comm_error_test, ui::BoxButtons::yes_no);
    return;
  }
  // Bytes that answer nothing are read and dropped: a late reply to a request
  // given up on, a second copy of one already acted on, the rest of a reply
  // just refused while the re-send is on its way. Judged, they would count as
  // errors and re-send a request nobody waits for, or carry the download on
  // behind a panel that says it stopped.
  if (!ReplyAwaited()) {
    ClearRx();
    return;
  }
  if (PowerCycleWaitRuns() && !KeepOnlyPowerCycleReport()) return;
  if (rx_buffer.empty()) return;
  const std::uint8_t code = rx_buffer[0];
  if (!KnownReplyCode(code)) {
    ClearRx();
    ReportLinkError();
    return;
  }
  if (code == download::refusal_reply_code) {
    if (comm_state == CommState::switch_request) {
      // The switch is settled: a reply timer left running would ask for the
      // status and start the script a second time, or cut a power-cycle wait
      // short with a restart request the unit has just said it cannot obey.
      StopLinkTimers();
      ClearRx();
      soft_restart = false;
      StartScript();
    } else {
      StopLinkTimers();
      ClearRx();
      ReportLinkError();
    }
    return;
  }
  const std::uint8_t expected = ExpectedReply(comm_state);
  if (expected == 0) return;
  if (code != expected) {
    ReportLinkError();
    return;
  }
  if (rx_count < download::MinimumReplyLength(comm_state, fast_baud)) return;
  // Over the bridge a block re-sent after a time-out goes out in pieces while
  // the reply to the first copy may still come: once a reply is whole, the rest
  // of those pieces would follow the next request to the unit.
  Timer1.set_enabled(false);
  Timer2.set_enabled(false);
  if (comm_state == CommState::restart) Timer2.set_interval(download::reply_time_out_ms);
  const bool checked = comm_state != CommState::status && comm_state != CommState::switch_request;
  if (checked && !download::ChecksumHolds(rx_buffer)) {
    ReportLinkError();
    return;
  }
  ActOnReply();
}
