#include "platform/common/hid_read_loop.h"

namespace platform {

void RunHidReadLoop(ReportHandOver& handover, const HidReadHooks& hooks) {
  // The failure handed over last, while reads keep failing.
  bool failing = false;
  int told = 0;
  for (;;) {
    HidRead read = hooks.read();
    if (read.kind == HidRead::Kind::stopped) return;
    if (read.kind == HidRead::Kind::report) {
      failing = false;
      if (!handover.hand_over(std::move(read.report))) return;
      continue;
    }
    core::Error error = read.error.value_or(core::Error{"read report", "", 0, "read failed"});
    if (hooks.gone()) {
      handover.hand_over_end(std::move(error));
      return;
    }
    if (!failing || told != error.code) {
      failing = true;
      told = error.code;
      if (!handover.hand_over(std::move(error))) return;
    }
    if (!hooks.pause()) return;
  }
}

}  // namespace platform
