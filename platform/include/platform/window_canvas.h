// How the drawing services reach a window's pixels. The window system owns
// windows and their backing stores; drawing (GDI, SwapBuffers) asks it where
// a window's client area lies and tells it what changed, and the backend
// presents the changed parts. Each top-level window has one backing store;
// a child window is a rectangle inside its top-level window's store.
#pragma once

#include <cstdint>

#include "win32/types.h"

namespace platform {

// A top-level window's backing store: 32-bit pixels, bytes blue, green, red,
// alpha in memory, top row first, `stride` pixels a row.
struct Surface {
  int width = 0;
  int height = 0;
  int stride = 0;
  uint32_t* pixels = nullptr;
};

// Where a window's client area is drawn.
struct WindowCanvas {
  Surface* surface = nullptr;  // the top-level window's store
  RECT client{};               // the client area, in store coordinates
  RECT clip{};                 // the visible part of it (inside every ancestor)
  RECT screen{};               // the client area in screen coordinates
};

// Fills `canvas` for a live window; false for a stale handle or a window
// without a store (for example a foreign host window).
bool GetWindowCanvas(HWND window, WindowCanvas* canvas);

// Tells the window system that `rect` (store coordinates) of `window`'s
// top-level store changed, so the backend presents it.
void MarkCanvasChanged(HWND window, const RECT& rect);

// The top-level windows that are shown, bottom first, for drawing through
// the screen device context and for composing the screen.
int ListShownTopLevelWindows(HWND* windows, int capacity);

// Composes the whole screen (windows over black) into `out`, which the
// caller sizes to the screen (GetSystemMetrics); used by snapshots.
void ComposeScreen(Surface* out);

}  // namespace platform
