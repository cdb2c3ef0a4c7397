#include "request_log.h"

#include <chrono>
#include <cstdio>

namespace ecu_sim {

std::string KindName(char kind) {
  return kind == 0 ? std::string("?") : std::string(1, kind);
}

bool RequestLog::Open(const std::string& path) {
  if (path.empty()) return true;
  file_.reset(std::fopen(path.c_str(), "w"));
  return file_ != nullptr;
}

void RequestLog::Request(TimePoint when, char kind, std::size_t length, const std::string& answer) {
  Line(when, KindName(kind) + " len=" + std::to_string(length) + " -> " + answer, false);
}

void RequestLog::Event(TimePoint when, const std::string& text) {
  Line(when, "* " + text, false);
}

void RequestLog::Warning(TimePoint when, const std::string& text) {
  Line(when, "* " + text, true);
}

void RequestLog::Line(TimePoint when, const std::string& text, bool to_stderr) {
  // Milliseconds with three decimals: a paced block at 921600 baud takes 11 ms,
  // and what happens between blocks is a matter of microseconds.
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(when - start_).count();
  char ms[32];
  std::snprintf(ms, sizeof ms, "%lld.%03lld", static_cast<long long>(us / 1000),
                static_cast<long long>(us % 1000));
  const std::string line = std::string(ms) + " " + text + "\n";
  if (file_) {
    std::fputs(line.c_str(), file_.get());
    std::fflush(file_.get());
  }
  if (echo_ || to_stderr) std::fprintf(stderr, "zek-ecu-sim: %s", line.c_str());
}

}  // namespace ecu_sim
