// Runs in the virtual machine: the HID device layer of platform/ on the
// kernel's hidraw, against the simulated unit's bridge.
#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "scenarios.h"

namespace {

// Drops root for good, so that device files are as closed as to any user.
bool BecomeUser(const std::string& id) {
  const auto uid = static_cast<uid_t>(std::strtoul(id.c_str(), nullptr, 10));
  return ::setgroups(0, nullptr) == 0 && ::setgid(uid) == 0 && ::setuid(uid) == 0 &&
         ::geteuid() == uid;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (argc % 2) != 0) {
    std::fprintf(stderr, "usage: zek-vm-hid-platform uhid|usb [--key value]...\n");
    return 2;
  }
  const std::string scenario = argv[1];
  vm_platform::Args args;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string_view key = argv[i];
    if (!key.starts_with("--")) {
      std::fprintf(stderr, "zek-vm-hid-platform: expected --key, got %s\n", argv[i]);
      return 2;
    }
    args[std::string(key.substr(2))] = argv[i + 1];
  }
  if (args.count("user") != 0 && !BecomeUser(args["user"])) {
    std::fprintf(stderr, "zek-vm-hid-platform: cannot become user %s\n", args["user"].c_str());
    return 2;
  }
  int failed = 0;
  if (scenario == "uhid") {
    failed = vm_platform::RunUhid(args);
  } else if (scenario == "usb") {
    failed = vm_platform::RunUsb(args);
  } else {
    std::fprintf(stderr, "zek-vm-hid-platform: no scenario %s\n", scenario.c_str());
    return 2;
  }
  std::printf(
      "zek-vm-hid-platform %s: %s\n", scenario.c_str(),
      failed == 0 ? "every check passed" : (std::to_string(failed) + " checks failed").c_str());
  return failed == 0 ? 0 : 1;
}
