// wglCreateContext and friends over EGL contexts: desktop OpenGL with the
// compatibility profile, since the engine draws with the fixed pipeline.
#include "gl_context.h"

#include <EGL/eglext.h>

#include <map>

#include "egl_display.h"
#include "pixel_format.h"
#include "window_surface.h"

namespace platform::wgl {
namespace {

// Context handles count up from their own base and are never reused.
std::map<uintptr_t, EGLContext>& Contexts() {
  static std::map<uintptr_t, EGLContext> contexts;
  return contexts;
}
uintptr_t nextHandle = 0x30000;

thread_local Current current;

}  // namespace

const Current& CurrentBinding() { return current; }

EGLContext EglContextOf(HGLRC context) {
  auto found = Contexts().find(reinterpret_cast<uintptr_t>(context));
  return found == Contexts().end() ? EGL_NO_CONTEXT : found->second;
}

}  // namespace platform::wgl

using namespace platform::wgl;

HGLRC wglCreateContext(HDC dc) {
  const EglDisplay& egl = Egl();
  HWND window = WindowOfDc(dc);
  // As on the platform, a context needs a window whose pixel format is set.
  if (egl.display == EGL_NO_DISPLAY || window == nullptr || WindowPixelFormat(window) == 0) return nullptr;
  ReleaseDeadSurfaces();
  eglBindAPI(EGL_OPENGL_API);
  const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                  EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  // The context renders the window's format; a window of another format
  // cannot take it (eglMakeCurrent refuses the mismatch, as the platform does).
  EGLConfig config = WindowEglConfig(window);
  if (config == nullptr) return nullptr;
  EGLContext context = eglCreateContext(egl.display, config, EGL_NO_CONTEXT, compatibility);
  if (context == EGL_NO_CONTEXT) context = eglCreateContext(egl.display, config, EGL_NO_CONTEXT, nullptr);
  if (context == EGL_NO_CONTEXT) return nullptr;
  uintptr_t key = nextHandle++;
  Contexts()[key] = context;
  return reinterpret_cast<HGLRC>(key);
}

BOOL wglDeleteContext(HGLRC context) {
  EGLContext egl = EglContextOf(context);
  if (egl == EGL_NO_CONTEXT) return FALSE;
  if (current.context == context) wglMakeCurrent(nullptr, nullptr);
  eglDestroyContext(Egl().display, egl);
  Contexts().erase(reinterpret_cast<uintptr_t>(context));
  ForgetContext(context);
  return TRUE;
}

BOOL wglMakeCurrent(HDC dc, HGLRC context) {
  const EglDisplay& egl = Egl();
  if (egl.display == EGL_NO_DISPLAY) return FALSE;
  if (context == nullptr) {
    eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    current = Current{};
    return TRUE;
  }
  EGLContext eglContext = EglContextOf(context);
  HWND window = WindowOfDc(dc);
  if (eglContext == EGL_NO_CONTEXT || window == nullptr || WindowPixelFormat(window) == 0) return FALSE;
  bool replaced = false;
  EGLSurface surface = SurfaceForWindow(window, &replaced);
  if (surface == EGL_NO_SURFACE) return FALSE;
  eglBindAPI(EGL_OPENGL_API);
  if (!eglMakeCurrent(egl.display, surface, surface, eglContext)) return FALSE;
  current = Current{context, dc, window};
  NoteWindowContext(window, context);
  return TRUE;
}

HGLRC wglGetCurrentContext() { return current.context; }

HDC wglGetCurrentDC() { return current.dc; }

FARPROC wglGetProcAddress(LPCSTR name) {
  if (name == nullptr) return nullptr;
  return reinterpret_cast<FARPROC>(eglGetProcAddress(name));
}
