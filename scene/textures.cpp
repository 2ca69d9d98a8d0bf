#include "scene/textures.h"

#include "scene/scene_state.h"

int TextureEdge(int size) {
  // Halve until nothing is left, at most 16 times: a negative value never
  // reaches 0 and so gets the largest edge, like any value above 65535.
  int halvings = 0;
  while (size != 0 && halvings < 16) {
    size >>= 1;
    ++halvings;
  }
  return halvings == 0 ? 0 : 1 << (halvings - 1);
}

void FillOpaqueAlpha() {
  for (int slot = 0; slot < UsedPictureSlots(); ++slot) {
    // A slot whose DIB section could not be made has no pixels; MakeTexture
    // leaves its edge at 0, but the pointer is checked all the same.
    if (textureEdge[slot] == 0 || texturePixels[slot] == nullptr) continue;
    size_t texels = size_t(textureEdge[slot]) * size_t(textureEdge[slot]);
    BYTE* pixel = texturePixels[slot];
    for (size_t i = 0; i < texels; ++i) pixel[i * 4 + 3] = 255;
  }
}
