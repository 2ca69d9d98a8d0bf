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
  // The copies stand where the saver puts them with these settings: centre
  // `distance` away, the main copy orbiting, both satellites, the orbit and
  // the three spins advancing by their steps every tick, all turned by
  // `tilt`.
  void Place(double distance, int tilt, int orbitStep, int spinStepX, int spinStepY, int spinStepZ);
  // The next frame (one tick on), read back into `out`.
  void Draw(std::vector<uint8_t>& out);

 private:
  int width_;
  int height_;
  unsigned textures_[6] = {};
  unsigned list_ = 0;
  double distance_ = -12;
  int tilt_ = 0, orbitStep_ = 0, spinStep_[3] = {};
  int tick_ = 0;
};
