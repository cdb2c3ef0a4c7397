// The HID interfaces Wine offers: its own mouse and keyboard, and no bridge.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/poll_loop.h"
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
