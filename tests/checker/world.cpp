#include "world.h"

#include <optional>

#include "config/port_record.h"
#include "download/protocol.h"
#include "invariants.h"
#include "test_image.h"
#include "texts/texts.h"

namespace checker {

namespace {

enum Fault { whole, split, late, lost, bad_checksum, other_status, other_kind };
const char* const fault_names[] = {"whole",
                                   "split",
                                   "late",
                                   "lost",
                                   "with a bad checksum",
                                   "with another status",
                                   "as another kind of reply"};
const char* const file_names[] = {"the good image",
                                  "an older image",
                                  "a damaged image",
                                  "the script",
                                  "a script naming a damaged image",
                                  "nothing (dialog cancelled)"};

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

std::vector<std::uint8_t> Sealed(std::vector<std::uint8_t> body) {
  body.push_back(SumOf(body));
  return body;
}
std::vector<std::uint8_t> Sealed(const std::string& body) {
  return Sealed(std::vector<std::uint8_t>(body.begin(), body.end()));
}

// Whole blocks and the checksum record; each image's bytes differ from every
// other's at every place, so a block sent tells which image it came from.
std::vector<std::uint8_t> ImageBytes(int id, const Setup& setup, const ImageSpec& shape) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(setup.blocks) * 1024 + 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 37 + 11 + static_cast<std::size_t>(id) * 101);
  }
  const std::string head = setup.family + shape.version + setup.finish_wait;
  std::copy(head.begin(), head.end(), bytes.begin());
  SealImage(bytes);
  if (shape.damaged) bytes.back() ^= 0xFF;
  return bytes;
}

std::string Script(const Setup& setup, const std::string& first, const std::string& second,
                   const std::vector<std::string>& middle, const std::string& last) {
  std::string s = "[begin1]\r\n[f]" + first + "\r\n";
  for (const std::string& step : middle) s += step + "\r\n";
  s += "[f]" + second + "\r\n";
  if (!last.empty()) s += last + "\r\n";
  s += "[end1]\r\n[begin2]\r\n" + setup.unit_version.substr(0, 3) + "XXXXXX\r\n";
  return s + "[begin3]\r\n[t1]First text line\r\n[t2]Second text line\r\n[end3]\r\n";
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (unsigned char c : bytes) s += std::string(" ") + digits[c >> 4] + digits[c & 15];
  return s;
}

}  // namespace

Setup DrawSetup(Choices& choices) {
  static const char* const families[] = {"3M", "6M", "4E"};
  static const char* const waits[] = {"0000", "0015", "0030"};
  static const char* const middles[] = {"[HR]", "[SR]", "[t1]", "[t21]"};
  Setup s;
  s.family = families[choices.Below(3)];
  const bool prepared = s.family != "6M" && choices.Below(5) == 0;
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
  return s;
}

std::string Describe(const Setup& s) {
  std::string steps = "[f]A";
  for (const std::string& step : s.middle_steps) steps += " " + step;
  steps += " [f]B " + (s.last_text_step.empty() ? "" : s.last_text_step + " ") + "[end1]";
  return "unit " + s.unit_version + " on /dev/ttyUSB1" +
         (s.port_before ? ", silent /dev/ttyUSB0 before it" : "") +
         (s.port_after ? ", silent /dev/ttyUSB2 after it" : "") + ", autoselect " +
         (s.autoselect ? "on" : "off") + ", images of " + std::to_string(s.blocks) +
         " blocks, finish wait " + s.finish_wait + ", script " + steps;
}

