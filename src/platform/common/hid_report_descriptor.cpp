#include "platform/common/hid_report_descriptor.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace platform {

namespace {

// The global items that size a report. Push and Pop save and restore all of
// them, the report ID with the rest.
struct Globals {
  std::uint32_t size_bits = 0;
  std::uint32_t count = 0;
  std::uint8_t id = 0;
};

enum class ItemType : std::uint8_t { main = 0, global = 1, local = 2, reserved = 3 };

enum MainTag : std::uint8_t { input_tag = 0x8, output_tag = 0x9, feature_tag = 0xB };
enum GlobalTag : std::uint8_t {
  report_size_tag = 0x7,
  report_id_tag = 0x8,
  report_count_tag = 0x9,
  push_tag = 0xA,
  pop_tag = 0xB,
};

constexpr std::uint8_t long_item_prefix = 0xFE;
constexpr std::size_t max_push_depth = 16;

struct Item {
  ItemType type;
  std::uint8_t tag;
  std::uint32_t value;
};

core::Error Refused(std::size_t offset, const std::string& why) {
  return core::Error{"read report descriptor", "", 0, why + " at byte " + std::to_string(offset)};
}

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = bytes.size(); i > 0; --i) value = (value << 8) | bytes[i - 1];
  return value;
}

// Reads the item at `at` and moves `at` past it; nothing for a long item.
core::Result<std::optional<Item>> NextItem(std::span<const std::uint8_t> d, std::size_t& at) {
  const std::size_t start = at;
  const std::uint8_t prefix = d[at];
  if (prefix == long_item_prefix) {
    if (d.size() - at < 3 || d.size() - at - 3 < d[at + 1]) {
      return Refused(start, "long item cut short");
    }
    at += 3 + d[at + 1];
    return std::optional<Item>();
  }
  const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
  if (d.size() - at - 1 < size) return Refused(start, "item cut short");
  const Item item{static_cast<ItemType>((prefix >> 2) & 3), static_cast<std::uint8_t>(prefix >> 4),
                  LittleEndian(d.subspan(at + 1, size))};
  at += 1 + size;
  return std::optional<Item>(item);
}

class Parser {
 public:
  core::Status take(const Item& item, std::size_t offset) {
    if (item.type == ItemType::global) return global(item, offset);
    if (item.type == ItemType::main) return main(item, offset);
    return core::Ok{};
  }
  HidReportLayout layout;

 private:
  core::Status global(const Item& item, std::size_t offset) {
    switch (item.tag) {
      case report_size_tag:
        g_.size_bits = item.value;
        break;
      case report_count_tag:
        g_.count = item.value;
        break;
      case report_id_tag:
        if (item.value == 0 || item.value > 255) return Refused(offset, "report ID out of range");
        g_.id = static_cast<std::uint8_t>(item.value);
        layout.numbered = true;
        break;
      case push_tag:
        if (stack_.size() == max_push_depth) return Refused(offset, "Push nested too deep");
        stack_.push_back(g_);
        break;
      case pop_tag:
        if (stack_.empty()) return Refused(offset, "Pop without Push");
        g_ = stack_.back();
        stack_.pop_back();
        break;
      default:
        break;
    }
    return core::Ok{};
  }

  core::Status main(const Item& item, std::size_t offset) {
    HidReportKind kind;
    switch (item.tag) {
      case input_tag:
        kind = HidReportKind::input;
        break;
      case output_tag:
        kind = HidReportKind::output;
        break;
      case feature_tag:
        kind = HidReportKind::feature;
        break;
      default:
        return core::Ok{};
    }
    // Both factors are below 2^32, so their product fits; the sum is checked
    // before it could grow past the limit.
    constexpr std::uint64_t limit = max_hid_report_bytes * 8;
    const std::uint64_t added = std::uint64_t{g_.size_bits} * g_.count;
    std::uint64_t& total = layout.bits[{kind, g_.id}];
    if (added > limit || total + added > limit) return Refused(offset, "report too long");
    total += added;
    return core::Ok{};
  }

  Globals g_;
  std::vector<Globals> stack_;
};

}  // namespace

std::size_t HidReportLayout::wire_length(HidReportKind kind, std::uint8_t id) const {
  const auto it = bits.find({kind, id});
  if (it == bits.end()) return 0;
  return static_cast<std::size_t>((it->second + 7) / 8) + (numbered ? 1 : 0);
}

std::size_t HidReportLayout::longest(HidReportKind kind) const {
  std::size_t longest = 0;
  for (const auto& [key, total] : bits) {
    if (key.first != kind) continue;
    longest = std::max(longest, static_cast<std::size_t>((total + 7) / 8) + 1);
  }
  return longest;
}

HidReportLengths HidReportLayout::lengths() const {
  return {longest(HidReportKind::input), longest(HidReportKind::output),
          longest(HidReportKind::feature)};
}

core::Result<HidReportLayout> ParseReportDescriptor(std::span<const std::uint8_t> descriptor) {
  Parser parser;
  std::size_t at = 0;
  while (at < descriptor.size()) {
    const std::size_t offset = at;
    auto item = NextItem(descriptor, at);
    if (!item) return item.error();
    if (!item->has_value()) continue;
    if (auto taken = parser.take(**item, offset); !taken) return taken.error();
  }
  return std::move(parser.layout);
}

}  // namespace platform
