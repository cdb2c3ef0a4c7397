#include "sim_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace ecu_sim_test {

namespace {

constexpr int kStartTimeoutMs = 5000;

// Reads up to the first newline, or until end of file or the time-out.
std::string ReadFirstLine(int fd) {
  std::string line;
  while (true) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, kStartTimeoutMs) <= 0) return {};
    char c = 0;
    if (::read(fd, &c, 1) != 1) return {};
    if (c == '\n') return line;
    line += c;
  }
}

}  // namespace

SimProcess::SimProcess(const std::vector<std::string>& args) {
  int out[2];
  if (::pipe(out) != 0) return;
  std::vector<char*> argv;
  std::string program = ZEK_ECU_SIM_PATH;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  if (pid_ > 0) path_ = ReadFirstLine(out[0]);
  ::close(out[0]);
}

SimProcess::~SimProcess() {
  Terminate();
}

std::optional<int> SimProcess::WaitExit(int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!status_ && pid_ > 0) {
    int raw = 0;
    if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
      break;
    }
    if (std::chrono::steady_clock::now() >= end) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return status_;
}

std::optional<int> SimProcess::Terminate() {
  if (!status_ && pid_ > 0) {
    ::kill(pid_, SIGTERM);
    if (!WaitExit(5000)) {
      ::kill(pid_, SIGKILL);
      WaitExit(5000);
    }
  }
  return status_;
}

}  // namespace ecu_sim_test
