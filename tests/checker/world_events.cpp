// What each event does to the world, and how the events are drawn.
#include <algorithm>

#include "invariants.h"
#include "texts/texts.h"
#include "world.h"

namespace checker {

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
  return Drawn(static_cast<int>(choices.Weighted(weights)), pressable, choices);
}

// The event of the kind drawn, its numbers drawn too.
Event World::Drawn(int kind, const std::vector<ui::Control*>& pressable, Choices& choices) {
  switch (kind) {
    case 0: {
      static const unsigned faults[] = {75, 8, 4, 4, 4, 6, 3, 3};
      const auto fault = static_cast<Fault>(choices.Weighted(faults));
      const bool oldest = choices.Below(100) >= 85;
      return Answer{fault, oldest, static_cast<int>(choices.Below(1000))};
    }
    case 1: {
      static const unsigned statuses[] = {8, 1, 1, 1, 1};
      const int status = static_cast<int>(choices.Weighted(statuses));
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
      for (const ui::Control* c : pressable) often.push_back(OnPortSettings(form, *c) ? 1 : 8);
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
      return Unplug{};
    case 8:
      return Replug{};
    case 9:
      return SecondBridge{};
    case 10: {
      static const unsigned faults[] = {4, 3, 3, 1, 1};
      return Line{static_cast<LineFault>(choices.Weighted(faults))};
    }
    default: {
      const int image = static_cast<int>(choices.Below(2));
      return Disk{image, choices.Below(2) == 0};
    }
  }
}

std::string World::Apply(const Event& event) {
  return std::visit([this](const auto& e) { return Do(e); }, event);
}

std::string World::Do(const Report& e) {
  if (vanished_) return "the unit is gone";
  muddled_ = true;
  for (int i = 0; i < e.times; ++i) {
    Deliver(PlayedUnit::Sealed(std::string("r") + report_statuses[e.status]));
  }
  return "";
}

std::string World::Do(const Stray& e) {
  muddled_ = true;
  if (!vanished_) Deliver(Bytes(e.bytes.begin(), e.bytes.end()));
  return "";
}

std::string World::Do(const Tick& e) {
  fx.loop.advance(e.ms);
  return "";
}

std::string World::Do(const Unplug& e) {
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
}

std::string World::Do(const Replug&) {
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
}

std::string World::Do(const SecondBridge&) {
  if (!Hid()) return "no bridges on this link";
  newest_is_unit_ = false;
  fx.hid.plug(FakeHid::Bridge("other-" + std::to_string(++others_)));
  return "";
}

// Only where no run of blocks goes on: a file changed under a run is not a
// fault the program could see.
std::string World::Do(const Disk& e) {
  if (!session.script || !BetweenSteps()) return "not between steps";
  return Rewrite(image_a + e.image, e.damaged);
}

std::string World::Do(const Answer& e) {
  if (vanished_ || answered_ >= requests_.size()) return "nothing to answer";
  const std::size_t index = e.oldest ? answered_ : requests_.size() - 1;
  answered_ = index + 1;
  const std::uint8_t request = requests_[index].empty() ? 0 : requests_[index][0];
  const Bytes reply = Reply(request, e.fault, e.variant);
  const std::string note = std::string("to '") + static_cast<char>(request) + "'";
  if (e.fault == Fault::lost || reply.empty()) return note + ": no reply";
  const int delay = e.fault == Fault::split  ? e.variant % 50
                    : e.fault == Fault::late ? 300 + e.variant % 400
                                             : 0;
  // The unit answers the copies of a block it holds one after another: a copy
  // that waited in it while it gave its last answer, or that went out as that
  // answer to the same block came, is answered less than one reply time-out
  // after that, or never.
  const std::int64_t at = fx.loop.now() + delay;
  const bool held = sent_at_[index] < answer_at_ ||
                    (sent_at_[index] == answer_at_ && requests_[index] == answered_request_);
  if (request == 'B' && held && at >= answer_at_ + 500) {
    return note + ": no reply, the unit let this copy go";
  }
  answer_at_ = at;
  answered_request_ = requests_[index];
  // Once the reply is whole: which block the unit acknowledged, and whether the
  // reply answers the request the program sent last (that one, or the same again).
  const auto whole = [&] {
    if (reply == PlayedUnit::Sealed("BOK")) Acknowledge(index);
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
    fx.loop.advance(delay);
    whole();
    Deliver(Bytes(reply.begin() + static_cast<std::ptrdiff_t>(cut), reply.end()));
    return note + ": " + std::to_string(cut) + " bytes, then the rest " + std::to_string(delay) +
           " ms later";
  }
  if (e.fault == Fault::wrong_count && Hid()) {
    const int change = e.variant % 2 == 0 ? 1 + e.variant % 7 : -1;
    if (change > 0) whole();
    Deliver(reply, change);
    muddled_ = muddled_ || change < 0;
    return note + ": count byte " + (change > 0 ? "+" : "") + std::to_string(change);
  }
  fx.loop.advance(delay);
  whole();
  Deliver(reply);
  return note + ": " + std::string(reply.begin(), reply.begin() + 1) +
         (e.fault == Fault::late ? " after " + std::to_string(delay) + " ms" : "");
}

// The unit said "BOK" to request `index`: to a block, or, given as the reply to
// another kind of request, to the block the program sent last as far as the
// program can tell.
void World::Acknowledge(std::size_t index) {
  const auto block = [](const Bytes& r) { return !r.empty() && r[0] == 'B'; };
  if (block(requests_[index])) return acknowledged_.push_back(requests_[index]);
  const auto last = std::find_if(requests_.rbegin(), requests_.rend(), block);
  if (last != requests_.rend()) acknowledged_.push_back(*last);
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

std::string World::Do(const Press& e) {
  press_taken_ = false;
  for (ui::Control* c : Pressable(form)) {
    if (c->name() != e.control) continue;
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

std::string World::Do(const ChoosePort& e) {
  ui::ComboBox& combo = e.group == 0 ? form.ComboBox_setCompoort1 : form.ComboBox_setCompoort2;
  if (!Reachable(form, combo)) return "cannot be reached";
  if (e.index >= static_cast<int>(combo.items.size())) return "no such entry";
  combo.select(e.index);
  return combo.text;
}

std::string World::Do(const Open& e) {
  const FileChoice choice = e.file;
  const bool yes = e.yes;
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
  // Only an open that armed a connection may lead to requests.
  const bool armed = form.Timer4.enabled();
  Session next;
  next.downloads = session.downloads;
  next.starts = session.starts + 1;
  next.script = index >= static_cast<std::size_t>(FileChoice::good_script);
  next.passes = armed;
  next.approved = armed && choice != FileChoice::older_image;
  next.images = sent[index];
  // A script takes its link and rate from the last image it names; one naming
  // none those of the last open that armed a connection.
  next.fast = next.images.empty() ? armed_fast_ : PlayedUnit::Fast(setup.family);
  if (armed) armed_fast_ = next.fast;
  session = next;
  return asked ? "asked, went ahead" : "";
}

std::string World::Do(const Line& e) {
  switch (e.fault) {
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
      fx.serial.list_fails = e.fault == LineFault::list_unreadable;
      return "";
  }
  return "";
}

}  // namespace checker
