#include "core/result.h"

#include <cerrno>
#include <cstring>

namespace core {

std::string Error::describe() const {
  std::string s = operation;
  if (!name.empty()) s += " " + name;
  if (!text.empty()) s += ": " + text;
  if (code != 0) s += " (error " + std::to_string(code) + ")";
  return s;
}

Error error_from_errno(std::string operation, std::string name) {
  const int e = errno;
  return Error{std::move(operation), std::move(name), e, std::strerror(e)};
}

}  // namespace core
