#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "clock.h"

namespace ecu_sim {

// One line per request ("<ms> <kind> len=<n> -> <answer>") and per event of the
// unit ("<ms> * <text>"), time in milliseconds since the start of the run.
class RequestLog {
 public:
  explicit RequestLog(TimePoint start) : start_(start) {}

  // Empty `path`: no file. Returns false when the file cannot be opened.
  bool Open(const std::string& path);
  void set_echo(bool echo) { echo_ = echo; }

  void Request(TimePoint when, char kind, std::size_t length, const std::string& answer);
  void Event(TimePoint when, const std::string& text);
  // Also shown on the error stream whether or not the log echoes.
  void Warning(TimePoint when, const std::string& text);

 private:
  void Line(TimePoint when, const std::string& text, bool to_stderr);

  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  TimePoint start_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  bool echo_ = false;
};

// A request kind for the log: the letter, or "?" for bytes that start no request.
std::string KindName(char kind);

}  // namespace ecu_sim
