// Pictures to textures: each loaded picture is stretched by GDI into a square,
// power-of-two, 32-bit DIB section whose memory is the texture image (bytes
// blue, green, red, alpha, bottom row first).
#pragma once

#include "package/dib_reader.h"
#include "win32.h"

// The texture edge for a picture whose mean side is `size`: the largest power
// of two not above it for 1 to 65535, 32768 above that and for negative
// values, 0 for 0.
int TextureEdge(int size);

// Turns the slot's picture into its texture: a square DIB section of
// TextureEdge(mean side) texels (capped by the current context's largest
// texture), the picture stretched onto it through `scenePalette`, then the
// picture released. Returns 0 when the slot holds no picture, else 1. When
// no context is current (none could be made) or the DIB section cannot be
// made, the slot ends without a texture (edge 0), as an empty slot.
int MakeTexture(HWND window, PackedDib* dibSlot, int* edgeSlot, HBITMAP* bitmapSlot, BYTE** pixelsSlot);

// Sets every alpha byte of every slot's texture to 255: GDI leaves alpha at 0,
// and the decal texture environment would then show no picture at all.
void FillOpaqueAlpha();
