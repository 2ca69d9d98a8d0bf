#include "scene_gl_fixture.h"

#include "scene/fixed_state.h"
#include "scene/frame.h"
#include "scene/scene_state.h"
#include "scene/solid_list.h"
#include "scene/textures.h"

namespace scene_test {

namespace {

void ResetSceneState() {
  for (int slot = 0; slot < kPictureSlots; ++slot) {
    textureEdge[slot] = 0;
    texturePixels[slot] = nullptr;
    textureBitmap[slot] = nullptr;
    textureObject[slot] = 0;
  }
  imageCount = satelliteCount = distanceIndex = orbitStep = spinStepX = spinStepY = spinStepZ = 0;
  orbitEnabled = slowTimer = 0;
  tiltAngle = orbitAngle = spinAngleX = spinAngleY = spinAngleZ = 0;
}

// Texels as GDI leaves them: blue, green, red, alpha 0, bottom row first.
void PutTexel(std::vector<uint8_t>& pixels, size_t index, uint32_t rgb) {
  pixels[index * 4] = rgb & 0xFF;
  pixels[index * 4 + 1] = (rgb >> 8) & 0xFF;
  pixels[index * 4 + 2] = (rgb >> 16) & 0xFF;
  pixels[index * 4 + 3] = 0;
}

}  // namespace

SceneGl::SceneGl(int width, int height)
    : width_(width), height_(height), gl_(width, height), slotPixels_(kPictureSlots) {
  ResetSceneState();
}

SceneGl::~SceneGl() { ResetSceneState(); }

void SceneGl::SolidSlot(int slot, uint32_t rgb, int edge) {
  std::vector<uint8_t>& pixels = slotPixels_[slot];
  pixels.assign(size_t(edge) * edge * 4, 0);
  for (size_t i = 0; i < size_t(edge) * edge; ++i) PutTexel(pixels, i, rgb);
  textureEdge[slot] = edge;
  texturePixels[slot] = pixels.data();
}

void SceneGl::QuadrantSlot(int slot, uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft,
                           uint32_t bottomRight) {
  const int edge = 2;
  std::vector<uint8_t>& pixels = slotPixels_[slot];
  pixels.assign(edge * edge * 4, 0);
  PutTexel(pixels, 0, bottomLeft);  // the first row in memory is the bottom one
  PutTexel(pixels, 1, bottomRight);
  PutTexel(pixels, 2, topLeft);
  PutTexel(pixels, 3, topRight);
  textureEdge[slot] = edge;
  texturePixels[slot] = pixels.data();
}

void SceneGl::Build() {
  FillOpaqueAlpha();
  SetTextureUploadState();
  buildSolidList();
  SetFixedTextureState();
  SetSceneProjection(width_, height_);
}

std::vector<uint32_t> SceneGl::Frame() {
  DrawSceneFrame();
  return gl_.Read();
}

int LitRunAcross(const SceneGl& scene, const std::vector<uint32_t>& frame, int y) {
  int lit = 0;
  for (int x = 0; x < scene.width(); ++x)
    if (scene.At(frame, x, y) != kBlack) ++lit;
  return lit;
}

}  // namespace scene_test
