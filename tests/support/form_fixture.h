#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "core/manual_loop.h"
#include "fake_hid.h"
#include "fake_serial.h"
#include "state_printing.h"
#include "ui/scripted_dialogs.h"

class TempDir;

// A main window on virtual time with scripted dialogs, in-memory serial and HID
// systems, in a folder of its own that stands for the program's folder.
class FormFixture {
 public:
  explicit FormFixture(std::vector<std::string> args = {"-O"});
  ~FormFixture();

  // A reply as the unit sends it: the bytes given, then their checksum.
  static std::vector<std::uint8_t> Reply(const std::string& body);
  // A status reply of `length` bytes with the given engine and battery raw values.
  static std::vector<std::uint8_t> StatusReply(int length, unsigned engine_raw,
                                               unsigned battery_raw);
  // Writes an image of `blocks` whole blocks and its checksum record; returns its path.
  std::string WriteImage(const std::string& name, const std::string& version, int blocks,
                         const std::string& finish_wait = "0000");
  std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
  std::string WriteText(const std::string& name, const std::string& text);

  // Everything the program wrote on `port`, request by request.
  std::vector<std::vector<std::uint8_t>>& Writes(const std::string& port = "COM1");
  // The request letters written on `port`, in order (one character per write).
  std::string Letters(const std::string& port = "COM1");

  std::filesystem::path folder;
  core::ManualLoop loop;
  ui::ScriptedDialogs dialogs;
  FakeSerial serial{loop};
  FakeHid hid{loop};
  std::unique_ptr<TForm1> form;

 private:
  std::unique_ptr<TempDir> dir_;  // holds `folder`; outlives the form
};
