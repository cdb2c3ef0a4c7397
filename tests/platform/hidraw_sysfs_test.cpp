#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "hid_reports.h"
#include "platform/linux/internal.h"
#include "platform/poll_loop.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::HidDeviceInfo;

const std::string usb_bus = "devices/pci0000:00/0000:00:14.0/usb1";
const Bytes keyboard_descriptor{0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x75, 0x01, 0x95,
                                0x08, 0x81, 0x02, 0x95, 0x05, 0x91, 0x02, 0x95, 0x03,
                                0x91, 0x01, 0x75, 0x08, 0x95, 0x07, 0x81, 0x00, 0xC0};

// A sysfs and a /dev in miniature: the bridge as a USB device, a uhid bridge
// named in other letter case, a USB keyboard without a product string, and
// nodes that cannot be described.
class HidrawSysfsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto bridge = ecu_sim::BridgeReportDescriptor();
    const Bytes bridge_descriptor(bridge.begin(), bridge.end());
    UsbDevice(usb_bus, "xHCI Host Controller\n");
    UsbDevice(usb_bus + "/1-2", "HIDtoUART ZEK\n");
    UsbDevice(usb_bus + "/1-3", nullptr);
    UsbDevice(usb_bus + "/1-4", "Ger\xC3\xA4t \xF0\x9F\x99\x82\n\n");
    root.write("sys/" + usb_bus + "/1-2/1-2:1.0/bInterfaceClass", "03\n");
    usb_bridge = Hid(usb_bus + "/1-2/1-2:1.0/0003:1209:7A45.0001", "0003:00001209:00007A45",
                     "ZEK HIDtoUART ZEK", bridge_descriptor, "hidraw10");
    uhid_bridge = Hid("devices/virtual/misc/uhid/0003:1209:7A45.0002", "0003:00001209:00007A45",
                      "hidtoUART ZEK", bridge_descriptor, "hidraw2");
    keyboard = Hid(usb_bus + "/1-3/1-3:1.0/0003:046D:C31C.0003", "0003:0000046D:0000C31C",
                   "Logitech USB Keyboard", keyboard_descriptor, "hidraw3");
    gadget = Hid(usb_bus + "/1-4/1-4:1.0/0003:04D8:0001.0005", "0003:000004D8:00000001",
                 "Maker Gadget", keyboard_descriptor, "hidraw5");
    // Listed without its layout: a descriptor cut short. Left out: a node
    // without its device file, a node whose device has gone.
    broken = Hid("devices/virtual/misc/uhid/0003:0001:0001.0006", "0003:00000001:00000001",
                 "broken", Bytes{0x75, 0x08, 0x96}, "hidraw6");
    Hid("devices/virtual/misc/uhid/0003:0001:0001.0007", "0003:00000001:00000001", "no node",
        keyboard_descriptor, "hidraw7");
    std::filesystem::remove(root / "dev/hidraw7");
    root.symlink(root / "sys/devices/gone", "sys/class/hidraw/hidraw8/device");
    root.write("dev/hidraw8", "");
  }

  // `product` null: the device has no product string.
  void UsbDevice(const std::string& dir, const char* product) {
    root.write("sys/" + dir + "/idVendor", "1209\n");
    root.write("sys/" + dir + "/bDeviceClass", "00\n");
    if (product) root.write("sys/" + dir + "/product", product);
  }
  std::string Hid(const std::string& dir, const std::string& hid_id, const std::string& name,
                  const Bytes& descriptor, const std::string& node) {
    const std::string folder = root / ("sys/" + dir);
    root.write("sys/" + dir + "/uevent",
               "DRIVER=hid-generic\nHID_ID=" + hid_id + "\nHID_NAME=" + name + "\nHID_UNIQ=\n");
    root.write("sys/" + dir + "/report_descriptor", descriptor);
    root.symlink(folder, "sys/class/hidraw/" + node + "/device");
    root.write("dev/" + node, "");
    return std::filesystem::canonical(folder).string();
  }

  TempDir root;
  std::string usb_bridge, uhid_bridge, keyboard, gadget, broken;
};

