#pragma once

#include <utility>

namespace platform {

// Owns one of the system's handles and closes it once: a file descriptor on
// Linux, a kernel HANDLE on Windows. `Traits` says what the handle is:
//   using Handle = ...;                  the system's type
//   static Handle none();                what holds nothing
//   static bool valid(Handle handle);    whether `handle` is one to close
//   static void close(Handle handle);
template <class Traits>
class UniqueHandleOf {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandleOf() = default;
  explicit UniqueHandleOf(Handle handle) : handle_(handle) {}
  UniqueHandleOf(UniqueHandleOf&& other) noexcept : handle_(other.release()) {}
  UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandleOf(const UniqueHandleOf&) = delete;
  UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;
  ~UniqueHandleOf() { reset(); }

  Handle get() const { return handle_; }
  bool valid() const { return Traits::valid(handle_); }
  Handle release() { return std::exchange(handle_, Traits::none()); }
  // Closes the handle held, if any, and holds `handle` instead.
  void reset(Handle handle = Traits::none()) {
    if (valid()) Traits::close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::none();
};

}  // namespace platform