std::string Describe(const Event& e) {
  switch (e.kind) {
    case EventKind::answer:
      return std::string("unit answers the ") + (e.b == 0 ? "latest" : "oldest") + " request " +
             fault_names[e.a] + " (" + std::to_string(e.c) + ")";
    case EventKind::report:
      return std::string("unit reports back by itself: r") + (e.a == 0 ? "OK" : "NO");
    case EventKind::stray:
      return "stray bytes" + Hex(e.text);
    case EventKind::tick:
      return "tick " + std::to_string(e.a) + " ms";
    case EventKind::press:
      return "press " + e.text;
    case EventKind::open:
      return std::string("open ") + file_names[e.a] + (e.b ? ", Yes" : ", No") + " if asked";
    case EventKind::vanish:
      return "the unit's port vanishes";
    case EventKind::reappear:
      return "the unit's port comes back";
    case EventKind::damage:
      return std::string("script image ") + (e.a == 0 ? "A" : "B") + " is damaged on disk";
    case EventKind::restore:
      return std::string("script image ") + (e.a == 0 ? "A" : "B") + " is whole again";
  }
  return "?";
}

World::World(const Setup& s) : setup(s), form(*fx.form) {
  std::vector<std::string> listed;
  if (s.port_before) listed.push_back("/dev/ttyUSB0");
  listed.push_back(unit_port);
  if (s.port_after) listed.push_back("/dev/ttyUSB2");
  for (const std::string& port : listed) fx.serial.add_port(port);
  fx.serial.ports_listed = listed;
  for (auto kind : {firmware::PortKind::rs232, firmware::PortKind::rs232_over_usb}) {
    config::WritePortFile(form.PortFilePath(kind), unit_port);
  }
  WriteFiles();
  if (!s.autoselect) {
    form.SpeedButton_comport_settings.click();
    form.CheckBox_Autoselect_comport.click();
    form.Button_Cancel_set_communicationport.click();
  }
}

void World::WriteFiles() {
  for (int id = 0; id < static_cast<int>(std::size(image_specs)); ++id) {
    const ImageSpec& shape = image_specs[id];
    images.push_back({setup.family + shape.name, ImageBytes(id, setup, shape)});
    paths_.push_back(fx.WriteFile(images.back().name, images.back().bytes));
  }
  paths_.resize(3);  // the images a user opens by themselves
  const std::string prefix = setup.unit_version.substr(0, 3);
  const std::string good = Script(setup, images[image_a].name, images[image_b].name,
                                  setup.middle_steps, setup.last_text_step);
  const std::string bad = Script(setup, images[image_a].name, images[image_bad].name, {}, "");
  paths_.push_back(fx.WriteFile(prefix + "_stage.fm1", {good.begin(), good.end()}));
  paths_.push_back(fx.WriteFile(prefix + "_broken.fm1", {bad.begin(), bad.end()}));
}

// Where a script's image may change on disk without a run of its blocks going on.
bool World::BetweenSteps() const {
  if (form.Timer2.enabled()) return false;
  return PowerCycleWait(form) || form.Panel_tekstveld.visible ||
         form.Button_Download_ready_for_download.showing();
}

