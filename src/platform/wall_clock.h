#pragma once

#include <string>

namespace platform {

// The wall clock's time now, in UTC to the second: "2026-12-08 02:47:03 UTC".
// For a person reading a record afterwards; intervals use the loop's clock.
std::string UtcNow();

}  // namespace platform
