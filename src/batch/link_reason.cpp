#include "batch/link_reason.h"

#include "app/main_window.h"
#include "batch/printable.h"
#include "texts/texts.h"

namespace batch {

std::string LinkReason(const TForm1& form) {
  if (form.link_kind != firmware::Link::serial) return {};
  const auto& error = form.ComPort1.last_error();
  return error ? Printable(error->describe()) : std::string();
}

bool ReportsPortFailure(const std::string& box_text) {
  return box_text == texts::communicatie_error || box_text == texts::comm_error_test;
}

}  // namespace batch
