// Device context handles, their selected objects and drawing attributes.
#include "device_context.h"

#include <unordered_map>

#include "display_format.h"
#include "gdi_objects.h"

namespace platform::gdi {
namespace {

// Device contexts count up from their own base, apart from GDI objects, and
// are never reused.
std::unordered_map<uintptr_t, Dc>& Table() {
  static std::unordered_map<uintptr_t, Dc> table;
  return table;
}
uintptr_t nextHandle = 0x10000;

void Hold(HGDIOBJ handle, int delta) {
  if (Object* object = FindObject(handle)) object->selections += delta;
}

}  // namespace

Dc* FindDc(HDC handle) {
  auto found = Table().find(reinterpret_cast<uintptr_t>(handle));
  return found == Table().end() ? nullptr : &found->second;
}

HDC AddDc(DcKind kind, HWND window) {
  Dc dc;
  dc.kind = kind;
  dc.window = window;
  dc.bitmap = kind == DcKind::kMemory ? StockBitmap() : nullptr;
  dc.brush = GetStockObject(WHITE_BRUSH);
  dc.pen = GetStockObject(BLACK_PEN);
  dc.font = GetStockObject(SYSTEM_FONT);
  dc.palette = GetStockObject(DEFAULT_PALETTE);
  for (HGDIOBJ held : {dc.bitmap, dc.brush, dc.pen, dc.font, dc.palette}) Hold(held, +1);
  uintptr_t key = nextHandle++;
  Table().emplace(key, dc);
  return reinterpret_cast<HDC>(key);
}

bool RemoveDc(HDC handle) {
  auto found = Table().find(reinterpret_cast<uintptr_t>(handle));
  if (found == Table().end()) return false;
  const Dc& dc = found->second;
  for (HGDIOBJ held : {dc.bitmap, dc.brush, dc.pen, dc.font, dc.palette}) Hold(held, -1);
  Table().erase(found);
  return true;
}


}  // namespace platform::gdi

using platform::gdi::Dc;
using platform::gdi::DcKind;
using platform::gdi::FindDc;
using platform::gdi::FindObject;
using platform::gdi::Object;

HDC CreateCompatibleDC(HDC dc) {
  if (dc != nullptr && FindDc(dc) == nullptr) return nullptr;
  return platform::gdi::AddDc(DcKind::kMemory, nullptr);
}

BOOL DeleteDC(HDC handle) {
  Dc* dc = FindDc(handle);
  // Window and screen contexts go back through ReleaseDC.
  if (dc == nullptr || dc->kind != DcKind::kMemory) return FALSE;
  return platform::gdi::RemoveDc(handle) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ objectHandle) {
  Dc* dc = FindDc(handle);
  Object* object = FindObject(objectHandle);
  if (dc == nullptr || object == nullptr) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (object->type) {
    case OBJ_BITMAP:
      // A bitmap belongs to one memory context at a time.
      if (dc->kind != DcKind::kMemory) return nullptr;
      if (object->selections > 0 && !object->stock && dc->bitmap != objectHandle) return nullptr;
      slot = &dc->bitmap;
      break;
    case OBJ_BRUSH: slot = &dc->brush; break;
    case OBJ_PEN: slot = &dc->pen; break;
    case OBJ_FONT: slot = &dc->font; break;
    case OBJ_PAL:  // as a foreground palette, as SelectPalette does
      return SelectPalette(handle, static_cast<HPALETTE>(objectHandle), FALSE);
    default: return nullptr;
  }
  HGDIOBJ previous = *slot;
  platform::gdi::Object* old = FindObject(previous);
  if (old != nullptr) old->selections--;
  object->selections++;
  *slot = objectHandle;
  return previous;
}

COLORREF SetBkColor(HDC handle, COLORREF color) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr) return CLR_INVALID;
  COLORREF previous = dc->bkColor;
  dc->bkColor = color & 0x00FFFFFF;
  return previous;
}

COLORREF GetBkColor(HDC handle) {
  Dc* dc = FindDc(handle);
  return dc != nullptr ? dc->bkColor : CLR_INVALID;
}

COLORREF SetTextColor(HDC handle, COLORREF color) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr) return CLR_INVALID;
  COLORREF previous = dc->textColor;
  dc->textColor = color & 0x00FFFFFF;
  return previous;
}

COLORREF GetTextColor(HDC handle) {
  Dc* dc = FindDc(handle);
  return dc != nullptr ? dc->textColor : CLR_INVALID;
}

int SetBkMode(HDC handle, int mode) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
  int previous = dc->bkMode;
  dc->bkMode = mode;
  return previous;
}

int GetBkMode(HDC handle) {
  Dc* dc = FindDc(handle);
  return dc != nullptr ? dc->bkMode : 0;
}

int SetStretchBltMode(HDC handle, int mode) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  int previous = dc->stretchMode;
  dc->stretchMode = mode;
  return previous;
}

int GetStretchBltMode(HDC handle) {
  Dc* dc = FindDc(handle);
  return dc != nullptr ? dc->stretchMode : 0;
}

// Drawing is finished when each call returns; there is no batch to flush.
BOOL GdiFlush() { return TRUE; }

int GetDeviceCaps(HDC handle, int index) {
  if (FindDc(handle) == nullptr) return 0;
  bool palettised = platform::gdi::DisplayIsPalettised();
  int width = 0, height = 0;
  platform::gdi::ScreenSize(&width, &height);
  switch (index) {
    case DRIVERVERSION: return 0x400;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return width;
    case VERTRES: return height;
    case HORZSIZE: return width * 254 / 960;  // millimetres at 96 pixels an inch
    case VERTSIZE: return height * 254 / 960;
    case BITSPIXEL: return palettised ? 8 : 32;
    case PLANES: return 1;
    case NUMCOLORS: return palettised ? 20 : -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB | (palettised ? RC_PALETTE : 0);
    case LOGPIXELSX: case LOGPIXELSY: return 96;
    case SIZEPALETTE: return palettised ? 256 : 0;
    case NUMRESERVED: return palettised ? 20 : 0;
    case COLORRES: return palettised ? 18 : 24;
    default: return 0;
  }
}
