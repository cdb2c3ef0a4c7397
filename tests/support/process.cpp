#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> Argv(std::string& program, std::vector<std::string>& args) {
  std::vector<char*> argv{program.data()};
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return argv;
}

std::optional<int> Reap(pid_t pid, int limit_ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(limit_ms);
  while (Clock::now() < end) {
    int raw = 0;
    if (::waitpid(pid, &raw, WNOHANG) == pid) return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return std::nullopt;
}

}  // namespace

Finished RunToEnd(const std::string& program, const std::vector<std::string>& args,
                  const std::vector<std::string>& extra_env, int limit_ms) {
  // Close-on-exec, so that a program started beside this one from another
  // thread does not hold this one's pipes open past its end.
  int out[2], err[2];
  if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return {};
  std::string prog = program;
  std::vector<std::string> a = args;
  auto argv = Argv(prog, a);
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    ::close(out[0]);
    ::close(err[0]);
    for (const auto& e : extra_env) ::putenv(const_cast<char*>(e.c_str()));
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  Finished f;
  const auto end = start + std::chrono::milliseconds(limit_ms);
  bool out_open = true, err_open = true;
  while ((out_open || err_open) && Clock::now() < end) {
    pollfd p[2] = {{out_open ? out[0] : -1, POLLIN, 0}, {err_open ? err[0] : -1, POLLIN, 0}};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (::poll(p, 2, static_cast<int>(left.count())) <= 0) continue;
    char buf[4096];
    for (int i = 0; i < 2; ++i) {
      if (p[i].revents == 0) continue;
      const ssize_t n = ::read(i == 0 ? out[0] : err[0], buf, sizeof buf);
      if (n <= 0) {
        (i == 0 ? out_open : err_open) = false;
      } else {
        (i == 0 ? f.out : f.err).append(buf, static_cast<std::size_t>(n));
      }
    }
  }
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
  f.status = Reap(pid, std::max<int>(static_cast<int>(left.count()), 50));
  if (!f.status) {
    ::kill(pid, SIGKILL);
    Reap(pid, 5000);
  }
  f.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  ::close(out[0]);
  ::close(err[0]);
  return f;
}

Background::Background(const std::string& program, const std::vector<std::string>& args) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return;
  std::string prog = program;
  std::vector<std::string> a = args;
  auto argv = Argv(prog, a);
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  while (pid_ > 0) {
    pollfd p{out[0], POLLIN, 0};
    char c = 0;
    if (::poll(&p, 1, 5000) <= 0 || ::read(out[0], &c, 1) != 1 || c == '\n') break;
    first_line_ += c;
  }
  ::close(out[0]);
}

Background::~Background() {
  Stop();
}

std::optional<int> Background::WaitExit(int limit_ms) {
  if (!status_ && pid_ > 0) status_ = Reap(pid_, limit_ms);
  return status_;
}

std::optional<int> Background::Stop() {
  if (!status_ && pid_ > 0) {
    ::kill(pid_, SIGTERM);
    status_ = Reap(pid_, 5000);
    if (!status_) {
      ::kill(pid_, SIGKILL);
      status_ = Reap(pid_, 5000);
    }
  }
  return status_;
}
