// Plays random sequences of events on the window and holds its invariants after
// each event. Each run is replayed exactly by its start value.
//
//   zek-checker                    start values 1 to 300 (ZEK_CHECKER_RUNS: how many)
//   zek-checker --runs N --from S  start values S to S+N-1
//   zek-checker --minutes M        from 1 (or --from S) on, for M minutes
//   zek-checker V ...              the start values given
//   --every                        list every start value of each kind of breach, not 8
//
// A breach prints the invariant, the events that lead to it (shortened) and
// the start value. Each kind of breach is reported in full once; later runs
// with the same kind are counted. Exit status 1 when any run broke an invariant.
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "checker.h"

namespace {

struct Kind {
  int runs = 0;
  std::vector<std::uint64_t> start_values;
};

}  // namespace

int main(int argc, char** argv) {
  // Every run writes its files into a folder of its own and removes it again;
  // on a busy disk that costs more than the run itself, in memory nothing.
  if (std::getenv("TMPDIR") == nullptr && ::access("/dev/shm", W_OK) == 0) {
    ::setenv("TMPDIR", "/dev/shm", 0);
  }
  std::vector<std::uint64_t> given;
  std::uint64_t from = 1;
  std::uint64_t runs = 300;
  if (const char* env = std::getenv("ZEK_CHECKER_RUNS")) runs = std::strtoull(env, nullptr, 10);
  double minutes = 0;
  int events = 200;
  std::size_t listed = 8;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : "0";
    if (arg == "--runs") {
      runs = std::strtoull(value, nullptr, 10), ++i;
    } else if (arg == "--from") {
      from = std::strtoull(value, nullptr, 10), ++i;
    } else if (arg == "--minutes") {
      minutes = std::strtod(value, nullptr), ++i;
    } else if (arg == "--every") {
      listed = SIZE_MAX;
    } else if (arg == "--events") {
      events = std::atoi(value), ++i;
    } else {
      given.push_back(std::strtoull(arg.c_str(), nullptr, 10));
    }
  }
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<std::int64_t>(minutes * 60000));
  std::map<std::string, Kind> kinds;
  std::uint64_t played = 0;
  std::uint64_t failed = 0;
  for (std::uint64_t i = 0;; ++i) {
    if (!given.empty() ? i >= given.size()
        : minutes > 0  ? std::chrono::steady_clock::now() >= deadline
                       : i >= runs) {
      break;
    }
    const std::uint64_t value = given.empty() ? from + i : given[i];
    checker::Choices choices(value);
    const checker::Outcome outcome = checker::Play(choices, events);
    ++played;
    if (!outcome.breach) continue;
    ++failed;
    Kind& kind = kinds[outcome.breach->invariant + ": " + outcome.breach->what];
    if (kind.runs++ == 0) {
      const std::string origin = "start value " + std::to_string(value);
      std::fputs(checker::Report(origin, outcome, checker::Shrink(outcome)).c_str(), stdout);
      std::fflush(stdout);
    }
    if (kind.start_values.size() < listed) kind.start_values.push_back(value);
  }
  std::printf("zek-checker: %llu runs, %llu broke an invariant\n",
              static_cast<unsigned long long>(played), static_cast<unsigned long long>(failed));
  for (const auto& [name, kind] : kinds) {
    std::printf("  %d x %s; start values", kind.runs, name.c_str());
    for (std::uint64_t v : kind.start_values)
      std::printf(" %llu", static_cast<unsigned long long>(v));
    std::printf("\n");
  }
  return failed == 0 ? 0 : 1;
}
