// The contract between the window system and a backend (headless or sdl).
// The window system keeps windows, queues, timers and backing stores; a
// backend only shows the stores of top-level windows, reports native input
// and focus through the injection calls of platform/testing.h, and waits.
#pragma once

#include <cstdint>

#include "win32/types.h"

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* Name() const = 0;

  // The screen in pixels (the primary display).
  virtual void ScreenSize(int* width, int* height) = 0;

  // A window with a backing store of its own (a top-level window, or a child
  // of a host window) is shown at `screen`, or moved or resized while shown.
  // `host` is the native id of its host window, 0 for a top-level window.
  virtual void ShowRoot(HWND root, const RECT& screen, uint64_t host, bool topmost) = 0;
  virtual void HideRoot(HWND root) = 0;
  // Presents `changed` (store coordinates) of a shown root's store.
  virtual void Present(HWND root, const RECT& changed) = 0;
  // Brings a shown root to the front and gives it the input focus.
  virtual void Raise(HWND root) = 0;

  virtual void SetCursorShown(bool shown) = 0;
  // The pointer's screen position when the backend can ask the system.
  virtual bool QueryCursorPos(POINT* point) = 0;
  virtual void WarpCursor(int x, int y) = 0;

  // A native window given by its id (a preview host): its screen rectangle,
  // or false when there is no such window.
  virtual bool NativeWindowRect(uint64_t id, RECT* screen) = 0;

  // A top-level window of another process of ours (another run of the
  // program) by class and title: its native id, or 0. Such a window can be
  // brought to the front with RaiseNative.
  virtual uint64_t FindNativeWindow(const char* className, const char* title) = 0;
  virtual bool RaiseNative(uint64_t id) = 0;

  // Delivers pending native events (never blocks).
  virtual void PumpEvents() = 0;
  // Blocks until a native event arrives, Wake is called, or `timeoutMs`
  // passes (-1: no time limit).
  virtual void WaitEvents(int64_t timeoutMs) = 0;
  // Ends a WaitEvents in progress, or the next one; safe from any thread.
  virtual void Wake() = 0;
};

// The process's backend, chosen on first use: GLIMMER_BACKEND ("headless",
// "sdl"), else sdl when a display is reachable and headless otherwise.
Backend& CurrentBackend();
// The backend once chosen, else null (nothing can be waiting on one yet);
// for other threads, which must not be the ones to start a backend.
Backend* ChosenBackend();

Backend* CreateHeadlessBackend();
// Null when SDL cannot open a real display.
Backend* CreateSdlBackend();

}  // namespace platform
