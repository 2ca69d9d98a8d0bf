// DefWindowProcA: what a window does with a message its procedure passes on.
#include <algorithm>
#include <cstring>

#include "platform/window_dc.h"
#include "window_system.h"

namespace platform {
namespace {

// Paints the client area in the class background colour; false when the
// class has no brush (the window is then left as it was).
bool EraseWithClassBrush(Window* window) {
  COLORREF color = 0;
  if (window->windowClass->background == nullptr ||
      !SolidBrushColor(window->windowClass->background, &color)) {
    return false;
  }
  WindowCanvas canvas;
  if (!GetWindowCanvas(window->handle, &canvas)) return false;
  uint32_t pixel = 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  const RECT& clip = canvas.clip;
  for (LONG y = clip.top; y < clip.bottom; ++y) {
    uint32_t* row = canvas.surface->pixels + static_cast<size_t>(y) * canvas.surface->stride;
    std::fill(row + clip.left, row + clip.right, pixel);
  }
  MarkCanvasChanged(window->handle, clip);
  return true;
}

}  // namespace
}  // namespace platform

using namespace platform;

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr) return 0;
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
        window->title = create->lpszName;
      }
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(handle);
      return 0;
    case WM_ERASEBKGND:
      return EraseWithClassBrush(window) ? 1 : 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(handle, &paint);
      EndPaint(handle, &paint);
      return 0;
    }
    case WM_SETCURSOR:
      // A child asks its parent first; a parent that sets the cursor wins.
      if ((window->style & WS_CHILD) != 0 && window->parent != nullptr &&
          SendMessageA(window->parent, WM_SETCURSOR, wParam, lParam) != 0) {
        return TRUE;
      }
      window = FindWindowRecord(handle);
      if (window != nullptr && static_cast<SHORT>(LOWORD(lParam)) == HTCLIENT &&
          window->windowClass->cursor != nullptr) {
        SetCursor(window->windowClass->cursor);
        return TRUE;
      }
      return FALSE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(handle, WM_CLOSE, 0, 0);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == 0x73 /* F4 */ && (HIWORD(lParam) & KF_ALTDOWN) != 0) {
        SendMessageA(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && (window->style & WS_CHILD) == 0) SetFocus(handle);
      return 0;
    case WM_NCACTIVATE:
      return TRUE;
    case WM_MOUSEACTIVATE:
      return 1;  // activate
    case WM_SETTEXT:
      window->title = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0 || lParam == 0) return 0;
      char* out = reinterpret_cast<char*>(lParam);
      size_t length = std::min<size_t>(wParam - 1, window->title.size());
      std::memcpy(out, window->title.data(), length);
      out[length] = '\0';
      return static_cast<LRESULT>(length);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(window->title.size());
    case WM_CONTEXTMENU:
    case WM_HELP:
      if ((window->style & WS_CHILD) != 0 && window->parent != nullptr) {
        return SendMessageA(window->parent, message, wParam, lParam);
      }
      return 0;
    case WM_POWERBROADCAST:
      return TRUE;
    default:
      return 0;
  }
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND handle, UINT message, WPARAM wParam,
                               LPARAM lParam) {
  return proc != nullptr ? proc(handle, message, wParam, lParam) : 0;
}
