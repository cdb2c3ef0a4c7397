#pragma once

#include "scenario_main.h"

namespace vm_guest {

// Each returns the number of failed checks.
// A bridge and a second one named in other letter case: finding by name, the
// report descriptor, requests and replies, and a download of three blocks.
int RunExchange(const Args& args);
// A bridge unplugged after some blocks and plugged in again: the old node goes
// away, a new one comes, and a download on it works.
int RunReplug(const Args& args);
// A bridge that is a real USB device (a gadget on dummy_hcd): found by its USB
// device's product string, and a download through it.
int RunUsb(const Args& args);

}  // namespace vm_guest
