// The pixel formats the display offers, and the format set on each window
// (once, as on the platform) or memory device context.
#pragma once

#include <vector>

#include <EGL/egl.h>

#include "win32/wgl.h"

namespace platform::wgl {

// The formats, numbered from 1 in the order of the list: true-colour RGBA,
// or 8-bit 3-3-2 formats that need a palette on a palettised display.
std::vector<PIXELFORMATDESCRIPTOR> OfferedFormats();

// The window a device context draws into, or null for other contexts.
HWND WindowOfDc(HDC dc);

// The format set on a window (0 when none).
int WindowPixelFormat(HWND window);

// The EGL configuration that renders a window's format (its depth and
// stencil bits); null when the window has no format.
EGLConfig WindowEglConfig(HWND window);

// Forgets the formats of windows that no longer exist.
void ForgetDeadWindows();

}  // namespace platform::wgl
