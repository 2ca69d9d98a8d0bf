// Logical palettes. On the true-colour display realizing a palette changes
// nothing and maps no entry (0). On the configured 8-bit display the layer
// keeps a system palette: the twenty reserved colours at both ends and 236
// free entries that a foreground realization fills from the logical palette,
// returning how many of them changed.
#include <algorithm>
#include <cstring>

#include "device_context.h"
#include "display_format.h"
#include "gdi_objects.h"

namespace platform::gdi {
namespace {

constexpr int kReservedLow = 10;
constexpr int kFreeEntries = 236;

struct SystemPalette {
  PALETTEENTRY entries[256]{};
  SystemPalette() {
    Object* reserved = FindObject(GetStockObject(DEFAULT_PALETTE), OBJ_PAL);
    for (int i = 0; i < 10; ++i) {
      entries[i] = reserved->palette[i];
      entries[246 + i] = reserved->palette[10 + i];
    }
  }
};

SystemPalette& System() {
  static SystemPalette palette;
  return palette;
}

bool SameEntry(const PALETTEENTRY& a, const PALETTEENTRY& b) {
  return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (palette == nullptr || palette->palVersion != 0x300 || palette->palNumEntries == 0) return nullptr;
  Object o;
  o.type = OBJ_PAL;
  o.palette.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return reinterpret_cast<HPALETTE>(AddObject(std::move(o)));
}

HPALETTE SelectPalette(HDC handle, HPALETTE palette, BOOL forceBackground) {
  Dc* dc = FindDc(handle);
  Object* object = FindObject(palette, OBJ_PAL);
  if (dc == nullptr || object == nullptr) return nullptr;
  HGDIOBJ previous = dc->palette;
  if (Object* old = FindObject(previous)) old->selections--;
  object->selections++;
  dc->palette = palette;
  dc->paletteBackground = forceBackground != FALSE;
  return static_cast<HPALETTE>(previous);
}

UINT RealizePalette(HDC handle) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr) return static_cast<UINT>(-1);  // GDI_ERROR
  if (!DisplayIsPalettised() || dc->paletteBackground) return 0;
  Object* object = FindObject(dc->palette, OBJ_PAL);
  if (object == nullptr || object->stock) return 0;
  PALETTEENTRY* free = System().entries + kReservedLow;
  UINT changed = 0;
  int count = std::min<int>(kFreeEntries, static_cast<int>(object->palette.size()));
  for (int i = 0; i < count; ++i) {
    PALETTEENTRY wanted = object->palette[i];
    wanted.peFlags = 0;
    if (!SameEntry(free[i], wanted)) {
      free[i] = wanted;
      ++changed;
    }
  }
  return changed;
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries) {
  Object* object = FindObject(palette, OBJ_PAL);
  if (object == nullptr) return 0;
  UINT size = static_cast<UINT>(object->palette.size());
  if (entries == nullptr) return size;
  if (start >= size) return 0;
  UINT n = std::min(count, size - start);
  std::memcpy(entries, object->palette.data() + start, n * sizeof(PALETTEENTRY));
  return n;
}

UINT GetSystemPaletteEntries(HDC handle, UINT start, UINT count, LPPALETTEENTRY entries) {
  if (FindDc(handle) == nullptr || !DisplayIsPalettised()) return 0;
  if (entries == nullptr) return 256;
  if (start >= 256) return 0;
  UINT n = std::min<UINT>(count, 256 - start);
  std::memcpy(entries, System().entries + start, n * sizeof(PALETTEENTRY));
  return n;
}
