// How painting reaches a device context. The window system (BeginPaint,
// WM_ERASEBKGND) needs a device context for a window's client area and the
// colour of a class's background brush; the drawing services own both.
//
// Until the drawing services define these, platform/user/window_dc_fallback.cpp
// holds stand-ins (a handle with no drawing behind it, no brush colour); the
// drawing services delete that file when they define them for real.
#pragma once

#include "win32/types.h"

namespace platform {

// A device context for `window`'s client area, as GetDC gives one; null for
// a stale handle.
HDC CreateWindowDC(HWND window);

// Gives back a device context from CreateWindowDC.
void ReleaseWindowDC(HDC dc);

// The colour a class background brush paints: a solid brush handle or a
// system colour index plus one. False when the brush paints nothing.
bool SolidBrushColor(HBRUSH brush, COLORREF* color);

}  // namespace platform
