// Runs in the virtual machine: the HID device layer of platform/ on the
// kernel's hidraw, against the simulated unit's bridge.
#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "scenario_main.h"
#include "scenarios.h"

namespace {

// Drops root for good, so that device files are as closed as to any user.
bool BecomeUser(const std::string& id) {
  const auto uid = static_cast<uid_t>(std::strtoul(id.c_str(), nullptr, 10));
  return ::setgroups(0, nullptr) == 0 && ::setgid(uid) == 0 && ::setuid(uid) == 0 &&
         ::geteuid() == uid;
}

bool BecomeUserAsked(const vm_guest::Args& args) {
  const auto user = args.find("user");
  if (user == args.end() || BecomeUser(user->second)) return true;
  std::fprintf(stderr, "zek-vm-hid-platform: cannot become user %s\n", user->second.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  return vm_guest::RunScenarioMain(argc, argv, "zek-vm-hid-platform", "uhid|usb",
                                   {{"uhid", vm_platform::RunUhid}, {"usb", vm_platform::RunUsb}},
                                   BecomeUserAsked);
}
