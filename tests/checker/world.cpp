#include "world.h"

#include <algorithm>

#include "config/port_record.h"
#include "invariants.h"
#include "test_image.h"
#include "texts/texts.h"

namespace checker {

namespace {

// The images, in World::images order: what each is for, and how it is made.
struct ImageShape {
  const char* name;     // after the family code
  const char* version;  // after the family code
  bool damaged;
};
constexpr ImageShape image_shapes[] = {
    {"0100006.fm0", "0100006", false},  {"0100004.fm0", "0100004", false},
    {"D_damaged.fm0", "0100006", true}, {"A_first.fm0", "0100006", false},
    {"B_second.fm0", "0100006", false}, {"X_bad.fm0", "0100006", true},
};

// Whole blocks and the checksum record; each image's bytes differ from every
// other's at every place, so a block sent tells which image it came from.
Bytes ImageBytes(int id, const std::string& family, const Setup& setup, const ImageShape& shape) {
  Bytes bytes(static_cast<std::size_t>(setup.blocks) * 1024 + 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 37 + 11 + static_cast<std::size_t>(id) * 101);
  }
  const std::string head = family + shape.version + setup.finish_wait;
  std::copy(head.begin(), head.end(), bytes.begin());
  SealImage(bytes);
  if (shape.damaged) bytes.back() ^= 0xFF;
  return bytes;
}

std::string Script(const Setup& setup, const std::vector<std::string>& steps, bool texts) {
  std::string s = "[begin1]\r\n";
  for (const std::string& step : steps) s += step + "\r\n";
  s += "[end1]\r\n[begin2]\r\n" + setup.unit_version.substr(0, 3) + "XXXXXX\r\n";
  if (!texts) return s;
  return s + "[begin3]\r\n[t1]First text line\r\n[t2]Second text line\r\n[end3]\r\n";
}

// A family that talks at the other rate, for a script that mixes them.
std::string OtherRate(const std::string& family) {
  return PlayedUnit::Fast(family) ? "4E" : "6M";
}

}  // namespace

Setup DrawSetup(Choices& choices) {
  static const char* const families[] = {"3M", "6M", "4E", "8D", "5M"};
  static const char* const waits[] = {"0000", "0015", "0030"};
  static const char* const middles[] = {"[HR]", "[SR]", "[t1]", "[t21]"};
  Setup s;
  s.family = families[choices.Below(5)];
  const bool prepared = !PlayedUnit::Fast(s.family) && s.family != "5M" && choices.Below(5) == 0;
  s.unit_version = prepared ? "5MA100005" : s.family + "0100005";
  s.port_before = choices.Below(2) == 0;
  s.port_after = choices.Below(3) == 0;
  s.autoselect = choices.Below(10) < 7;
  s.blocks = 2 + static_cast<int>(choices.Below(3));
  s.finish_wait = waits[choices.Below(3)];
  for (unsigned n = choices.Below(3); n > 0; --n) {
    s.middle_steps.push_back(middles[choices.Below(4)]);
  }
  if (choices.Below(2) == 0) s.last_text_step = "[t2]";
  s.folder = choices.Below(3) == 0;
  s.mixed = choices.Below(3) == 0;
  s.odd_step = choices.Below(2) == 0 ? "[XX]" : "[t1]";
  return s;
}

std::string Describe(const Setup& s) {
  std::string steps = "[f]A";
  for (const std::string& step : s.middle_steps) steps += " " + step;
  steps += " [f]B " + (s.last_text_step.empty() ? "" : s.last_text_step + " ") + "[end1]";
  return "unit " + s.unit_version + (s.family == "5M" ? " behind a bridge" : " on /dev/ttyUSB1") +
         (s.port_before ? ", silent /dev/ttyUSB0 before it" : "") +
         (s.port_after ? ", silent /dev/ttyUSB2 after it" : "") + ", autoselect " +
         (s.autoselect ? "on" : "off") + ", images of " + std::to_string(s.blocks) +
         " blocks, finish wait " + s.finish_wait + ", script " + steps +
         (s.folder ? ", images in a folder" : "") + (s.mixed ? ", A of the other rate" : "") +
         ", odd script with " + s.odd_step;
}

World::World(const Setup& s) : setup(s), form(*fx.form) {
  unit.version = s.unit_version;
  unit.port = unit_port;
  std::vector<std::string> listed;
  if (s.port_before) listed.push_back("/dev/ttyUSB0");
  listed.push_back(unit_port);
  if (s.port_after) listed.push_back("/dev/ttyUSB2");
  for (const std::string& port : listed) fx.serial.add_port(port);
  fx.serial.ports_listed = listed;
  for (auto kind : {firmware::PortKind::rs232, firmware::PortKind::rs232_over_usb}) {
    config::WritePortFile(form.PortFilePath(kind), unit_port);
  }
  fx.serial.on_write = [this](const std::string& port, const Bytes& bytes) {
    OnSerialWrite(port, bytes);
  };
  fx.hid.on_write = [this](const std::string& id, const Bytes& report) { OnHidWrite(id, report); };
  if (Hid()) {
    fx.hid.plug(FakeHid::Bridge(Bridge()));
    fx.loop.run_due();
  }
  WriteFiles();
  if (!s.autoselect) {
    form.SpeedButton_comport_settings.click();
    form.CheckBox_Autoselect_comport.click();
    form.Button_Cancel_set_communicationport.click();
  }
}

