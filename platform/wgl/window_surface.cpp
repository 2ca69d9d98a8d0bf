#include "window_surface.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "egl_display.h"
#include "gl_context.h"
#include "pixel_format.h"
#include "platform/window_canvas.h"
#include "win32/user.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace platform::wgl {
namespace {

struct WindowSurface {
  EGLSurface surface = EGL_NO_SURFACE;
  int width = 0;
  int height = 0;
  HGLRC lastContext = nullptr;
  std::vector<uint32_t> rows;  // the frame as read, bottom row first; kept between swaps
};

std::map<HWND, WindowSurface>& Surfaces() {
  static std::map<HWND, WindowSurface> surfaces;
  return surfaces;
}

// Pack state that the read below changes; the program's own is put back.
struct PackState {
  GLint alignment, rowLength, skipRows, skipPixels, readBuffer, packBuffer = 0, readFramebuffer = 0;
};

void BindPackDefaults(PackState* saved) {
  glGetIntegerv(GL_PACK_ALIGNMENT, &saved->alignment);
  glGetIntegerv(GL_PACK_ROW_LENGTH, &saved->rowLength);
  glGetIntegerv(GL_PACK_SKIP_ROWS, &saved->skipRows);
  glGetIntegerv(GL_PACK_SKIP_PIXELS, &saved->skipPixels);
  glGetIntegerv(GL_READ_BUFFER, &saved->readBuffer);
  glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &saved->packBuffer);
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &saved->readFramebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glPixelStorei(GL_PACK_SKIP_ROWS, 0);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
  static auto bindBuffer = reinterpret_cast<PFNGLBINDBUFFERPROC>(eglGetProcAddress("glBindBuffer"));
  static auto bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(eglGetProcAddress("glBindFramebuffer"));
  if (saved->packBuffer != 0 && bindBuffer != nullptr) bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  if (saved->readFramebuffer != 0 && bindFramebuffer != nullptr) bindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glReadBuffer(GL_BACK);
}

void RestorePack(const PackState& saved) {
  glPixelStorei(GL_PACK_ALIGNMENT, saved.alignment);
  glPixelStorei(GL_PACK_ROW_LENGTH, saved.rowLength);
  glPixelStorei(GL_PACK_SKIP_ROWS, saved.skipRows);
  glPixelStorei(GL_PACK_SKIP_PIXELS, saved.skipPixels);
  static auto bindBuffer = reinterpret_cast<PFNGLBINDBUFFERPROC>(eglGetProcAddress("glBindBuffer"));
  static auto bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(eglGetProcAddress("glBindFramebuffer"));
  if (saved.packBuffer != 0 && bindBuffer != nullptr) bindBuffer(GL_PIXEL_PACK_BUFFER, saved.packBuffer);
  if (saved.readFramebuffer != 0 && bindFramebuffer != nullptr)
    bindFramebuffer(GL_READ_FRAMEBUFFER, saved.readFramebuffer);
  else
    glReadBuffer(static_cast<GLenum>(saved.readBuffer));
}

