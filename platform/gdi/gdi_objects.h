// The table of GDI objects: bitmaps, palettes, brushes, pens and fonts.
// Handles are small integers (design rule 4); a stale or foreign handle finds
// nothing, and every call answers it with its failure result. Stock objects
// have fixed handles below the first created one and are never deleted.
#pragma once

#include <cstdint>
#include <vector>

#include "win32/gdi.h"

namespace platform::gdi {

// A bitmap's pixels: 32 bits each, bytes blue, green, red, alpha, rows either
// top row first (topDown) or bottom row first, as the bitmap was made.
struct Bitmap {
  int width = 0;
  int height = 0;
  bool topDown = true;
  uint32_t* bits = nullptr;
};

struct Object {
  DWORD type = 0;  // OBJ_BITMAP, OBJ_PAL, OBJ_BRUSH, OBJ_PEN, OBJ_FONT
  bool stock = false;
  int selections = 0;  // device contexts holding it selected
  Bitmap bitmap;
  std::vector<PALETTEENTRY> palette;
  bool hollow = false;  // a brush or pen that paints nothing
  COLORREF color = 0;   // a solid brush's or pen's colour
  LOGFONTA font{};
};

// The object behind `handle`, or null when it is stale or of another type
// (`type` 0 accepts any type).
Object* FindObject(HGDIOBJ handle, DWORD type = 0);

// Adds an object to the table and returns its new handle.
HGDIOBJ AddObject(Object object);

// Removes a created object, freeing a bitmap's pixels; false when unknown.
bool RemoveObject(HGDIOBJ handle);

// The one-pixel bitmap a new memory device context holds.
HGDIOBJ StockBitmap();

// The colour a brush paints: a solid brush, or a system colour index plus
// one as a class background names it. False for a hollow or stale brush.
bool BrushColor(HBRUSH brush, COLORREF* color);

// BGRA pixel (alpha 0, as GDI leaves it) from a colour reference, and back.
inline uint32_t PixelFromColor(COLORREF color) {
  return (static_cast<uint32_t>(GetRValue(color)) << 16) |
         (static_cast<uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}
inline COLORREF ColorFromPixel(uint32_t pixel) {
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

}  // namespace platform::gdi
