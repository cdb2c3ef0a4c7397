// The download itself: start, blocks and finish.
#include <algorithm>

#include "unit.h"

namespace ecu_sim {

namespace {

constexpr std::size_t kBlockHeader = 2;  // 'B' and the block number

UnitReply StatusAnswer(char code, const std::string& status, std::string note) {
  UnitReply reply;
  reply.bytes = TextReply(code, status);
  reply.note = note.empty() ? status : status + " " + note;
  return reply;
}

std::string BlockName(std::size_t index) {
  return "block " + std::to_string(index) + " (number " + std::to_string(index % 256) + ")";
}

}  // namespace

bool Unit::CarriesOurSerial(const Bytes& request) const {
  return request.size() == 1 + config_.serial.size() &&
         std::equal(config_.serial.begin(), config_.serial.end(), request.begin() + 1);
}

UnitReply Unit::Start(const Bytes& request, const std::optional<std::string>& status) {
  if (!CarriesOurSerial(request)) return StatusAnswer('U', "NO", "serial number mismatch");
  const std::string answer = status.value_or(config_.start_status);
  UnitReply reply = StatusAnswer('U', answer, "");
  if (answer == "OK") {
    image_.Clear();
    downloading_ = true;
    next_block_ = 0;
    busy_left_ = config_.busy_count;
    ++download_number_;
    reply.image_changed = true;
    reply.note += " download " + std::to_string(download_number_);
  }
  return reply;
}

// Stores a block whose checksum was verified; empty result when it was taken.
std::string Unit::StoreBlock(const Bytes& request) {
  if (!downloading_) return "no download started";
  const std::uint8_t number = request[1];
  const auto data = std::span(request).subspan(kBlockHeader, ReceivedImage::kBlockSize);
  if (number == next_block_ % 256) {
    image_.Store(next_block_++, data);
    return {};
  }
  // The program sends a block again when our answer got lost: it replaces the last one.
  if (next_block_ > 0 && number == (next_block_ - 1) % 256) {
    image_.Store(next_block_ - 1, data);
    return {};
  }
  return "out of sequence: number " + std::to_string(number) + ", expected " +
         std::to_string(next_block_ % 256);
}

UnitReply Unit::Block(const Bytes& request, const std::optional<std::string>& status) {
  if (!HasValidChecksum(request)) return StatusAnswer('B', "FF", "bad checksum");
  if (status && *status != "OK") {
    return StatusAnswer('B', *status, "as asked, " + BlockName(next_block_) + " not taken");
  }
  const std::size_t before = next_block_;
  const std::string problem = StoreBlock(request);
  if (!problem.empty()) return StatusAnswer('B', "FF", problem);
  UnitReply reply = StatusAnswer('B', "OK", BlockName(next_block_ == before ? before - 1 : before));
  if (next_block_ == before) reply.note += " again";
  reply.image_changed = true;
  return reply;
}

UnitReply Unit::Finish(const Bytes& request, const std::optional<std::string>& status) {
  if (!CarriesOurSerial(request)) return StatusAnswer('u', "NO", "serial number mismatch");
  if (!status && busy_left_ > 0) {
    --busy_left_;
    return StatusAnswer('u', "wK", "busy");
  }
  const std::string answer = status.value_or(config_.finish_status);
  UnitReply reply =
      StatusAnswer('u', answer, std::to_string(image_.block_count()) + " blocks received");
  if (answer == "OK") {
    downloading_ = false;
    reply.download_finished = true;
  }
  return reply;
}

}  // namespace ecu_sim
