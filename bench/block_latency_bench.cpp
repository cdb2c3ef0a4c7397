// Over a real pseudo-terminal: how soon the next block follows the unit's
// acknowledgement of the previous one, and how much CPU the program uses while
// it waits for a reply that does not come. Prints the figures; asserts nothing.
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "core/checksum.h"
#include "platform/hid_device.h"
#include "platform/poll_loop.h"
#include "platform/serial_port.h"
#include "ui/scripted_dialogs.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int blocks = 256;

std::vector<std::uint8_t> Reply(const std::string& body) {
  std::vector<std::uint8_t> r(body.begin(), body.end());
  r.push_back(core::Checksum(r));
  return r;
}

// The far end: acknowledges each request at once and notes, for every block
// after the first, how long after its acknowledgement of the previous block the
// first byte of the next one arrived.
struct FastUnit {
  explicit FastUnit(int fd) : master(fd) {}

  int master;
  std::vector<double> gaps_ms;
  std::atomic<bool> stop{false};

  void Run() {
    std::vector<std::uint8_t> pending;
    Clock::time_point acked{};
    bool timing = false;
    while (!stop) {
      pollfd p{master, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      std::uint8_t buf[4096];
      const ssize_t n = ::read(master, buf, sizeof buf);
      if (n <= 0) continue;
      const auto now = Clock::now();
      if (pending.empty() && timing && buf[0] == 'B') {
        gaps_ms.push_back(std::chrono::duration<double, std::milli>(now - acked).count());
      }
      pending.insert(pending.end(), buf, buf + n);
      Answer(pending, acked, timing);
    }
  }

  void Answer(std::vector<std::uint8_t>& pending, Clock::time_point& acked, bool& timing) {
    const std::size_t need = pending[0] == 'B'                          ? 1027
                             : (pending[0] == 'U' || pending[0] == 'u') ? 7
                                                                        : 1;
    if (pending.size() < need) return;
    const char letter = static_cast<char>(pending[0]);
    pending.erase(pending.begin(), pending.begin() + static_cast<long>(need));
    const auto reply = Reply(std::string(1, letter) + "OK");
    [[maybe_unused]] auto w = ::write(master, reply.data(), reply.size());
    acked = Clock::now();
    timing = letter == 'B';
  }
};

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

double CpuMs() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

}  // namespace

int main() {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    std::perror("pseudo-terminal");
    return 1;
  }
  const std::string far_end = ::ptsname(master);
  const auto image = std::filesystem::temp_directory_path() / "zek-bench-latency.fm0";
  {
    std::vector<char> bytes(blocks * 1024, 0x5A);
    std::ofstream(image, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
  }

  platform::PollLoop loop;
  ui::ScriptedDialogs dialogs;
  auto serial = platform::MakeSystemSerial();
  auto hid = platform::MakeSystemHid(loop);
  TForm1 form(Environment{loop, dialogs, *serial, *hid, {"-O"}, "/proc/self/exe"});
  form.link_kind = firmware::Link::serial;
  form.port_name = far_end;
  form.firmware_file_name = image.string();
  form.last_block_nr = blocks - 1;
  form.finish_wait = 0;
  form.StaticText_Serial_number.caption = "123456";
  if (!form.EnsurePortOpen()) {
    std::fprintf(stderr, "cannot open %s\n", far_end.c_str());
    return 1;
  }

  FastUnit unit(master);
  std::thread far([&] { unit.Run(); });
  const auto start = Clock::now();
  form.SendStartRequest();
  while (!form.Panel_ready_for_download.visible &&
         Clock::now() - start < std::chrono::seconds(30)) {
    loop.run_once(100);
  }
  const double total_s = std::chrono::duration<double>(Clock::now() - start).count();
  unit.stop = true;
  far.join();

  // Waiting for a finish reply that never comes (no time limit): the loop must sleep.
  form.SendFinishRequest();
  const double cpu_before = CpuMs();
  const auto idle_start = Clock::now();
  while (Clock::now() - idle_start < std::chrono::seconds(2)) loop.run_once(500);
  const double idle_cpu = CpuMs() - cpu_before;

  std::printf("blocks acknowledged: %zu of %d in %.3f s\n", unit.gaps_ms.size() + 1, blocks,
              total_s);
  std::printf("ack -> next block: p50 %.3f ms, p99 %.3f ms, max %.3f ms\n",
              Percentile(unit.gaps_ms, 0.5), Percentile(unit.gaps_ms, 0.99),
              Percentile(unit.gaps_ms, 1.0));
  std::printf("CPU while waiting 2 s for a reply: %.3f ms\n", idle_cpu);
  std::filesystem::remove(image);
  ::close(master);
  return form.Panel_ready_for_download.visible ? 0 : 1;
}
