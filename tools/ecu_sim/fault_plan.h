#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ecu_sim {

// What happens to the reply of one request.
struct ReplyFaults {
  bool drop = false;
  int delay_ms = 0;
  std::optional<std::size_t> split_after;
  int split_delay_ms = 0;
  bool corrupt = false;
  bool stray_before = false;
  std::optional<std::string> status;  // replaces the unit's own status
};

// Faults asked for on the command line, each for the k-th request of one kind
// (counting from 1, per kind, over the whole run).
class FaultPlan {
 public:
  // `option` is the option name without dashes ("drop", "split", ...), `value` its
  // argument ("V:1", "V:1:6:100"). On failure `error` says why.
  bool Add(std::string_view option, std::string_view value, std::string& error);
  ReplyFaults For(char kind, unsigned k) const;

  static bool IsFaultOption(std::string_view option);
  static constexpr int kDefaultSplitDelayMs = 100;

 private:
  enum class Type { kDrop, kSplit, kDelay, kCorrupt, kStray, kAnswer };
  struct Rule {
    Type type = Type::kDrop;
    char kind = 0;
    unsigned k = 0;
    long long a = 0;
    long long b = 0;
    std::string text;
  };

  // Fills `rule` (its type already set) from "KIND:K[:A[:B]]"; returns what is wrong, if anything.
  static std::string ParseRule(const std::vector<std::string_view>& fields, Rule& rule);
  static void Apply(const Rule& rule, ReplyFaults& faults);

  std::vector<Rule> rules_;
};

// The request kind named by a command letter or its word ("V" or "version", "}" or
// "switch"); 0 when it names none.
char ParseKind(std::string_view text);

}  // namespace ecu_sim
