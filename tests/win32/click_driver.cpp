// zekflash-click-driver IMAGE: plays the technician on a running zekflash.exe
// through its windows alone, as another program on the same desktop: OK on the
// opening screen, "Open file" and the file-open dialog, "Download" once the
// unit is found, then "Ok" on the finished panel, and closes the window.
// Exits 0 when every step came within its time; says which did not otherwise.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr DWORD step_ms = 60000;
constexpr int file_name_combo = 0x47c;  // the file-open dialog's name field
constexpr int file_name_edit = 0x480;

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[128] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

// The first visible window below `parent` with `text`, or null.
HWND FindChild(HWND parent, const std::string& text) {
  struct Search {
    std::string text;
    HWND found = nullptr;
  } search{text};
  ::EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (!::IsWindowVisible(hwnd) || TextOf(hwnd) != s->text) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The first visible top-level window of `class_name` that `accept` takes.
HWND FindTop(const std::string& class_name, const std::function<bool(HWND)>& accept) {
  struct Search {
    std::string class_name;
    const std::function<bool(HWND)>* accept;
    HWND found = nullptr;
  } search{class_name, &accept};
  ::EnumWindows(
      [](HWND hwnd, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (!::IsWindowVisible(hwnd) || ClassOf(hwnd) != s->class_name || !(*s->accept)(hwnd)) {
          return TRUE;
        }
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits for `find` to give a window; null (said on stderr) when it does not in time.
HWND WaitFor(const char* what, const std::function<HWND()>& find) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < step_ms) {
    if (HWND hwnd = find()) {
      std::printf("found %s\n", what);
      std::fflush(stdout);
      return hwnd;
    }
    ::Sleep(100);
  }
  std::fprintf(stderr, "FAIL: no %s within %lu ms\n", what, step_ms);
  return nullptr;
}

// Posted, not sent: a button may open a modal dialog, which would hold us up.
void Press(HWND button) {
  ::PostMessageA(button, BM_CLICK, 0, 0);
}

bool IsMainWindow(HWND hwnd) {
  return TextOf(hwnd).rfind("ZEK Firmware downloader", 0) == 0;
}

bool ChooseFile(const std::string& image) {
  HWND dialog = WaitFor("the file-open dialog", [] {
    return FindTop("#32770", [](HWND h) { return ::GetWindow(h, GW_OWNER) != nullptr; });
  });
  if (dialog == nullptr) return false;
  HWND name = ::GetDlgItem(dialog, file_name_combo);
  if (name == nullptr) name = ::GetDlgItem(dialog, file_name_edit);
  if (name == nullptr) {
    std::fprintf(stderr, "FAIL: the file-open dialog has no name field\n");
    return false;
  }
  ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(image.c_str()));
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
  return true;
}

int Drive(const std::string& image) {
  HWND ok = WaitFor("the opening screen's OK", [] {
    HWND screen = FindTop("ZekForm", [](HWND h) { return !IsMainWindow(h); });
    return screen == nullptr ? nullptr : FindChild(screen, "OK");
  });
  if (ok == nullptr) return 1;
  Press(ok);
  HWND main = WaitFor("the main window", [] { return FindTop("ZekForm", IsMainWindow); });
  if (main == nullptr) return 1;
  HWND open = WaitFor("\"Open file\"", [main] { return FindChild(main, "Open file"); });
  if (open == nullptr) return 1;
  Press(open);
  if (!ChooseFile(image)) return 1;
  HWND download =
      WaitFor("\"&Download\", the unit found", [main] { return FindChild(main, "&Download"); });
  if (download == nullptr) return 1;
  HWND panel = ::GetParent(download);
  Press(download);
  HWND finished =
      WaitFor("the finished panel's \"&Ok\"", [panel] { return FindChild(panel, "&Ok"); });
  if (finished == nullptr) return 1;
  Press(finished);
  ::PostMessageA(main, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zekflash-click-driver IMAGE\n");
    return 2;
  }
  return Drive(argv[1]);
}
