#include "batch/console.h"

namespace batch {

namespace {

constexpr const char* clear_to_end_of_line = "\x1b[K";

}  // namespace

void Console::Line(const std::string& text) {
  if (json_ != nullptr) return;
  EndBar();
  out_ << text << '\n' << std::flush;
}

void Console::ErrorLine(const std::string& text) {
  EndBar();
  err_ << "zekflash-cli: " << text << '\n' << std::flush;
}

void Console::Bar(const std::string& text) {
  if (json_ != nullptr) return;
  out_ << '\r' << text << clear_to_end_of_line << std::flush;
  bar_open_ = true;
}

void Console::EndBar() {
  if (!bar_open_) return;
  out_ << '\n' << std::flush;
  bar_open_ = false;
}

void Console::Prompt(const std::string& text) {
  if (json_ != nullptr) return;
  EndBar();
  out_ << text << std::flush;
}

}  // namespace batch
