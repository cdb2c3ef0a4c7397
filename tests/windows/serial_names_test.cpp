// Port names and the port list of the Windows serial system, under Wine.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "platform/windows/internal.h"

namespace {

using platform::windows_os::ComDevicePath;
using platform::windows_os::PortsInRegistry;

TEST(WindowsPorts, OnlyComNamesNameAPort) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"COM1", "\\\\.\\COM1"},       {"com12", "\\\\.\\COM12"}, {"COM256", "\\\\.\\COM256"},
      {"COM0", std::nullopt},        {"COM01", std::nullopt},   {"COM", std::nullopt},
      {"COM1x", std::nullopt},       {"LPT1", std::nullopt},    {"C:\\COM1", std::nullopt},
      {"\\\\.\\COM1", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [name, path] : cases) EXPECT_EQ(ComDevicePath(name), path) << name;
}

TEST(WindowsPorts, AReadThatEndsEmptyBeforeHalfItsWaitMeansThePortIsGone) {
  using std::chrono::milliseconds;
  const struct {
    DWORD got;
    milliseconds waited;
    bool gone;
  } cases[] = {
      {0, milliseconds(0), true},    {0, milliseconds(499), true},
      {0, milliseconds(500), false}, {0, milliseconds(1000), false},  // its time-out
      {1, milliseconds(0), false},   {7, milliseconds(600), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::windows_os::EndedEmptyEarly(c.got, c.waited), c.gone)
        << c.got << " bytes after " << c.waited.count() << " ms";
  }
}

TEST(WindowsPorts, OpeningANameThatIsNoPortSaysSo) {
  auto system = platform::MakeSystemSerial();
  for (const char* name : {"COM0", "zek-no-port.txt"}) {
    auto opened = system->open(name);
    ASSERT_FALSE(opened.ok()) << name;
    EXPECT_EQ(opened.error().text, "not a serial port name") << name;
  }
  auto absent = system->open("COM77");
  ASSERT_FALSE(absent.ok());
  EXPECT_EQ(absent.error().code, ERROR_FILE_NOT_FOUND) << absent.error().describe();
}

// A key of our own, shaped like SERIALCOMM: string values named after devices.
class RegistryKey : public ::testing::Test {
 protected:
  static constexpr const char* key = "Software\\zekflash-test\\SERIALCOMM";
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\zekflash-test");
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    ::RegCloseKey(key_);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\zekflash-test");
  }
  void Set(const char* name, const std::string& data, DWORD type = REG_SZ) {
    ASSERT_EQ(::RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                               static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }
  HKEY key_ = nullptr;
};

TEST_F(RegistryKey, ValuesAreThePortsSortedWithoutRegardToCase) {
  Set("\\Device\\Serial0", std::string("COM2") + '\0');
  Set("\\Device\\Serial1", "com10");  // stored without its zero
  Set("\\Device\\VCP0", std::string("COM3") + '\0' + "junk");
  Set("\\Device\\Long", "COM123456789012345678901");  // 24 characters: no port name
  Set("\\Device\\Number", "\x01\x00\x00\x00", REG_DWORD);
  auto ports = PortsInRegistry(HKEY_CURRENT_USER, key);
  ASSERT_TRUE(ports.ok()) << ports.error().describe();
  EXPECT_EQ(*ports, (std::vector<std::string>{"com10", "COM2", "COM3"}));
}

TEST_F(RegistryKey, AnEmptyKeyIsAnEmptyListAndAMissingKeyTheSystemsCode) {
  auto none = PortsInRegistry(HKEY_CURRENT_USER, key);
  ASSERT_TRUE(none.ok());
  EXPECT_TRUE(none->empty());
  auto missing = PortsInRegistry(HKEY_CURRENT_USER, "Software\\zekflash-test\\absent");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().code, ERROR_FILE_NOT_FOUND);
}

// Wine keeps the list in the same key as Windows; a COM port mapped in the
// prefix is not necessarily in it, so only the shape is checked.
TEST(WindowsPorts, TheSystemsListIsReadable) {
  auto ports = platform::MakeSystemSerial()->list_ports();
  ASSERT_TRUE(ports.ok()) << ports.error().describe();
  for (const auto& name : *ports) EXPECT_TRUE(ComDevicePath(name).has_value()) << name;
}

}  // namespace
