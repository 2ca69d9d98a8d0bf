#include "scene/scene_state.h"

int textureEdge[kPictureSlots];
BYTE* texturePixels[kPictureSlots];
HBITMAP textureBitmap[kPictureSlots];
GLuint textureObject[kPictureSlots];

signed char imageCount;
signed char satelliteCount;
signed char distanceIndex;
BYTE orbitEnabled;
signed char orbitStep;
signed char spinStepX;
signed char spinStepY;
signed char spinStepZ;
BYTE slowTimer;

HGLRC sceneContext;
HPALETTE scenePalette;
UINT_PTR frameTimer;

DWORD tiltAngle;
DWORD orbitAngle;
DWORD spinAngleX;
DWORD spinAngleY;
DWORD spinAngleZ;

int UsedPictureSlots() {
  if (imageCount <= 0) return 0;
  return imageCount < kPictureSlots ? imageCount : kPictureSlots;
}
