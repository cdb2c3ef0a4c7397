#include "batch/options.h"

#include <charconv>
#include <string_view>

namespace batch {

namespace {

// A whole decimal number from `low` to `high`, nothing else (no sign, no blanks).
std::optional<int> WholeNumber(std::string_view text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || text.front() == '-' || ec != std::errc{} || ptr != end) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : args_(args) {}

  ParsedOptions Run() {
    while (index_ < args_.size() && result_.error.empty() && !answer_) Next();
    if (answer_) {
      result_.action = *answer_;
      return result_;
    }
    if (result_.error.empty() && result_.options.file.empty()) Fail("no FILE given");
    if (result_.error.empty() && result_.options.json && result_.options.info)
      Fail("--json and --info cannot be used together");
    if (result_.error.empty()) result_.action = ParsedOptions::Action::run;
    return result_;
  }

 private:
  void Next() {
    const std::string& arg = args_[index_++];
    if (only_files_ || arg.empty() || arg[0] != '-' || arg == "-") return File(arg);
    if (arg == "--") {
      only_files_ = true;
      return;
    }
    const auto eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    std::optional<std::string> inline_value;
    if (eq != std::string::npos) inline_value = arg.substr(eq + 1);
    if (name == "-h" || name == "--help")
      answer_ = ParsedOptions::Action::help;
    else if (name == "--version")
      answer_ = ParsedOptions::Action::version;
    else if (name == "--yes")
      Flag(name, inline_value, result_.options.yes);
    else if (name == "--ignore-version")
      Flag(name, inline_value, result_.options.ignore_version);
    else if (name == "--info")
      Flag(name, inline_value, result_.options.info);
    else if (name == "--json")
      Flag(name, inline_value, result_.options.json);
    else if (name == "--trace")
      Trace(Value(name, inline_value));
    else if (name == "--port")
      Port(Value(name, inline_value));
    else if (name == "--retries")
      Retries(Value(name, inline_value));
    else if (name == "--timeout")
      Timeout(Value(name, inline_value));
    else
      Fail("unknown option " + name);
  }

  void File(const std::string& arg) {
    if (!result_.options.file.empty()) return Fail("more than one FILE given: " + arg);
    if (arg.empty()) return Fail("FILE is empty");
    result_.options.file = arg;
  }

  void Flag(const std::string& name, const std::optional<std::string>& value, bool& flag) {
    if (value) return Fail(name + " takes no value");
    flag = true;
  }

  std::optional<std::string> Value(const std::string& name,
                                   const std::optional<std::string>& inline_value) {
    if (inline_value) return inline_value;
    if (index_ >= args_.size()) {
      Fail(name + " needs a value");
      return std::nullopt;
    }
    return args_[index_++];
  }

  void Port(const std::optional<std::string>& value) {
    if (!value) return;
    if (value->empty()) return Fail("--port needs a port name, such as COM3 or /dev/ttyUSB0");
    if (result_.options.port) return Fail("--port given twice");
    result_.options.port = *value;
  }

  void Trace(const std::optional<std::string>& value) {
    if (!value) return;
    if (value->empty()) return Fail("--trace needs a file name");
    if (result_.options.trace) return Fail("--trace given twice");
    result_.options.trace = *value;
  }

  void Retries(const std::optional<std::string>& value) {
    if (!value) return;
    const auto n = WholeNumber(*value, 0, max_retries);
    if (!n) return Fail("--retries needs a whole number from 0 to 1000, not \"" + *value + "\"");
    result_.options.retries = *n;
  }

  void Timeout(const std::optional<std::string>& value) {
    if (!value) return;
    const auto n = WholeNumber(*value, 1, max_timeout_s);
    if (!n) {
      return Fail("--timeout needs whole seconds from 1 to 1000000, not \"" + *value + "\"");
    }
    result_.options.timeout_s = *n;
  }

  void Fail(std::string why) {
    if (result_.error.empty()) result_.error = std::move(why);
  }

  static constexpr int max_retries = 1000;
  // Keeps the time left, in milliseconds, within what poll(2) takes as a time-out.
  static constexpr int max_timeout_s = 1000000;

  const std::vector<std::string>& args_;
  std::size_t index_ = 0;
  bool only_files_ = false;
  // --help or --version: answered at once, whatever the rest of the line holds.
  std::optional<ParsedOptions::Action> answer_;
  ParsedOptions result_;
};

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
  return Parser(args).Run();
}

std::string UsageText() {
  return "usage: zekflash-cli [OPTIONS] FILE\n"
         "Downloads the firmware image or download script FILE into the unit.\n"
         "\n"
         "  --port NAME        connect on NAME (e.g. COM3, /dev/ttyUSB0); no port search,\n"
         "                     the port configuration files are not read\n"
         "  --yes              press Download on the ready panel and Ok on text panels\n"
         "  --ignore-version   press Ignore on the older-version / type-mismatch panel\n"
         "  --retries N        press Retry on the offline panel up to N times (default 0)\n"
         "  --timeout SEC      give up after SEC seconds\n"
         "  --json             write the run as JSON events on standard output, one\n"
         "                     object a line, instead of text (see the README)\n"
         "  --trace TRACE      write a support trace of the run to the file TRACE:\n"
         "                     every request and reply, panel, box and timer\n"
         "  --info             describe FILE and exit without connecting\n"
         "                     (status 1 when opening it would be refused)\n"
         "  -h, --help         show this text\n"
         "  --version          show the program's name and version\n"
         "\n"
         "Without --port the ports present are searched for the unit; on Linux\n"
         "ZEKFLASH_PORTS (colon-separated device paths) adds ports to the search.\n"
         "Units of family \"5M\" are reached through their USB HID bridge\n"
         "\"HIDtoUART ZEK\" instead.\n"
         "ZEKFLASH_TRACE=TRACE writes the trace when --trace is not given.\n"
         "Exit status: 0 download finished, 1 stopped, 2 usage error.\n";
}

}  // namespace batch
