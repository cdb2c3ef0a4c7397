#include "platform/common/port_list.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/linux/internal.h"
#include "platform/serial_port.h"
#include "temp_dir.h"

namespace {

using Names = std::vector<std::string>;

// A /sys/class/tty in miniature: virtual terminals without a device, a console
// UART, placeholders of absent UARTs, USB adapters and a name too long to keep.
class PortListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* bare : {"console", "tty", "tty0", "tty1", "ptmx"}) sysfs.mkdir(bare);
    sysfs.write("console/active", "ttyS0 tty0\n");
    AddUart("ttyS0", "4\n");
    AddUart("ttyS1", "0\n");
    AddUart("ttyS2", "0");
    AddUart("ttyS3", "4\n");
    AddDevice("ttyUSB1");
    AddDevice("ttyUSB0");
    AddDevice("ttyACM0");
    AddDevice("ttyusb5");
    AddDevice("ttyVeryLongDeviceName0");  // 27 characters with "/dev/"
  }

  void AddDevice(const std::string& name) { sysfs.mkdir(name + "/device"); }
  void AddUart(const std::string& name, const std::string& type) {
    AddDevice(name);
    sysfs.write(name + "/type", type);
  }

  TempDir sysfs;
  const Names console{"ttyS0", "tty0"};
};

TEST_F(PortListTest, ListsDevicesLessConsoleAndAbsentUartsSortedIgnoringCase) {
  auto ports = platform::linux_os::ListPortsUnder(sysfs.path(), console, "");
  ASSERT_TRUE(ports.ok()) << ports.error().describe();
  EXPECT_EQ(*ports,
            (Names{"/dev/ttyACM0", "/dev/ttyS3", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyusb5"}));
}

TEST_F(PortListTest, ExtraNamesJoinTheListWithoutRepeatsOrOverlongNames) {
  struct Case {
    const char* extra;
    Names added;
  };
  const Case cases[] = {
      {"", {}},
      {"/dev/pts/7", {"/dev/pts/7"}},
      {"/dev/pts/7:/tmp/ecu", {"/dev/pts/7", "/tmp/ecu"}},
      {"/dev/pts/7::/dev/pts/7:", {"/dev/pts/7"}},
      {"/dev/ttyUSB0:/dev/pts/2", {"/dev/pts/2"}},
      {"/dev/ttyS0:/dev/console", {}},
      {"/tmp/exactly-20-chars", {}},
      {"/tmp/exactly-20-char", {"/tmp/exactly-20-char"}},
      {"/tmp/a-name-far-too-long-to-keep:/dev/pts/9", {"/dev/pts/9"}},
  };
  for (const Case& c : cases) {
    auto ports = platform::linux_os::ListPortsUnder(sysfs.path(), console, c.extra);
    ASSERT_TRUE(ports.ok()) << ports.error().describe();
    Names want{"/dev/ttyACM0", "/dev/ttyS3", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyusb5"};
    want.insert(want.end(), c.added.begin(), c.added.end());
    platform::SortPortNames(want);
    EXPECT_EQ(*ports, want) << "extra \"" << c.extra << "\"";
  }
}

TEST(PortListSort, IgnoresLetterCaseAndKeepsOneOrderForTies) {
  Names names{"COM2", "com10", "COM10", "/dev/ttyUSB0", "/dev/pts/3", "COM1", "/dev/ttyACM0"};
  platform::SortPortNames(names);
  EXPECT_EQ(names, (Names{"/dev/pts/3", "/dev/ttyACM0", "/dev/ttyUSB0", "COM1", "COM10", "com10",
                          "COM2"}));
}

TEST(PortListEmpty, NoDevicesGiveAnEmptyList) {
  TempDir sysfs;
  sysfs.mkdir("tty0");
  auto ports = platform::linux_os::ListPortsUnder(sysfs.path(), {}, "");
  ASSERT_TRUE(ports.ok());
  EXPECT_TRUE(ports->empty());
}

TEST(PortListFailure, UnreadableClassFolderIsAnErrorWithItsErrno) {
  TempDir dir;
  auto ports = platform::linux_os::ListPortsUnder(dir / "no-such-folder", {}, "/dev/pts/1");
  ASSERT_FALSE(ports.ok());
  EXPECT_EQ(ports.error().code, ENOENT);
  EXPECT_EQ(ports.error().operation, "list ports");
  EXPECT_NE(ports.error().describe().find("No such file or directory"), std::string::npos);
}

TEST_F(PortListTest, SystemReadsConsoleFromSysfsAndExtrasFromTheEnvironment) {
  sysfs.write("console/active", "ttyUSB1\n");
  ::setenv("ZEKFLASH_PORTS", "/dev/pts/4:/dev/ttyUSB1", 1);
  auto ports = platform::linux_os::MakeTtySystem(sysfs.path())->list_ports();
  ::unsetenv("ZEKFLASH_PORTS");
  ASSERT_TRUE(ports.ok()) << ports.error().describe();
  EXPECT_EQ(*ports, (Names{"/dev/pts/4", "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS3", "/dev/ttyUSB0",
                           "/dev/ttyusb5"}));
}

}  // namespace
