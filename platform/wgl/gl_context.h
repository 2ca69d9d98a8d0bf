// Rendering contexts and what is current on this thread.
#pragma once

#include <EGL/egl.h>

#include "win32/wgl.h"

namespace platform::wgl {

struct Current {
  HGLRC context = nullptr;
  HDC dc = nullptr;
  HWND window = nullptr;
};

// What wglMakeCurrent made current on this thread.
const Current& CurrentBinding();

// The EGL context of a handle, or EGL_NO_CONTEXT when it is stale.
EGLContext EglContextOf(HGLRC context);

}  // namespace platform::wgl
