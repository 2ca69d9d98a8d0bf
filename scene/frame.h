// Frames and animation: the projection set at every size change, the angles
// advanced at every tick, and the frame drawn at every paint: the main solid
// and up to two satellites circling the same centre.
#pragma once

#include "win32.h"

// How far in front of the viewer the scene's centre lies, by `distanceIndex`.
extern const double distanceTable[4];
// Light 0 sits 10 units from each copy along the z axis of its orbit frame.
extern const float lightPosition[4];

// The z translation of the centre for a `distanceIndex`. The package offers
// four distances; an index below 0 is taken as the nearest (0) and one above
// 3 as the farthest (3), so any byte gives a scene in view.
double SceneDistance(int index);

// `angle` (0 to 359) moved by a signed step and brought back into 0 to 359.
DWORD AdvanceAngle(DWORD angle, signed char step);

// The frame timer's interval in milliseconds: 1200 with `slowTimer`, else 25.
UINT FrameInterval(BYTE slowTimer);

// The projection, viewport and rendering switches for a client area of
// `width` x `height`, on the current context. A height of 0 is taken as 1 so
// the aspect ratio stays defined.
void SetSceneProjection(int width, int height);

// One tick: the spins, then the orbit, each by its step.
void AdvanceSceneAngles();

// Clears and draws every copy of the solid on the current context, then
// flushes; the caller swaps the buffers.
void DrawSceneFrame();
