// Pictures to textures: each loaded picture is stretched by GDI into a square,
// power-of-two, 32-bit DIB section whose memory is the texture image (bytes
// blue, green, red, alpha, bottom row first).
#pragma once

#include "win32.h"

// The texture edge for a picture whose mean side is `size`: the largest power
// of two not above it for 1 to 65535, 32768 above that and for negative
// values, 0 for 0.
int TextureEdge(int size);

// Sets every alpha byte of every slot's texture to 255: GDI leaves alpha at 0,
// and the decal texture environment would then show no picture at all.
void FillOpaqueAlpha();