// Weighs the events so that runs get deep (the download, the script's steps)
// as well as wide: the unit mostly answers, time mostly moves a little, and the
// user seldom opens another file while a download is under way.
Event World::Draw(Choices& choices) {
  const auto pressable = Pressable(form);
  const bool unanswered = !vanished_ && answered_ < fx.serial.line(unit_port).writes.size();
  const bool busy = form.Timer1.enabled() || form.Timer2.enabled() || form.Timer4.enabled() ||
                    form.Panel_communication_offline.visible ||
                    form.Panel_ready_for_download.visible || form.Panel_olderversion_text.visible ||
                    form.Panel_tekstveld.visible || form.Panel_Acces_level_problem.visible;
  const bool between = session.script && BetweenSteps();
  const unsigned weights[] = {
      unanswered ? 60u : 0u,            // answer
      PowerCycleWait(form) ? 30u : 1u,  // report
      2,                                // stray
      15,                               // tick
      pressable.empty() ? 0u : 10u,     // press
      busy ? 1u : 20u,                  // open
      vanished_ ? 0u : 1u,              // vanish
      vanished_ ? 6u : 0u,              // reappear
      between ? 2u : 0u,                // damage
      between ? 2u : 0u,                // restore
  };
  Event e;
  e.kind = static_cast<EventKind>(choices.Weighted(weights));
  switch (e.kind) {
    case EventKind::answer: {
      static const unsigned faults[] = {75, 8, 4, 4, 4, 6, 3};
      e.a = static_cast<int>(choices.Weighted(faults));
      e.b = choices.Below(100) < 85 ? 0 : 1;
      e.c = static_cast<int>(choices.Below(1000));
      break;
    }
    case EventKind::report:
      e.a = choices.Below(10) == 0 ? 1 : 0;
      break;
    case EventKind::stray:
      for (unsigned n = 1 + choices.Below(6); n > 0; --n) {
        e.text += static_cast<char>(choices.Below(3) == 0 ? 0 : choices.Below(256));
      }
      break;
    case EventKind::tick: {
      static const int ms[] = {1, 5, 20, 30, 60, 100, 250, 500, 1000, 2500, 6000};
      static const unsigned often[] = {8, 8, 8, 8, 8, 8, 3, 3, 2, 1, 1};
      e.a = ms[choices.Weighted(often)];
      break;
    }
    case EventKind::press: {
      // The port settings seldom: they change the port under the download.
      std::vector<unsigned> often;
      for (const ui::Control* c : pressable) {
        const bool settings = c == &form.SpeedButton_comport_settings ||
                              c->parent() == &form.GroupBox_set_communicationport ||
                              c->parent()->parent() == &form.GroupBox_set_communicationport;
        often.push_back(settings ? 1 : 8);
      }
      e.text = pressable[choices.Weighted(often)]->name();
      break;
    }
    case EventKind::open: {
      static const unsigned files[] = {35, 10, 10, 30, 10, 5};
      e.a = static_cast<int>(choices.Weighted(files));
      e.b = choices.Below(10) < 7 ? 1 : 0;
      break;
    }
    default:
      e.a = static_cast<int>(choices.Below(2));
  }
  return e;
}

std::string World::Apply(const Event& e) {
  switch (e.kind) {
    case EventKind::answer:
      return Answer(e);
    case EventKind::report:
      if (vanished_) return "the unit is gone";
      fx.serial.feed(unit_port, Sealed(e.a == 0 ? "rOK" : "rNO"));
      return "";
    case EventKind::stray:
      if (!vanished_) fx.serial.feed(unit_port, e.text);
      return "";
    case EventKind::tick:
      fx.loop.advance(e.a);
      return "";
    case EventKind::press:
      return Press(e.text);
    case EventKind::open:
      return Open(static_cast<FileChoice>(e.a), e.b != 0);
    case EventKind::vanish:
      fx.serial.refuse_open.insert(unit_port);
      fx.serial.pull(unit_port);
      vanished_ = true;
      return "";
    case EventKind::reappear:
      fx.serial.refuse_open.erase(unit_port);
      vanished_ = false;
      return "";
    case EventKind::damage:
    case EventKind::restore:
      // Only where no run of blocks goes on: a file changed under a run is not
      // a fault the program could see.
      if (!session.script || !BetweenSteps()) return "not between steps";
      return Rewrite(image_a + e.a, e.kind == EventKind::damage);
  }
  return "";
}

std::string World::Answer(const Event& e) {
  const auto& writes = fx.serial.line(unit_port).writes;
  if (vanished_ || answered_ >= writes.size()) return "nothing to answer";
  const std::size_t index = e.b == 0 ? writes.size() - 1 : answered_;
  answered_ = index + 1;
  const std::uint8_t request = writes[index].empty() ? 0 : writes[index][0];
  const std::vector<std::uint8_t> reply = Reply(request, e.a, e.c);
  const std::string note = std::string("to '") + static_cast<char>(request) + "'";
  if (e.a == lost || reply.empty()) return note + ": no reply";
  if (e.a == split && reply.size() > 1) {
    const std::size_t cut = 1 + static_cast<std::size_t>(e.c) % (reply.size() - 1);
    fx.serial.feed(unit_port, std::vector(reply.begin(), reply.begin() + cut));
    fx.loop.advance(e.c % 50);
    fx.serial.feed(unit_port, std::vector(reply.begin() + cut, reply.end()));
    return note + ": " + std::to_string(cut) + " bytes, then the rest " + std::to_string(e.c % 50) +
           " ms later";
  }
  if (e.a == late) fx.loop.advance(300 + e.c % 400);
  fx.serial.feed(unit_port, reply);
  return note + ": " + std::string(reply.begin(), reply.begin() + 1) +
         (e.a == late ? " after " + std::to_string(300 + e.c % 400) + " ms" : "");
}

