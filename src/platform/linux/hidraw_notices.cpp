#include <algorithm>
#include <cerrno>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

// Permissions not yet set by udev, or (without devtmpfs) no device file yet.
bool MayComeRight(int error) {
  return error == EACCES || error == EPERM || error == ENOENT;
}

}  // namespace

std::optional<HidrawUevent> ParseHidrawUevent(std::span<const std::uint8_t> message) {
  const std::string_view text(reinterpret_cast<const char*>(message.data()), message.size());
  // The kernel's own messages begin "ACTION@DEVPATH"; udev's begin "libudev".
  const std::size_t header_end = std::min(text.find('\0'), text.size());
  if (text.substr(0, header_end).find('@') == std::string_view::npos) return std::nullopt;
  std::string_view action, subsystem, node;
  for (std::size_t at = header_end + 1; at < text.size();) {
    const std::size_t end = std::min(text.find('\0', at), text.size());
    const std::string_view field = text.substr(at, end - at);
    if (field.starts_with("ACTION=")) action = field.substr(7);
    if (field.starts_with("SUBSYSTEM=")) subsystem = field.substr(10);
    if (field.starts_with("DEVNAME=")) node = field.substr(8);
    at = end + 1;
  }
  // The name becomes a path under /dev: a plain name only.
  if (subsystem != "hidraw" || node.empty() || node.find('/') != std::string_view::npos ||
      node == "." || node == "..") {
    return std::nullopt;
  }
  if (action == "add") return HidrawUevent{HidrawUevent::Action::add, std::string(node)};
  if (action == "remove") return HidrawUevent{HidrawUevent::Action::remove, std::string(node)};
  return std::nullopt;
}

HidrawNotices::HidrawNotices(core::EventLoop& loop, AccessCheck access,
                             std::shared_ptr<SettlingNodes> settling,
                             std::function<void()> on_change)
    : loop_(loop),
      access_(std::move(access)),
      settling_(std::move(settling)),
      on_change_(std::move(on_change)) {}

HidrawNotices::~HidrawNotices() {
  while (!waiting_.empty()) stop_waiting(waiting_.begin());
}

void HidrawNotices::stop_waiting(std::map<std::string, Waiting>::iterator it) {
  loop_.cancel(it->second.timer);
  if (const auto at = settling_->find(it->first); at != settling_->end()) settling_->erase(at);
  waiting_.erase(it);
}

void HidrawNotices::take(const HidrawUevent& event) {
  if (const auto it = waiting_.find(event.node); it != waiting_.end()) stop_waiting(it);
  if (event.action == HidrawUevent::Action::add && MayComeRight(access_(event.node))) {
    settling_->insert(event.node);
    waiting_[event.node] = {
        loop_.now() + settle_ms,
        loop_.schedule(retry_ms, [this, node = event.node] { check_again(node); })};
    return;
  }
  on_change_();
}

void HidrawNotices::check_again(const std::string& node) {
  const auto it = waiting_.find(node);
  if (it == waiting_.end()) return;
  const std::int64_t left = it->second.give_up_at - loop_.now();
  if (left > 0 && MayComeRight(access_(node))) {
    it->second.timer =
        loop_.schedule(std::min(retry_ms, left), [this, node] { check_again(node); });
    return;
  }
  stop_waiting(it);
  on_change_();
}

}  // namespace platform::linux_os
