#pragma once

#include <memory>
#include <string>

#include "line_settings.h"
#include "link.h"
#include "unique_fd.h"

namespace ecu_sim {

// Our end of the cable: a pseudo-terminal master. The program opens the far end.
class PtyLink : public Link {
 public:
  // Empty with `error` set when no pseudo-terminal could be made.
  static std::unique_ptr<PtyLink> Open(std::string& error);

  std::string Name() const override { return far_end_path_; }
  int fd() const override { return master_.get(); }
  ReadOutcome Read(Bytes& into) override;
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  std::string LineProblem(unsigned needed_baud) const override;
  std::optional<unsigned> LineBaud() const override;
  std::optional<std::size_t> UnreadByFarEnd() const override;
  // Closing our end throws away what the program has not read.
  bool KeepsWrittenReplies() const override { return false; }
  // The far end sees a hang-up.
  void Pull() override;

 private:
  std::optional<LineSettings> Line() const;

  PtyLink(UniqueFd master, UniqueFd far_end, std::string path);

  UniqueFd master_;
  // Held open so the master does not hang up before and between the program's opens.
  UniqueFd far_end_;
  std::string far_end_path_;
};

}  // namespace ecu_sim
