#include <cctype>
#include <cstddef>

#include "platform/windows/hid_api.h"
#include "platform/windows/internal.h"

namespace platform::windows_os {

namespace {

constexpr const wchar_t* window_class = L"zekflash-hid-notices";

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// What the window tells. The call goes through the loop rather than from the
// window procedure, so that a handler may end the watch, and its window, at once.
struct Notices {
  core::EventLoop& loop;
  std::shared_ptr<HidArrivals> arrivals;
  std::shared_ptr<std::function<void()>> on_change;
  bool due = false;

  void notice() {
    if (due) return;
    due = true;
    std::weak_ptr<std::function<void()>> alive = on_change;
    loop.schedule(0, [this, alive] {
      const auto handler = alive.lock();
      if (!handler) return;
      due = false;
      (*handler)();
    });
  }
};

bool IsListChange(WPARAM event) {
  return event == DBT_DEVNODES_CHANGED || event == DBT_DEVICEARRIVAL ||
         event == DBT_DEVICEREMOVECOMPLETE;
}

// The interface's path from an arrival notice; empty for any other notice.
std::string ArrivedPath(WPARAM event, LPARAM data) {
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (event != DBT_DEVICEARRIVAL || header == nullptr ||
      header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
      header->dbch_size < sizeof(DEV_BROADCAST_DEVICEINTERFACE_W)) {
    return {};
  }
  const auto* notice = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(data);
  const std::size_t room =
      (header->dbch_size - offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) / sizeof(wchar_t);
  std::string path;
  for (std::size_t i = 0; i < room && notice->dbcc_name[i] != 0; ++i) {
    const wchar_t c = notice->dbcc_name[i];
    path.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return path;
}

LRESULT CALLBACK NoticeProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DEVICECHANGE && IsListChange(wparam)) {
    auto* notices = reinterpret_cast<Notices*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (notices != nullptr) {
      if (const std::string path = ArrivedPath(wparam, lparam); !path.empty()) {
        notices->arrivals->arrived(path);
      }
      notices->notice();
    }
    return TRUE;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

bool RegisterWindowClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = NoticeProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = window_class;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

class NoticeWatch : public HidChangeWatch {
 public:
  NoticeWatch(core::EventLoop& loop, std::shared_ptr<HidArrivals> arrivals,
              std::function<void()> on_change)
      : notices_(std::make_unique<Notices>(
            Notices{loop, std::move(arrivals),
                    std::make_shared<std::function<void()>>(std::move(on_change))})) {}

  ~NoticeWatch() override {
    if (registration_ != nullptr) ::UnregisterDeviceNotification(registration_);
    if (window_ != nullptr) ::DestroyWindow(window_);
  }

  core::Status start() {
    if (!RegisterWindowClass()) return WinError("watch HID devices", "window class");
    window_ = ::CreateWindowExW(0, window_class, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) return WinError("watch HID devices", "notice window");
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(notices_.get()));
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    ::HidD_GetHidGuid(&filter.dbcc_classguid);
    registration_ = ::RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (registration_ == nullptr) return WinError("watch HID devices", "device notices");
    return core::Ok{};
  }

 private:
  std::unique_ptr<Notices> notices_;
  HWND window_ = nullptr;
  HDEVNOTIFY registration_ = nullptr;
};

}  // namespace

void HidArrivals::arrived(const std::string& path) {
  ++counts_[Lowered(path)];
}

std::string HidArrivals::id_of(const std::string& path) const {
  const auto it = counts_.find(Lowered(path));
  return path + "#" + std::to_string(it == counts_.end() ? 0 : it->second);
}

core::Result<std::unique_ptr<HidChangeWatch>> WatchHidNotices(core::EventLoop& loop,
                                                              std::shared_ptr<HidArrivals> arrivals,
                                                              std::function<void()> on_change) {
  auto watch = std::make_unique<NoticeWatch>(loop, std::move(arrivals), std::move(on_change));
  core::Status started = watch->start();
  if (!started) return started.error();
  return std::unique_ptr<HidChangeWatch>(std::move(watch));
}

}  // namespace platform::windows_os
