#pragma once

#include <cstdio>
#include <cstdlib>

// An invariant the readers promise for every input: a broken one is a finding,
// reported like a crash.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}
