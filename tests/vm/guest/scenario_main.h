#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// The command line of a program that runs in the virtual machine:
// `program scenario [--key value]...`, the scenario's checks, and one line
// that says whether every check passed.
namespace vm_guest {

using Args = std::map<std::string, std::string>;
// Each returns the number of failed checks.
using Scenarios = std::map<std::string, std::function<int(const Args&)>>;

// `prepare` runs before the scenario and stops the program (2) when it fails.
inline int RunScenarioMain(int argc, char** argv, const char* program, const char* usage,
                           const Scenarios& scenarios,
                           const std::function<bool(const Args&)>& prepare = {}) {
  if (argc < 2 || (argc % 2) != 0) {
    std::fprintf(stderr, "usage: %s %s [--key value]...\n", program, usage);
    return 2;
  }
  const std::string scenario = argv[1];
  Args args;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string_view key = argv[i];
    if (!key.starts_with("--")) {
      std::fprintf(stderr, "%s: expected --key, got %s\n", program, argv[i]);
      return 2;
    }
    args[std::string(key.substr(2))] = argv[i + 1];
  }
  if (prepare && !prepare(args)) return 2;
  const auto run = scenarios.find(scenario);
  if (run == scenarios.end()) {
    std::fprintf(stderr, "%s: no scenario %s\n", program, scenario.c_str());
    return 2;
  }
  const int failed = run->second(args);
  std::printf(
      "%s %s: %s\n", program, scenario.c_str(),
      failed == 0 ? "every check passed" : (std::to_string(failed) + " checks failed").c_str());
  return failed == 0 ? 0 : 1;
}

}  // namespace vm_guest
