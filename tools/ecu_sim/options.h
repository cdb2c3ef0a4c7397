#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "bridge_identity.h"
#include "fault_plan.h"
#include "unit_config.h"

namespace ecu_sim {

// Everything the command line decides.
struct SimOptions {
  UnitConfig unit;
  FaultPlan faults;
  std::string link_file;
  std::string received_file;  // "%n" is replaced by the download's number
  std::string log_file;
  std::optional<unsigned> baud;  // the rate the unit needs; 0: any
  bool pace = false;
  int gap_timeout_ms = 200;
  bool stray_first = false;
  std::optional<unsigned> pull_after_blocks;
  std::optional<int> power_cycle_after_ms;
  std::optional<int> power_cycle_after_switch_ms;
  bool exit_after_finish = false;
  bool hid = false;         // a USB HID bridge instead of a pseudo-terminal
  bool usb_gadget = false;  // the bridge as a configfs USB gadget instead of uhid
  BridgeIdentity bridge;
  std::optional<unsigned> unplug_after_blocks;
  int replug_after_ms = 500;
  bool verbose = false;
  bool help = false;
  bool program_version = false;  // "--version" last, without a text: the program's own

  unsigned NeededBaud() const {
    return baud.value_or(IsFastFamily(unit.version) ? 921600u : 115200u);
  }
};

struct ParsedOptions {
  std::optional<SimOptions> options;  // empty: `error` says what is wrong
  std::string error;
};

ParsedOptions ParseOptions(std::span<const std::string_view> args);
std::string UsageText();

}  // namespace ecu_sim
