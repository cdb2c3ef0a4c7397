#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "line_settings.h"
#include "message.h"
#include "unique_fd.h"

namespace ecu_sim {

// Our end of the cable: a pseudo-terminal master. The program opens the far end.
class PtyLink {
 public:
  enum class ReadOutcome { kData, kNothing, kHangUp };

  // Empty with `error` set when no pseudo-terminal could be made.
  static std::unique_ptr<PtyLink> Open(std::string& error);

  const std::string& far_end_path() const { return far_end_path_; }
  int master_fd() const { return master_.get(); }
  bool is_open() const { return master_.valid(); }

  // Appends what is waiting to `into`.
  ReadOutcome Read(Bytes& into);
  // Writes what the line takes now; returns the number of bytes written.
  std::size_t Write(std::span<const std::uint8_t> bytes);
  std::optional<LineSettings> Line() const;
  // Bytes we sent that the program has not read yet; empty when that cannot be told.
  std::optional<std::size_t> UnreadByFarEnd() const;
  // The cable is pulled: the far end sees a hang-up.
  void Pull();

 private:
  PtyLink(UniqueFd master, UniqueFd far_end, std::string path);

  UniqueFd master_;
  // Held open so the master does not hang up before and between the program's opens.
  UniqueFd far_end_;
  std::string far_end_path_;
};

}  // namespace ecu_sim
