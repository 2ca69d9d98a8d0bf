// Input: the pointer and keys as the hardware (a backend or a test) reports
// them, turned into queued messages for the right window.
//
// Mouse messages go to the window under the pointer (or the capture window),
// and from a disabled window on to its nearest enabled ancestor; none go to
// a disabled top-level window. Keys go to the focus window, or as system
// keys to the active window when nothing has the focus. TranslateMessage
// turns key presses into characters with a US keyboard layout.
#include <array>
#include <atomic>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/testing.h"
#include "window_system.h"

namespace platform {
namespace {

struct KeyboardState {
  std::array<bool, 256> down{};
  std::array<bool, 256> toggled{};
};

KeyboardState& Keys() {
  static KeyboardState* keys = new KeyboardState;
  return *keys;
}

// The pointer position, packed so that any thread may read it.
std::atomic<uint64_t> cursorPacked{0};

void StoreCursor(int x, int y) {
  cursorPacked = (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) | static_cast<uint32_t>(y);
}

bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

Window* DeepestAt(Window* window, POINT screen) {
  for (auto it = window->children.rbegin(); it != window->children.rend(); ++it) {
    Window* child = FindWindowRecord(*it);
    if (child == nullptr || (child->style & WS_VISIBLE) == 0) continue;
    if (Contains(ScreenRectOf(child), screen)) return DeepestAt(child, screen);
  }
  return window;
}

Window* ShownWindowAt(POINT screen) {
  std::vector<HWND> roots = StackedRoots();
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) {
    Window* root = FindWindowRecord(*it);
    if (root == nullptr || !root->rootShown || !IsShownChain(root)) continue;
    if (Contains(ScreenRectOf(root), screen)) return DeepestAt(root, screen);
  }
  return nullptr;
}

// Input over a disabled window belongs to its nearest enabled ancestor.
Window* EnabledTarget(Window* window) {
  while (window != nullptr && (window->style & WS_DISABLED) != 0) {
    if ((window->style & WS_CHILD) == 0) return nullptr;
    window = FindWindowRecord(window->parent);
    if (window != nullptr && window->foreign) return nullptr;
  }
  return window;
}

WPARAM MouseKeyFlags() {
  KeyboardState& keys = Keys();
  WPARAM flags = 0;
  if (keys.down[VK_LBUTTON]) flags |= MK_LBUTTON;
  if (keys.down[VK_RBUTTON]) flags |= MK_RBUTTON;
  if (keys.down[VK_MBUTTON]) flags |= MK_MBUTTON;
  if (keys.down[VK_SHIFT]) flags |= MK_SHIFT;
  if (keys.down[VK_CONTROL]) flags |= MK_CONTROL;
  return flags;
}

void PostMouse(UINT message, POINT screen) {
  HWND capture = GetCapture();
  Window* target = capture != nullptr ? FindWindowRecord(capture) : EnabledTarget(ShownWindowAt(screen));
  if (target == nullptr) return;
  POINT origin = ScreenOriginOf(target);
  PostInput(MSG{target->handle, message, MouseKeyFlags(),
                MAKELPARAM(screen.x - origin.x, screen.y - origin.y), MessageTimeNow(), screen});
}

char CharForKey(UINT key, bool shift, bool control) {
  if (key >= 'A' && key <= 'Z') {
    if (control) return static_cast<char>(key - 'A' + 1);
    return static_cast<char>(shift ? key : key - 'A' + 'a');
  }
  if (control) return 0;
  if (key >= '0' && key <= '9') return shift ? ")!@#$%^&*("[key - '0'] : static_cast<char>(key);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return static_cast<char>('0' + key - VK_NUMPAD0);
  switch (key) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 0x1B;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    case VK_OEM_1: return shift ? ':' : ';';
    case VK_OEM_PLUS: return shift ? '+' : '=';
    case VK_OEM_COMMA: return shift ? '<' : ',';
    case VK_OEM_MINUS: return shift ? '_' : '-';
    case VK_OEM_PERIOD: return shift ? '>' : '.';
    case VK_OEM_2: return shift ? '?' : '/';
    case VK_OEM_3: return shift ? '~' : '`';
    case VK_OEM_4: return shift ? '{' : '[';
    case VK_OEM_5: return shift ? '|' : '\\';
    case VK_OEM_6: return shift ? '}' : ']';
    case VK_OEM_7: return shift ? '"' : '\'';
    default: return 0;
  }
}

}  // namespace

