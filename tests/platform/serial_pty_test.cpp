#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "line_speed.h"
#include "platform/linux/internal.h"
#include "platform/serial_port.h"
#include "pty_master.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every byte value, so that any translation, flow control or signal character
// the line still honoured would show as a difference.
Bytes AllByteValues(std::size_t size) {
  Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>((i * 7 + 3) % 256);
  return b;
}

bool WaitReadable(core::Waitable fd, int timeout_ms = 2000) {
  pollfd p{static_cast<int>(fd), POLLIN, 0};
  return ::poll(&p, 1, timeout_ms) == 1;
}

class SerialPtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto opened = system->open(master.far_name());
    ASSERT_TRUE(opened.ok()) << opened.error().describe();
    device = std::move(*opened);
  }

  // What the far end's settings look like from the master's side.
  termios LineSettings() const {
    termios t{};
    EXPECT_EQ(::tcgetattr(master.fd(), &t), 0);
    return t;
  }

  PtyMaster master;
  std::unique_ptr<platform::SerialSystem> system = platform::MakeSystemSerial();
  std::unique_ptr<platform::SerialDevice> device;
};

TEST_F(SerialPtyTest, LineIsRaw8N1WithoutFlowControlAtEachRate) {
  const std::pair<int, speed_t> rates[] = {{115200, B115200}, {921600, B921600}, {115200, B115200}};
  for (const auto& [baud, code] : rates) {
    ASSERT_TRUE(device->set_baud(baud).ok()) << baud;
    const termios t = LineSettings();
    EXPECT_EQ(::cfgetospeed(&t), code) << baud;
    EXPECT_EQ(::cfgetispeed(&t), code) << baud;
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK), 0u);
    EXPECT_EQ(t.c_iflag & (IGNBRK | BRKINT | PARMRK), static_cast<tcflag_t>(IGNBRK));
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  }
}

TEST_F(SerialPtyTest, StartsAt115200AndTakesRatesWithoutAConstant) {
  EXPECT_EQ(LineOutputSpeed(master.fd()), 115200);
  ASSERT_TRUE(device->set_baud(250000).ok());
  EXPECT_EQ(LineOutputSpeed(master.fd()), 250000);
  ASSERT_TRUE(device->set_baud(921600).ok());
  EXPECT_EQ(LineOutputSpeed(master.fd()), 921600);
  for (int bad : {0, -115200}) {
    auto s = device->set_baud(bad);
    ASSERT_FALSE(s.ok()) << bad;
    EXPECT_EQ(s.error().code, EINVAL);
  }
}

// What the far end gets is every byte once, in order: also when the line takes
// the bytes in several pieces, each piece must go on where the last stopped.
// Every four bytes hold their own number, so a piece sent from the wrong place
// cannot look like the right one.
TEST_F(SerialPtyTest, WritesArriveWholeAndInOrder) {
  for (const std::size_t size : {std::size_t{1027}, std::size_t{256 * 1024}}) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
      bytes[i] = static_cast<std::uint8_t>((i / 4) >> (i % 4 * 8));
    Bytes got;
    std::thread far([&] { got = master.read(size); });
    EXPECT_TRUE(device->write_all(bytes, 10000).ok()) << size;
    far.join();
    EXPECT_TRUE(got == bytes) << size << " bytes sent, " << got.size() << " arrived";
  }
}

TEST_F(SerialPtyTest, PiecesFromTheUnitArriveUnchanged) {
  const Bytes all = AllByteValues(300);
  Bytes got;
  for (std::size_t at = 0; at < all.size(); at += 37) {
    const Bytes piece(all.begin() + at, all.begin() + std::min(all.size(), at + 37));
    ASSERT_TRUE(master.write(piece));
    ASSERT_TRUE(WaitReadable(device->readable_handle()));
    auto waiting = device->bytes_waiting();
    ASSERT_TRUE(waiting.ok()) << waiting.error().describe();
    ASSERT_GT(*waiting, 0u);
    Bytes buf(*waiting);
    auto n = device->read(buf);
    ASSERT_TRUE(n.ok()) << n.error().describe();
    got.insert(got.end(), buf.begin(), buf.begin() + *n);
  }
  // A piece may still be on its way when counted; what is left comes now.
  while (got.size() < all.size() && WaitReadable(device->readable_handle(), 500)) {
    Bytes buf(64);
    auto n = device->read(buf);
    ASSERT_TRUE(n.ok());
    got.insert(got.end(), buf.begin(), buf.begin() + *n);
  }
  EXPECT_EQ(got, all);
  auto none = device->bytes_waiting();
  ASSERT_TRUE(none.ok());
  EXPECT_EQ(*none, 0u);
}

