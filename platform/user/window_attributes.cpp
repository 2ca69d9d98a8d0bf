// Queries and changes of a window: hierarchy, visibility, enabling, position
// and size, text, and the window longs.
#include <strings.h>

#include <algorithm>
#include <cstring>

#include "platform/backend.h"
#include "platform/native_host.h"
#include "window_system.h"

namespace platform {

// Makes a window visible for the first time after its creation, or again.
void ShowCreatedWindow(Window* window) {
  HWND handle = window->handle;
  SendTo(window, WM_SHOWWINDOW, TRUE, 0);
  window = FindWindowRecord(handle);
  if (window == nullptr || window->destroying) return;
  window->style |= WS_VISIBLE;
  window->shownOnce = true;
  // Everything the window covers needs painting now, its children included.
  std::vector<Window*> pending{window};
  while (!pending.empty()) {
    Window* at = pending.back();
    pending.pop_back();
    if ((at->style & WS_VISIBLE) == 0) continue;
    InvalidateWhole(at, true);
    for (HWND child : at->children) {
      if (Window* kid = FindWindowRecord(child)) pending.push_back(kid);
    }
  }
  if (IsStoreRoot(window)) {
    StackRootOnTop(handle);
    SyncRootWithBackend(window);
  }
  if (window->parent == nullptr) ActivateOnShow(window);
}

namespace {

void HideWindow(Window* window) {
  HWND handle = window->handle;
  SendTo(window, WM_SHOWWINDOW, FALSE, 0);
  window = FindWindowRecord(handle);
  if (window == nullptr) return;
  window->style &= ~WS_VISIBLE;
  ForgetFocusOf(window);
  window = FindWindowRecord(handle);
  if (window != nullptr && IsStoreRoot(window)) SyncRootWithBackend(window);
}

// Moves and sizes a window, telling it what changed.
void PlaceWindow(Window* window, const RECT& rect, bool repaint) {
  HWND handle = window->handle;
  RECT old = window->rect;
  window->rect = rect;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  bool sized = width != old.right - old.left || height != old.bottom - old.top;
  bool moved = rect.left != old.left || rect.top != old.top;
  if (IsStoreRoot(window)) {
    if (sized) EnsureStore(window);
    SyncRootWithBackend(window);
  }
  if (sized) SendTo(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
  window = FindWindowRecord(handle);
  if (window == nullptr) return;
  if (moved) SendTo(window, WM_MOVE, 0, MAKELPARAM(rect.left, rect.top));
  window = FindWindowRecord(handle);
  if (window != nullptr && repaint && (sized || moved)) InvalidateWhole(window, true);
}

Window* LiveWindow(HWND handle) {
  Window* window = FindWindowRecord(handle);
  return window != nullptr && !window->foreign ? window : nullptr;
}

}  // namespace
}  // namespace platform

using namespace platform;

BOOL WINAPI IsWindow(HWND handle) { return ResolveWindow(handle) != nullptr ? TRUE : FALSE; }

BOOL WINAPI IsWindowVisible(HWND handle) {
  Window* window = FindWindowRecord(handle);
  return window != nullptr && IsShownChain(window) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
  Window* window = FindWindowRecord(handle);
  return window != nullptr && (window->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

BOOL WINAPI IsChild(HWND parent, HWND handle) {
  if (parent == nullptr || parent == handle) return FALSE;
  for (Window* at = FindWindowRecord(handle); at != nullptr && (at->style & WS_CHILD) != 0;
       at = FindWindowRecord(at->parent)) {
    if (at->parent == parent) return TRUE;
  }
  return FALSE;
}

BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
  Window* window = LiveWindow(handle);
  if (window == nullptr) return FALSE;
  BOOL wasDisabled = (window->style & WS_DISABLED) != 0;
  if (enable && wasDisabled) {
    window->style &= ~WS_DISABLED;
    SendTo(window, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    window->style |= WS_DISABLED;
    if (GetFocus() != nullptr && IsAncestor(handle, GetFocus())) SetFocus(nullptr);
    if (Window* still = FindWindowRecord(handle)) SendTo(still, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

HWND WINAPI GetParent(HWND handle) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr) return nullptr;
  if ((window->style & WS_CHILD) != 0 || window->parent != nullptr) return window->parent;
  return window->owner;
}

HWND WINAPI GetDesktopWindow() { return DesktopHandle(); }

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
  // Top-level windows only, front first, as the platform searches them. Class
  // names compare without case; titles exactly.
  std::vector<HWND> order = StackedRoots();
  std::reverse(order.begin(), order.end());
  for (HWND handle : AllWindows()) {
    if (std::find(order.begin(), order.end(), handle) == order.end()) order.push_back(handle);
  }
  for (HWND handle : order) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || window->foreign || window->destroying ||
        handle == DesktopHandle() || (window->style & WS_CHILD) != 0) {
      continue;
    }
    if (className != nullptr && !IS_INTRESOURCE(className) &&
        strcasecmp(window->windowClass->name.c_str(), className) != 0) {
      continue;
    }
    if (windowName != nullptr && window->title != windowName) continue;
    return handle;
  }
  // Another run of the program may show the window (a saver already running
  // full-screen); the backend finds it on the display.
  if (className != nullptr && IS_INTRESOURCE(className)) return nullptr;
  uint64_t native = CurrentBackend().FindNativeWindow(className, windowName);
  return native != 0 ? AdoptNativeWindow(native) : nullptr;
}

BOOL WINAPI ShowWindow(HWND handle, int command) {
  Window* window = LiveWindow(handle);
  if (window == nullptr) return FALSE;
  BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
  if (command == SW_HIDE) {
    if (wasVisible) HideWindow(window);
  } else if (!wasVisible) {
    ShowCreatedWindow(window);
  } else if (window->parent == nullptr && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
             command != SW_SHOWMINNOACTIVE) {
    ActivateOnShow(window);
  }
  return wasVisible;
}

BOOL WINAPI MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
  Window* window = LiveWindow(handle);
  if (window == nullptr) return FALSE;
  PlaceWindow(window, RECT{x, y, x + std::max(0, width), y + std::max(0, height)}, repaint);
  return TRUE;
}

