#include "fault_plan.h"

#include <array>
#include <charconv>
#include <utility>

namespace ecu_sim {

namespace {

constexpr std::array<std::pair<std::string_view, char>, 10> kKindWords{{{"version", 'V'},
                                                                        {"serial", 'S'},
                                                                        {"prepare", 'W'},
                                                                        {"access", 'a'},
                                                                        {"status", 'd'},
                                                                        {"start", 'U'},
                                                                        {"block", 'B'},
                                                                        {"finish", 'u'},
                                                                        {"switch", '}'},
                                                                        {"restart", 'r'}}};

constexpr long long kMaxMs = 600'000;

std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t colon = text.find(':', start);
    fields.push_back(text.substr(start, colon - start));
    if (colon == std::string_view::npos) return fields;
    start = colon + 1;
  }
}

std::optional<long long> Number(std::string_view text, long long min, long long max) {
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

char ParseKind(std::string_view text) {
  if (text.size() == 1) {
    for (const auto& [word, letter] : kKindWords) {
      if (text[0] == letter) return letter;
    }
    return 0;
  }
  for (const auto& [word, letter] : kKindWords) {
    if (text == word) return letter;
  }
  return 0;
}

bool FaultPlan::IsFaultOption(std::string_view option) {
  return option == "drop" || option == "split" || option == "delay" || option == "corrupt" ||
         option == "stray" || option == "answer";
}

bool FaultPlan::Add(std::string_view option, std::string_view value, std::string& error) {
  struct Shape {
    std::string_view name;
    Type type;
    std::size_t min_fields;
    std::size_t max_fields;
  };
  static constexpr std::array<Shape, 6> kShapes{{{"drop", Type::kDrop, 2, 2},
                                                 {"split", Type::kSplit, 3, 4},
                                                 {"delay", Type::kDelay, 3, 3},
                                                 {"corrupt", Type::kCorrupt, 2, 2},
                                                 {"stray", Type::kStray, 2, 2},
                                                 {"answer", Type::kAnswer, 3, 3}}};
  const auto fields = SplitFields(value);
  for (const Shape& shape : kShapes) {
    if (shape.name != option) continue;
    Rule rule{shape.type, 0, 0, 0, kDefaultSplitDelayMs, {}};
    const bool fits = fields.size() >= shape.min_fields && fields.size() <= shape.max_fields;
    const std::string problem = fits ? ParseRule(fields, rule) : "wrong number of fields";
    if (!problem.empty()) {
      error = "--" + std::string(option) + " " + std::string(value) + ": " + problem;
      return false;
    }
    rules_.push_back(std::move(rule));
    return true;
  }
  error = "--" + std::string(option) + ": not a fault";
  return false;
}

std::string FaultPlan::ParseRule(const std::vector<std::string_view>& fields, Rule& rule) {
  rule.kind = ParseKind(fields[0]);
  if (rule.kind == 0) return "unknown request kind";
  const auto k = Number(fields[1], 1, 1'000'000);
  if (!k) return "count must be 1 or more";
  rule.k = static_cast<unsigned>(*k);
  if (rule.type == Type::kAnswer) {
    if (fields[2].size() != 2) return "status must be two characters";
    rule.text = std::string(fields[2]);
  } else if (fields.size() >= 3) {
    // A split needs at least one byte in its first piece.
    const auto a = Number(fields[2], rule.type == Type::kSplit ? 1 : 0, kMaxMs);
    const auto b = fields.size() == 4 ? Number(fields[3], 0, kMaxMs) : std::optional(rule.b);
    if (!a || !b) return "number out of range";
    rule.a = *a;
    rule.b = *b;
  }
  return {};
}

void FaultPlan::Apply(const Rule& rule, ReplyFaults& faults) {
  switch (rule.type) {
    case Type::kDrop:
      faults.drop = true;
      break;
    case Type::kSplit:
      faults.split_after = static_cast<std::size_t>(rule.a);
      faults.split_delay_ms = static_cast<int>(rule.b);
      break;
    case Type::kDelay:
      faults.delay_ms = static_cast<int>(rule.a);
      break;
    case Type::kCorrupt:
      faults.corrupt = true;
      break;
    case Type::kStray:
      faults.stray_before = true;
      break;
    case Type::kAnswer:
      faults.status = rule.text;
      break;
  }
}

ReplyFaults FaultPlan::For(char kind, unsigned k) const {
  ReplyFaults faults;
  for (const Rule& rule : rules_) {
    if (rule.kind == kind && rule.k == k) Apply(rule, faults);
  }
  return faults;
}

}  // namespace ecu_sim
