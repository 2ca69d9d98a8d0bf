// The reference a frame of the saver is measured against: the same three
// cubes with the same six textures, drawn by the plainest code on a bare EGL
// context, and the frame read back, as a swap into a window's store does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ReferenceFrame {
 public:
  // Six square pictures of `edge` texels, BGRA, made into texture objects on
  // the current context.
  ReferenceFrame(int width, int height, const std::vector<std::vector<uint8_t>>& pictures, int edge);
  ~ReferenceFrame();
  // One frame with the copies' angles at `tick`, read back into `out`.
  void Draw(int tick, std::vector<uint8_t>& out);

 private:
  int width_;
  int height_;
  unsigned textures_[6] = {};
  unsigned list_ = 0;
};