TEST_F(SerialPtyTest, ReadTakesNoMoreThanAskedAndNeverWaits) {
  ASSERT_TRUE(master.write(Bytes{1, 2, 3, 4, 5}));
  ASSERT_TRUE(WaitReadable(device->readable_handle()));
  Bytes two(2);
  auto n = device->read(two);
  ASSERT_TRUE(n.ok());
  EXPECT_EQ(*n, 2u);
  EXPECT_EQ(two, (Bytes{1, 2}));
  Bytes rest(100);
  const auto start = std::chrono::steady_clock::now();
  n = device->read(rest);
  ASSERT_TRUE(n.ok());
  EXPECT_EQ(*n, 3u);
  n = device->read(rest);
  ASSERT_TRUE(n.ok());
  EXPECT_EQ(*n, 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}

TEST_F(SerialPtyTest, DiscardEmptiesTheInputQueue) {
  ASSERT_TRUE(master.write(Bytes(50, 0x55)));
  ASSERT_TRUE(WaitReadable(device->readable_handle()));
  ASSERT_TRUE(device->discard().ok());
  auto waiting = device->bytes_waiting();
  ASSERT_TRUE(waiting.ok());
  EXPECT_EQ(*waiting, 0u);
}

TEST_F(SerialPtyTest, FarEndGoneIsAnErrorEveryTimeNeverAnEmptyQueue) {
  master.close();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(WaitReadable(device->readable_handle(), 1000)) << "no wake-up for a hang-up";
    auto waiting = device->bytes_waiting();
    ASSERT_FALSE(waiting.ok()) << "round " << i;
    EXPECT_EQ(waiting.error().code, EIO);
    EXPECT_EQ(waiting.error().name, master.far_name());
    Bytes buf(8);
    EXPECT_FALSE(device->read(buf).ok());
  }
  EXPECT_FALSE(device->write_all(Bytes{1, 2, 3}, 200).ok());
}

// The program holding the master side, the unit on the other: when the unit
// closes, the master keeps counting 0 bytes queued while poll reports a
// hang-up for ever. Taken for an empty queue, that would spin the loop.
TEST(SerialHangUp, EmptyQueueWithAHangUpIsReportedGoneAfterTheLastBytes) {
  auto system = platform::MakeSystemSerial();
  auto opened = system->open("/dev/ptmx");
  ASSERT_TRUE(opened.ok()) << opened.error().describe();
  auto& device = *opened;
  const int fd = static_cast<int>(device->readable_handle());
  char name[64];
  ASSERT_EQ(::unlockpt(fd), 0);
  ASSERT_EQ(::ptsname_r(fd, name, sizeof name), 0);
  const int unit = ::open(name, O_RDWR | O_NOCTTY);
  ASSERT_GE(unit, 0);
  ASSERT_EQ(::write(unit, "ab", 2), 2);
  ::close(unit);

  ASSERT_TRUE(WaitReadable(fd));
  auto waiting = device->bytes_waiting();
  ASSERT_TRUE(waiting.ok()) << waiting.error().describe();
  ASSERT_EQ(*waiting, 2u) << "bytes sent before the hang-up still count";
  Bytes buf(2);
  auto n = device->read(buf);
  ASSERT_TRUE(n.ok());
  EXPECT_EQ(buf, (Bytes{'a', 'b'}));
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(WaitReadable(fd, 1000));
    waiting = device->bytes_waiting();
    ASSERT_FALSE(waiting.ok()) << "round " << i << ": " << *waiting << " waiting";
    EXPECT_EQ(waiting.error().code, EIO);
    EXPECT_FALSE(device->read(buf).ok());
  }
}

TEST_F(SerialPtyTest, WriteThatCannotFinishInTimeFails) {
  // Nobody reads the master, so the pseudo-terminal's buffers fill up.
  const Bytes big(1 << 20, 0xAA);
  const auto start = std::chrono::steady_clock::now();
  auto s = device->write_all(big, 200);
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.error().code, ETIMEDOUT);
  EXPECT_NE(s.error().text.find(" of 1048576 bytes"), std::string::npos) << s.error().text;
  EXPECT_GE(took, std::chrono::milliseconds(190));
  EXPECT_LT(took, std::chrono::milliseconds(1500));
}

TEST_F(SerialPtyTest, SecondOpenIsRefusedUntilTheFirstCloses) {
  auto second = system->open(master.far_name());
  ASSERT_FALSE(second.ok());
  EXPECT_EQ(second.error().code, EBUSY);
  device.reset();
  auto third = system->open(master.far_name());
  EXPECT_TRUE(third.ok()) << third.error().describe();
}

TEST(SerialOpen, RefusesWhatIsNoUsablePort) {
  TempDir dir;
  dir.write("plain-file", "x");
  const std::pair<std::string, int> cases[] = {
      {"COM0", ENOENT},          {"", ENOENT},
      {"relative/path", ENOENT}, {"/dev/pts/999999", ENOENT},
      {"/dev/null", ENOTTY},     {dir / "plain-file", ENOTTY},
  };
  auto system = platform::MakeSystemSerial();
  for (const auto& [name, code] : cases) {
    auto opened = system->open(name);
    ASSERT_FALSE(opened.ok()) << name;
    EXPECT_EQ(opened.error().code, code) << name << ": " << opened.error().describe();
    EXPECT_EQ(opened.error().name, name);
  }
}

// The console is played by a pseudo-terminal named in a made-up sysfs, so no
// real console comes near this test.
TEST(SerialOpen, RefusesTheConsoleByNameAndThroughLinks) {
  PtyMaster master;
  TempDir sysfs;
  const std::string pts = master.far_name().substr(std::string("/dev/").size());
  sysfs.write("console/active", "tty0 " + pts + "\n");
  sysfs.symlink(master.far_name(), "link");
  auto system = platform::linux_os::MakeTtySystem(sysfs.path());
  for (const std::string& name : {master.far_name(), sysfs / "link"}) {
    auto opened = system->open(name);
    ASSERT_FALSE(opened.ok()) << name;
    EXPECT_NE(opened.error().describe().find("system console"), std::string::npos)
        << opened.error().describe();
  }
  // The same pseudo-terminal opens when it is not the console.
  sysfs.write("console/active", "tty0\n");
  EXPECT_TRUE(system->open(master.far_name()).ok());
}

}  // namespace
