// Each window rendered by OpenGL has a pbuffer of its client size; it is
// made again when the window's size changes, and released once the window
// is gone. SwapBuffers reads it back into the window's backing store.
#pragma once

#include <EGL/egl.h>

#include "win32/wgl.h"

namespace platform::wgl {

// The window's pbuffer at its current client size (EGL_NO_SURFACE when it
// cannot be made). `replaced` tells that a new surface took the old one's
// place.
EGLSurface SurfaceForWindow(HWND window, bool* replaced);

// Remembers the context last drawn into the window, so that a swap with
// another context current (or none) still reads the right surface.
void NoteWindowContext(HWND window, HGLRC context);

// Forgets a deleted context wherever it was noted.
void ForgetContext(HGLRC context);

// Releases the surfaces of windows that no longer exist.
void ReleaseDeadSurfaces();

}  // namespace platform::wgl
