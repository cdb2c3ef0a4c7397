// Runs in the virtual machine: checks the simulated unit's USB HID bridge
// through the kernel's hidraw, as the program will use it.
#include <cstdio>
#include <string>
#include <string_view>

#include "scenarios.h"

int main(int argc, char** argv) {
  if (argc < 2 || (argc % 2) != 0) {
    std::fprintf(stderr, "usage: zek-vm-hid-check exchange|replug|usb [--key value]...\n");
    return 2;
  }
  const std::string scenario = argv[1];
  vm_guest::Args args;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string_view key = argv[i];
    if (!key.starts_with("--")) {
      std::fprintf(stderr, "zek-vm-hid-check: expected --key, got %s\n", argv[i]);
      return 2;
    }
    args[std::string(key.substr(2))] = argv[i + 1];
  }
  int failed = 0;
  if (scenario == "exchange") {
    failed = vm_guest::RunExchange(args);
  } else if (scenario == "replug") {
    failed = vm_guest::RunReplug(args);
  } else if (scenario == "usb") {
    failed = vm_guest::RunUsb(args);
  } else {
    std::fprintf(stderr, "zek-vm-hid-check: no scenario %s\n", scenario.c_str());
    return 2;
  }
  std::printf(
      "zek-vm-hid-check %s: %s\n", scenario.c_str(),
      failed == 0 ? "every check passed" : (std::to_string(failed) + " checks failed").c_str());
  return failed == 0 ? 0 : 1;
}