TEST_F(HidrawSysfsTest, ListsEachNodeWithTheProductOfItsUsbDeviceOrItsOwnName) {
  struct Expected {
    std::string id;
    std::string node;
    std::u16string product;
    std::uint16_t vendor, product_id;
    platform::HidReportLengths lengths;
    bool numbered;
    std::optional<std::map<std::uint8_t, std::size_t>> outputs;
  };
  const std::string sysfs = root / "sys";
  const std::map<std::uint8_t, std::size_t> bridge_outputs{{2, 65}}, keyboard_outputs{{0, 2}};
  const std::u16string gadget_product = u"Ger\u00E4t \U0001F642\n";
  const std::vector<Expected> expected{
      {uhid_bridge, "hidraw2", u"hidtoUART ZEK", 0x1209, 0x7A45, {65, 65, 0}, true, bridge_outputs},
      {keyboard, "hidraw3", u"", 0x046D, 0xC31C, {9, 2, 0}, false, keyboard_outputs},
      {gadget, "hidraw5", gadget_product, 0x04D8, 0x0001, {9, 2, 0}, false, keyboard_outputs},
      {broken, "hidraw6", u"broken", 0x0001, 0x0001, {0, 0, 0}, false, std::nullopt},
      {usb_bridge, "hidraw10", u"HIDtoUART ZEK", 0x1209, 0x7A45, {65, 65, 0}, true, bridge_outputs},
  };
  const auto listed = platform::linux_os::ListHidraw(sysfs, root / "dev", {});
  ASSERT_EQ(listed.size(), expected.size());
  for (std::size_t i = 0; i < listed.size(); ++i) {
    SCOPED_TRACE(expected[i].node);
    const HidDeviceInfo& info = listed[i];
    EXPECT_EQ(info.id, expected[i].id);
    EXPECT_EQ(info.path, root / ("dev/" + expected[i].node));
    EXPECT_TRUE(info.product == expected[i].product);
    EXPECT_EQ(info.vendor_id, expected[i].vendor);
    EXPECT_EQ(info.product_id, expected[i].product_id);
    EXPECT_EQ(info.lengths, expected[i].lengths);
    EXPECT_EQ(info.numbered_reports, expected[i].numbered);
    EXPECT_EQ(info.output_reports, expected[i].outputs);
    EXPECT_EQ(info.access, platform::HidAccess::read_write);
  }
  const auto settled = platform::linux_os::ListHidraw(sysfs, root / "dev", {"hidraw3", "hidraw2"});
  ASSERT_EQ(settled.size(), 3u);
  EXPECT_EQ(settled[0].id, expected[2].id);
  EXPECT_EQ(settled[1].id, broken);
  EXPECT_EQ(settled[2].id, usb_bridge);
}

TEST(HidrawProduct, LongProductsStopBeforeTheLimitWithoutHalvingAPair) {
  const std::string long_product = std::string(253, 'x') + "\xF0\x9F\x99\x82" + "yz";
  const std::u16string kept = platform::linux_os::Utf16FromUtf8(long_product, 254);
  EXPECT_EQ(kept, std::u16string(253, u'x'));
  EXPECT_TRUE(platform::linux_os::Utf16FromUtf8("a\xFF\xC3(\xED\xA0\x80", 254) ==
              u"a\uFFFD\uFFFD(\uFFFD\uFFFD\uFFFD");
}

// The bytes that reach the device, here a plain file standing in for the node.
TEST_F(HidrawSysfsTest, WritesAreTheReportPaddedToTheOutputLengthAndNothingElse) {
  platform::PollLoop loop;
  auto hid = platform::linux_os::MakeHidrawSystem(loop, root / "sys", root / "dev");
  auto listed = hid->list();
  ASSERT_TRUE(listed.ok());
  struct Case {
    const char* node;
    Bytes report;
    Bytes written;  // empty: refused with `code`
    int code;
  };
  Bytes request(65, 0);
  request[0] = 2, request[1] = 1, request[2] = 'V';
  const Case cases[] = {
      {"hidraw10", {2, 1, 'V'}, request, 0},    {"hidraw10", request, request, 0},
      {"hidraw10", Bytes(66, 2), {}, EMSGSIZE}, {"hidraw10", {0, 1, 'V'}, {}, EINVAL},
      {"hidraw3", {0, 0x07}, {0, 0x07}, 0},     {"hidraw3", {0}, {0, 0}, 0},
      {"hidraw3", {1, 0x07}, {}, EINVAL},       {"hidraw3", {}, {}, EINVAL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.node) + " " + std::to_string(c.report.size()) + " bytes");
    const HidDeviceInfo* info = nullptr;
    for (const auto& i : *listed) info = i.path.ends_with(c.node) ? &i : info;
    ASSERT_NE(info, nullptr);
    root.write(std::string("dev/") + c.node, "");
    auto device = hid->open(*info);
    ASSERT_TRUE(device.ok()) << device.error().describe();
    std::optional<core::Status> written;
    (*device)->write_report(c.report, [&](const core::Status& s) { written = s; });
    for (int i = 0; i < 100 && !written; ++i) loop.run_once(20);
    ASSERT_TRUE(written.has_value()) << "no outcome";
    EXPECT_EQ(written->ok() ? 0 : written->error().code, c.code);
    EXPECT_EQ(FileBytes(info->path), c.written);
  }
}

TEST_F(HidrawSysfsTest, OpenRefusesANodeThatNowBelongsToAnotherDevice) {
  platform::PollLoop loop;
  auto hid = platform::linux_os::MakeHidrawSystem(loop, root / "sys", root / "dev");
  const auto before = platform::linux_os::DescribeHidraw(root / "sys", root / "dev", "hidraw2");
  ASSERT_TRUE(before.has_value());
  std::filesystem::remove(root / "sys/class/hidraw/hidraw2/device");
  root.symlink(keyboard, "sys/class/hidraw/hidraw2/device");
  auto opened = hid->open(*before);
  ASSERT_FALSE(opened.ok());
  EXPECT_EQ(opened.error().code, ENODEV);
  EXPECT_EQ(opened.error().operation, "open");
  EXPECT_EQ(opened.error().name, before->path);
}

}  // namespace
