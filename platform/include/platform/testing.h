// The layer's test interface: what a person would do at the machine, done by
// a test on the headless backend (or by a backend on behalf of the system).
// Input arrives as if the hardware produced it, routed by the window system
// exactly as native input is.
#pragma once

#include <cstdint>

#include "platform/window_canvas.h"
#include "win32/types.h"

namespace platform {

enum class MouseButton { kLeft, kRight, kMiddle };

// The pointer moved to a screen position.
void InjectMouseMove(int x, int y);
// A button went down or up at a screen position.
void InjectMouseButton(MouseButton button, bool down, int x, int y);
// A wheel turn (multiples of 120 a notch) at the pointer.
void InjectMouseWheel(int delta);
// A key went down or up; `virtualKey` is one of the VK_ values or a letter
// or digit in upper case; `scanCode` goes into lParam.
void InjectKey(UINT virtualKey, bool down, UINT scanCode = 0);

// The system's keyboard focus moved to the native window showing `root`
// (a window of ours with a store), or away from all of ours (null).
void InjectFocus(HWND root);

// A window of another program, as a preview host is: it has a screen
// rectangle but no procedure or store of ours. A child created in it gets a
// store of its own, placed over the host.
HWND CreateForeignWindow(const RECT& screen, uint64_t nativeId = 0);

// Whether the cursor is shown (SetCursor with null hides it).
bool CursorShown();

// The screen-saver settings kept by SystemParametersInfoA.
bool ScreenSaverActiveSetting();
bool ScreenSaverRunningSetting();

// One pixel of the composed screen (0x00RRGGBB), for quick checks.
uint32_t ScreenPixel(int x, int y);

// Messages waiting in the queue (posted and input), for tests of ordering.
int PendingMessageCount();

}  // namespace platform
