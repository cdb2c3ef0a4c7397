// The window against sequences of events that the fuzzer's bytes choose: the
// checker's invariants must hold after every event. A breach prints the
// shortened events that lead to it and aborts, so that the input is kept.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "checker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  checker::Choices choices(std::span(data, size));
  const checker::Outcome outcome = checker::Play(choices, 1000);
  if (!outcome.breach) return 0;
  const checker::Outcome shrunk = checker::Shrink(outcome);
  std::fputs(checker::Report("this input", outcome, shrunk).c_str(), stderr);
  std::abort();
}
