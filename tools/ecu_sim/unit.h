#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "received_image.h"
#include "request_parser.h"
#include "unit_config.h"

namespace ecu_sim {

// What the unit made of one request.
struct UnitReply {
  Bytes bytes;  // empty: the unit does not answer
  std::string note;
  bool download_finished = false;  // the finish request was answered "OK"
  bool image_changed = false;      // a download began or a block was stored
};

// The unit's state and its answers, request by request.
class Unit {
 public:
  explicit Unit(UnitConfig config) : config_(std::move(config)) {}

  // `status` replaces the unit's own two-character status where the reply carries one.
  UnitReply Handle(const ParsedRequest& request, const std::optional<std::string>& status);
  // Power cycle or restart: a download in progress is forgotten.
  void Reset();

  const ReceivedImage& image() const { return image_; }
  unsigned download_number() const { return download_number_; }
  std::size_t status_reply_length() const;

 private:
  UnitReply Status() const;
  UnitReply Access(const Bytes& request) const;
  UnitReply Start(const Bytes& request, const std::optional<std::string>& status);
  UnitReply Block(const Bytes& request, const std::optional<std::string>& status);
  UnitReply Finish(const Bytes& request, const std::optional<std::string>& status);
  UnitReply Switch(const std::optional<std::string>& status) const;
  UnitReply Restart(const std::optional<std::string>& status);
  std::string StoreBlock(const Bytes& request);
  bool CarriesOurSerial(const Bytes& request) const;

  UnitConfig config_;
  ReceivedImage image_;
  bool downloading_ = false;
  std::size_t next_block_ = 0;
  unsigned busy_left_ = 0;
  unsigned download_number_ = 0;
};

}  // namespace ecu_sim
