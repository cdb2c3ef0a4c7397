#include "batch/refusal_text.h"

#include "batch/printable.h"

namespace batch {

namespace {

const char* Why(firmware::RefusalReason reason) {
  using enum firmware::RefusalReason;
  switch (reason) {
    case unreadable:
      return "the file cannot be read";
    case damaged:
      return "the checksum is wrong: the file is damaged";
    case no_blocks:
      return "no 1024 data blocks";
    case incomplete_last_block:
      return "the last block is incomplete: the file is damaged";
    case finish_wait_unreadable:
      return "the finish wait cannot be read";
    case unsupported_family:
      return "the family code is not supported";
    case not_a_script:
      return "the first line is not [begin1]: the script is not run";
    case no_begin2:
      return "no [begin2] line, or a line without CR LF";
  }
  return "refused";
}

}  // namespace

std::string RefusalText(const firmware::Refusal& refusal) {
  const std::string why = Why(refusal.reason);
  return refusal.NamedInScript() ? Printable(refusal.file) + ": " + why : why;
}

}  // namespace batch
