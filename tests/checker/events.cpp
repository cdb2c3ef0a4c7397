#include "events.h"

#include <type_traits>

namespace checker {

namespace {

const char* const fault_names[] = {"whole",
                                   "split",
                                   "late",
                                   "lost",
                                   "with a bad checksum",
                                   "with another status",
                                   "as another kind of reply",
                                   "with a wrong count byte"};
const char* const file_names[] = {"the good image",
                                  "an older image",
                                  "a damaged image",
                                  "the script",
                                  "a script naming a damaged image",
                                  "the odd script",
                                  "a script naming no image",
                                  "nothing (dialog cancelled)"};
const char* const line_faults[] = {"the next read fails", "the next write fails",
                                   "the next write is short", "the port list cannot be read",
                                   "the port list can be read again"};

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (unsigned char c : bytes) s += std::string(" ") + digits[c >> 4] + digits[c & 15];
  return s;
}

}  // namespace

std::string Describe(const Event& event) {
  return std::visit(
      [](const auto& e) -> std::string {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, Answer>) {
          return std::string("unit answers the ") + (e.oldest ? "oldest" : "latest") + " request " +
                 fault_names[static_cast<int>(e.fault)] + " (" + std::to_string(e.variant) + ")";
        } else if constexpr (std::is_same_v<E, Report>) {
          return std::string("unit reports back by itself: r") + report_statuses[e.status] +
                 (e.times > 1 ? ", twice" : "");
        } else if constexpr (std::is_same_v<E, Stray>) {
          return "stray bytes" + Hex(e.bytes);
        } else if constexpr (std::is_same_v<E, Tick>) {
          return "tick " + std::to_string(e.ms) + " ms";
        } else if constexpr (std::is_same_v<E, Press>) {
          return "press " + e.control;
        } else if constexpr (std::is_same_v<E, ChoosePort>) {
          return std::string("pick entry ") + std::to_string(e.index) + " of the " +
                 (e.group == 0 ? "RS232" : "RS232 over USB") + " port list";
        } else if constexpr (std::is_same_v<E, Open>) {
          return std::string("open ") + file_names[static_cast<int>(e.file)] +
                 (e.yes ? ", Yes" : ", No") + " if asked";
        } else if constexpr (std::is_same_v<E, Unplug>) {
          return e.other ? "the bridges with nobody behind them go"
                         : "the unit's port or bridge goes";
        } else if constexpr (std::is_same_v<E, Replug>) {
          return "the unit's port or bridge comes back";
        } else if constexpr (std::is_same_v<E, SecondBridge>) {
          return "another bridge is plugged in";
        } else if constexpr (std::is_same_v<E, Line>) {
          return line_faults[static_cast<int>(e.fault)];
        } else {
          return std::string("script image ") + (e.image == 0 ? "A" : "B") +
                 (e.damaged ? " is damaged on disk" : " is whole again");
        }
      },
      event);
}

}  // namespace checker
