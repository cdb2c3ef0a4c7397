// zekflash-cli's batch front end with a technician who waits at the ready
// panel: its one question (Download?) is answered only once the file GO
// exists, and after the program's loop has run for 3 s more. Prints a line
// "zek: at the ready panel" when the question comes, so that whoever drives
// the test can change the world (replug the bridge) before creating GO.
//
//   zek-ready-panel-wait.exe IMAGE GO
#include <windows.h>

#include <cstdint>
#include <iostream>
#include <streambuf>
#include <string>

#include "batch/batch_runner.h"
#include "batch/options.h"
#include "platform/poll_loop.h"

namespace {

constexpr const char* ready_marker = "zek: at the ready panel";
// How long the loop runs before the answer, for what came meanwhile.
constexpr std::int64_t settle_ms = 3000;

// The answers: "y" once GO exists; the loop runs while it does not.
class WaitingAnswers : public std::streambuf {
 public:
  WaitingAnswers(platform::PollLoop& loop, std::string go) : loop_(loop), go_(std::move(go)) {}

 protected:
  int_type underflow() override {
    if (given_) return traits_type::eof();
    std::cout << "\n" << ready_marker << std::endl;
    // Busy meanwhile, so that the notices of the unplug and of the plug that
    // follows come to the program together, to be handled by one listing.
    while (::GetFileAttributesA(go_.c_str()) == INVALID_FILE_ATTRIBUTES) ::Sleep(50);
    const auto until = loop_.now() + settle_ms;
    while (loop_.now() < until) loop_.run_once(50);
    given_ = true;
    setg(answer_, answer_, answer_ + 2);
    return traits_type::to_int_type(answer_[0]);
  }

 private:
  platform::PollLoop& loop_;
  std::string go_;
  bool given_ = false;
  char answer_[2] = {'y', '\n'};
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: zek-ready-panel-wait IMAGE GO\n";
    return 2;
  }
  platform::PollLoop loop;
  WaitingAnswers answers(loop, argv[2]);
  std::istream in(&answers);
  batch::Options options;
  options.file = argv[1];
  options.timeout_s = 300;
  batch::RunnerParts parts{
      .loop = loop,
      .run_once = [&loop](std::int64_t max_wait_ms) { loop.run_once(max_wait_ms); },
      .out = std::cout,
      .err = std::cerr,
      .in = in,
      .in_is_terminal = true,
      .executable_path = argv[0],
  };
  return batch::BatchRunner(options, std::move(parts)).Run();
}
