#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/linux/internal.h"
#include "temp_dir.h"

namespace {

TEST(PortNames, ComNamesMapToOnBoardPortsAndNothingElseDoes) {
  struct Case {
    const char* name;
    std::optional<std::string> path;
  };
  const Case cases[] = {
      {"COM1", "/dev/ttyS0"},
      {"COM2", "/dev/ttyS1"},
      {"COM10", "/dev/ttyS9"},
      {"COM256", "/dev/ttyS255"},
      {"com3", "/dev/ttyS2"},
      {"Com4", "/dev/ttyS3"},
      {"/dev/ttyUSB0", "/dev/ttyUSB0"},
      {"/dev/pts/3", "/dev/pts/3"},
      {"/tmp/ecu-link", "/tmp/ecu-link"},
      // No device: these would otherwise be files in the current folder.
      {"COM0", std::nullopt},
      {"COM", std::nullopt},
      {"COM01", std::nullopt},
      {"COM-1", std::nullopt},
      {"COM1 ", std::nullopt},
      {"COM1x", std::nullopt},
      {"COM123456", std::nullopt},
      {"ttyUSB0", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::linux_os::PortDevicePath(c.name), c.path) << "name \"" << c.name << "\"";
  }
}

TEST(PortNames, ConsoleListIsSplitOnAnyBlank) {
  using V = std::vector<std::string>;
  const std::pair<const char*, V> cases[] = {
      {"ttyS0 tty0\n", V{"ttyS0", "tty0"}},
      {"ttyS0", V{"ttyS0"}},
      {"  ttyAMA0\t\tttyS1  \n", V{"ttyAMA0", "ttyS1"}},
      {"", V{}},
      {"\n", V{}},
  };
  for (const auto& [text, names] : cases) {
    EXPECT_EQ(platform::linux_os::ParseConsoleNames(text), names) << "text \"" << text << "\"";
  }
}

TEST(PortNames, ConsoleIsRecognisedByName) {
  const std::vector<std::string> active{"ttyS0", "tty0"};
  const std::pair<const char*, bool> cases[] = {
      {"/dev/ttyS0", true},   {"/dev/console", true}, {"/dev/tty0", true},
      {"/dev/ttyS1", false},  {"/dev/ttyS00", false}, {"/dev/ttyUSB0", false},
      {"/dev/pts/0", false},  {"ttyS0", false},       {"/dev/tty", false},
      {"/dev/ttyS0/", false}, {"/dev//ttyS0", false},
  };
  for (const auto& [path, console] : cases) {
    EXPECT_EQ(platform::linux_os::IsConsoleName(path, active), console) << path;
  }
  // Whatever the active list says, these two always lead to the console.
  EXPECT_TRUE(platform::linux_os::IsConsoleName("/dev/console", {}));
  EXPECT_TRUE(platform::linux_os::IsConsoleName("/dev/tty0", {}));
  EXPECT_FALSE(platform::linux_os::IsConsoleName("/dev/", {""}));
}

// Only looks the devices up (stat); nothing is opened.
TEST(ConsoleGuard, SeesTheConsoleThroughLinksAndOtherNodes) {
  TempDir dir;
  dir.symlink("/dev/ttyS0", "link-to-s0");
  dir.symlink("/dev/console", "link-to-console");
  dir.symlink("/dev/null", "link-to-null");
  const std::vector<std::string> active{"ttyS0"};
  EXPECT_TRUE(platform::linux_os::IsSystemConsole("/dev/ttyS0", active));
  EXPECT_TRUE(platform::linux_os::IsSystemConsole(dir / "link-to-s0", active));
  EXPECT_TRUE(platform::linux_os::IsSystemConsole(dir / "link-to-console", {}));
  EXPECT_FALSE(platform::linux_os::IsSystemConsole(dir / "link-to-null", active));
  EXPECT_FALSE(platform::linux_os::IsSystemConsole(dir / "missing", active));
  // /dev/ttyS1 is no console unless the active list names it.
  EXPECT_FALSE(platform::linux_os::IsSystemConsole("/dev/ttyS1", active));
  EXPECT_TRUE(platform::linux_os::IsSystemConsole("/dev/ttyS1", {"ttyS1"}));
}

}  // namespace
