// The handle table of windows, their hierarchy and geometry, and the stacking
// order of top-level windows.
#include <algorithm>
#include <map>

#include "platform/backend.h"
#include "platform/native_host.h"
#include "window_system.h"

namespace platform {
namespace {

// Handles are small integers, never reused within a process, so a stale
// handle stays stale. They start well above the sentinel handles (HWND_TOP,
// HWND_BOTTOM) and step by 4, so that a number is recognisably a window.
constexpr uintptr_t kFirstHandle = 0x10010;

struct Table {
  std::map<uintptr_t, std::unique_ptr<Window>> windows;
  uintptr_t nextHandle = kFirstHandle;
  std::vector<HWND> stack;  // roots, bottom first
};

Table& TheTable() {
  static Table* table = new Table;
  return *table;
}

}  // namespace

std::recursive_mutex& TableLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

Window* FindWindowRecord(HWND handle) {
  if (handle == nullptr) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  auto& windows = TheTable().windows;
  auto it = windows.find(reinterpret_cast<uintptr_t>(handle));
  return it == windows.end() ? nullptr : it->second.get();
}

bool IsLiveHandle(HWND handle) { return FindWindowRecord(handle) != nullptr; }

Window* ResolveWindow(HWND handle) {
  Window* window = FindWindowRecord(handle);
  if (window != nullptr || handle == nullptr) return window;
  return FindWindowRecord(AdoptNativeWindow(reinterpret_cast<uintptr_t>(handle)));
}

Window* AddWindowRecord(std::unique_ptr<Window> window) {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  Table& table = TheTable();
  if (window->handle == nullptr) {
    window->handle = reinterpret_cast<HWND>(table.nextHandle);
    table.nextHandle += 4;
  }
  Window* raw = window.get();
  table.windows[reinterpret_cast<uintptr_t>(raw->handle)] = std::move(window);
  return raw;
}

void RemoveWindowRecord(HWND handle) {
  std::unique_ptr<Window> gone;
  {
    std::lock_guard<std::recursive_mutex> hold(TableLock());
    auto& windows = TheTable().windows;
    auto it = windows.find(reinterpret_cast<uintptr_t>(handle));
    if (it == windows.end()) return;
    gone = std::move(it->second);
    windows.erase(it);
  }
  UnstackRoot(handle);
}

std::vector<HWND> AllWindows() {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  std::vector<HWND> all;
  for (auto& [key, window] : TheTable().windows) all.push_back(window->handle);
  return all;
}

HWND DesktopHandle() {
  static HWND desktop = nullptr;
  if (desktop == nullptr) {
    auto window = std::make_unique<Window>();
    auto cls = std::make_shared<WindowClass>();
    cls->name = "#32769";
    cls->proc = DefWindowProcA;
    cls->system = true;
    window->windowClass = cls;
    window->proc = DefWindowProcA;
    window->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    int width = 0, height = 0;
    CurrentBackend().ScreenSize(&width, &height);
    window->rect = RECT{0, 0, width, height};
    window->created = true;
    desktop = AddWindowRecord(std::move(window))->handle;
  }
  return desktop;
}

bool IsStoreRoot(const Window* window) {
  if (window->foreign || window->handle == DesktopHandle()) return false;
  if (window->parent == nullptr) return true;
  Window* parent = FindWindowRecord(window->parent);
  return parent == nullptr || parent->foreign;
}

Window* StoreRootOf(Window* window) {
  while (window != nullptr && !IsStoreRoot(window)) {
    if (window->foreign) return nullptr;
    window = FindWindowRecord(window->parent);
  }
  return window;
}

POINT ScreenOriginOf(const Window* window) {
  POINT origin{window->rect.left, window->rect.top};
  const Window* at = window;
  while (at->parent != nullptr) {
    Window* parent = FindWindowRecord(at->parent);
    if (parent == nullptr) break;
    origin.x += parent->rect.left;
    origin.y += parent->rect.top;
    at = parent;
  }
  return origin;
}

RECT ScreenRectOf(const Window* window) {
  POINT origin = ScreenOriginOf(window);
  return RECT{origin.x, origin.y, origin.x + (window->rect.right - window->rect.left),
              origin.y + (window->rect.bottom - window->rect.top)};
}

bool IsShownChain(const Window* window) {
  while (window != nullptr) {
    if (!window->foreign && (window->style & WS_VISIBLE) == 0) return false;
    if (window->parent == nullptr) return true;
    window = FindWindowRecord(window->parent);
  }
  return false;
}

bool IsAncestor(HWND ancestor, HWND handle) {
  for (Window* at = FindWindowRecord(handle); at != nullptr; at = FindWindowRecord(at->parent)) {
    if (at->handle == ancestor) return true;
  }
  return false;
}

void StackRootOnTop(HWND root) {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  auto& stack = TheTable().stack;
  stack.erase(std::remove(stack.begin(), stack.end(), root), stack.end());
  Window* window = FindWindowRecord(root);
  bool topmost = window != nullptr && (window->exStyle & WS_EX_TOPMOST) != 0;
  // A plain window goes below every topmost one; a topmost window on top.
  auto at = stack.end();
  if (!topmost) {
    at = std::find_if(stack.begin(), stack.end(), [](HWND h) {
      Window* w = FindWindowRecord(h);
      return w != nullptr && (w->exStyle & WS_EX_TOPMOST) != 0;
    });
  }
  stack.insert(at, root);
}

void UnstackRoot(HWND root) {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  auto& stack = TheTable().stack;
  stack.erase(std::remove(stack.begin(), stack.end(), root), stack.end());
}

std::vector<HWND> StackedRoots() {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  return TheTable().stack;
}

HWND AdoptNativeWindow(uint64_t id) {
  if (id == 0) return nullptr;
  {
    std::lock_guard<std::recursive_mutex> hold(TableLock());
    for (auto& [key, window] : TheTable().windows) {
      if (window->foreign && window->nativeId == id) return window->handle;
    }
  }
  RECT screen{};
  if (!CurrentBackend().NativeWindowRect(id, &screen)) return nullptr;
  auto window = std::make_unique<Window>();
  window->foreign = true;
  window->nativeId = id;
  window->rect = screen;
  window->style = WS_VISIBLE;
  window->created = true;
  // The native id is the handle when it is free, so that a number passed on
  // a command line names the same window here.
  if (FindWindowRecord(reinterpret_cast<HWND>(static_cast<uintptr_t>(id))) == nullptr) {
    window->handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(id));
  }
  return AddWindowRecord(std::move(window))->handle;
}

}  // namespace platform
