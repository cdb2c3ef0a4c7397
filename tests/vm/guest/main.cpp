// Runs in the virtual machine: checks the simulated unit's USB HID bridge
// through the kernel's hidraw, as the program will use it.
#include "scenario_main.h"
#include "scenarios.h"

int main(int argc, char** argv) {
  return vm_guest::RunScenarioMain(argc, argv, "zek-vm-hid-check", "exchange|replug|usb",
                                   {{"exchange", vm_guest::RunExchange},
                                    {"replug", vm_guest::RunReplug},
                                    {"usb", vm_guest::RunUsb}});
}
