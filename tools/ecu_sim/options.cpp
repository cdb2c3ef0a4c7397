#include "options.h"

#include <array>
#include <charconv>
#include <functional>
#include <limits>

namespace ecu_sim {

namespace {

using Setter = std::function<bool(SimOptions&, std::string_view)>;

struct OptionEntry {
  std::string_view name;
  bool takes_value;
  Setter set;
};

template <typename T>
bool ParseNumber(std::string_view text, T min, T max, T& out) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) {
    return false;
  }
  out = value;
  return true;
}

Setter Text(std::string UnitConfig::*field, std::size_t max_length) {
  return [field, max_length](SimOptions& o, std::string_view v) {
    if (v.empty() || v.size() > max_length) return false;
    o.unit.*field = std::string(v);
    return true;
  };
}

Setter StatusText(std::string UnitConfig::*field) {
  return [field](SimOptions& o, std::string_view v) {
    if (v.size() != 2) return false;
    o.unit.*field = std::string(v);
    return true;
  };
}

Setter Word(std::uint16_t UnitConfig::*field) {
  return [field](SimOptions& o, std::string_view v) {
    return ParseNumber<std::uint16_t>(v, 0, 0xFFFF, o.unit.*field);
  };
}

Setter Flag(bool SimOptions::*field) {
  return [field](SimOptions& o, std::string_view) { return (o.*field = true); };
}

bool SetAccessCode(SimOptions& o, std::string_view v) {
  std::array<std::uint8_t, 4> code{};
  if (v.size() != 8) return false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const auto [end, ec] = std::from_chars(v.data() + 2 * i, v.data() + 2 * i + 2, code[i], 16);
    if (ec != std::errc() || end != v.data() + 2 * i + 2) return false;
  }
  o.unit.access_code = code;
  return true;
}

bool SetSwitchAnswer(SimOptions& o, std::string_view v) {
  if (v == "brace")
    o.unit.switch_answer = SwitchAnswer::kBrace;
  else if (v == "F")
    o.unit.switch_answer = SwitchAnswer::kF;
  else if (v == "none")
    o.unit.switch_answer = SwitchAnswer::kNone;
  else
    return false;
  return true;
}

constexpr int kMaxMs = 600'000;
constexpr std::size_t kMaxBridgeName = 127;  // uhid's name field, less its terminator

Setter Path(std::string SimOptions::*field) {
  return [field](SimOptions& o, std::string_view v) { return !(o.*field = v).empty(); };
}

Setter Milliseconds(int SimOptions::*field) {
  return [field](SimOptions& o, std::string_view v) {
    return ParseNumber<int>(v, 0, kMaxMs, o.*field);
  };
}

bool CountFrom1(std::string_view v, std::optional<unsigned>& out) {
  unsigned n = 0;
  if (!ParseNumber<unsigned>(v, 1, std::numeric_limits<unsigned>::max(), n)) return false;
  out = n;
  return true;
}

// What the unit is and how it answers.
const std::vector<OptionEntry>& UnitOptions() {
  static const std::vector<OptionEntry> entries{
      {"version", true, Text(&UnitConfig::version, 70)},
      {"serial", true, Text(&UnitConfig::serial, 64)},
      {"access-level", true, Word(&UnitConfig::access_level)},
      {"access-code", true, SetAccessCode},
      {"engine-raw", true, Word(&UnitConfig::engine_raw)},
      {"battery-raw", true, Word(&UnitConfig::battery_raw)},
      {"prepare-status", true, StatusText(&UnitConfig::prepare_status)},
      {"start-status", true, StatusText(&UnitConfig::start_status)},
      {"finish-status", true, StatusText(&UnitConfig::finish_status)},
      {"restart-status", true, StatusText(&UnitConfig::restart_status)},
      {"busy", true,
       [](SimOptions& o, std::string_view v) {
         return ParseNumber<unsigned>(v, 0, 1'000'000, o.unit.busy_count);
       }},
      {"switch-answer", true, SetSwitchAnswer},
  };
  return entries;
}

