#include <cstdio>
#include <string_view>
#include <vector>

#include "options.h"
#include "simulator.h"

int main(int argc, char** argv) {
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
  ecu_sim::Simulator simulator(*parsed.options);
  std::string error;
  if (!simulator.Start(error)) {
    std::fprintf(stderr, "zek-ecu-sim: %s\n", error.c_str());
    return ecu_sim::kExitFailure;
  }
  return simulator.Run();
}
