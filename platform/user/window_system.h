// Internal state of the window system, shared by the files of platform/user.
//
// Threading: one thread runs windows (the message loop's). Other threads may
// only post messages, schedule events and wake the loop. `TableLock` guards
// the handle table (which handles are alive) and the message queue; the
// fields of a Window belong to the loop's thread and are never read from
// another one. No lock is held while a window procedure runs.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/window_canvas.h"
#include "win32.h"

namespace platform {

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int classExtra = 0;
  int windowExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  bool system = false;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> windowClass;
  WNDPROC proc = nullptr;
  std::string title;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;            // null for a top-level window
  HWND owner = nullptr;             // a top-level window's owner (GetParent gives it)
  std::vector<HWND> children;       // bottom first
  RECT rect{};                      // in the parent's client coordinates (screen for top-level)
  HINSTANCE instance = nullptr;
  LONG_PTR id = 0;                  // child id (the menu argument)
  LONG_PTR userData = 0;
  std::map<int, LONG_PTR> extra;    // window extra bytes by offset
  bool destroying = false;          // WM_DESTROY sent or being sent
  bool created = false;             // WM_CREATE answered
  bool shownOnce = false;

  // A window of another program (preview host): no procedure, no store.
  bool foreign = false;
  uint64_t nativeId = 0;

  // Painting: one bounding rectangle of the invalid area, client coordinates.
  bool invalid = false;
  RECT invalidRect{};
  bool eraseNeeded = false;

  // The backing store, for a window whose parent is null or foreign.
  std::vector<uint32_t> pixels;
  Surface surface;
  bool rootShown = false;           // the backend shows it
};

std::recursive_mutex& TableLock();

// The live window for a handle, or null (stale, foreign to us, destroyed).
// Safe from the loop's thread; other threads use IsLiveHandle.
Window* FindWindowRecord(HWND handle);
bool IsLiveHandle(HWND handle);
// Like FindWindowRecord, but on the loop's thread a native window id that the
// backend knows becomes a foreign window record on first use.
Window* ResolveWindow(HWND handle);

Window* AddWindowRecord(std::unique_ptr<Window> window);
void RemoveWindowRecord(HWND handle);
// Every live window, in creation order.
std::vector<HWND> AllWindows();

HWND DesktopHandle();

// Geometry.
bool IsStoreRoot(const Window* window);
Window* StoreRootOf(Window* window);
POINT ScreenOriginOf(const Window* window);    // client origin in screen coordinates
RECT ScreenRectOf(const Window* window);
bool IsShownChain(const Window* window);       // visible, and every ancestor too
bool IsAncestor(HWND ancestor, HWND window);   // ancestor == window counts

// Roots in stacking order, bottom first (topmost windows above the others).
void StackRootOnTop(HWND root);
void UnstackRoot(HWND root);
std::vector<HWND> StackedRoots();

// Stores.
void EnsureStore(Window* root);               // sized to the window
void SyncRootWithBackend(Window* window);     // show, move or hide on the backend
void ForgetRoot(Window* window);

// Classes.
std::shared_ptr<WindowClass> FindClass(const char* name, HINSTANCE instance);

// Messages.
LRESULT SendTo(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
void PurgeMessagesFor(HWND handle);
void PostInput(const MSG& message);           // input queue, in arrival order
void PostFront(const MSG& message);           // ahead of every posted message (WM_CHAR)
// Whether a message for `target` passes GetMessageA's window filter.
bool MessageWindowMatches(HWND target, HWND filter);
void KillTimersOf(HWND handle);
bool TimerFiresProc(HWND handle, UINT_PTR id, LPARAM proc);

// Timers, for the message loop.
bool NextTimerDue(HWND filter, uint64_t* when);
bool TakeDueTimer(HWND filter, bool remove, MSG* out);

// Painting, for the message loop and creation.
bool NextPaintWindow(HWND filter, HWND* found);
void InvalidateWhole(Window* window, bool erase);

// Focus and activation.
void ForgetFocusOf(Window* window);            // before destruction
void ActivateOnShow(Window* window);

// Input.
POINT CurrentCursorPos();
DWORD MessageTimeNow();
void ClearInputState();

// Cursor.
void ApplyCursor();

}  // namespace platform
