#pragma once

#include <string>
#include <utility>
#include <variant>

namespace core {

// Why an operation failed: what was attempted, on which port or file, and the
// system's own code and text. Turned into the user's words in one place by
// whoever reports it.
struct Error {
  std::string operation;  // "open", "write", ...
  std::string name;       // port or file
  int code = 0;           // errno (or the system's equivalent), 0 when none applies
  std::string text;       // the system's text for `code`, or our own

  std::string describe() const;
};

// Builds an Error from errno as it stands now.
Error error_from_errno(std::string operation, std::string name);

// A value or the reason there is none.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::move(value)) {}
  Result(Error error) : v_(std::move(error)) {}

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<0>(v_); }
  const T& value() const { return std::get<0>(v_); }
  T& operator*() { return value(); }
  T* operator->() { return &value(); }
  const Error& error() const { return std::get<1>(v_); }

 private:
  std::variant<T, Error> v_;
};

struct Ok {};
using Status = Result<Ok>;

}  // namespace core
