#include "batch/link_reason.h"

#include <algorithm>
#include <array>

#include "batch/printable.h"
#include "texts/texts.h"

namespace batch {

std::string LinkReason(const app::LinkFacts& link) {
  if (link.kind == firmware::Link::hid && !link.bridge_found) {
    if (!link.bridge_refusal.empty()) return Printable(link.bridge_refusal);
    return "no USB HID bridge \"HIDtoUART ZEK\" is plugged in";
  }
  if (link.kind == firmware::Link::none || !link.last_error) return {};
  return Printable(link.last_error->describe());
}

std::string UnitPlace(const app::LinkFacts& link) {
  if (link.kind == firmware::Link::hid) return "the USB HID bridge";
  return Printable(link.port);
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
