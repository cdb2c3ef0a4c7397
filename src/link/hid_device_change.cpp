// The bridge: picked from the device list, and heard through its reader.
#include <optional>
#include <string>

#include "app/main_window.h"
#include "link/hid_report.h"
#include "texts/texts.h"

// Every device is looked at once, when it is first listed: one that is not the
// bridge stays checked out and is never looked at again. The newest bridge
// takes the requests; a bridge plugged in again is a new device.
// A bridge that appears while a connection runs would take the rest of the
// download to a unit nobody checked (the program cannot tell the same bridge
// plugged in again from another): it waits for the next connection. One case
// is told apart by its timing: the checked bridge gone and one bridge come in
// the same listing (a USB glitch, a plug pushed home again) is the checked
// bridge back before anyone could have swapped it, and the connection goes on
// over it rather than write to a device that is gone.
//
// No input report count is set: on this system the kernel keeps its own queue
// of reports for each open device, and the reader empties it as reports come.
namespace {

// What keeps a device named like the bridge from being used as one, if anything.
std::optional<std::string> Unusable(const platform::HidDeviceInfo& info) {
  const std::string& path = info.path;
  if (info.access == platform::HidAccess::none) return texts::HidNoAccess(path);
  if (info.access == platform::HidAccess::in_use) return texts::HidInUse(path);
  if (!info.output_reports) return texts::HidNotTheBridge(path, texts::hid_capabilities_unreadable);
  const auto report_2 = info.output_reports->find(links::bridge_output_report);
  if (report_2 == info.output_reports->end()) {
    return texts::HidNotTheBridge(path, texts::hid_no_output_report_2);
  }
  // A request cut to a shorter report would reach the unit maimed.
  const std::size_t needed = 2 + links::block_piece_size;
  if (report_2->second < needed) {
    return texts::HidNotTheBridge(path, texts::HidShortOutputReport(report_2->second, needed));
  }
  if (info.lengths.input < 2) return texts::HidNotTheBridge(path, texts::hid_no_input_report);
  return std::nullopt;
}

}  // namespace

// Left alone, a user with a bridge that cannot be used would only ever see
// "no device" later: each such bridge is named with what is wrong with it.
void TForm1::HidCtlDeviceChange() {
  links::HidRecord* const checked = hid_device;
  const bool checked_just_went =
      checked != nullptr && checked == hid_device_listed && !checked->plugged_in();
  int bridges_come = 0;
  while (links::HidRecord* device = HidCtl.check_out()) {
    if (device->product() != links::bridge_product) continue;
    if (const auto why = Unusable(device->info())) {
      hid_refusal = why->substr(0, why->find("\r\n"));
      dialogs.message(ui::BoxKind::error, *why);
      continue;
    }
    const auto attached = device->set_data_handler(
        [this, device](std::uint8_t id, std::span<const std::uint8_t> data) {
          if (trace != nullptr) {
            std::vector<std::uint8_t> report{id};
            report.insert(report.end(), data.begin(), data.end());
            trace->bytes(core::Direction::received, device->info().path, report);
          }
          HidDeviceData(id, data);
        });
    if (!attached) {
      // The devices not looked at yet wait for the next change of the list.
      dialogs.message(ui::BoxKind::error, texts::usb_error_1);
      return;
    }
    ++bridges_come;
    const bool connected = link_kind == firmware::Link::hid && checked != nullptr && !Idle();
    if (!connected) {
      hid_device = device;
      hid_next_device = nullptr;
    } else if (checked_just_went && bridges_come == 1) {
      hid_device = device;
    } else {
      // Two bridges at once: neither is surely the checked one.
      hid_device = checked;
      hid_next_device = device;
    }
  }
  hid_device_listed = hid_device != nullptr && hid_device->plugged_in() ? hid_device : nullptr;
}

// Each connection begins on the bridge found last.
void TForm1::TakeNewestBridge() {
  if (hid_next_device != nullptr && hid_next_device->plugged_in()) {
    hid_device = hid_device_listed = hid_next_device;
  }
  hid_next_device = nullptr;
}

void TForm1::HidDeviceData(std::uint8_t /*report_id*/, std::span<const std::uint8_t> data) {
  // Only a download over the bridge listens to it: bytes from it in the middle
  // of a serial reply would corrupt that reply.
  if (link_kind != firmware::Link::hid) return;
  const auto payload = links::InputPayload(data);
  AppendRx(payload);
  ReceiveDispatcher(static_cast<std::int32_t>(payload.size()));
}

void TForm1::HidCtlDeviceDataError(links::HidRecord& /*device*/, const core::Error& error) {
  if (error.text.empty()) {
    dialogs.message(ui::BoxKind::error, texts::usb_error_2);
    return;
  }
  Label1.caption = texts::data_error + error.text;
}