// The line, the run and its output.
const std::vector<OptionEntry>& RunOptions() {
  static const std::vector<OptionEntry> entries{
      {"baud", true,
       [](SimOptions& o, std::string_view v) {
         unsigned baud = 0;
         if (!ParseNumber<unsigned>(v, 0, 4'000'000, baud)) return false;
         o.baud = baud;
         return true;
       }},
      {"power-cycle-after", true,
       [](SimOptions& o, std::string_view v) {
         int ms = 0;
         if (!ParseNumber<int>(v, 0, kMaxMs, ms)) return false;
         o.power_cycle_after_ms = ms;
         return true;
       }},
      {"power-cycle-after-switch", true,
       [](SimOptions& o, std::string_view v) {
         int ms = 0;
         if (!ParseNumber<int>(v, 0, kMaxMs, ms)) return false;
         o.power_cycle_after_switch_ms = ms;
         return true;
       }},
      {"pace", false, Flag(&SimOptions::pace)},
      {"gap-timeout", true, Milliseconds(&SimOptions::gap_timeout_ms)},
      {"stray-byte", false, Flag(&SimOptions::stray_first)},
      {"pull-after-blocks", true,
       [](SimOptions& o, std::string_view v) { return CountFrom1(v, o.pull_after_blocks); }},
      {"hid", false, Flag(&SimOptions::hid)},
      {"link-file", true, Path(&SimOptions::link_file)},
      {"received", true, Path(&SimOptions::received_file)},
      {"log", true, Path(&SimOptions::log_file)},
      {"exit-after-finish", false, Flag(&SimOptions::exit_after_finish)},
      {"verbose", false, Flag(&SimOptions::verbose)},
      {"help", false, Flag(&SimOptions::help)},
  };
  return entries;
}

// The USB HID bridge; meaningful with --hid only.
const std::vector<OptionEntry>& BridgeOptions() {
  static const std::vector<OptionEntry> entries{
      {"hid-name", true,
       [](SimOptions& o, std::string_view v) {
         if (v.empty() || v.size() > kMaxBridgeName) return false;
         o.bridge.name = std::string(v);
         return true;
       }},
      {"uhid", true,
       [](SimOptions& o, std::string_view v) { return !(o.bridge.uhid_path = v).empty(); }},
      {"unplug-after-blocks", true,
       [](SimOptions& o, std::string_view v) { return CountFrom1(v, o.unplug_after_blocks); }},
      {"replug-after", true, Milliseconds(&SimOptions::replug_after_ms)},
      {"hid-gadget", false, Flag(&SimOptions::usb_gadget)},
  };
  return entries;
}

bool IsBridgeOption(std::string_view name) {
  for (const OptionEntry& entry : BridgeOptions()) {
    if (entry.name == name) return true;
  }
  return false;
}

const OptionEntry* FindOption(std::string_view name) {
  for (const auto* entries : {&UnitOptions(), &RunOptions(), &BridgeOptions()}) {
    for (const OptionEntry& entry : *entries) {
      if (entry.name == name) return &entry;
    }
  }
  return nullptr;
}

// Applies one option; returns false with `error` set when it is not acceptable.
bool ApplyOption(SimOptions& options, std::string_view name, std::string_view value,
                 std::string& error) {
  if (FaultPlan::IsFaultOption(name)) return options.faults.Add(name, value, error);
  const OptionEntry* entry = FindOption(name);
  if (entry == nullptr) {
    error = "unknown option --" + std::string(name);
    return false;
  }
  if ((!entry->takes_value && !value.empty()) || !entry->set(options, value)) {
    error = "--" + std::string(name) + ": bad value \"" + std::string(value) + "\"";
    return false;
  }
  return true;
}

bool TakesValue(std::string_view name) {
  if (FaultPlan::IsFaultOption(name)) return true;
  const OptionEntry* entry = FindOption(name);
  return entry != nullptr && entry->takes_value;
}

}  // namespace

ParsedOptions ParseOptions(std::span<const std::string_view> args) {
  ParsedOptions parsed;
  SimOptions options;
  std::string_view bridge_option;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg.size() < 3 || !arg.starts_with("--")) {
      parsed.error = "unexpected argument \"" + std::string(arg) + "\"";
      return parsed;
    }
    arg.remove_prefix(2);
    const std::size_t equals = arg.find('=');
    std::string_view name = arg.substr(0, equals);
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (TakesValue(name)) {
      if (i + 1 >= args.size() && name == "version") {
        options.program_version = true;
        continue;
      }
      if (i + 1 >= args.size()) {
        parsed.error = "--" + std::string(name) + " needs a value";
        return parsed;
      }
      value = args[++i];
    }
    if (!ApplyOption(options, name, value, parsed.error)) return parsed;
    if (IsBridgeOption(name)) bridge_option = name;
  }
  if (!options.hid && !bridge_option.empty()) {
    parsed.error = "--" + std::string(bridge_option) + " needs --hid";
    return parsed;
  }
  parsed.options = std::move(options);
  return parsed;
}

}  // namespace ecu_sim
