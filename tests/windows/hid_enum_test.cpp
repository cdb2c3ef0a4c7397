// The HID interfaces Wine offers: its own mouse and keyboard, and no bridge.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/poll_loop.h"
#include "platform/windows/hid_api.h"
#include "platform/windows/internal.h"

namespace {

using namespace platform::windows_os;

TEST(WindowsHid, WinesOwnDevicesAreFoundAndLeftOut) {
  std::vector<std::u16string> products;
  for (const std::string& path : HidInterfacePaths()) {
    auto info = DescribeHid(path);
    if (!info) continue;
    EXPECT_EQ(info->path, path);
    EXPECT_GT(info->lengths.input, 0u) << path;
    products.push_back(info->product);
  }
  const auto wine_own = std::count_if(products.begin(), products.end(), IsWineVirtualHid);
  EXPECT_GE(wine_own, 1) << "Wine's mouse and keyboard were not found";
  for (const auto& info : ListHidInterfaces()) {
    EXPECT_FALSE(IsWineVirtualHid(info.product)) << info.path;
  }
  EXPECT_EQ(ListHidInterfaces().size(), products.size() - static_cast<std::size_t>(wine_own));
}

TEST(WindowsHid, OnlyWinesOwnProductStringsAreLeftOut) {
  const std::pair<std::u16string, bool> cases[] = {{u"Wine HID mouse", true},
                                                   {u"Wine HID keyboard", true},
                                                   {u"HIDtoUART ZEK", false},
                                                   {u"Wine HID", false},
                                                   {u"", false}};
  for (const auto& [product, left_out] : cases) EXPECT_EQ(IsWineVirtualHid(product), left_out);
}

// Windows names a device plugged in again by the same path: its arrivals tell
// the plugs apart, whichever way the notices spell the path.
TEST(WindowsHid, AnArrivalGivesThePathANewId) {
  platform::PollLoop loop;
  auto arrivals = std::make_shared<HidArrivals>();
  int changes = 0;
  auto watch = WatchHidNotices(loop, arrivals, [&] { ++changes; });
  ASSERT_TRUE(watch.ok()) << watch.error().describe();
  const HWND window = ::FindWindowExW(HWND_MESSAGE, nullptr, L"zekflash-hid-notices", nullptr);
  ASSERT_NE(window, nullptr);
  const std::string path =
      "\\\\?\\hid#vid_1209&pid_7a45#0&zek&0&0#{4d1e55b2-f16f-11cf-88cb-001111000030}";
  const std::wstring spelled =
      L"\\\\?\\HID#VID_1209&PID_7A45#0&ZEK&0&0#{4D1E55B2-F16F-11CF-88CB-001111000030}";
  const std::string first = arrivals->id_of(path);
  const auto tell = [&](WPARAM event, const std::wstring& name) {
    std::vector<std::uint8_t> buffer(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) +
                                     name.size() * sizeof(wchar_t));
    auto* notice = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(buffer.data());
    notice->dbcc_size = static_cast<DWORD>(buffer.size());
    notice->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::copy(name.begin(), name.end(), notice->dbcc_name);
    ::SendMessageW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(notice));
    loop.run_once(0);
  };
  tell(DBT_DEVICEREMOVECOMPLETE, spelled);
  EXPECT_EQ(arrivals->id_of(path), first) << "a removal is no arrival";
  EXPECT_EQ(changes, 1);
  tell(DBT_DEVICEARRIVAL, spelled);
  const std::string second = arrivals->id_of(path);
  EXPECT_NE(second, first);
  EXPECT_EQ(changes, 2);
  tell(DBT_DEVICEARRIVAL, L"\\\\?\\hid#other");
  EXPECT_EQ(arrivals->id_of(path), second) << "another path's arrival";
}

TEST(WindowsHid, ChangeNoticesCanBeWatchedAndEnded) {
  platform::PollLoop loop;
  auto system = platform::MakeSystemHid(loop);
  int changes = 0;
  auto watch = system->watch_changes([&] { ++changes; });
  ASSERT_TRUE(watch.ok()) << watch.error().describe();
  loop.run_once(50);
  watch->reset();
  loop.run_once(10);
  EXPECT_EQ(changes, 0) << "no device came or went";
}

}  // namespace
