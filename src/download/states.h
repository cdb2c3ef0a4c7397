#pragma once

#include <cstdint>

namespace download {

// The request in flight, held as the command letter the unit knows it by (its
// reply code repeats it), so the state and the byte on the wire cannot drift
// apart. Four states are never sent: idle, probe, status_after_switch and
// script_step.
enum class CommState : std::uint8_t {
  idle = 0,     // nothing asked yet since the program started
  probe = '6',  // a candidate port asked for its version (auto-selection)
  version = 'V',
  serial_number = 'S',
  prepare = 'W',
  access = 'a',
  status = 'd',
  start = 'U',
  block = 'B',
  finish = 'u',
  switch_request = '}',
  status_after_switch = '9',  // the switch went unanswered; the unit's status is asked
  restart = 'r',              // also the wait for the unit's own report after a power cycle
  script_step = '.',          // a script step runs; no reply is awaited
};

// The one way from a state to a byte: for a request, its command letter and
// the code of the reply it waits for.
constexpr std::uint8_t StateLetter(CommState state) {
  return static_cast<std::uint8_t>(state);
}

// What Timer4 does when it fires. Any other value does nothing.
enum class NextAction : std::int32_t {
  connect = 0,            // ask the port `port_name` for the unit's version
  start_download = 1,     // send the start request for a script's image
  power_cycle_wait = 2,   // wait for the unit to report back after a power cycle
  restart = 3,            // ask the unit to restart itself
  handle_comm_error = 6,  // count a link error and re-send or give up
  probe_next_port = 19,   // close the port and probe the candidate at `autoselect_index`
  next_block = 20,        // the block after one sent more than once, or the finish request
};

}  // namespace download
