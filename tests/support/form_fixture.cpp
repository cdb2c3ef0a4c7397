#include "form_fixture.h"

#include "played_unit.h"
#include "temp_dir.h"
#include "test_image.h"

FormFixture::FormFixture(std::vector<std::string> args) : dir_(std::make_unique<TempDir>()) {
  folder = dir_->path();
  form = std::make_unique<TForm1>(
      Environment{loop, dialogs, serial, hid, std::move(args), (folder / "zekflash").string()});
  form->FormShow();
  loop.run_due();  // the first look at the HID devices, as the loop does once it runs
}

FormFixture::~FormFixture() {
  form.reset();  // before its folder goes
}

std::vector<std::uint8_t> FormFixture::Reply(const std::string& body) {
  return PlayedUnit::Sealed(body);
}

std::vector<std::uint8_t> FormFixture::StatusReply(int length, unsigned engine_raw,
                                                   unsigned battery_raw) {
  return PlayedUnit::StatusReply(length, engine_raw, battery_raw);
}

std::string FormFixture::WriteImage(const std::string& name, const std::string& version, int blocks,
                                    const std::string& finish_wait) {
  return WriteFile(name, BlockImage(blocks, version, finish_wait));
}

std::string FormFixture::WriteFile(const std::string& name,
                                   const std::vector<std::uint8_t>& bytes) {
  return dir_->write(name, bytes);
}

std::string FormFixture::WriteText(const std::string& name, const std::string& text) {
  return dir_->write(name, text);
}

std::vector<std::vector<std::uint8_t>>& FormFixture::Writes(const std::string& port) {
  return serial.line(port).writes;
}

std::string FormFixture::Letters(const std::string& port) {
  std::string s;
  for (const auto& w : serial.line(port).writes) s += w.empty() ? '?' : static_cast<char>(w[0]);
  return s;
}
