#include "batch/progress_printer.h"

#include <cstdio>

namespace batch {

namespace {

constexpr int bar_width = 30;
constexpr int block_kib = 1;  // a data block is 1024 bytes

std::string MinutesSeconds(std::int64_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return text;
}

}  // namespace

void ProgressPrinter::Update() {
  const ui::Gauge& gauge = form_.Gauge_up_down_loading;
  if (!form_.GroupBox_gauge_up_down_loading.visible) {
    if (shown_) console_.EndBar();
    shown_ = false;
    return;
  }
  if (!shown_ || gauge.max_value != max_ || gauge.progress < last_progress_) {
    Restart();
  }
  if (gauge.progress == last_progress_) return;
  if (last_progress_ >= 0 && !timing_) {
    // The gauge moves when a block is acknowledged, so the rate is measured
    // from its first move on: before it lies the start of the first block.
    timing_ = true;
    start_progress_ = gauge.progress;
    started_ms_ = clock_.now();
  }
  last_progress_ = gauge.progress;
  const int percent = gauge.percent();
  if (console_.out_is_terminal()) {
    console_.Bar(BarText(gauge.progress, gauge.max_value, percent));
    return;
  }
  const int tenth = percent / 10;
  if (tenth <= last_tenth_) return;
  last_tenth_ = tenth;
  console_.Line(std::to_string(tenth * 10) + " %" +
                RateAndTimeLeft(gauge.progress, gauge.max_value));
}

void ProgressPrinter::Restart() {
  shown_ = true;
  max_ = form_.Gauge_up_down_loading.max_value;
  last_progress_ = -1;
  last_tenth_ = 0;
  timing_ = false;
  const std::string title = form_.GroupBox_gauge_up_down_loading.caption;
  if (!title.empty()) console_.Line(title);
}

// ", 12.0 KiB/s, 0:07 left" once a rate can be measured, else nothing.
std::string ProgressPrinter::RateAndTimeLeft(int progress, int max) const {
  const std::int64_t elapsed_ms = clock_.now() - started_ms_;
  const int blocks = progress - start_progress_;
  if (!timing_ || elapsed_ms <= 0 || blocks <= 0) return {};
  const double kib_per_s = blocks * block_kib * 1000.0 / static_cast<double>(elapsed_ms);
  const auto left_s = static_cast<std::int64_t>((max - progress) * block_kib / kib_per_s + 0.5);
  char rate[32];
  std::snprintf(rate, sizeof rate, "%.1f", kib_per_s);
  return std::string(", ") + rate + " KiB/s, " + MinutesSeconds(left_s) + " left";
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
