// Renders the scene's solid and frame on a bare OpenGL context, with texture
// slots filled straight from colour tables, so the drawing rules can be
// checked without windows or packages.
#pragma once

#include <cstdint>
#include <vector>

#include "bare_gl.h"

namespace scene_test {

constexpr uint32_t kBlack = 0x000000;

// Distinct, GDI-exact colours for the six picture slots.
constexpr uint32_t kSlotColour[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF};

class SceneGl {
 public:
  SceneGl(int width = 160, int height = 120);
  ~SceneGl();

  // A slot whose picture is one colour, `edge` texels square.
  void SolidSlot(int slot, uint32_t rgb, int edge = 8);
  // A slot whose picture has four coloured quadrants.
  void QuadrantSlot(int slot, uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft,
                    uint32_t bottomRight);
  // Runs the creation's GL steps (opaque fill, list, fixed state) and the
  // first size change.
  void Build();
  // Draws one frame and reads it back.
  std::vector<uint32_t> Frame();
  uint32_t At(const std::vector<uint32_t>& frame, int x, int y) const { return frame[size_t(y) * width_ + x]; }

  BareGl& gl() { return gl_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_;
  int height_;
  BareGl gl_;
  std::vector<std::vector<uint8_t>> slotPixels_;
};

// Every pixel of a row that is not black, counted.
int LitRunAcross(const SceneGl& scene, const std::vector<uint32_t>& frame, int y);

}  // namespace scene_test
