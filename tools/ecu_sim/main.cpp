#include <sys/prctl.h>

#include <cstdio>
#include <string_view>
#include <vector>

#include "options.h"
#include "simulator.h"

int main(int argc, char** argv) {
  // The line's timing is kept to the microsecond; the kernel's default slack of
  // 50 us on every wake-up would show as a slower line than the rate allows.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const ecu_sim::ParsedOptions parsed = ecu_sim::ParseOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "zek-ecu-sim: %s\nTry 'zek-ecu-sim --help'.\n", parsed.error.c_str());
    return ecu_sim::kExitUsage;
  }
  if (parsed.options->help) {
    std::fputs(ecu_sim::UsageText().c_str(), stdout);
    return ecu_sim::kExitDone;
  }
  if (parsed.options->program_version) {
    std::printf("zek-ecu-sim (ZEK Firmware downloader) %s\n", ZEK_VERSION);
    return ecu_sim::kExitDone;
  }
  ecu_sim::Simulator simulator(*parsed.options);
  if (const auto failure = simulator.Start()) {
    std::fprintf(stderr, "zek-ecu-sim: %s\n", failure->message.c_str());
    return failure->status;
  }
  return simulator.Run();
}