// What the unit says to `request`; with a fault, something else or something damaged.
std::vector<std::uint8_t> World::Reply(std::uint8_t request, int fault, int variant) const {
  static const char* const statuses[] = {"NO", "FF", "MM", "wK", "XX"};
  if (fault == other_kind) request = static_cast<std::uint8_t>("VSWadUBu}r"[variant % 10]);
  const bool other = fault == other_status;
  const bool fast = setup.unit_version[0] == '6' || setup.unit_version[0] == '8';
  std::vector<std::uint8_t> r;
  switch (request) {
    case 'V':
      r = Sealed("V" + (other ? std::string("4X9999999") : setup.unit_version));
      break;
    case 'S':
      r = Sealed("S123456");
      break;
    case 'a':
      r = Sealed(std::vector<std::uint8_t>{'a', 0, static_cast<std::uint8_t>(other ? 5 : 2)});
      break;
    case 'd':
      r = FormFixture::StatusReply(fast ? 72 : 56, other && variant % 2 == 1 ? 1 : 0,
                                   other && variant % 2 == 0 ? 12 : 56);
      break;
    case '}':
      r = other ? std::vector<std::uint8_t>{'F'} : Sealed("}OK");
      break;
    case 'W':
    case 'U':
    case 'B':
    case 'u':
    case 'r':
      r = Sealed(static_cast<char>(request) + std::string(other ? statuses[variant % 5] : "OK"));
      break;
    default:
      return {};
  }
  if (fault == bad_checksum) r.back() ^= 0x5A;
  return r;
}

std::string World::Press(const std::string& name) {
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

std::string World::Open(FileChoice choice, bool yes) {
  if (!Reachable(form, form.SpeedButton_open_file)) return "Open file cannot be reached";
  auto& d = fx.dialogs;
  const std::size_t boxes = d.boxes.size();
  const std::size_t requests = d.file_requests.size();
  d.answers = {yes ? ui::Answer::yes : ui::Answer::no};
  d.files = {choice == cancelled ? std::nullopt : std::optional(paths_[choice])};
  form.SpeedButton_open_file.click();
  bool asked = false;
  for (std::size_t i = boxes; i < d.boxes.size(); ++i) {
    asked = asked || d.boxes[i].text == texts::running_question;
  }
  const bool chosen = d.file_requests.size() > requests && choice != cancelled;
  const bool ahead = chosen && !(asked && !yes);
  d.answers.clear();
  d.files.clear();
  if (!ahead) return asked ? "asked, the open did not go ahead" : "the open did not go ahead";
  Session next;
  next.downloads = session.downloads;
  next.starts = session.starts + 1;
  next.script = choice == good_script || choice == damaged_script;
  next.passes = choice != damaged_image && choice != damaged_script;
  next.approved = next.passes && choice != older_image;
  static const std::vector<int> sent[] = {
      {image_good}, {image_older}, {image_damaged}, {image_a, image_b}, {image_a, image_bad}};
  next.images = sent[choice];
  session = next;
  return asked ? "asked, went ahead" : "";
}

std::string World::Rewrite(int image, bool damaged) {
  std::vector<std::uint8_t> bytes = images[static_cast<std::size_t>(image)].bytes;
  if (damaged) bytes[100] ^= 0xFF;  // in block 0, behind the version text
  fx.WriteFile(images[static_cast<std::size_t>(image)].name, bytes);
  return "";
}

}  // namespace checker
