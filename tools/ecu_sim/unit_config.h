#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace ecu_sim {

enum class SwitchAnswer { kBrace, kF, kNone };

// What the simulated unit is and how it answers when no fault is asked for.
struct UnitConfig {
  std::string version = "3M0100001";
  std::string serial = "123456";
  std::uint16_t access_level = 1;
  // Empty: any access code is accepted.
  std::optional<std::array<std::uint8_t, 4>> access_code;
  std::uint16_t engine_raw = 0;
  std::uint16_t battery_raw = 56;  // 56 × 0.25 + 8.0 = 22 V
  std::string prepare_status = "OK";
  std::string start_status = "OK";
  std::string finish_status = "OK";
  std::string restart_status = "OK";
  unsigned busy_count = 0;  // "wK" answers to the finish request before its status
  SwitchAnswer switch_answer = SwitchAnswer::kBrace;
};

// The families whose version text begins with "6" or "8" talk at 921600 baud and
// send the long status reply.
inline bool IsFastFamily(const std::string& version) {
  return !version.empty() && (version[0] == '6' || version[0] == '8');
}

}  // namespace ecu_sim
