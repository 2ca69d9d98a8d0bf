#include "egl_display.h"

#include <EGL/eglext.h>

#include <map>
#include <utility>
#include <vector>

namespace platform::wgl {
namespace {

EGLint Attribute(EGLDisplay display, EGLConfig config, EGLint name) {
  EGLint value = 0;
  eglGetConfigAttrib(display, config, name, &value);
  return value;
}

// EGL sorts by colour depth before depth buffer, and may put a 10-10-10-2
// configuration first: pick by every attribute ourselves.
EGLConfig PickConfig(EGLDisplay display, int depthBits, int stencilBits) {
  const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                           EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                           EGL_DEPTH_SIZE, depthBits, EGL_STENCIL_SIZE, stencilBits, EGL_NONE};
  EGLint count = 0;
  if (!eglChooseConfig(display, wanted, nullptr, 0, &count) || count < 1) return nullptr;
  std::vector<EGLConfig> configs(count);
  eglChooseConfig(display, wanted, configs.data(), count, &count);
  EGLConfig best = nullptr;
  int bestExtra = 0;
  for (int i = 0; i < count; ++i) {
    EGLConfig c = configs[i];
    if (Attribute(display, c, EGL_RED_SIZE) != 8 || Attribute(display, c, EGL_GREEN_SIZE) != 8 ||
        Attribute(display, c, EGL_BLUE_SIZE) != 8 || Attribute(display, c, EGL_ALPHA_SIZE) != 8)
      continue;
    int extra = (Attribute(display, c, EGL_DEPTH_SIZE) - depthBits) +
                (Attribute(display, c, EGL_STENCIL_SIZE) - stencilBits);
    if (best == nullptr || extra < bestExtra) {
      best = c;
      bestExtra = extra;
    }
  }
  return best;
}

}  // namespace

const EglDisplay& Egl() {
  static EglDisplay egl = [] {
    EglDisplay e;
    EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return e;
    e.display = display;
    return e;
  }();
  return egl;
}

EGLConfig EglConfigFor(int depthBits, int stencilBits) {
  static std::map<std::pair<int, int>, EGLConfig> found;
  const EglDisplay& egl = Egl();
  if (egl.display == EGL_NO_DISPLAY) return nullptr;
  auto key = std::make_pair(depthBits, stencilBits);
  auto it = found.find(key);
  if (it == found.end()) it = found.emplace(key, PickConfig(egl.display, depthBits, stencilBits)).first;
  return it->second;
}

}  // namespace platform::wgl
