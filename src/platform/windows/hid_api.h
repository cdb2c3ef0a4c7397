#pragma once

// The HID library's headers, which mingw-w64 ships without C linkage for C++,
// and the others of the HID code, after the <windows.h> they all need.
// clang-format off
#include <windows.h>
#include <dbt.h>
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
#include <setupapi.h>
// clang-format on