POINT CurrentCursorPos() {
  uint64_t packed = cursorPacked.load();
  return POINT{static_cast<int32_t>(packed >> 32), static_cast<int32_t>(packed & 0xFFFFFFFFu)};
}

DWORD MessageTimeNow() { return static_cast<DWORD>(ClockNow()); }

void InjectMouseMove(int x, int y) {
  POINT old = CurrentCursorPos();
  StoreCursor(x, y);
  if (old.x == x && old.y == y) return;
  PostMouse(WM_MOUSEMOVE, POINT{x, y});
}

void InjectMouseButton(MouseButton button, bool down, int x, int y) {
  InjectMouseMove(x, y);
  static const UINT kDown[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  static const UINT kKey[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
  int index = static_cast<int>(button);
  Keys().down[kKey[index]] = down;
  PostMouse(kDown[index] + (down ? 0 : 1), POINT{x, y});
}

void InjectMouseWheel(int delta) {
  HWND target = GetFocus() != nullptr ? GetFocus() : GetActiveWindow();
  if (target == nullptr) return;
  POINT at = CurrentCursorPos();
  PostInput(MSG{target, WM_MOUSEWHEEL,
                MAKEWPARAM(MouseKeyFlags(), static_cast<WORD>(static_cast<SHORT>(delta))),
                MAKELPARAM(at.x, at.y), MessageTimeNow(), at});
}

void InjectKey(UINT virtualKey, bool down, UINT scanCode) {
  virtualKey &= 0xFF;
  // Left and right modifiers share one virtual key in messages.
  if (virtualKey == VK_LSHIFT || virtualKey == VK_RSHIFT) virtualKey = VK_SHIFT;
  if (virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL) virtualKey = VK_CONTROL;
  if (virtualKey == VK_LMENU || virtualKey == VK_RMENU) virtualKey = VK_MENU;
  KeyboardState& keys = Keys();
  bool wasDown = keys.down[virtualKey];
  keys.down[virtualKey] = down;
  if (down && !wasDown) keys.toggled[virtualKey] = !keys.toggled[virtualKey];

  HWND focus = GetFocus();
  HWND target = focus != nullptr ? focus : GetActiveWindow();
  if (target == nullptr) return;
  bool alt = keys.down[VK_MENU];
  bool system = (alt && !keys.down[VK_CONTROL]) || virtualKey == VK_F10 || focus == nullptr ||
                (virtualKey == VK_MENU && !down);
  UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  DWORD flags = 1 | ((scanCode & 0xFF) << 16);
  if (alt) flags |= static_cast<DWORD>(KF_ALTDOWN) << 16;
  if (wasDown || !down) flags |= static_cast<DWORD>(KF_REPEAT) << 16;
  if (!down) flags |= static_cast<DWORD>(KF_UP) << 16;
  PostInput(MSG{target, message, virtualKey, static_cast<LPARAM>(flags), MessageTimeNow(),
                CurrentCursorPos()});
}

}  // namespace platform

using namespace platform;

HWND WINAPI WindowFromPoint(POINT point) {
  Window* window = EnabledTarget(ShownWindowAt(point));
  return window != nullptr ? window->handle : nullptr;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  KeyboardState& keys = Keys();
  bool shift = keys.down[VK_SHIFT];
  bool letter = msg->wParam >= 'A' && msg->wParam <= 'Z';
  if (letter && keys.toggled[VK_CAPITAL]) shift = !shift;
  char c = CharForKey(static_cast<UINT>(msg->wParam), shift, keys.down[VK_CONTROL] && !keys.down[VK_MENU]);
  if (c != 0) {
    PostFront(MSG{msg->hwnd, msg->message == WM_KEYDOWN ? static_cast<UINT>(WM_CHAR) : static_cast<UINT>(WM_SYSCHAR),
                  static_cast<WPARAM>(static_cast<unsigned char>(c)), msg->lParam, msg->time, msg->pt});
  }
  return TRUE;
}

SHORT WINAPI GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  KeyboardState& keys = Keys();
  return static_cast<SHORT>((keys.down[virtualKey] ? 0x8000 : 0) | (keys.toggled[virtualKey] ? 1 : 0));
}

SHORT WINAPI GetAsyncKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  return static_cast<SHORT>(Keys().down[virtualKey] ? 0x8000 : 0);
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
  if (point == nullptr) return FALSE;
  POINT asked;
  if (CurrentBackend().QueryCursorPos(&asked)) StoreCursor(asked.x, asked.y);
  *point = CurrentCursorPos();
  return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
  CurrentBackend().WarpCursor(x, y);
  StoreCursor(x, y);
  return TRUE;
}
