// What the serial layer makes of a driver's answers on latency and rate, with
// the driver played by a fake behind the line calls and the port itself a
// pseudo-terminal.
#include <gtest/gtest.h>
#include <linux/serial.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/internal.h"
#include "pty_master.h"
#include "temp_dir.h"

namespace {

class FakeDriver : public platform::linux_os::LineCalls {
 public:
  int set_rate(int, int baud) override {
    if (set_rate_errno != 0) return Fail(set_rate_errno);
    rate = fallback_rate.value_or(baud);
    return 0;
  }
  int read_rate(int, long& baud) override {
    if (read_rate_errno != 0) return Fail(read_rate_errno);
    baud = rate;
    return 0;
  }
  int get_serial(int, serial_struct& s) override {
    if (get_serial_errno != 0) return Fail(get_serial_errno);
    s = info;
    return 0;
  }
  int set_serial(int, const serial_struct& s) override {
    sets.push_back(s);
    if (set_serial_errno != 0) return Fail(set_serial_errno);
    info = s;
    if (drops_flag) info.flags &= ~ASYNC_LOW_LATENCY;
    return 0;
  }

  int set_rate_errno = 0;
  int read_rate_errno = 0;
  std::optional<long> fallback_rate;  // the rate the driver runs at whatever is asked
  long rate = 115200;
  int get_serial_errno = 0;
  int set_serial_errno = 0;
  bool drops_flag = false;
  serial_struct info = DefaultInfo();
  std::vector<serial_struct> sets;  // every TIOCSSERIAL, as given

 private:
  static int Fail(int code) {
    errno = code;
    return -1;
  }
  static serial_struct DefaultInfo() {
    serial_struct s{};
    s.type = PORT_16550A;
    s.flags = ASYNC_SKIP_TEST;
    s.baud_base = 1500000;
    s.close_delay = 50;
    s.xmit_fifo_size = 64;
    return s;
  }
};

struct Port {
  explicit Port(std::shared_ptr<FakeDriver> d)
      : driver(std::move(d)), system(platform::linux_os::MakeTtySystem(sysfs.path(), driver)) {}
  PtyMaster master;
  TempDir sysfs;  // no console named
  std::shared_ptr<FakeDriver> driver;
  std::unique_ptr<platform::SerialSystem> system;
};

std::string Described(const core::Status& s) {
  return s ? "" : s.error().describe();
}

TEST(LineDriver, LowLatencyIsAskedForWhereTheDriverHasIt) {
  struct Case {
    const char* what;
    int get_errno;
    int set_errno;
    bool drops_flag;
    bool set_asked;          // a TIOCSSERIAL with the flag added and the rest as read
    const char* open_error;  // after "open <port>: "; empty: the open succeeds
  };
  const Case cases[] = {
      {"driver with a latency timer", 0, 0, false, true, ""},
      {"driver that drops the flag", 0, 0, true, true, ""},
      {"terminal without the setting", ENOTTY, 0, false, false, ""},
      {"driver that turns the setting down", 0, EINVAL, false, true, ""},
      {"device that fails the question", EIO, 0, false, false, "Input/output error (error 5)"},
      {"device that fails the setting", 0, EIO, false, true, "Input/output error (error 5)"},
  };
  for (const Case& c : cases) {
    auto driver = std::make_shared<FakeDriver>();
    driver->get_serial_errno = c.get_errno;
    driver->set_serial_errno = c.set_errno;
    driver->drops_flag = c.drops_flag;
    const serial_struct before = driver->info;
    Port port(driver);
    auto opened = port.system->open(port.master.far_name());
    const std::string error =
        *c.open_error ? "open " + port.master.far_name() + ": " + c.open_error : "";
    EXPECT_EQ(opened ? "" : opened.error().describe(), error) << c.what;
    ASSERT_EQ(driver->sets.size(), c.set_asked ? 1u : 0u) << c.what;
    if (!c.set_asked) continue;
    const serial_struct& asked = driver->sets[0];
    EXPECT_EQ(asked.flags, before.flags | ASYNC_LOW_LATENCY) << c.what;
    EXPECT_EQ(asked.baud_base, before.baud_base) << c.what;
    EXPECT_EQ(asked.close_delay, before.close_delay) << c.what;
    EXPECT_EQ(asked.xmit_fifo_size, before.xmit_fifo_size) << c.what;
  }
}

TEST(LineDriver, ARateIsTakenOnlyWhenTheDriverRunsIt) {
  struct Case {
    const char* what;
    int baud;
    std::optional<long> fallback;  // the rate the driver runs at instead
    int set_errno;
    int read_errno;
    const char* error;  // after "set baud rate <port>: "; empty: taken
  };
  const Case cases[] = {
      {"rate the driver runs", 921600, std::nullopt, 0, 0, ""},
      {"nearest its divisors make", 921600, 923077, 0, 0, ""},
      {"UART that keeps 9600", 921600, 9600, 0, 0,
       "the port cannot run at 921600 baud; its driver set 9600"},
      {"custom rate rounded too far", 250000, 256000, 0, 0,
       "the port cannot run at 250000 baud; its driver set 256000"},
      {"rate turned down", 921600, std::nullopt, EINVAL, 0, "Invalid argument (error 22)"},
      {"rate that cannot be read back", 115200, std::nullopt, 0, EIO,
       "Input/output error (error 5)"},
  };
  for (const Case& c : cases) {
    auto driver = std::make_shared<FakeDriver>();
    Port port(driver);
    auto opened = port.system->open(port.master.far_name());
    ASSERT_TRUE(opened.ok()) << c.what << ": " << opened.error().describe();
    driver->fallback_rate = c.fallback;
    driver->set_rate_errno = c.set_errno;
    driver->read_rate_errno = c.read_errno;
    const std::string error =
        *c.error ? "set baud rate " + port.master.far_name() + ": " + c.error : "";
    EXPECT_EQ(Described((*opened)->set_baud(c.baud)), error) << c.what;
  }
}

}  // namespace