World::~World() {
  fx.serial.on_write = nullptr;
  fx.hid.on_write = nullptr;
}

void World::WriteFiles() {
  const std::string in = setup.folder ? "sub/" : "";
  for (int id = 0; id < static_cast<int>(std::size(image_shapes)); ++id) {
    const ImageShape& shape = image_shapes[id];
    const bool script_image = id >= image_a;
    const std::string family =
        id == image_a && setup.mixed ? OtherRate(setup.family) : setup.family;
    images.push_back(
        {(script_image ? in : "") + family + shape.name, ImageBytes(id, family, setup, shape)});
    paths_.push_back(fx.WriteFile(images.back().name, images.back().bytes));
  }
  paths_.resize(3);  // the images a user opens by themselves
  const std::string a = "[f]" + images[image_a].name;
  const std::string b = "[f]" + images[image_b].name;
  const std::string prefix = setup.unit_version.substr(0, 3);
  std::vector<std::string> steps{a};
  steps.insert(steps.end(), setup.middle_steps.begin(), setup.middle_steps.end());
  steps.push_back(b);
  if (!setup.last_text_step.empty()) steps.push_back(setup.last_text_step);
  const auto write = [&](const std::string& name, const std::string& text) {
    paths_.push_back(fx.WriteText(prefix + name, text));
  };
  write("_stage.fm1", Script(setup, steps, true));
  write("_broken.fm1", Script(setup, {a, "[f]" + images[image_bad].name}, true));
  write("_odd.fm1", Script(setup, {a, setup.odd_step, b}, false));
  write("_empty.fm1", Script(setup, {}, true));
}

// Where a script's image may change on disk without a run of its blocks going on.
bool World::BetweenSteps() const {
  if (form.Timer2.enabled()) return false;
  return PowerCycleWait(form) || form.Panel_tekstveld.visible ||
         form.Button_Download_ready_for_download.showing();
}

bool World::UnitListens() const {
  if (vanished_) return false;
  return Hid() || fx.serial.line(unit_port).open;
}

bool World::FinalPanel() const {
  const std::string& line = form.Label_ready_for_download_txt1.caption;
  return form.Panel_ready_for_download.visible && form.Button_Ok_ready_for_download.visible &&
         (line == texts::finished_1 || line == texts::script_finished_1);
}

void World::OnSerialWrite(const std::string& port, const Bytes& bytes) {
  if (on_write) on_write();
  delivered = 0;
  // A short write reaches the unit maimed: no request it could answer.
  if (fx.serial.write_count() - 1 == fx.serial.short_write_at) return;
  const bool to_unit = port == unit_port && !vanished_;
  Request(to_unit ? "the unit" : port, port, bytes);
}

// A block goes over the bridge in pieces; the unit takes it whole.
void World::OnHidWrite(const std::string& id, const Bytes& report) {
  if (on_write) on_write();
  delivered = 0;
  if (report.size() < 2) return;
  const std::size_t n = std::min<std::size_t>(report[1], report.size() - 2);
  const Bytes payload(report.begin() + 2, report.begin() + 2 + static_cast<std::ptrdiff_t>(n));
  // Twenty pieces of 50 bytes and one of 27, counted by the program as they go
  // out: a block re-sent begins again at its first piece.
  if (n == 50 || n == 27) {
    if (form.hid_chunk_index <= 1) pieces_.clear();
    pieces_.insert(pieces_.end(), payload.begin(), payload.end());
    if (n == 50) return;
  } else {
    pieces_.clear();
  }
  const Bytes request = pieces_.empty() ? payload : std::exchange(pieces_, {});
  const bool to_unit = id == Bridge() && !vanished_;
  Request(to_unit ? "the unit" : "bridge " + id, "", request);
}

void World::Request(const std::string& place, const std::string& port, const Bytes& request) {
  unit_has_latest_ = place == "the unit";
  muddled_ = false;
  if (unit_has_latest_) {
    requests_.push_back(request);
    sent_at_.push_back(fx.loop.now());
  }
  if (unit_has_latest_ && !request.empty() && request[0] == 'U') acknowledged_.clear();
  latest_answered = false;
  if (on_request) on_request(place, port, request);
}

void World::Deliver(const Bytes& bytes, int count_change) {
  if (!Hid()) {
    delivered += static_cast<long>(bytes.size());
    fx.serial.feed(unit_port, bytes);
    return;
  }
  for (std::size_t at = 0; at < bytes.size() || at == 0; at += 63) {
    const std::size_t n = std::min<std::size_t>(63, bytes.size() - at);
    Bytes report{1, static_cast<std::uint8_t>(static_cast<int>(n) + count_change)};
    report.insert(report.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                  bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
    report.resize(65, 0);
    delivered += 63;
    fx.hid.inject(Bridge(), report);
    if (bytes.empty()) break;
  }
}

bool World::Acknowledged(const Bytes& frame) const {
  return std::find(acknowledged_.begin(), acknowledged_.end(), frame) != acknowledged_.end();
}

std::string World::Rewrite(int image, bool damaged) {
  Bytes bytes = images[static_cast<std::size_t>(image)].bytes;
  if (damaged) bytes[100] ^= 0xFF;  // in block 0, behind the version text
  fx.WriteFile(images[static_cast<std::size_t>(image)].name, bytes);
  return "";
}

}  // namespace checker
