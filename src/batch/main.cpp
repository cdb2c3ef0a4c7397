// zekflash-cli: the program without its window, for scripts and service benches.
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/trace_file.h"
#include "batch/batch_runner.h"
#include "batch/file_info.h"
#include "batch/options.h"
#include "platform/hid_device.h"
#include "platform/poll_loop.h"
#include "platform/program_path.h"
#include "platform/serial_port.h"
#include "platform/settings_files.h"
#include "platform/terminal.h"
#include "texts/texts.h"
#include "texts/version.h"

namespace {

// --trace, else ZEKFLASH_TRACE when set and not empty.
std::optional<std::string> TracePath(const batch::Options& options) {
  if (options.trace) return options.trace;
  return app::TraceFromEnvironment();
}

int Connect(const batch::Options& options, const char* argv0) {
  platform::PollLoop loop;
  std::unique_ptr<app::TraceFile> trace;
  if (const auto path = TracePath(options)) {
    auto opened = app::TraceFile::Open(*path, loop);
    if (!opened) {
      std::cerr << "zekflash-cli: " << texts::TraceNotWritable(*path, opened.error().text) << "\n";
      return 2;
    }
    trace = std::move(*opened);
  }
  const auto serial = platform::MakeSystemSerial();
  const auto hid = platform::MakeSystemHid(loop);
  const auto settings = platform::MakeSystemSettingsFiles();
  batch::RunnerParts parts{
      .loop = loop,
      .run_once = [&loop](std::int64_t max_wait_ms) { loop.run_once(max_wait_ms); },
      .serial = *serial,
      .hid = *hid,
      .out = std::cout,
      .err = std::cerr,
      .in = std::cin,
      .out_is_terminal = platform::IsTerminal(1),
      .in_is_terminal = platform::IsTerminal(0),
      .executable_path = platform::ExecutablePath(argv0),
      .trace = trace.get(),
      .settings = settings.get(),
  };
  return batch::BatchRunner(options, std::move(parts)).Run();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const batch::ParsedOptions parsed = batch::ParseOptions(args);
  switch (parsed.action) {
    case batch::ParsedOptions::Action::usage_error:
      std::cerr << "zekflash-cli: " << parsed.error << "\n\n" << batch::UsageText();
      return 2;
    case batch::ParsedOptions::Action::help:
      std::cout << batch::UsageText();
      return 0;
    case batch::ParsedOptions::Action::version:
      std::cout << texts::VersionLine("zekflash-cli");
      return 0;
    case batch::ParsedOptions::Action::run:
      break;
  }
  if (parsed.options.info) return batch::PrintFileInfo(parsed.options.file, std::cout) ? 0 : 1;
  return Connect(parsed.options, argv[0]);
}
