#include "report_descriptor.h"

#include <vector>

namespace vm_guest {

namespace {

// The global items that decide a report's size, saved and restored by push and pop.
struct Globals {
  std::uint32_t size_bits = 0;
  std::uint32_t count = 0;
  std::uint8_t id = 0;
};

enum ItemType { kMain = 0, kGlobal = 1 };
enum MainTag { kInputTag = 8, kOutputTag = 9, kFeatureTag = 11 };
enum GlobalTag { kSizeTag = 7, kIdTag = 8, kCountTag = 9, kPushTag = 10, kPopTag = 11 };
constexpr std::uint8_t kLongItem = 0xFE;

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = bytes.size(); i > 0; --i) value = (value << 8) | bytes[i - 1];
  return value;
}

void ApplyGlobal(unsigned tag, std::uint32_t value, Globals& g, std::vector<Globals>& stack) {
  if (tag == kSizeTag) g.size_bits = value;
  if (tag == kCountTag) g.count = value;
  if (tag == kIdTag) g.id = static_cast<std::uint8_t>(value);
  if (tag == kPushTag) stack.push_back(g);
  if (tag == kPopTag && !stack.empty()) {
    g = stack.back();
    stack.pop_back();
  }
}

}  // namespace

ReportLengths ParseReportLengths(std::span<const std::uint8_t> descriptor) {
  std::map<std::pair<ReportKind, std::uint8_t>, std::uint32_t> bits;
  Globals g;
  std::vector<Globals> stack;
  std::size_t at = 0;
  while (at < descriptor.size()) {
    const std::uint8_t prefix = descriptor[at];
    if (prefix == kLongItem) {
      at += 3 + (at + 1 < descriptor.size() ? descriptor[at + 1] : 0);
      continue;
    }
    const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
    if (at + 1 + size > descriptor.size()) break;
    const std::uint32_t value = LittleEndian(descriptor.subspan(at + 1, size));
    const unsigned type = (prefix >> 2) & 3;
    const unsigned tag = prefix >> 4;
    if (type == kGlobal) ApplyGlobal(tag, value, g, stack);
    if (type == kMain && (tag == kInputTag || tag == kOutputTag || tag == kFeatureTag)) {
      const ReportKind kind = tag == kInputTag    ? ReportKind::kInput
                              : tag == kOutputTag ? ReportKind::kOutput
                                                  : ReportKind::kFeature;
      bits[{kind, g.id}] += g.size_bits * g.count;
    }
    at += 1 + size;
  }
  ReportLengths lengths;
  for (const auto& [key, total] : bits) lengths[key] = (total + 7) / 8 + (key.second != 0 ? 1 : 0);
  return lengths;
}

}  // namespace vm_guest
