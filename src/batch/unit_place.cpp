#include "batch/unit_place.h"

#include "app/main_window.h"
#include "batch/printable.h"

namespace batch {

std::string UnitPlace(const TForm1& form) {
  if (form.link_kind == firmware::Link::hid) return "the USB HID bridge";
  return Printable(form.ComPort1.port());
}

}  // namespace batch
