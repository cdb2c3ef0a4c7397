#pragma once

#include <optional>
#include <string>

namespace ecu_sim {

// The line settings the far end of the pseudo-terminal was given.
struct LineSettings {
  unsigned baud = 0;
  // Empty when the line is raw 8N1 without flow control; otherwise what is wrong.
  std::string framing_problem;
};

// Reads the far end's settings through `fd` (the master or a descriptor of the far end).
std::optional<LineSettings> ReadLineSettings(int fd);

// Empty when a unit that needs `needed_baud` (0: any) understands a line set so;
// otherwise the reason it sees garbage.
std::string LineProblem(const LineSettings& line, unsigned needed_baud);

}  // namespace ecu_sim
