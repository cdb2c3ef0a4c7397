#pragma once

#include <optional>
#include <string>
#include <vector>

namespace batch {

// What the command line asks of one run of zekflash-cli.
struct Options {
  std::string file;
  std::optional<std::string> port;   // connect here; no port search, no port files
  bool yes = false;                  // Download on the ready panel, Ok on text panels
  bool ignore_version = false;       // Ignore on the older-version / type-mismatch panel
  bool info = false;                 // describe the file and exit without connecting
  int retries = 0;                   // Retry presses allowed on the offline panel
  std::optional<int> timeout_s;      // give up after this many seconds
  bool json = false;                 // JSON events on standard output instead of text
  std::optional<std::string> trace;  // write a support trace to this file
};

struct ParsedOptions {
  enum class Action { run, help, version, usage_error };
  Action action = Action::usage_error;
  Options options;
  std::string error;  // for usage_error: what was wrong, naming the option
};

// Parses the arguments after the program's name. Pure: reads no file, prints nothing.
ParsedOptions ParseOptions(const std::vector<std::string>& args);

// The usage text, ending in a newline.
std::string UsageText();

}  // namespace batch