// Reads the current surface (the window's) and copies the visible part of
// it into the window's place in its backing store, top row first.
void PresentFrame(HWND window, WindowSurface* s) {
  WindowCanvas canvas;
  if (!GetWindowCanvas(window, &canvas) || canvas.surface == nullptr || canvas.surface->pixels == nullptr) return;
  s->rows.resize(static_cast<size_t>(s->width) * s->height);
  PackState saved{};
  BindPackDefaults(&saved);
  glReadPixels(0, 0, s->width, s->height, GL_BGRA, GL_UNSIGNED_BYTE, s->rows.data());
  RestorePack(saved);

  RECT store{0, 0, canvas.surface->width, canvas.surface->height};
  RECT frame{canvas.client.left, canvas.client.top, canvas.client.left + s->width, canvas.client.top + s->height};
  RECT area{std::max({canvas.clip.left, frame.left, store.left}), std::max({canvas.clip.top, frame.top, store.top}),
            std::min({canvas.clip.right, frame.right, store.right}),
            std::min({canvas.clip.bottom, frame.bottom, store.bottom})};
  if (area.left >= area.right || area.top >= area.bottom) return;
  size_t bytes = static_cast<size_t>(area.right - area.left) * 4;
  for (int y = area.top; y < area.bottom; ++y) {
    int frameRow = s->height - 1 - (y - frame.top);  // GL rows run bottom up
    const uint32_t* from = s->rows.data() + static_cast<size_t>(frameRow) * s->width + (area.left - frame.left);
    std::memcpy(canvas.surface->pixels + static_cast<size_t>(y) * canvas.surface->stride + area.left, from, bytes);
  }
  MarkCanvasChanged(window, area);
}

}  // namespace

EGLSurface SurfaceForWindow(HWND window, bool* replaced) {
  *replaced = false;
  RECT client{};
  if (!GetClientRect(window, &client)) return EGL_NO_SURFACE;
  int width = std::max<int>(1, client.right - client.left);
  int height = std::max<int>(1, client.bottom - client.top);
  WindowSurface& s = Surfaces()[window];
  if (s.surface != EGL_NO_SURFACE && s.width == width && s.height == height) return s.surface;
  const EglDisplay& egl = Egl();
  const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  EGLConfig config = WindowEglConfig(window);
  if (config == nullptr) return s.surface;
  EGLSurface made = eglCreatePbufferSurface(egl.display, config, size);
  if (made == EGL_NO_SURFACE) return s.surface;  // keep drawing at the old size
  // EGL keeps a surface that is still current until it is released.
  if (s.surface != EGL_NO_SURFACE) eglDestroySurface(egl.display, s.surface);
  *replaced = s.surface != EGL_NO_SURFACE;
  s.surface = made;
  s.width = width;
  s.height = height;
  return made;
}

void NoteWindowContext(HWND window, HGLRC context) { Surfaces()[window].lastContext = context; }

void ForgetContext(HGLRC context) {
  for (auto& [window, s] : Surfaces())
    if (s.lastContext == context) s.lastContext = nullptr;
}

void ReleaseDeadSurfaces() {
  ForgetDeadWindows();
  for (auto it = Surfaces().begin(); it != Surfaces().end();) {
    if (IsWindow(it->first)) {
      ++it;
      continue;
    }
    if (it->second.surface != EGL_NO_SURFACE) eglDestroySurface(Egl().display, it->second.surface);
    it = Surfaces().erase(it);
  }
}

}  // namespace platform::wgl

using namespace platform::wgl;

BOOL SwapBuffers(HDC dc) {
  HWND window = WindowOfDc(dc);
  if (window == nullptr) return FALSE;
  auto found = Surfaces().find(window);
  if (found == Surfaces().end() || found->second.surface == EGL_NO_SURFACE) return FALSE;
  WindowSurface& s = found->second;
  const EglDisplay& egl = Egl();
  if (eglGetCurrentSurface(EGL_DRAW) == s.surface && eglGetCurrentContext() != EGL_NO_CONTEXT) {
    glFlush();
    PresentFrame(window, &s);
    return TRUE;
  }
  // Another surface (or none) is current: borrow the context that last drew
  // into this window, read, and put back what was current.
  EGLContext context = EglContextOf(s.lastContext);
  if (context == EGL_NO_CONTEXT) return FALSE;
  EGLSurface draw = eglGetCurrentSurface(EGL_DRAW), read = eglGetCurrentSurface(EGL_READ);
  EGLContext previous = eglGetCurrentContext();
  if (!eglMakeCurrent(egl.display, s.surface, s.surface, context)) return FALSE;
  PresentFrame(window, &s);
  eglMakeCurrent(egl.display, draw, read, previous);
  return TRUE;
}
