#include "win32/program_text.h"

#include <windows.h>

#include "texts/texts.h"

namespace win32ui {

namespace {

bool WriteAll(HANDLE out, const std::string& text) {
  DWORD written = 0;
  return out != nullptr && out != INVALID_HANDLE_VALUE &&
         ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

}  // namespace

void ShowProgramText(const std::string& text) {
  if (WriteAll(::GetStdHandle(STD_OUTPUT_HANDLE), text)) return;
  if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
    HANDLE console = ::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
    const bool shown = WriteAll(console, text);
    if (console != INVALID_HANDLE_VALUE) ::CloseHandle(console);
    ::FreeConsole();
    if (shown) return;
  }
  ::MessageBoxA(nullptr, text.c_str(), texts::program_name, MB_OK | MB_ICONINFORMATION);
}

}  // namespace win32ui
