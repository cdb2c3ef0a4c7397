#include "batch/progress_printer.h"

#include <cstdio>

namespace batch {

namespace {

constexpr int bar_width = 30;
constexpr int block_bytes = 1024;

std::string MinutesSeconds(std::int64_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return text;
}

}  // namespace

void ProgressPrinter::Update() {
  const app::GaugeReading gauge = window_.Gauge();
  if (!gauge.shown) {
    if (shown_) console_.EndBar();
    shown_ = false;
    return;
  }
  if (!shown_ || gauge.max != max_ || gauge.progress < last_progress_) Restart(gauge);
  if (gauge.progress == last_progress_) return;
  if (last_progress_ >= 0 && !timing_) {
    // The gauge moves when a block is acknowledged, so the rate is measured
    // from its first move on: before it lies the start of the first block.
    timing_ = true;
    start_progress_ = gauge.progress;
    started_us_ = clock_.now_us();
  }
  last_progress_ = gauge.progress;
  if (JsonEvents* json = console_.json()) {
    const auto speed = Measure(gauge.progress, gauge.max);
    json->Progress(gauge.progress, gauge.max,
                   speed ? std::optional(speed->bytes_per_s) : std::nullopt,
                   speed ? std::optional(speed->seconds_left) : std::nullopt);
    return;
  }
  const int percent = gauge.percent;
  if (console_.out_is_terminal()) {
    console_.Bar(BarText(gauge.progress, gauge.max, percent));
    return;
  }
  const int tenth = percent / 10;
  if (tenth <= last_tenth_) return;
  last_tenth_ = tenth;
  console_.Line(std::to_string(tenth * 10) + " %" + RateAndTimeLeft(gauge.progress, gauge.max));
}

void ProgressPrinter::Restart(const app::GaugeReading& gauge) {
  shown_ = true;
  max_ = gauge.max;
  last_progress_ = -1;
  last_tenth_ = 0;
  timing_ = false;
  if (!gauge.title.empty()) console_.Line(gauge.title);
}

auto ProgressPrinter::Measure(int progress, int max) const -> std::optional<Speed> {
  const std::int64_t elapsed_us = clock_.now_us() - started_us_;
  const int blocks = progress - start_progress_;
  if (!timing_ || elapsed_us <= 0 || blocks <= 0) return std::nullopt;
  const double bytes_per_s = blocks * block_bytes * 1e6 / static_cast<double>(elapsed_us);
  return Speed{bytes_per_s,
               static_cast<std::int64_t>((max - progress) * block_bytes / bytes_per_s + 0.5)};
}

// ", 12.0 KiB/s, 0:07 left" once a rate can be measured, else nothing.
std::string ProgressPrinter::RateAndTimeLeft(int progress, int max) const {
  const auto speed = Measure(progress, max);
  if (!speed) return {};
  char rate[32];
  std::snprintf(rate, sizeof rate, "%.1f", speed->bytes_per_s / 1024);
  return std::string(", ") + rate + " KiB/s, " + MinutesSeconds(speed->seconds_left) + " left";
}

std::string ProgressPrinter::BarText(int progress, int max, int percent) const {
  const int filled = percent * bar_width / 100;
  std::string bar = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                    std::string(static_cast<std::size_t>(bar_width - filled), '-') + "] ";
  char figures[48];
  std::snprintf(figures, sizeof figures, "%3d %%  block %d of %d", percent, progress, max);
  return bar + figures + RateAndTimeLeft(progress, max);
}

}  // namespace batch
