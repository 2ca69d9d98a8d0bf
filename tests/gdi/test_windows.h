// Plain windows on the headless screen for drawing tests.
#pragma once

#include "win32.h"

namespace gdi_test {

inline HWND MakeWindow(int x, int y, int width, int height, HWND parent = nullptr) {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "GdiTestWindow";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  DWORD style = (parent != nullptr ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
  return CreateWindowExA(0, "GdiTestWindow", "", style, x, y, width, height, parent, nullptr, nullptr, nullptr);
}

}  // namespace gdi_test
