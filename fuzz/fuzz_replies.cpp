// Whatever a unit (or line noise) sends, in whatever pieces, in whatever state,
// over the serial port or in the HID bridge's input reports: the receive
// dispatcher must neither crash nor read past what it holds, and the buffer
// must keep its bound.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "app/main_window.h"
#include "core/manual_loop.h"
#include "fake_hid.h"
#include "require.h"
#include "ui/scripted_dialogs.h"

namespace {

constexpr int line_fd = 77;

// One port whose incoming bytes the fuzzer supplies; writes go nowhere.
class FuzzLine : public platform::SerialSystem {
 public:
  std::deque<std::uint8_t> input;

  core::Result<std::unique_ptr<platform::SerialDevice>> open(const std::string&) override {
    return std::unique_ptr<platform::SerialDevice>(new Device(*this));
  }
  core::Result<std::vector<std::string>> list_ports() override {
    return std::vector<std::string>{"COM1", "COM2"};
  }

 private:
  class Device : public platform::SerialDevice {
   public:
    explicit Device(FuzzLine& line) : line_(line) {}
    core::Status set_baud(int) override { return core::Ok{}; }
    core::Status write_all(std::span<const std::uint8_t>, int) override { return core::Ok{}; }
    core::Result<std::size_t> bytes_waiting() override { return line_.input.size(); }
    core::Result<std::size_t> read(std::span<std::uint8_t> into) override {
      std::size_t n = 0;
      while (n < into.size() && !line_.input.empty()) {
        into[n++] = line_.input.front();
        line_.input.pop_front();
      }
      return n;
    }
    core::Status discard() override {
      line_.input.clear();
      return core::Ok{};
    }
    core::Waitable readable_handle() const override { return line_fd; }

   private:
    FuzzLine& line_;
  };
};

using download::CommState;
using S = CommState;
constexpr CommState states[] = {S::idle,          S::probe,          S::version,
                                S::serial_number, S::prepare,        S::access,
                                S::status,        S::start,          S::block,
                                S::finish,        S::switch_request, S::status_after_switch,
                                S::restart,       S::script_step};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  core::ManualLoop loop;
  ui::ScriptedDialogs dialogs;
  FuzzLine line;
  FakeHid hid(loop);
  hid.plug(FakeHid::Bridge("bridge"));
  TForm1 form(Environment{loop, dialogs, line, hid, {"-O"}, "/nonexistent/zekflash"});
  loop.run_due();
  const bool over_hid = ((data[0] >> 2) & 1) != 0;
  form.link_kind = over_hid ? firmware::Link::hid : firmware::Link::serial;
  form.fast_baud = (data[0] & 1) != 0;
  form.staged_download = ((data[0] >> 1) & 1) != 0;
  form.StaticText_version_info_File.caption = "3M0100001";
  form.last_block_nr = 3;
  form.ComboBox_setCompoort2.set_items({"COM2"});
  if (!form.EnsurePortOpen()) return 0;
  form.comm_state = states[data[1] % sizeof states];
  // The rest comes in pieces: a length byte, then that many bytes, with time
  // passing between pieces so that time-outs and next actions run too. Over
  // HID each piece is an input report's data, its first byte the count.
  std::size_t i = 2;
  while (i < size) {
    const std::size_t piece = std::min<std::size_t>(data[i] % 80, size - i - 1);
    if (over_hid) {
      std::vector<std::uint8_t> report{1};
      report.insert(report.end(), data + i + 1, data + i + 1 + piece);
      hid.inject("bridge", report);
    } else {
      line.input.insert(line.input.end(), data + i + 1, data + i + 1 + piece);
      loop.signal(line_fd);
    }
    i += 1 + piece;
    Require(form.rx_buffer.size() <= TForm1::rx_buffer_capacity, "rx_buffer bound");
    Require(form.rx_count >= 0, "rx_count never negative");
    loop.advance(piece * 7);
  }
  return 0;
}
