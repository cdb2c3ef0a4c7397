// Kept apart from everything that includes <termios.h>: the kernel's own termios
// header is the one that reports any rate (also those set as a custom rate).
#include "line_settings.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <array>
#include <string>

namespace ecu_sim {

namespace {

struct Flag {
  tcflag_t bit;
  const char* name;
};

// Settings that change or swallow bytes on the way, and would garble a binary
// frame. Ignoring breaks (IGNBRK) is not among them: a break is no byte.
constexpr std::array<Flag, 7> kInputFlags{{{PARMRK, "PARMRK"},
                                           {ISTRIP, "ISTRIP"},
                                           {INLCR, "INLCR"},
                                           {IGNCR, "IGNCR"},
                                           {ICRNL, "ICRNL"},
                                           {IXON, "IXON"},
                                           {IXOFF, "IXOFF"}}};
constexpr std::array<Flag, 1> kOutputFlags{{{OPOST, "OPOST"}}};
constexpr std::array<Flag, 3> kControlFlags{
    {{PARENB, "PARENB"}, {CSTOPB, "CSTOPB"}, {CRTSCTS, "CRTSCTS"}}};
constexpr std::array<Flag, 3> kLocalFlags{{{ICANON, "ICANON"}, {ECHO, "ECHO"}, {ISIG, "ISIG"}}};

void AddWord(std::string& text, const char* word) {
  if (!text.empty()) text += ' ';
  text += word;
}

template <std::size_t N>
void AddSetFlags(const std::array<Flag, N>& flags, tcflag_t value, std::string& problem) {
  for (const Flag& flag : flags) {
    if ((value & flag.bit) != 0) AddWord(problem, flag.name);
  }
}

std::string FramingProblem(const termios2& t) {
  std::string problem;
  if ((t.c_cflag & CSIZE) != CS8) AddWord(problem, "not-8-data-bits");
  AddSetFlags(kControlFlags, t.c_cflag, problem);
  AddSetFlags(kInputFlags, t.c_iflag, problem);
  AddSetFlags(kOutputFlags, t.c_oflag, problem);
  AddSetFlags(kLocalFlags, t.c_lflag, problem);
  return problem;
}

}  // namespace

std::optional<LineSettings> ReadLineSettings(int fd) {
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return std::nullopt;
  return LineSettings{t.c_ospeed, FramingProblem(t)};
}

std::string LineProblem(const LineSettings& line, unsigned needed_baud) {
  std::string problem;
  if (needed_baud != 0 && line.baud != needed_baud) {
    problem =
        "line at " + std::to_string(line.baud) + " baud, unit needs " + std::to_string(needed_baud);
  }
  if (!line.framing_problem.empty()) {
    problem +=
        std::string(problem.empty() ? "" : "; ") + "line not raw 8N1: " + line.framing_problem;
  }
  return problem;
}

}  // namespace ecu_sim
