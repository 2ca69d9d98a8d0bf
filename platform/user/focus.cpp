// Activation and keyboard focus.
//
// One top-level window of ours is active while the program has the system's
// focus; the focus window is it or one of its descendants. Activating a
// window tells the program (WM_ACTIVATEAPP to every top-level window when
// the program as a whole gains or loses activation), the window losing
// activation (WM_NCACTIVATE, WM_ACTIVATE with WA_INACTIVE) and the window
// gaining it (WM_NCACTIVATE, WM_ACTIVATE with WA_ACTIVE, whose default
// handling gives it the focus: WM_KILLFOCUS, then WM_SETFOCUS). Losing the
// system's focus sends WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP with 0 and
// then WM_KILLFOCUS, in the platform's order.
#include "platform/backend.h"
#include "platform/testing.h"
#include "window_system.h"

namespace platform {
namespace {

struct FocusState {
  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  bool appActive = false;
};

FocusState& State() {
  static FocusState* state = new FocusState;
  return *state;
}

bool IsTopLevel(const Window* window) {
  return window != nullptr && !window->foreign && window->parent == nullptr &&
         window->handle != DesktopHandle();
}

// The window whose activation a window follows: its top-level ancestor, or
// for a window inside another program's window, the window placed there.
Window* ActivationRoot(Window* window) {
  while (window != nullptr && window->parent != nullptr) {
    Window* parent = FindWindowRecord(window->parent);
    if (parent == nullptr || parent->foreign) break;
    window = parent;
  }
  return window;
}

void TellAllTopLevel(bool active, HWND first) {
  std::vector<HWND> order{first};
  for (HWND handle : AllWindows()) {
    if (handle != first) order.push_back(handle);
  }
  for (HWND handle : order) {
    Window* window = FindWindowRecord(handle);
    if (IsTopLevel(window) && window->created) SendTo(window, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
  }
}

HWND Activate(HWND next) {
  FocusState& state = State();
  HWND previous = state.active;
  if (previous == next && (next == nullptr || state.appActive)) return previous;
  state.active = next;
  if (Window* old = FindWindowRecord(previous)) {
    SendTo(old, WM_NCACTIVATE, FALSE, 0);
    if (Window* still = FindWindowRecord(previous)) {
      SendTo(still, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(next));
    }
  }
  if (next == nullptr) {
    bool wasActive = state.appActive;
    state.appActive = false;
    if (wasActive) TellAllTopLevel(false, previous);
    if (state.focus != nullptr) {
      HWND lost = state.focus;
      state.focus = nullptr;
      SendTo(FindWindowRecord(lost), WM_KILLFOCUS, 0, 0);
    }
    return previous;
  }
  if (!state.appActive) {
    state.appActive = true;
    TellAllTopLevel(true, next);
  }
  if (state.active != next) return previous;  // a procedure moved activation on
  if (Window* now = FindWindowRecord(next)) {
    SendTo(now, WM_NCACTIVATE, TRUE, 0);
    if (Window* still = FindWindowRecord(next)) {
      SendTo(still, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(previous));
    }
  }
  return previous;
}

// The front-most other top-level window that can take activation.
HWND NextToActivate(HWND leaving) {
  std::vector<HWND> roots = StackedRoots();
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) {
    Window* window = FindWindowRecord(*it);
    if (*it != leaving && IsTopLevel(window) && !window->destroying &&
        (window->style & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE) {
      return *it;
    }
  }
  return nullptr;
}

}  // namespace

void ForgetFocusOf(Window* window) {
  FocusState& state = State();
  HWND handle = window->handle;
  if (state.active == handle) {
    Activate(NextToActivate(handle));
  }
  if (state.focus != nullptr && IsAncestor(handle, state.focus)) {
    HWND lost = state.focus;
    state.focus = nullptr;
    SendTo(FindWindowRecord(lost), WM_KILLFOCUS, 0, 0);
  }
  if (state.capture != nullptr && IsAncestor(handle, state.capture)) state.capture = nullptr;
}

void ActivateOnShow(Window* window) {
  if (!IsTopLevel(window) || (window->style & WS_DISABLED) != 0) return;
  HWND handle = window->handle;
  Activate(handle);
  // The system gives a newly shown window the keyboard focus.
  if (Window* shown = FindWindowRecord(handle); shown != nullptr && shown->rootShown) {
    CurrentBackend().Raise(handle);
  }
}

void InjectFocus(HWND root) {
  Window* window = FindWindowRecord(root);
  if (window == nullptr) {
    if (State().active != nullptr || State().appActive) {
      Activate(nullptr);
    } else if (State().focus != nullptr) {
      SetFocus(nullptr);
    }
    return;
  }
  if (IsTopLevel(window)) {
    Activate(root);
  } else {
    SetFocus(root);
  }
}

}  // namespace platform

using namespace platform;

HWND WINAPI SetFocus(HWND handle) {
  FocusState& state = State();
  HWND previous = state.focus;
  if (handle == nullptr) {
    state.focus = nullptr;
    if (previous != nullptr) SendTo(FindWindowRecord(previous), WM_KILLFOCUS, 0, 0);
    return previous;
  }
  Window* window = FindWindowRecord(handle);
  if (window == nullptr || window->foreign || window->destroying ||
      (window->style & WS_DISABLED) != 0) {
    return nullptr;
  }
  Window* root = ActivationRoot(window);
  if (IsTopLevel(root) && (state.active != root->handle || !state.appActive)) {
    Activate(root->handle);
    previous = state.focus;
    if (previous == handle) return previous;
  }
  if (FindWindowRecord(handle) == nullptr) return nullptr;
  if (previous == handle) return previous;
  state.focus = handle;
  if (previous != nullptr) {
    SendTo(FindWindowRecord(previous), WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
  }
  if (state.focus == handle) {
    SendTo(FindWindowRecord(handle), WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  }
  return previous;
}

HWND WINAPI GetFocus() { return State().focus; }

HWND WINAPI SetActiveWindow(HWND handle) {
  Window* window = FindWindowRecord(handle);
  Window* root = ActivationRoot(window);
  if (!IsTopLevel(root)) return nullptr;
  return Activate(root->handle);
}

HWND WINAPI GetActiveWindow() { return State().active; }

BOOL WINAPI SetForegroundWindow(HWND handle) {
  Window* window = FindWindowRecord(handle);
  if (window != nullptr && window->foreign) {
    // Another program's window: the backend asks the display to raise it.
    return window->nativeId != 0 && CurrentBackend().RaiseNative(window->nativeId) ? TRUE : FALSE;
  }
  Window* root = ActivationRoot(window);
  if (root == nullptr || root->foreign) return FALSE;
  if (IsStoreRoot(root)) {
    StackRootOnTop(root->handle);
    if (root->rootShown) CurrentBackend().Raise(root->handle);
  }
  if (IsTopLevel(root)) {
    Activate(root->handle);
  } else {
    SetFocus(root->handle);
  }
  return TRUE;
}

HWND WINAPI GetForegroundWindow() { return State().appActive ? State().active : nullptr; }

HWND WINAPI SetCapture(HWND handle) {
  HWND previous = State().capture;
  if (FindWindowRecord(handle) != nullptr) State().capture = handle;
  return previous;
}

BOOL WINAPI ReleaseCapture() {
  State().capture = nullptr;
  return TRUE;
}

HWND WINAPI GetCapture() { return State().capture; }
