// The one EGL display of the process: Mesa's surfaceless platform, which
// needs no window system (llvmpipe without a GPU, the GPU's render node
// where there is one), with pbuffers rendered by desktop OpenGL. Each pixel
// format the display offers renders through the configuration with its depth
// and stencil bits, so a window gets the buffers its format describes.
#pragma once

#include <EGL/egl.h>

namespace platform::wgl {

struct EglDisplay {
  EGLDisplay display = EGL_NO_DISPLAY;
};

// The display, initialised on first use; EGL_NO_DISPLAY when EGL cannot
// give one (every wgl call then fails as the platform's do).
const EglDisplay& Egl();

// The 8-bit RGBA pbuffer configuration with exactly these depth and stencil
// bits, else the one with the fewest bits that still holds them; null when
// there is none.
EGLConfig EglConfigFor(int depthBits, int stencilBits);

}  // namespace platform::wgl
