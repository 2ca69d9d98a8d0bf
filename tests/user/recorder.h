// A window class whose procedure records every message it receives, for
// tests of what the window system sends and in which order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32.h"

namespace usertest {

struct Seen {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Everything recorded since the last Clear, in arrival order.
std::vector<Seen>& Log();
void Clear();

// The messages (numbers only) that `window` received, keeping only those in
// `interesting` when it is not empty.
std::vector<UINT> MessagesOf(HWND window, const std::vector<UINT>& interesting = {});

// Optional answers: when set and it returns true, its result is used instead
// of DefWindowProcA's.
using Override = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>;
void SetOverride(Override answer);

// Registers "Recorder" (idempotent) and returns its name.
const char* RecorderClass();

// A top-level popup or a child of `parent`, recorded.
HWND MakeWindow(int x, int y, int width, int height, HWND parent = nullptr, DWORD style = WS_VISIBLE,
                DWORD exStyle = 0);

// Pumps with PeekMessageA until nothing is left, dispatching everything.
void DrainQueue();

}  // namespace usertest
