// The scene's state: one set per process, since at most one scene window
// exists at a time. The scene window's creation clears and fills it, its
// destruction releases it; the frame handlers read it.
#pragma once

// win32.h first: GL/gl.h leaves APIENTRY alone when it is already defined.
#include "win32.h"

#include <GL/gl.h>

// Picture slots: one entry per picture number 0 to 5. `pictureDib` (the
// decoded picture, until MakeTexture consumes it) belongs to the package
// loader; these three hold the slot's texture.
constexpr int kPictureSlots = 6;
extern int textureEdge[kPictureSlots];        // texture edge in texels, 0 = no texture
extern BYTE* texturePixels[kPictureSlots];    // texels blue, green, red, alpha, bottom row first
extern HBITMAP textureBitmap[kPictureSlots];  // the DIB section that owns the texels
// The texture object each slot's image is specified into once, when the
// solid list is recorded; 0 = none. They belong to `sceneContext`.
extern GLuint textureObject[kPictureSlots];

// The nine package settings as the scene reads them: counts and steps are
// signed bytes, the two flags are only tested for zero.
extern signed char imageCount;
extern signed char satelliteCount;
extern signed char distanceIndex;
extern BYTE orbitEnabled;
extern signed char orbitStep;
extern signed char spinStepX;
extern signed char spinStepY;
extern signed char spinStepZ;
extern BYTE slowTimer;

extern HGLRC sceneContext;
extern HPALETTE scenePalette;
extern UINT_PTR frameTimer;  // identifier of frame timer 1, 0 = none

// Animation angles, unsigned degrees 0 to 359.
extern DWORD tiltAngle;
extern DWORD orbitAngle;
extern DWORD spinAngleX;
extern DWORD spinAngleY;
extern DWORD spinAngleZ;

// How many picture slots the slot loops visit: `imageCount`, but never below
// 0 nor above the six slots a package can fill.
int UsedPictureSlots();