BOOL WINAPI SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* window = LiveWindow(handle);
  if (window == nullptr) return FALSE;
  if ((flags & SWP_NOZORDER) == 0 && window->parent == nullptr) {
    if (insertAfter == HWND_TOPMOST) window->exStyle |= WS_EX_TOPMOST;
    if (insertAfter == HWND_NOTOPMOST) window->exStyle &= ~WS_EX_TOPMOST;
    if ((window->style & WS_VISIBLE) != 0) StackRootOnTop(handle);
  }
  RECT rect = window->rect;
  if ((flags & SWP_NOMOVE) == 0) OffsetRect(&rect, x - rect.left, y - rect.top);
  if ((flags & SWP_NOSIZE) == 0) {
    rect.right = rect.left + std::max(0, cx);
    rect.bottom = rect.top + std::max(0, cy);
  }
  if (!EqualRect(&rect, &window->rect)) PlaceWindow(window, rect, (flags & SWP_NOREDRAW) == 0);
  window = FindWindowRecord(handle);
  if (window == nullptr) return TRUE;
  if ((flags & SWP_SHOWWINDOW) != 0 && (window->style & WS_VISIBLE) == 0) {
    ShowWindow(handle, (flags & SWP_NOACTIVATE) != 0 ? SW_SHOWNA : SW_SHOW);
  } else if ((flags & SWP_HIDEWINDOW) != 0) {
    ShowWindow(handle, SW_HIDE);
  } else if ((flags & SWP_NOACTIVATE) == 0 && window->parent == nullptr &&
             (window->style & WS_VISIBLE) != 0 && (flags & SWP_NOZORDER) == 0) {
    SetActiveWindow(handle);
  }
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
  Window* window = ResolveWindow(handle);
  if (window == nullptr || rect == nullptr) return FALSE;
  *rect = RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
  return TRUE;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
  Window* window = ResolveWindow(handle);
  if (window == nullptr || rect == nullptr) return FALSE;
  *rect = ScreenRectOf(window);
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND handle, LPPOINT point) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr || point == nullptr) return FALSE;
  POINT origin = ScreenOriginOf(window);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND handle, LPPOINT point) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr || point == nullptr) return FALSE;
  POINT origin = ScreenOriginOf(window);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND handle, int index) {
  Window* window = LiveWindow(handle);
  if (window == nullptr) return 0;
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(window->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(window->instance);
    case GWL_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(GetParent(handle));
    case GWLP_ID:
      return window->id;
    case GWL_STYLE:
      return static_cast<LONG>(window->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(window->exStyle);
    case GWLP_USERDATA:
      return window->userData;
    default:
      break;
  }
  if (index < 0 || index + 4 > window->windowClass->windowExtra) return 0;
  auto it = window->extra.find(index);
  return it == window->extra.end() ? 0 : it->second;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
  Window* window = LiveWindow(handle);
  if (window == nullptr) return 0;
  LONG_PTR old = GetWindowLongPtrA(handle, index);
  switch (index) {
    case GWLP_WNDPROC:
      if (value != 0) window->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWLP_HINSTANCE:
      window->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWLP_ID:
      window->id = value;
      return old;
    case GWL_STYLE:
      // Visibility changes only through ShowWindow, so the backend follows.
      window->style = (static_cast<DWORD>(value) & ~WS_VISIBLE) | (window->style & WS_VISIBLE);
      return old;
    case GWL_EXSTYLE:
      window->exStyle = static_cast<DWORD>(value);
      return old;
    case GWLP_USERDATA:
      window->userData = value;
      return old;
    default:
      break;
  }
  if (index < 0 || index + 4 > window->windowClass->windowExtra) return 0;
  window->extra[index] = value;
  return old;
}

LONG WINAPI GetWindowLongA(HWND handle, int index) {
  return static_cast<LONG>(GetWindowLongPtrA(handle, index));
}

LONG WINAPI SetWindowLongA(HWND handle, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrA(handle, index, value));
}

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
  if (LiveWindow(handle) == nullptr) return FALSE;
  return SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND handle, LPSTR text, int capacity) {
  if (text == nullptr || capacity <= 0) return 0;
  text[0] = '\0';
  if (LiveWindow(handle) == nullptr) return 0;
  return static_cast<int>(
      SendMessageA(handle, WM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextLengthA(HWND handle) {
  if (LiveWindow(handle) == nullptr) return 0;
  return static_cast<int>(SendMessageA(handle, WM_GETTEXTLENGTH, 0, 0));
}

int WINAPI GetClassNameA(HWND handle, LPSTR name, int capacity) {
  Window* window = LiveWindow(handle);
  if (window == nullptr || name == nullptr || capacity <= 0) return 0;
  int length = std::min<int>(capacity - 1, static_cast<int>(window->windowClass->name.size()));
  std::memcpy(name, window->windowClass->name.data(), static_cast<size_t>(length));
  name[length] = '\0';
  return length;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
  Window* window = LiveWindow(dialog);
  if (window == nullptr) return nullptr;
  for (HWND child : window->children) {
    Window* kid = FindWindowRecord(child);
    if (kid != nullptr && kid->id == id) return child;
  }
  return nullptr;
}

int WINAPI GetDlgCtrlID(HWND handle) {
  Window* window = LiveWindow(handle);
  return window != nullptr && (window->style & WS_CHILD) != 0 ? static_cast<int>(window->id) : 0;
}
