#include "app/trace_file.h"

#include <cinttypes>
#include <cstdio>

#include "app/command_line.h"
#include "platform/environment.h"
#include "platform/wall_clock.h"
#include "texts/texts.h"
#include "texts/version.h"

namespace app {

namespace {

const char* DirectionWord(core::Direction direction) {
  return direction == core::Direction::sent ? "sent" : "received";
}

const char* ActionWord(core::TimerAction action) {
  switch (action) {
    case core::TimerAction::fired:
      return "fired";
    case core::TimerAction::enabled:
      return "enabled";
    case core::TimerAction::disabled:
      return "disabled";
    case core::TimerAction::interval:
      return "interval set";
  }
  return "changed";
}

const char* ChangeWord(core::PanelChange change) {
  switch (change) {
    case core::PanelChange::shown:
      return "shown";
    case core::PanelChange::changed:
      return "changed";
    case core::PanelChange::hidden:
      return "hidden";
  }
  return "changed";
}

std::string Hex(std::span<const std::uint8_t> data) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(data.size() * 3);
  for (const std::uint8_t b : data) {
    hex += ' ';
    hex += digits[b >> 4];
    hex += digits[b & 0xF];
  }
  return hex;
}

}  // namespace

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b == '"' || b == '\\' || b < 0x20 || b > 0x7E) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02x", b);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

core::Result<std::unique_ptr<TraceFile>> TraceFile::Open(const std::string& path,
                                                         const core::EventLoop& clock) {
  auto out = platform::OutputFile::Create(path);
  if (!out) return out.error();
  (*out)->write(std::string("zekflash trace\nversion: ") + texts::program_name + " " +
                texts::release_version + "\nstarted: " + platform::UtcNow() + "\n");
  if (auto written = (*out)->flush(); !written) return written.error();
  return std::unique_ptr<TraceFile>(new TraceFile(std::move(*out), clock));
}

TraceFile::TraceFile(std::unique_ptr<platform::OutputFile> out, const core::EventLoop& clock)
    : out_(std::move(out)), clock_(clock), start_us_(clock.now_us()) {}

void TraceFile::bytes(core::Direction direction, std::string_view port,
                      std::span<const std::uint8_t> data) {
  Line(std::string(DirectionWord(direction)) + " " + Quoted(port) + Hex(data), false);
}

void TraceFile::file(std::string_view path, std::size_t size, std::uint32_t crc32) {
  char figures[64];
  std::snprintf(figures, sizeof figures, " size %zu crc32 %08" PRIx32, size, crc32);
  Line("file " + Quoted(path) + figures, true);
}

void TraceFile::timer(std::string_view name, core::TimerAction action, int interval_ms) {
  Line("timer " + std::string(name) + " " + ActionWord(action) + ", interval " +
           std::to_string(interval_ms) + " ms",
       false);
}

void TraceFile::panel(std::string_view name, core::PanelChange change,
                      const std::vector<std::string>& lines) {
  std::string text = "panel " + std::string(name) + " " + ChangeWord(change);
  for (const std::string& line : lines) text += " " + Quoted(line);
  Line(text, true);
}

void TraceFile::message_box(std::string_view kind, std::string_view text, std::string_view answer) {
  Line("box " + std::string(kind) + " " + Quoted(text) + " answer " + std::string(answer), true);
}

void TraceFile::Line(const std::string& text, bool flush) {
  const std::int64_t us = clock_.now_us() - start_us_;
  char stamp[48];
  std::snprintf(stamp, sizeof stamp, "+%" PRId64 ".%06" PRId64 " ", us / 1000000, us % 1000000);
  out_->write(stamp + text + '\n');
  // A trace that can no longer be written must not stop the download it records.
  if (flush) static_cast<void>(out_->flush());
}

std::optional<std::string> TraceFromEnvironment() {
  std::optional<std::string> variable = platform::EnvironmentVariable("ZEKFLASH_TRACE");
  if (variable && variable->empty()) return std::nullopt;
  return variable;
}

WantedTrace OpenWindowTrace(std::vector<std::string>& args, const core::EventLoop& loop) {
  std::optional<std::string> path = TakeTraceFile(args);
  if (!path) path = TraceFromEnvironment();
  if (!path) return {};
  if (path->empty()) return {nullptr, texts::trace_needs_file};
  auto opened = TraceFile::Open(*path, loop);
  if (!opened) return {nullptr, texts::TraceNotWritable(*path, opened.error().text)};
  return {std::move(*opened), {}};
}

}  // namespace app
