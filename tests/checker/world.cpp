#include "world.h"

#include <algorithm>

#include "config/port_record.h"
#include "invariants.h"
#include "test_image.h"
#include "texts/texts.h"

namespace checker {

namespace {

// The images, in World::images order: what each is for, and how it is made.
struct ImageSpec {
  const char* name;     // after the family code
  const char* version;  // after the family code
  bool damaged;
};
constexpr ImageSpec image_specs[] = {
    {"0100006.fm0", "0100006", false},  {"0100004.fm0", "0100004", false},
    {"D_damaged.fm0", "0100006", true}, {"A_first.fm0", "0100006", false},
    {"B_second.fm0", "0100006", false}, {"X_bad.fm0", "0100006", true},
};
enum { image_good, image_older, image_damaged, image_a, image_b, image_bad };

// Whole blocks and the checksum record; each image's bytes differ from every
// other's at every place, so a block sent tells which image it came from.
Bytes ImageBytes(int id, const std::string& family, const Setup& setup, const ImageSpec& shape) {
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
  return std::string(s.held != 0 ? "holding back some events, " : "") + "unit " + s.unit_version +
         (s.family == "5M" ? " behind a bridge" : " on /dev/ttyUSB1") +
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
  for (int id = 0; id < static_cast<int>(std::size(image_specs)); ++id) {
    const ImageSpec& shape = image_specs[id];
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
  if (unit_has_latest_) requests_.push_back(request);
  latest_answered = false;
  if (on_request) on_request(place, port, request);
}

// Weighs the events so that runs get deep (the download, the script's steps)
// as well as wide: the unit mostly answers, time mostly moves a little, and the
// user seldom opens another file while a download is under way.
Event World::Draw(Choices& choices) {
  const auto pressable = Pressable(form);
  const bool unanswered = !vanished_ && answered_ < requests_.size();
  const bool busy = form.Timer1.enabled() || form.Timer2.enabled() || form.Timer4.enabled() ||
                    form.WaitsForUser();
  const bool between = session.script && BetweenSteps();
  const bool settings = form.GroupBox_set_communicationport.visible;
  const unsigned weights[] = {
      unanswered ? 60u : 0u,            // answer
      PowerCycleWait(form) ? 30u : 1u,  // report
      2,                                // stray
      15,                               // tick
      pressable.empty() ? 0u : 10u,     // press
      settings ? 4u : 0u,               // choose a port
      busy ? 1u : 20u,                  // open
      vanished_ ? 0u : 1u,              // unplug
      vanished_ ? 6u : 0u,              // replug
      Hid() && others_ < 2 ? 1u : 0u,   // a second bridge
      2,                                // a fault of the line
      between ? 4u : 0u,                // a script image changes on disk
  };
  const unsigned held = setup.held;
  const bool prompt = PowerCycleWait(form);
  switch (choices.Weighted(weights)) {
    case 0: {
      static const unsigned faults[] = {75, 8, 4, 4, 4, 6, 3, 3};
      const auto fault = static_cast<Fault>(choices.Weighted(faults));
      const bool oldest = choices.Below(100) >= 85;
      return Answer{fault, oldest, static_cast<int>(choices.Below(1000))};
    }
    case 1: {
      static const unsigned statuses[] = {8, 1, 1, 1, 1};
      int status = static_cast<int>(choices.Weighted(statuses));
      if (prompt && (held & hold_other_power_reports) != 0) status = 0;
      return Report{status, choices.Below(4) == 0 ? 2 : 1};
    }
    case 2: {
      Stray e;
      for (unsigned n = 1 + choices.Below(6); n > 0; --n) {
        e.bytes += static_cast<char>(choices.Below(3) == 0 ? 0 : choices.Below(256));
      }
      return e;
    }
    case 3: {
      static const int ms[] = {1, 5, 20, 30, 60, 100, 250, 500, 1000, 2500, 6000};
      static const unsigned often[] = {8, 8, 8, 8, 8, 8, 3, 3, 2, 1, 1};
      return Tick{ms[choices.Weighted(often)]};
    }
    case 4: {
      // The port settings seldom: they change the port under the download.
      std::vector<unsigned> often;
      for (const ui::Control* c : pressable) {
        const bool save = c == &form.Button_Save_set_communicationport ||
                          c == &form.Button_Save_set_communicationport_2;
        often.push_back(save && (held & hold_save) != 0 ? 0 : OnPortSettings(form, *c) ? 1 : 8);
      }
      if (std::all_of(often.begin(), often.end(), [](unsigned w) { return w == 0; }))
        return Tick{1};
      return Press{pressable[choices.Weighted(often)]->name()};
    }
    case 5: {
      const int group = static_cast<int>(choices.Below(2));
      return ChoosePort{group, static_cast<int>(choices.Below(4))};
    }
    case 6: {
      static const unsigned files[] = {35, 10, 10, 30, 8, 6, 4, 5};
      const auto file = static_cast<FileChoice>(choices.Weighted(files));
      return Open{file, choices.Below(10) < 7};
    }
    case 7:
      if (prompt && (held & hold_unplug_at_power_cycle) != 0) return Tick{1};
      return Unplug{};
    case 8:
      return Replug{};
    case 9:
      return SecondBridge{};
    case 10: {
      const bool at_rest =
          !form.Timer2.enabled() && !prompt && (held & hold_read_errors_at_rest) != 0;
      const unsigned faults[] = {at_rest ? 0u : 4u, 3, 3, 1, 1};
      return Line{static_cast<LineFault>(choices.Weighted(faults))};
    }
    default: {
      const int image = static_cast<int>(choices.Below(2));
      return Disk{image, choices.Below(2) == 0};
    }
  }
}

std::string World::Apply(const Event& event) {
  return std::visit(
      [this](const auto& e) -> std::string {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, Answer>) {
          return Respond(e);
        } else if constexpr (std::is_same_v<E, Report>) {
          if (vanished_) return "the unit is gone";
          static const char* const statuses[] = {"OK", "NO", "FF", "MM", "wK"};
          muddled_ = true;
          for (int i = 0; i < e.times; ++i)
            Deliver(PlayedUnit::Sealed(std::string("r") + statuses[e.status]));
          return "";
        } else if constexpr (std::is_same_v<E, Stray>) {
          muddled_ = true;
          if (!vanished_) Deliver(Bytes(e.bytes.begin(), e.bytes.end()));
          return "";
        } else if constexpr (std::is_same_v<E, Tick>) {
          fx.loop.advance(e.ms);
          return "";
        } else if constexpr (std::is_same_v<E, Press>) {
          return PressControl(e.control);
        } else if constexpr (std::is_same_v<E, ChoosePort>) {
          return Choose(e);
        } else if constexpr (std::is_same_v<E, Open>) {
          return OpenFile(e.file, e.yes);
        } else if constexpr (std::is_same_v<E, Unplug>) {
          if (e.other) {
            while (others_gone_ < others_) fx.hid.unplug("other-" + std::to_string(++others_gone_));
            return "";
          }
          if (vanished_) return "gone already";
          vanished_ = true;
          if (Hid()) {
            fx.hid.unplug(Bridge());
          } else {
            fx.serial.refuse_open.insert(unit_port);
            fx.serial.pull(unit_port);
          }
          return "";
        } else if constexpr (std::is_same_v<E, Replug>) {
          if (!vanished_) return "there already";
          vanished_ = false;
          if (Hid()) {
            ++bridges_;
            newest_is_unit_ = true;
            fx.hid.plug(FakeHid::Bridge(Bridge()));
          } else {
            fx.serial.refuse_open.erase(unit_port);
          }
          return "";
        } else if constexpr (std::is_same_v<E, SecondBridge>) {
          if (!Hid()) return "no bridges on this link";
          newest_is_unit_ = false;
          fx.hid.plug(FakeHid::Bridge("other-" + std::to_string(++others_)));
          return "";
        } else if constexpr (std::is_same_v<E, Line>) {
          return Break(e.fault);
        } else {
          // Only where no run of blocks goes on: a file changed under a run is not
          // a fault the program could see.
          if (!session.script || !BetweenSteps()) return "not between steps";
          return Rewrite(image_a + e.image, e.damaged);
        }
      },
      event);
}

// The unit's bytes to the program: on its port, or in input reports of its bridge.
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

std::string World::Respond(const Answer& e) {
  if (vanished_ || answered_ >= requests_.size()) return "nothing to answer";
  const std::size_t index = e.oldest ? answered_ : requests_.size() - 1;
  answered_ = index + 1;
  const std::uint8_t request = requests_[index].empty() ? 0 : requests_[index][0];
  const Bytes reply = Reply(request, e.fault, e.variant);
  const std::string note = std::string("to '") + static_cast<char>(request) + "'";
  if (e.fault == Fault::lost || reply.empty()) return note + ": no reply";
  // Whether the reply, once whole, answers the request the program sent last:
  // that one, or the same again.
  const auto whole = [&] {
    const bool same =
        std::all_of(requests_.begin() + static_cast<std::ptrdiff_t>(index), requests_.end(),
                    [&](const Bytes& r) { return r == requests_[index]; });
    if (same && unit_has_latest_ && !muddled_ && UnitListens()) {
      latest_answered = true;
    }
  };
  if (e.fault == Fault::split && reply.size() > 1) {
    const std::size_t cut = 1 + static_cast<std::size_t>(e.variant) % (reply.size() - 1);
    Deliver(Bytes(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(cut)));
    fx.loop.advance(e.variant % 50);
    whole();
    Deliver(Bytes(reply.begin() + static_cast<std::ptrdiff_t>(cut), reply.end()));
    return note + ": " + std::to_string(cut) + " bytes, then the rest " +
           std::to_string(e.variant % 50) + " ms later";
  }
  if (e.fault == Fault::wrong_count && Hid()) {
    const int change = e.variant % 2 == 0 ? 1 + e.variant % 7 : -1;
    if (change > 0) whole();
    Deliver(reply, change);
    muddled_ = muddled_ || change < 0;
    return note + ": count byte " + (change > 0 ? "+" : "") + std::to_string(change);
  }
  if (e.fault == Fault::late) fx.loop.advance(300 + e.variant % 400);
  whole();
  Deliver(reply);
  return note + ": " + std::string(reply.begin(), reply.begin() + 1) +
         (e.fault == Fault::late ? " after " + std::to_string(300 + e.variant % 400) + " ms" : "");
}

// What the unit says to `request`; with a fault, something else or something damaged.
Bytes World::Reply(std::uint8_t request, Fault fault, int variant) {
  static const char* const statuses[] = {"NO", "FF", "MM", "wK", "XX"};
  if (fault == Fault::other_kind) request = static_cast<std::uint8_t>("VSWadUBu}r"[variant % 10]);
  Bytes r;
  if (fault != Fault::other_status) {
    r = unit.Answer(Bytes{request});
  } else if (request == 'V') {
    r = PlayedUnit::Sealed("V4X9999999");
  } else if (request == 'a') {
    r = PlayedUnit::Sealed(Bytes{'a', 0, 5});
  } else if (request == 'd') {
    const bool running = variant % 2 == 1;
    r = PlayedUnit::StatusReply(PlayedUnit::Fast(unit.version) ? 72 : 56, running ? 1 : 0,
                                running ? 56 : 12);
  } else if (request == '}') {
    r = {'F'};
  } else if (request == 'S' || request == 0) {
    r = unit.Answer(Bytes{request});
  } else {
    r = PlayedUnit::Sealed(static_cast<char>(request) + std::string(statuses[variant % 5]));
  }
  if (fault == Fault::bad_checksum && !r.empty()) r.back() ^= 0x5A;
  return r;
}

std::string World::PressControl(const std::string& name) {
  press_taken_ = false;
  for (ui::Control* c : Pressable(form)) {
    if (c->name() != name) continue;
    press_taken_ = true;
    if (c == &form.Button_Download_ready_for_download) ++session.downloads;
    if (c == &form.Button_Retry_communication_offline) ++session.starts;
    if (c == &form.Button_Ignore_olderversion) session.approved = session.passes;
    if (c->kind() == ui::Kind::check_box) {
      static_cast<ui::CheckBox*>(c)->click();
    } else {
      static_cast<ui::Button*>(c)->click();
    }
    return "";
  }
  return "not there to press";
}

std::string World::Choose(const ChoosePort& e) {
  ui::ComboBox& combo = e.group == 0 ? form.ComboBox_setCompoort1 : form.ComboBox_setCompoort2;
  if (!Reachable(form, combo)) return "cannot be reached";
  if (e.index >= static_cast<int>(combo.items.size())) return "no such entry";
  combo.select(e.index);
  return combo.text;
}

std::string World::OpenFile(FileChoice choice, bool yes) {
  if (!Reachable(form, form.SpeedButton_open_file)) return "Open file cannot be reached";
  auto& d = fx.dialogs;
  const std::size_t boxes = d.boxes.size();
  const std::size_t requests = d.file_requests.size();
  const auto index = static_cast<std::size_t>(choice);
  d.answers = {yes ? ui::Answer::yes : ui::Answer::no};
  d.files = {choice == FileChoice::cancelled ? std::nullopt : std::optional(paths_[index])};
  form.SpeedButton_open_file.click();
  bool asked = false;
  for (std::size_t i = boxes; i < d.boxes.size(); ++i) {
    asked = asked || d.boxes[i].text == texts::running_question;
  }
  const bool chosen = d.file_requests.size() > requests && choice != FileChoice::cancelled;
  d.answers.clear();
  d.files.clear();
  if (!chosen || (asked && !yes)) {
    return asked ? "asked, the open did not go ahead" : "the open did not go ahead";
  }
  static const std::vector<int> sent[] = {{image_good},
                                          {image_older},
                                          {image_damaged},
                                          {image_a, image_b},
                                          {image_a, image_bad},
                                          {image_a, image_b},
                                          {}};
  Session next;
  next.downloads = session.downloads;
  next.starts = session.starts + 1;
  next.script = index >= static_cast<std::size_t>(FileChoice::good_script);
  next.passes = choice != FileChoice::damaged_image && choice != FileChoice::damaged_script;
  next.approved = next.passes && choice != FileChoice::older_image;
  next.images = sent[index];
  // A script takes its link and rate from the last image it names; one naming
  // none keeps those of the file before.
  next.fast = next.images.empty() ? session.fast : PlayedUnit::Fast(setup.family);
  session = next;
  return asked ? "asked, went ahead" : "";
}

std::string World::Break(LineFault fault) {
  switch (fault) {
    case LineFault::read_error:
      // A bridge's reader ends at a read error: that is the unplug.
      if (Hid() || !fx.serial.line(unit_port).open) return "no read on this link";
      fx.serial.failing_reads = 1;
      muddled_ = true;
      fx.serial.feed(unit_port, Bytes{0});
      return "";
    case LineFault::failed_write:
      if (Hid()) {
        fx.hid.fail_write_at = static_cast<int>(fx.hid.all_writes.size());
      } else {
        fx.serial.fail_write_at = fx.serial.write_count();
      }
      return "";
    case LineFault::short_write:
      if (Hid()) return "no short writes on this link";
      fx.serial.short_write_at = fx.serial.write_count();
      return "";
    case LineFault::list_unreadable:
    case LineFault::list_readable:
      fx.serial.list_fails = fault == LineFault::list_unreadable;
      return "";
  }
  return "";
}

std::string World::Rewrite(int image, bool damaged) {
  Bytes bytes = images[static_cast<std::size_t>(image)].bytes;
  if (damaged) bytes[100] ^= 0xFF;  // in block 0, behind the version text
  fx.WriteFile(images[static_cast<std::size_t>(image)].name, bytes);
  return "";
}

void World::EndFaults() {
  fx.serial.fail_write_at = -1;
  fx.serial.short_write_at = -1;
  fx.serial.failing_reads = 0;
  fx.serial.list_fails = false;
  fx.hid.fail_write_at = -1;
  for (int image : {image_a, image_b}) Rewrite(image, false);
}

// The closing run's technician goes on wherever a panel lets him, the unit
// answers every request at once and reports back after each power cycle, and
// a program at rest is given the good file of its kind again.
std::optional<Event> World::GoOn() {
  if (vanished_) return Replug{};
  if (FinalPanel()) return std::nullopt;
  // The program talks to the bridge found last: the technician unplugs the
  // others and plugs the unit's in again.
  if (others_gone_ < others_) return Unplug{true};
  if (!newest_is_unit_) return Unplug{};
  if (Reachable(form, form.Button_Cancel_set_communicationport)) {
    if (fixing_port_) return FixPort();
    return Press{form.Button_Cancel_set_communicationport.name()};
  }
  // Retry gets three chances; then the technician opens the file again, which
  // sets the port up anew.
  if (Reachable(form, form.Button_Retry_communication_offline)) {
    if (retries_++ < 3) return Press{form.Button_Retry_communication_offline.name()};
    fixing_port_ = !Hid();
    return Press{form.Button_Cancel_communication_offline.name()};
  }
  for (const ui::Button* b :
       {&form.Button_Download_ready_for_download, &form.Button_Ignore_olderversion,
        &form.xpButton_close_tekstveld, &form.Button_ok_communication_offline,
        &form.Button_OK_Acces_level_problem, &form.Button_Ok_ready_for_download}) {
    if (Reachable(form, *b)) return Press{b->name()};
  }
  const std::int64_t now = fx.loop.now();
  if (PowerCycleWait(form) && !form.Timer4.enabled() && now - last_report_at_ >= 2000) {
    last_report_at_ = static_cast<int>(now);
    return Report{0, 1};
  }
  if (answered_ < requests_.size()) return Answer{Fault::whole, false, 0};
  const std::int64_t due = fx.loop.next_due_in();
  if (due > 0 || PowerCycleWait(form))
    return Tick{static_cast<int>(due > 0 ? std::min<std::int64_t>(due, 2000) : 2000)};
  if (due == 0) return Tick{0};
  // A port stored wrong keeps the unit out of reach: the technician stores the right one.
  if (fixing_port_) return Press{form.SpeedButton_comport_settings.name()};
  retries_ = 0;
  return Open{session.script ? FileChoice::good_script : FileChoice::good_image, true};
}

// On the port settings panel: the search off, the unit's port picked and saved
// in the group of the file's kind of port.
Event World::FixPort() {
  if (form.CheckBox_Autoselect_comport.checked)
    return Press{form.CheckBox_Autoselect_comport.name()};
  const char code = setup.family[1];
  const int group = code == 'E' || (code == 'M' && setup.family[0] != '3') ? 1 : 0;
  const ui::ComboBox& combo = group == 0 ? form.ComboBox_setCompoort1 : form.ComboBox_setCompoort2;
  const auto at = std::find(combo.items.begin(), combo.items.end(), unit_port);
  const int index = static_cast<int>(at - combo.items.begin());
  if (at != combo.items.end() && (combo.item_index != index || combo.text != unit_port)) {
    return ChoosePort{group, index};
  }
  fixing_port_ = false;
  return Press{(group == 0 ? form.Button_Save_set_communicationport
                           : form.Button_Save_set_communicationport_2)
                   .name()};
}

}  // namespace checker
