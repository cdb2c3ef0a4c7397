#include "win32/window_shot.h"

#include <cstdio>

namespace win32ui {

void PumpWaitingMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

Rgb8Picture CaptureWindow(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpWaitingMessages();
  RECT r;
  ::GetWindowRect(window, &r);
  Rgb8Picture picture{r.right - r.left, r.bottom - r.top, {}};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC source = ::GetWindowDC(window);
  HDC mem = ::CreateCompatibleDC(source);
  HBITMAP dib = ::CreateDIBSection(mem, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib != nullptr) {
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, picture.width, picture.height, source, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* bgra = static_cast<const std::uint8_t*>(bits);
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
    picture.rgb.resize(pixels * 3);
    for (std::size_t i = 0; i < pixels; ++i) {
      picture.rgb[3 * i] = bgra[4 * i + 2];
      picture.rgb[3 * i + 1] = bgra[4 * i + 1];
      picture.rgb[3 * i + 2] = bgra[4 * i];
    }
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
  }
  ::DeleteDC(mem);
  ::ReleaseDC(window, source);
  return picture;
}

bool WriteWindowShot(HWND window, const std::string& path) {
  const Rgb8Picture picture = CaptureWindow(window);
  if (!picture.rgb.empty() && WriteFile(path, EncodePng(picture))) {
    std::printf("%s\n", path.c_str());
    return true;
  }
  std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return false;
}

}  // namespace win32ui
