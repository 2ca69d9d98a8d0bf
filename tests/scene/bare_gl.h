// A bare OpenGL context for tests and the frame benchmark: EGL on the
// surfaceless Mesa platform (no display needed), a compatibility context and
// a pbuffer of the given size with (by default) a 16-bit depth buffer and no
// stencil, made current.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class BareGl {
 public:
  BareGl(int width, int height, int depthBits = 16, int stencilBits = 0);
  ~BareGl();
  BareGl(const BareGl&) = delete;
  BareGl& operator=(const BareGl&) = delete;

  bool ok() const { return ok_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // The frame read back, top row first, 0xRRGGBB per pixel.
  std::vector<uint32_t> Read() const;

  void MakeCurrent();
  static void ReleaseCurrent();

 private:
  int width_;
  int height_;
  bool ok_ = false;
  void* display_ = nullptr;
  void* surface_ = nullptr;
  void* context_ = nullptr;
};
