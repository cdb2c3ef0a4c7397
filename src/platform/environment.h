#pragma once

#include <optional>
#include <string>

namespace platform {

// The value of the environment variable `name`, or nothing when it is not set.
std::optional<std::string> EnvironmentVariable(const std::string& name);

}  // namespace platform
