// Creation and destruction of windows.
//
// Creation follows the platform's order: WM_NCCREATE, WM_CREATE (answered -1:
// the window is destroyed again, WM_DESTROY included, and creation returns
// null), then WM_SIZE and WM_MOVE, then for a window created visible
// WM_SHOWWINDOW, its first paint request and, for a top-level window,
// activation. The visible style is held back until then, so that the window
// is not visible during its own WM_CREATE.
//
// Destruction: the window loses focus and activation first, then WM_DESTROY
// goes to the window and, parent first, to every descendant; WM_NCDESTROY
// follows child first. Then its timers and queued messages go, and its
// handle dies: nothing reaches it afterwards.
#include <algorithm>

#include "platform/backend.h"
#include "window_system.h"

namespace platform {
namespace {

void DestroyTree(HWND handle, bool sendDestroy) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr) return;
  window->destroying = true;
  if (sendDestroy) SendTo(window, WM_DESTROY, 0, 0);
  window = FindWindowRecord(handle);
  if (window == nullptr) return;
  std::vector<HWND> children = window->children;
  for (HWND child : children) {
    Window* kid = FindWindowRecord(child);
    if (kid != nullptr && !kid->destroying) DestroyTree(child, sendDestroy);
  }
  window = FindWindowRecord(handle);
  if (window == nullptr) return;
  SendTo(window, WM_NCDESTROY, 0, 0);
  window = FindWindowRecord(handle);
  if (window == nullptr) return;
  KillTimersOf(handle);
  PurgeMessagesFor(handle);
  if (Window* parent = FindWindowRecord(window->parent)) {
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
  }
  if (GetCapture() == handle) ReleaseCapture();
  ForgetRoot(window);
  RemoveWindowRecord(handle);
}

int DefaultSize(int value, int fallback) { return value == CW_USEDEFAULT ? fallback : value; }

}  // namespace

void ShowCreatedWindow(Window* window);

}  // namespace platform

using namespace platform;

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parentHandle, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
  std::shared_ptr<WindowClass> cls = FindClass(className, instance);
  if (cls == nullptr) return nullptr;

  if (parentHandle == DesktopHandle()) parentHandle = nullptr;
  Window* parent = parentHandle != nullptr ? ResolveWindow(parentHandle) : nullptr;
  if (parentHandle != nullptr && (parent == nullptr || parent->destroying)) return nullptr;
  if ((style & WS_CHILD) != 0 && parent == nullptr) return nullptr;

  int screenWidth = 0, screenHeight = 0;
  CurrentBackend().ScreenSize(&screenWidth, &screenHeight);
  x = DefaultSize(x, 0);
  y = DefaultSize(y, 0);
  width = std::max(0, DefaultSize(width, screenWidth / 2));
  height = std::max(0, DefaultSize(height, screenHeight / 2));

  auto window = std::make_unique<Window>();
  window->windowClass = cls;
  window->proc = cls->proc;
  window->title = windowName != nullptr ? windowName : "";
  window->style = style & ~WS_VISIBLE;
  window->exStyle = exStyle;
  window->rect = RECT{x, y, x + width, y + height};
  window->instance = instance;
  if ((style & WS_CHILD) != 0) {
    window->parent = parent->handle;
    window->id = reinterpret_cast<LONG_PTR>(menu);
  } else if (parent != nullptr && !parent->foreign) {
    // A popup given a parent is owned by that window's top-level window.
    Window* top = parent;
    while ((top->style & WS_CHILD) != 0 && FindWindowRecord(top->parent) != nullptr) {
      top = FindWindowRecord(top->parent);
    }
    window->owner = top->handle;
  } else if (parent != nullptr) {
    // A popup over another program's window: placed in it like a child.
    window->parent = parent->handle;
  }
  Window* created = AddWindowRecord(std::move(window));
  HWND handle = created->handle;
  if (Window* up = FindWindowRecord(created->parent)) up->children.push_back(handle);
  if (IsStoreRoot(created)) EnsureStore(created);

  CREATESTRUCTA create{};
  create.lpCreateParams = param;
  create.hInstance = instance;
  create.hMenu = menu;
  create.hwndParent = parentHandle;
  create.cy = height;
  create.cx = width;
  create.y = y;
  create.x = x;
  create.style = static_cast<LONG>(style);
  create.lpszName = windowName;
  create.lpszClass = className;
  create.dwExStyle = exStyle;

  if (!SendTo(created, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    DestroyTree(handle, false);
    return nullptr;
  }
  created = FindWindowRecord(handle);
  if (created == nullptr) return nullptr;
  if (SendTo(created, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyTree(handle, true);
    return nullptr;
  }
  created = FindWindowRecord(handle);
  if (created == nullptr || created->destroying) return nullptr;
  created->created = true;
  RECT r = created->rect;
  SendTo(created, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right - r.left, r.bottom - r.top));
  created = FindWindowRecord(handle);
  if (created == nullptr) return nullptr;
  SendTo(created, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
  created = FindWindowRecord(handle);
  if (created == nullptr) return nullptr;
  if ((style & WS_VISIBLE) != 0) ShowCreatedWindow(created);
  return IsLiveHandle(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND handle) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr || window->foreign || window->destroying || handle == DesktopHandle()) {
    return FALSE;
  }
  // Owned popups go before their owner, as the platform does.
  for (HWND other : AllWindows()) {
    Window* owned = FindWindowRecord(other);
    if (owned != nullptr && owned->owner == handle && !owned->destroying) DestroyWindow(other);
  }
  window = FindWindowRecord(handle);
  if (window == nullptr || window->destroying) return FALSE;
  window->destroying = true;
  ForgetFocusOf(window);
  window = FindWindowRecord(handle);
  if (window == nullptr) return TRUE;
  DestroyTree(handle, true);
  return TRUE;
}
