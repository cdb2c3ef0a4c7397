#include "batch/link_reason.h"

#include <algorithm>
#include <array>

#include "app/main_window.h"
#include "batch/printable.h"
#include "texts/texts.h"

namespace batch {

namespace {

std::string Described(const std::optional<core::Error>& error) {
  return error ? Printable(error->describe()) : std::string();
}

}  // namespace

std::string LinkReason(const TForm1& form) {
  if (form.link_kind == firmware::Link::hid) {
    if (form.hid_device == nullptr) {
      if (!form.hid_refusal.empty()) return Printable(form.hid_refusal);
      return "no USB HID bridge \"HIDtoUART ZEK\" is plugged in";
    }
    return Described(form.hid_device->last_error());
  }
  if (form.link_kind != firmware::Link::serial) return {};
  return Described(form.ComPort1.last_error());
}

bool ReportsPortFailure(const std::string& box_text) {
  static constexpr std::array failures{texts::communicatie_error, texts::comm_error_test,
                                       texts::usb_error_4,        texts::check_usb,
                                       texts::check_usb_chunks,   texts::usb_error,
                                       texts::usb_error_chunks,   texts::usb_error_3_chunks};
  return std::any_of(failures.begin(), failures.end(),
                     [&](const char* text) { return box_text == text; });
}

}  // namespace batch
