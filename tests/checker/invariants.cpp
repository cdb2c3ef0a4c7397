#include "invariants.h"

#include <algorithm>

#include "test_image.h"
#include "texts/texts.h"

namespace checker {

namespace {

constexpr const char* never_stuck = "never stuck";
constexpr const char* runs_finish = "runs finish";
constexpr const char* never_wrong_bytes = "never the wrong bytes";
constexpr const char* one_request = "one request at a time";
constexpr const char* checked_unit = "the checked unit only";
constexpr const char* reply_timer = "reply timer iff a request is outstanding";
constexpr const char* rate_fits = "rate fits the family";
constexpr const char* acknowledged =
    "the next block only once the unit acknowledged the one before";
constexpr const char* rx_counted = "rx_count within the bytes delivered";
constexpr const char* batch_rule = "zekflash-cli never waits for nothing";

struct Rect {
  int left, top, right, bottom;
};

// The control's place in the window, and the window's own child it lies on.
const ui::Control* Layer(const ui::Control& control, Rect& place) {
  place = {0, 0, 0, 0};
  const ui::Control* layer = &control;
  for (const ui::Control* c = &control; c->parent() != nullptr; c = c->parent()) {
    place.left += c->left;
    place.top += c->top;
    layer = c;
  }
  place.right = place.left + control.width;
  place.bottom = place.top + control.height;
  return layer;
}

void Collect(ui::Control& parent, std::vector<ui::Control*>& into) {
  for (ui::Control* child : parent.children()) {
    if (child->kind() == ui::Kind::button || child->kind() == ui::Kind::check_box) {
      into.push_back(child);
    }
    Collect(*child, into);
  }
}

// A box that tells the user the download has ended or cannot go on. The two
// test boxes come in the middle of link error handling, which goes on behind them.
bool EndBox(const ui::ScriptedDialogs::Box& box) {
  return box.kind != ui::BoxKind::question && box.text != texts::comm_error_test &&
         box.text != texts::comm_error_test2;
}

// The request's letter; blocks differ only by number, which keys need not tell.
std::string Letter(const Bytes& bytes) {
  if (bytes.empty()) return "''";
  return std::string("'") + static_cast<char>(bytes[0]) + "'";
}

std::string Request(const Bytes& bytes) {
  if (bytes.size() > 1 && bytes[0] == 'B') return "block " + std::to_string(bytes[1]);
  return Letter(bytes);
}

// The status request after an unanswered switch request goes out once: it is
// never re-sent, and its timer goes on counting errors towards the offline panel.
bool StatusAfterSwitch(const Bytes& bytes) {
  return bytes.size() == 1 && bytes[0] == 'd';
}

}  // namespace

bool Reachable(const TForm1& form, const ui::Control& control, bool through_port_settings) {
  if (!control.showing() || !control.usable()) return false;
  Rect place;
  const ui::Control* layer = Layer(control, place);
  const auto& layers = form.children();
  auto above = std::find(layers.begin(), layers.end(), layer);
  if (above == layers.end()) return false;
  for (++above; above != layers.end(); ++above) {
    const ui::Control& p = **above;
    if (p.kind() != ui::Kind::panel || !p.visible) continue;
    if (through_port_settings && &p == &form.GroupBox_set_communicationport) continue;
    const bool apart = place.right <= p.left || p.left + p.width <= place.left ||
                       place.bottom <= p.top || p.top + p.height <= place.top;
    if (!apart) return false;
  }
  return true;
}

std::vector<ui::Control*> Pressable(TForm1& form) {
  std::vector<ui::Control*> all;
  Collect(form, all);
  std::erase_if(all, [&](ui::Control* c) {
    return c == &form.SpeedButton_open_file || !Reachable(form, *c);
  });
  return all;
}

bool OnPortSettings(const TForm1& form, const ui::Control& control) {
  for (const ui::Control* c = &control; c != nullptr; c = c->parent()) {
    if (c == &form.GroupBox_set_communicationport || c == &form.SpeedButton_comport_settings) {
      return true;
    }
  }
  return false;
}

bool PowerCycleWait(const TForm1& form) {
  return form.Panel_ready_for_download.visible &&
         !form.Button_Download_ready_for_download.visible &&
         !form.Button_Ok_ready_for_download.visible &&
         !form.Button_Cancel_ready_for_download.visible;
}

bool RefusalShown(const TForm1& form) {
  const bool ok_alone = form.Button_ok_communication_offline.visible &&
                        !form.Button_Retry_communication_offline.visible;
  return (form.Panel_communication_offline.visible && ok_alone) ||
         form.Panel_Acces_level_problem.visible;
}

Invariants::Invariants(World& world) : world_(world), form_(world.form) {
  world_.on_request = [this](const std::string& place, const std::string& port, const Bytes& b) {
    OnRequest(place, port, b);
  };
  world_.on_write = [this] { RxCount(); };
}

Invariants::~Invariants() {
  world_.on_request = nullptr;
  world_.on_write = nullptr;
}

void Invariants::BeforeEvent() {
  boxes_before_ = world_.fx.dialogs.boxes.size();
  starts_before_ = world_.session.starts;
  requested_ = false;
  report_can_end_ = PowerCycleWait(form_) && !form_.Timer4.enabled() && world_.UnitListens();
}

void Invariants::AfterEvent(const Event& event) {
  FollowSession();
  RxCount();
  if (RefusalShown(form_)) refused_ = true;
  ReplyTimer();
  NeverStuck(event);
  // The batch front end stops as soon as the window is idle, and waits otherwise.
  if (!breach_ && form_.Idle() == Waits()) {
    Fail(batch_rule, form_.Idle() ? "idle while a wait can end" : "waits where nothing can end it",
         "TForm1::Idle() is " + std::string(form_.Idle() ? "true" : "false") + ": " + State());
  }
}

void Invariants::NotFinished(const std::string& why) {
  Fail(runs_finish, "the final panel is not reached", why + ": " + State());
}

std::string Invariants::TakeWrites() {
  return std::exchange(writes_, std::string());
}

// Something can still move the download: a timer runs, the finish request
// waits without limit, the power-cycle prompt waits for the unit's report, or
// a panel offers the user a button (the port settings panel, which the user
// may close at will, neither offers one nor hides the panels below it).
bool Invariants::Waits() const {
  auto armed = [](const ui::Timer& t) { return t.enabled() && t.interval() > 0; };
  const bool unlimited_finish = form_.Timer2.enabled() && form_.Timer2.interval() == 0 &&
                                !last_write_.empty() && last_write_[0] == 'u';
  if (armed(form_.Timer1) || armed(form_.Timer2) || armed(form_.Timer4) || unlimited_finish ||
      PowerCycleWait(form_)) {
    return true;
  }
  std::vector<ui::Control*> all;
  Collect(form_, all);
  return std::any_of(all.begin(), all.end(), [&](const ui::Control* c) {
    Rect place;
    return !OnPortSettings(form_, *c) && Layer(*c, place)->kind() == ui::Kind::panel &&
           Reachable(form_, *c, true);
  });
}

// Never stuck: after every event something waits (above), or the program
// rests: the user stopped it, a box told the user that the download ended, or
// a script came to a step it has no way to run. The power-cycle prompt counts
// as waiting only while the unit's report can end it: the unit's "OK" report
// must end it.
void Invariants::NeverStuck(const Event& event) {
  const auto* report = std::get_if<Report>(&event);
  // A prompt shown again with Timer4 armed is the next step's.
  if (report_can_end_ && report != nullptr && report->status == 0 && PowerCycleWait(form_) &&
      !form_.Timer4.enabled()) {
    return Fail(never_stuck, "the power-cycle prompt outlives the unit's \"OK\" report",
                "the unit reported \"rOK\" while the power-cycle prompt waited for it, and "
                "the prompt stays: " +
                    State());
  }
  if (Waits()) {
    at_rest_ = false;
    return;
  }
  const auto& boxes = world_.fx.dialogs.boxes;
  const bool told =
      std::any_of(boxes.begin() + static_cast<std::ptrdiff_t>(boxes_before_), boxes.end(), EndBox);
  const auto* press = std::get_if<Press>(&event);
  const bool pressed = press != nullptr && world_.PressTaken();
  const bool go =
      pressed &&
      (press->control == form_.Button_Download_ready_for_download.name() ||
       press->control == form_.Button_Retry_communication_offline.name() ||
       press->control == form_.Button_Ignore_olderversion.name() ||
       (press->control == form_.xpButton_close_tekstveld.name() && world_.session.script));
  if (told || (pressed && !go) || form_.stalled_step) {
    at_rest_ = true;
    return;
  }
  const bool started = go || world_.session.starts != starts_before_;
  if (at_rest_ && !started) return;
  Fail(never_stuck, "nothing waits in comm_state " + StateName(),
       "nothing waits for the unit or the user, and no box said the download ended: " + State());
}

// The reply timer runs exactly while a request is outstanding: every request
// starts it (the finish request may wait without limit, a block re-sent over
// the bridge from its last piece on), and once the unit's whole reply has come
// it stops, unless another request went out.
void Invariants::ReplyTimer() {
  const ui::Timer& t = form_.Timer2;
  if (requested_ && !world_.latest_answered && !last_write_.empty()) {
    const bool unlimited = last_write_[0] == 'u' && t.interval() == 0;
    // Unless the program gave it up in plain sight: a box, or a panel for the user.
    const bool gave_up = world_.fx.dialogs.boxes.size() != boxes_before_ || form_.WaitsForUser();
    // Or a block goes out again over the bridge: its reply timer starts with its
    // last piece, so that it cannot restart the block while pieces still go out.
    const bool pieces_go = form_.Timer1.enabled();
    if ((!t.enabled() || (t.interval() == 0 && !unlimited)) && !gave_up &&
        !form_.Timer4.enabled() && !pieces_go) {
      return Fail(reply_timer, "no reply timer for " + Letter(last_write_),
                  Request(last_write_) + " went out and no reply timer runs for it: " + State());
    }
  }
  if (t.enabled() && world_.latest_answered && !StatusAfterSwitch(last_write_)) {
    Fail(reply_timer, "the reply timer runs on after the reply to " + Letter(last_write_),
         "the unit's whole reply to " + Request(last_write_) +
             " came, no request went out since, and the reply timer runs: " + State());
  }
}

void Invariants::RxCount() {
  if (form_.rx_count > world_.delivered) {
    Fail(rx_counted, "rx_count above the bytes delivered",
         "rx_count is " + std::to_string(form_.rx_count) + " where the line delivered " +
             std::to_string(world_.delivered) + " bytes since the last write: " + State());
  }
}

void Invariants::OnRequest(const std::string& place, const std::string& port, const Bytes& bytes) {
  FollowSession();
  requested_ = true;
  const char kind = bytes.empty() ? '\0' : static_cast<char>(bytes[0]);
  const std::string request = Request(bytes);
  const std::string where =
      port.empty() ? place : port.substr(port.size() > 4 ? port.size() - 4 : 0);
  writes_ += " " + where.substr(0, 8) + ":" +
             (bytes.size() > 1 && bytes[0] == 'B' ? "B" + std::to_string(bytes[1])
                                                  : Letter(bytes).substr(1, 1));
  // Never the wrong bytes: nothing after a refusal until the user starts again,
  // nothing while the unit is awaited after a power cycle, and blocks only of
  // the file that passed its checks, in their turn.
  if (refused_ || RefusalShown(form_)) {
    Fail(never_wrong_bytes, Letter(bytes) + " after a refusal",
         request + " written after a refusal, before the user started again: " + State());
  }
  if (PowerCycleWait(form_)) {
    Fail(never_wrong_bytes, Letter(bytes) + " during the power-cycle wait",
         request + " written while the unit's report after a power cycle is awaited: " + State());
  }
  // One request at a time: while a reply is awaited, only the same request again.
  if (form_.Timer2.enabled() && bytes != last_write_) {
    Fail(one_request, Letter(bytes) + " while the reply to " + Letter(last_write_) + " is awaited",
         request + " written while the reply timer of " + Request(last_write_) +
             " runs: " + State());
  }
  // The checked unit only: a connection begins with the version request, and
  // every request after it goes where that one went.
  if (kind == 'V') {
    connection_ = place;
  } else if (place != connection_) {
    Fail(checked_unit, Letter(bytes) + " to another place than the version request",
         request + " went to " + place + ", the version request of this connection to " +
             (connection_.empty() ? "nowhere" : connection_) + ": " + State());
  }
  if (!port.empty()) {
    const int rate = world_.session.fast ? 921600 : 115200;
    const int baud = world_.fx.serial.line(port).baud;
    if (baud != rate) {
      Fail(rate_fits, "a request at " + std::to_string(baud) + " baud",
           request + " written at " + std::to_string(baud) +
               " baud to a unit of a file that talks at " + std::to_string(rate) + ": " + State());
    }
  }
  if (kind == 'U') start_sent_ = true;
  if (kind == 'B') CheckBlock(bytes);
  if (kind == 'u') CheckFinish(bytes);
  last_write_ = bytes;
}

void Invariants::CheckBlock(const Bytes& frame) {
  const Session& s = world_.session;
  if (frame.size() != 1027 || SumOf(std::span(frame).first(1026)) != frame.back()) {
    return Fail(never_wrong_bytes, "a malformed block", std::to_string(frame.size()) + " bytes");
  }
  const int n = frame[1];
  const auto data = frame.begin() + 2;
  int id = -1;
  for (std::size_t i = 0; i < world_.images.size(); ++i) {
    const auto& image = world_.images[i].bytes;
    const auto at = static_cast<std::size_t>(n) * 1024;
    if (image.size() >= at + 1024 && std::equal(data, data + 1024, image.begin() + at)) {
      id = static_cast<int>(i);
    }
  }
  const auto name = [&](int image) {
    return image < 0 ? std::string("no image as it was checked")
                     : world_.images[static_cast<std::size_t>(image)].name;
  };
  const std::string block = "block " + std::to_string(n) + " of " + name(id);
  if (!s.approved) {
    return Fail(never_wrong_bytes, "a block of a file that did not pass its checks",
                block + " sent, but the file opened last did not pass its checks");
  }
  if (id < 0) return Fail(never_wrong_bytes, "a block of no checked image", block + " sent");
  if (start_sent_) {
    start_sent_ = false;
    ++run_;
    last_block_frame_ = frame;
    const int due = run_ < static_cast<int>(s.images.size()) ? s.images[run_] : -1;
    if (n != 0 || id != due) {
      return Fail(never_wrong_bytes, "an image out of its turn",
                  block + " opens a run of blocks where block 0 of " + name(due) + " is due");
    }
    run_image_ = id;
    last_block_ = 0;
    return;
  }
  if (id != run_image_ || (n != last_block_ && n != last_block_ + 1)) {
    return Fail(
        never_wrong_bytes, "a block out of its turn",
        block + " follows " +
            (run_image_ < 0 ? std::string("no start request")
                            : "block " + std::to_string(last_block_) + " of " + name(run_image_)));
  }
  if (n != last_block_) Acknowledged("a block", "block " + std::to_string(n));
  last_block_ = n;
  last_block_frame_ = frame;
}

// "BOK" names no block: a reply to an earlier copy of a block sent again must
// not pass for the reply to the block after it.
void Invariants::Acknowledged(const char* kind, const std::string& request) {
  if (world_.Acknowledged(last_block_frame_)) return;
  Fail(acknowledged, std::string(kind) + " before the unit acknowledged the block before it",
       request + " written, but the unit never answered \"BOK\" to block " +
           std::to_string(last_block_) + " since the start request: " + State());
}

// The finish request comes only after the last block of the image.
void Invariants::CheckFinish(const Bytes& bytes) {
  const int last = world_.setup.blocks - 1;
  if (run_image_ < 0 || last_block_ != last || start_sent_) {
    Fail(never_wrong_bytes, "a finish request before the image's last block",
         Request(bytes) + " written after " +
             (run_image_ < 0 ? std::string("no block") : "block " + std::to_string(last_block_)) +
             ", the image's last block is " + std::to_string(last) + ": " + State());
  }
  Acknowledged("the finish request", "the finish request");
}

// A new start (an open that went ahead, Retry) or a Download press begins the
// images from the first; a new start also ends the refusal that came before it.
void Invariants::FollowSession() {
  const Session& s = world_.session;
  if (s.starts == seen_starts_ && s.downloads == seen_downloads_) return;
  if (s.starts != seen_starts_) refused_ = false;
  seen_starts_ = s.starts;
  seen_downloads_ = s.downloads;
  start_sent_ = false;
  run_ = -1;
  run_image_ = -1;
  last_block_ = -1;
}

void Invariants::Fail(const char* invariant, const std::string& what, const std::string& detail) {
  if (!breach_) breach_ = Breach{invariant, what, detail};
}

std::string Invariants::StateName() const {
  const char state = static_cast<char>(download::StateLetter(form_.comm_state));
  return state < ' ' ? std::to_string(state) : std::string("'") + state + "'";
}

std::string Invariants::State() const {
  const auto timer = [](const char* name, const ui::Timer& t) {
    return std::string(name) + (t.enabled() ? " " + std::to_string(t.interval()) + " ms" : " off");
  };
  std::string s = timer("Timer1", form_.Timer1) + ", " + timer("Timer2", form_.Timer2) + ", " +
                  timer("Timer4", form_.Timer4) + "; comm_state " + StateName();
  for (const ui::Control* c : form_.children()) {
    if (c->kind() != ui::Kind::panel || !c->visible) continue;
    if (c == &form_.GroupBox_File_info || c == &form_.GroupBox_ECU_info) continue;
    s += "; " + c->name() + " shown";
    if (c == &form_.Panel_communication_offline) {
      s += " (\"" + form_.Label_communication_is_offline_txt1.caption + "\")";
    }
    if (c == &form_.Panel_ready_for_download) {
      s += " (\"" + form_.Label_ready_for_download_txt1.caption + "\")";
    }
  }
  const auto& boxes = world_.fx.dialogs.boxes;
  if (!boxes.empty()) s += "; last box \"" + boxes.back().text + "\"";
  return s;
}

}  // namespace checker
