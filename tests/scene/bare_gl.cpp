#include "bare_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

BareGl::BareGl(int width, int height, int depthBits, int stencilBits) : width_(width), height_(height) {
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) return;
  EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return;
  display_ = display;
  const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                     EGL_RED_SIZE,     8,               EGL_GREEN_SIZE,      8,
                                     EGL_BLUE_SIZE,    8,               EGL_ALPHA_SIZE,      8,
                                     EGL_DEPTH_SIZE,   depthBits,       EGL_STENCIL_SIZE,    stencilBits,
                                     EGL_NONE};
  EGLConfig config;
  EGLint found = 0;
  if (!eglChooseConfig(display, configAttributes, &config, 1, &found) || found < 1) return;
  const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
  if (surface == EGL_NO_SURFACE) return;
  surface_ = surface;
  eglBindAPI(EGL_OPENGL_API);
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
  if (context == EGL_NO_CONTEXT) return;
  context_ = context;
  ok_ = eglMakeCurrent(display, surface, surface, context) == EGL_TRUE;
}

BareGl::~BareGl() {
  if (display_ == nullptr) return;
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context_ != nullptr) eglDestroyContext(display_, context_);
  if (surface_ != nullptr) eglDestroySurface(display_, surface_);
}

void BareGl::MakeCurrent() { eglMakeCurrent(display_, surface_, surface_, context_); }

void BareGl::ReleaseCurrent() {
  eglMakeCurrent(eglGetCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

std::vector<uint32_t> BareGl::Read() const {
  std::vector<uint8_t> rgba(size_t(width_) * height_ * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  std::vector<uint32_t> out(size_t(width_) * height_);
  for (int y = 0; y < height_; ++y) {
    const uint8_t* row = &rgba[size_t(height_ - 1 - y) * width_ * 4];
    for (int x = 0; x < width_; ++x)
      out[size_t(y) * width_ + x] = (uint32_t(row[x * 4]) << 16) | (uint32_t(row[x * 4 + 1]) << 8) | row[x * 4 + 2];
  }
  return out;
}
