// The logical palette the scene needs when the display runs a palettized
// 8-bit mode: a colour ramp built from the pixel format's colour fields.
#pragma once

#include "win32.h"

// The palette for the pixel format set on `dc`, or null when the format needs
// none (or one cannot be made).
HPALETTE CreateScenePalette(HDC dc);

// The same for a described format: null unless it needs a palette and has
// 8 colour bits. The standard 3-3-2 layout also gets twelve of the colours
// the system reserves in every palette.
HPALETTE CreatePaletteForFormat(const PIXELFORMATDESCRIPTOR* format);

// The intensity (0 to 255) of one colour field of palette index `index`: the
// field is `bits` wide (1 to 3) at bit `shift`; any other width gives 0.
BYTE PaletteComponent(int index, int bits, int shift);
