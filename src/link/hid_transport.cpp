// Requests out over the HID bridge, as output reports; a data block in pieces
// paced by Timer1.
#include <algorithm>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "link/hid_report.h"
#include "texts/texts.h"

namespace {

// A report that was not written leaves the download waiting for the user: no
// timer runs, and no panel offers a retry.
void StopAndSay(TForm1& form, const char* text) {
  form.StopLinkTimers();
  form.Timer4.set_enabled(false);
  form.dialogs.message(ui::BoxKind::error, text);
}

// The boxes that say why a report did not go out: a request's, or a piece's of a block.
struct NotWrittenTexts {
  const char* no_bridge;
  const char* not_written;
  const char* failed;
};
constexpr NotWrittenTexts request_texts{texts::usb_error_4, texts::check_usb, texts::usb_error};
constexpr NotWrittenTexts piece_texts{texts::usb_error_3_chunks, texts::check_usb_chunks,
                                      texts::usb_error_chunks};

void SayNotWritten(TForm1& form, TForm1::HidWrite outcome, const NotWrittenTexts& says) {
  if (outcome == TForm1::HidWrite::no_bridge) {
    form.dialogs.message(ui::BoxKind::error, says.no_bridge);
    return;
  }
  StopAndSay(form, outcome == TForm1::HidWrite::not_written ? says.not_written : says.failed);
}

}  // namespace

// The loop goes on while the bridge holds a report (the window keeps
// drawing and answering), and `then` learns the outcome when the system tells
// it, or at once when nothing was written; with nothing else running
// meanwhile, UnitAwaited counts the write. An outcome that comes after a stop,
// a retry, another file or a newer report is for something given up on: the
// outcome is dropped.
void TForm1::WriteHidReport(std::span<const std::uint8_t> request, int length,
                            std::function<void(HidWrite)> then) {
  // A bridge that could not be opened when it came may be open to us by now.
  if (hid_device == nullptr) HidCtl.look_again();
  if (hid_device == nullptr) return then(HidWrite::no_bridge);
  ClearRx();
  const std::size_t output = hid_device->capabilities().output;
  const auto n = static_cast<std::size_t>(length);
  // Cut to a shorter output report the request would reach the unit maimed.
  if (length < 0 || n > links::hid_max_payload || output < 2 + n) return then(HidWrite::failed);
  const auto report = links::OutputReport(request, n);
  // The device pads a longer output report with zeros itself.
  const std::span<const std::uint8_t> bytes(report.data(), std::min(report.size(), output));
  if (trace != nullptr) trace->bytes(core::Direction::sent, hid_device->info().path, bytes);
  ++hid_writes_on_their_way;
  const std::uint64_t this_write = ++hid_writes;
  hid_device->write_report(bytes, [this, this_write, stops = link_stops,
                                   then = std::move(then)](const core::Status& written) {
    --hid_writes_on_their_way;
    if (stops != link_stops || this_write != hid_writes) return;
    then(written ? HidWrite::written : HidWrite::not_written);
  });
}

// The reply timer starts with the write, so that a reply that comes before
// the bridge has said the report was taken is heard, and counts afresh from
// the moment it was taken: the unit cannot answer what it has not got.
bool TForm1::SendHidReport(std::span<const std::uint8_t> request, int length) {
  struct Call {
    bool returned = false;
    bool failed = false;  // before it returned: the caller learns of it from the result
  };
  const auto call = std::make_shared<Call>();
  WriteHidReport(request, length, [this, call](HidWrite outcome) {
    if (outcome != HidWrite::written) {
      SayNotWritten(*this, outcome, request_texts);
      call->failed = !call->returned;
      return;
    }
    // Unless a reply came meanwhile and stopped it.
    if (call->returned && Timer2.enabled()) {
      Timer2.set_enabled(false);
      Timer2.set_enabled(true);
    }
  });
  call->returned = true;
  if (call->failed) return false;
  Timer2.set_enabled(true);
  return true;
}

void TForm1::SendHidChunk(std::span<const std::uint8_t> piece, int length) {
  WriteHidReport(piece, length, [this, length](HidWrite outcome) {
    if (outcome != HidWrite::written) return SayNotWritten(*this, outcome, piece_texts);
    if (length != links::block_last_piece_size) Timer1.set_enabled(true);
  });
}

// Each piece is written only after the one before has been, and Timer1 starts
// only then: pieces are never closer than one tick apart.
void TForm1::Timer1Timer() {
  Timer1.set_enabled(false);
  const auto piece = [this](int offset, int size) {
    const std::span<const std::uint8_t> all(block_message);
    const auto from = std::min(all.size(), static_cast<std::size_t>(offset));
    return all.subspan(from, std::min(all.size() - from, static_cast<std::size_t>(size)));
  };
  if (hid_chunk_index < links::block_full_pieces) {
    const int offset = hid_chunk_index * links::block_piece_size;
    ++hid_chunk_index;
    SendHidChunk(piece(offset, links::block_piece_size), links::block_piece_size);
    return;
  }
  ++hid_chunk_index;
  SendHidReport(
      piece(links::block_full_pieces * links::block_piece_size, links::block_last_piece_size),
      links::block_last_piece_size);
}
