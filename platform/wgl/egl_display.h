// The one EGL display of the process: Mesa's surfaceless platform, which
// needs no window system (llvmpipe without a GPU, the GPU's render node
// where there is one), with one configuration for pbuffers rendered by
// desktop OpenGL. Every pixel format the display offers renders through it.
#pragma once

#include <EGL/egl.h>

namespace platform::wgl {

struct EglDisplay {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLConfig config = nullptr;
};

// The display, initialised on first use; null members when EGL cannot give
// one (every wgl call then fails as the platform's do).
const EglDisplay& Egl();

}  // namespace platform::wgl
