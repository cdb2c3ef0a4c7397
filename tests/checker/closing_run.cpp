// The closing run: a unit that answers well and a technician who goes on.
#include <algorithm>

#include "invariants.h"
#include "world.h"

namespace checker {

void World::EndFaults() {
  fx.serial.fail_write_at = -1;
  fx.serial.short_write_at = -1;
  fx.serial.failing_reads = 0;
  fx.serial.list_fails = false;
  fx.hid.fail_write_at = -1;
  for (int image : {image_a, image_b}) Rewrite(image, false);
}

// The closing run's technician goes on wherever a panel lets him, the unit
// answers every request at once and reports back after each power cycle, and
// a program at rest is given the good file of its kind again.
std::optional<Event> World::GoOn() {
  if (vanished_) return Replug{};
  if (FinalPanel()) return std::nullopt;
  // The program talks to the bridge found last: the technician unplugs the
  // others and plugs the unit's in again.
  if (others_gone_ < others_) return Unplug{true};
  if (!newest_is_unit_) return Unplug{};
  if (Reachable(form, form.Button_Cancel_set_communicationport)) {
    if (fixing_port_) return FixPort();
    return Press{form.Button_Cancel_set_communicationport.name()};
  }
  // Retry gets three chances; then the technician opens the file again, which
  // sets the port up anew.
  if (Reachable(form, form.Button_Retry_communication_offline)) {
    if (retries_++ < 3) return Press{form.Button_Retry_communication_offline.name()};
    fixing_port_ = !Hid();
    return Press{form.Button_Cancel_communication_offline.name()};
  }
  for (const ui::Button* b :
       {&form.Button_Download_ready_for_download, &form.Button_Ignore_olderversion,
        &form.xpButton_close_tekstveld, &form.Button_ok_communication_offline,
        &form.Button_OK_Acces_level_problem, &form.Button_Ok_ready_for_download}) {
    if (Reachable(form, *b)) return Press{b->name()};
  }
  const std::int64_t now = fx.loop.now();
  if (PowerCycleWait(form) && !form.Timer4.enabled() && now - last_report_at_ >= 2000) {
    last_report_at_ = static_cast<int>(now);
    return Report{0, 1};
  }
  if (answered_ < requests_.size()) return Answer{Fault::whole, false, 0};
  const std::int64_t due = fx.loop.next_due_in();
  if (due > 0 || PowerCycleWait(form))
    return Tick{static_cast<int>(due > 0 ? std::min<std::int64_t>(due, 2000) : 2000)};
  if (due == 0) return Tick{0};
  // A port stored wrong keeps the unit out of reach: the technician stores the right one.
  if (fixing_port_) return Press{form.SpeedButton_comport_settings.name()};
  retries_ = 0;
  return Open{session.script ? FileChoice::good_script : FileChoice::good_image, true};
}

// On the port settings panel: the search off, the unit's port picked and saved
// in the group of the file's kind of port.
Event World::FixPort() {
  if (form.CheckBox_Autoselect_comport.checked)
    return Press{form.CheckBox_Autoselect_comport.name()};
  const char code = setup.family[1];
  const int group = code == 'E' || (code == 'M' && setup.family[0] != '3') ? 1 : 0;
  const ui::ComboBox& combo = group == 0 ? form.ComboBox_setCompoort1 : form.ComboBox_setCompoort2;
  const auto at = std::find(combo.items.begin(), combo.items.end(), unit_port);
  const int index = static_cast<int>(at - combo.items.begin());
  if (at != combo.items.end() && (combo.item_index != index || combo.text != unit_port)) {
    return ChoosePort{group, index};
  }
  fixing_port_ = false;
  return Press{(group == 0 ? form.Button_Save_set_communicationport
                           : form.Button_Save_set_communicationport_2)
                   .name()};
}

}  // namespace checker
