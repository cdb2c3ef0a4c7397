#include <linux/netlink.h>
#include <sys/socket.h>

#include <cerrno>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

constexpr unsigned kernel_uevent_group = 1;
// A uevent is at most a few KiB (the kernel's buffer is 2 KiB of variables).
constexpr std::size_t max_uevent_bytes = 8192;
// Room for the burst of a hub full of devices; an overflow is noticed anyway.
constexpr int receive_buffer_bytes = 1 << 20;

core::Result<UniqueFd> OpenUeventSocket() {
  UniqueFd fd(
      ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT));
  if (!fd.valid()) return core::error_from_errno("open uevent socket", "");
  sockaddr_nl address{};
  address.nl_family = AF_NETLINK;
  address.nl_groups = kernel_uevent_group;
  if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return core::error_from_errno("bind uevent socket", "");
  }
  [[maybe_unused]] const int sized = ::setsockopt(
      fd.get(), SOL_SOCKET, SO_RCVBUF, &receive_buffer_bytes, sizeof receive_buffer_bytes);
  return fd;
}

class HidrawWatch : public HidChangeWatch {
 public:
  HidrawWatch(core::EventLoop& loop, UniqueFd socket, const std::string& dev,
              std::shared_ptr<SettlingNodes> settling, std::function<void()> on_change)
      : loop_(loop),
        socket_(std::move(socket)),
        notices_(
            loop, [dev](const std::string& node) { return ReadWriteAccess(dev + "/" + node); },
            std::move(settling), std::move(on_change)) {
    watch_ = loop_.watch_readable(socket_.get(), [this] { drain(); });
  }
  ~HidrawWatch() override { loop_.unwatch(watch_); }

 private:
  // Reads every message waiting. A notice may destroy this watch: nothing of
  // it is touched after one once `alive` has expired.
  void drain() {
    const std::weak_ptr<int> alive = life_;
    std::vector<std::uint8_t> buffer(max_uevent_bytes);
    for (;;) {
      sockaddr_nl from{};
      iovec part{buffer.data(), buffer.size()};
      msghdr message{};
      message.msg_name = &from;
      message.msg_namelen = sizeof from;
      message.msg_iov = &part;
      message.msg_iovlen = 1;
      const ssize_t n = ::recvmsg(socket_.get(), &message, MSG_DONTWAIT);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == ENOBUFS) {
        notices_.lost();  // events were dropped: the list must be read again
        if (alive.expired()) return;
        continue;
      }
      if (n < 0) return;
      // Only the kernel (port 0) speaks for the devices; udev and others are
      // not listened to.
      if (from.nl_pid != 0 || (message.msg_flags & MSG_TRUNC) != 0) continue;
      const auto event = ParseHidrawUevent({buffer.data(), static_cast<std::size_t>(n)});
      if (!event) continue;
      notices_.take(*event);
      if (alive.expired()) return;
    }
  }

  core::EventLoop& loop_;
  UniqueFd socket_;
  HidrawNotices notices_;
  core::EventLoop::Id watch_ = 0;
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

}  // namespace

core::Result<std::unique_ptr<HidChangeWatch>> WatchHidraw(core::EventLoop& loop,
                                                          const std::string& dev,
                                                          std::shared_ptr<SettlingNodes> settling,
                                                          std::function<void()> on_change) {
  auto socket = OpenUeventSocket();
  if (!socket) return socket.error();
  return std::unique_ptr<HidChangeWatch>(
      new HidrawWatch(loop, std::move(*socket), dev, std::move(settling), std::move(on_change)));
}

}  // namespace platform::linux_os
