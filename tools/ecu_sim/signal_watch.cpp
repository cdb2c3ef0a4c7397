#include "signal_watch.h"

#include <signal.h>
#include <sys/signalfd.h>

namespace ecu_sim {

SignalWatch::SignalWatch() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  sigaddset(&set, SIGUSR1);
  if (::sigprocmask(SIG_BLOCK, &set, nullptr) == 0) {
    fd_ = UniqueFd(::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC));
  }
}

int SignalWatch::Take() {
  signalfd_siginfo info{};
  const ssize_t n = ::read(fd_.get(), &info, sizeof info);
  return n == static_cast<ssize_t>(sizeof info) ? static_cast<int>(info.ssi_signo) : 0;
}

}  // namespace ecu_sim
